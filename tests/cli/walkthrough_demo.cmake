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

# A short walkthrough recorded as a video with sound, then read back.
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
