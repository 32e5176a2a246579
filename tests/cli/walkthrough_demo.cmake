# The bundled demo game played from start to end by its walkthrough. It plays
# a fresh copy in the build folder: the walkthrough saves games, and saved
# games are written beside the game's files.
if(EXISTS ${CMAKE_SOURCE_DIR}/demo/Config/General)
  set(QM_DEMO_COPY ${CMAKE_BINARY_DIR}/demo-play)
  add_test(NAME cli.walkthrough.demo.clear COMMAND ${CMAKE_COMMAND} -E rm -rf ${QM_DEMO_COPY})
  add_test(NAME cli.walkthrough.demo.copy
           COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/demo ${QM_DEMO_COPY})
  set_tests_properties(cli.walkthrough.demo.clear PROPERTIES FIXTURES_SETUP demo_copy)
  set_tests_properties(cli.walkthrough.demo.copy PROPERTIES FIXTURES_SETUP demo_copy
                       DEPENDS cli.walkthrough.demo.clear)
  add_test(NAME cli.walkthrough.demo
           COMMAND quillmere --walkthrough ${CMAKE_SOURCE_DIR}/demo/walkthrough.txt ${QM_DEMO_COPY})
  set_tests_properties(cli.walkthrough.demo PROPERTIES
    ENVIRONMENT "${QM_TEST_ENV}"
    FIXTURES_REQUIRED demo_copy
    PASS_REGULAR_EXPRESSION "[1-9][0-9]* passed, 0 failed"
    FAIL_REGULAR_EXPRESSION "FAIL"
    TIMEOUT 120)
endif()
