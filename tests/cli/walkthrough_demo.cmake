# The bundled demo game played from start to end by its walkthrough.
if(EXISTS ${CMAKE_SOURCE_DIR}/demo/Config/General)
  add_test(NAME cli.walkthrough.demo
           COMMAND quillmere --walkthrough ${CMAKE_SOURCE_DIR}/demo/walkthrough.txt ${CMAKE_SOURCE_DIR}/demo)
  set_tests_properties(cli.walkthrough.demo PROPERTIES
    ENVIRONMENT "${QM_TEST_ENV}"
    PASS_REGULAR_EXPRESSION "[1-9][0-9]* passed, 0 failed"
    FAIL_REGULAR_EXPRESSION "FAIL"
    TIMEOUT 120)
endif()
