# The bundled demo game played from start to end by its walkthrough, on the
# virtual clock (--fast). It plays a fresh copy in the build folder: the
# walkthrough saves games, and saved games are written beside the game's files.
# The real-time clock stays tested by the recording below and by the installed
# player's run of the same walkthrough (scripts/check-install.sh).
if(EXISTS ${CMAKE_SOURCE_DIR}/demo/Config/General)
  set(QM_DEMO_COPY ${CMAKE_BINARY_DIR}/demo-play)
  add_test(NAME cli.walkthrough.demo.clear COMMAND ${CMAKE_COMMAND} -E rm -rf ${QM_DEMO_COPY})
  add_test(NAME cli.walkthrough.demo.copy
           COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/demo ${QM_DEMO_COPY})
  set_tests_properties(cli.walkthrough.demo.clear PROPERTIES FIXTURES_SETUP demo_copy)
  set_tests_properties(cli.walkthrough.demo.copy PROPERTIES FIXTURES_SETUP demo_copy
                       DEPENDS cli.walkthrough.demo.clear)
  add_test(NAME cli.walkthrough.demo
           COMMAND quillmere --walkthrough ${CMAKE_SOURCE_DIR}/demo/walkthrough.txt ${QM_DEMO_COPY} --fast)
  set_tests_properties(cli.walkthrough.demo PROPERTIES
    ENVIRONMENT "${QM_TEST_ENV}"
    FIXTURES_REQUIRED demo_copy
    PASS_REGULAR_EXPRESSION "[1-9][0-9]* passed, 0 failed"
    FAIL_REGULAR_EXPRESSION "FAIL"
    TIMEOUT 120)
endif()

# A short walkthrough recorded in real time as a video with sound, then read back.
if(EXISTS ${CMAKE_SOURCE_DIR}/demo/Config/General)
  set(QM_RECORD_OUT ${CMAKE_BINARY_DIR}/tests/record-out)
  file(MAKE_DIRECTORY ${QM_RECORD_OUT})
  add_test(NAME cli.walkthrough.record
           COMMAND quillmere --walkthrough ${CMAKE_CURRENT_LIST_DIR}/walkthrough_record.txt ${CMAKE_SOURCE_DIR}/demo
                   --record ${QM_RECORD_OUT}/short.mkv)
  set_tests_properties(cli.walkthrough.record PROPERTIES
    ENVIRONMENT "${QM_TEST_ENV}"
    PASS_REGULAR_EXPRESSION "3 passed, 0 failed.*recording: [1-9][0-9]* frames written, [0-9]+ dropped"
    TIMEOUT 60)
  add_test(NAME cli.walkthrough.record_check COMMAND quillmere --media-info ${QM_RECORD_OUT}/short.mkv)
  set_tests_properties(cli.walkthrough.record_check PROPERTIES DEPENDS cli.walkthrough.record
    PASS_REGULAR_EXPRESSION "format: matroska,webm\nduration: 1\\.[0-9]+\naudio: 2 channels, 44100 Hz, aac\nvideo: 640x480, h264")
  add_test(NAME cli.walkthrough.record_needs_file
           COMMAND quillmere --walkthrough ${CMAKE_CURRENT_LIST_DIR}/walkthrough_record.txt --record)
  set_tests_properties(cli.walkthrough.record_needs_file PROPERTIES WILL_FAIL TRUE)
endif()
