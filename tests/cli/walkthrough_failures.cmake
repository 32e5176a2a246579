# The walkthrough runner reports failing steps and exits with a failure status.
if(EXISTS ${CMAKE_SOURCE_DIR}/demo/Config/General)
  add_test(NAME cli.walkthrough.failing_step
           COMMAND quillmere --walkthrough ${CMAKE_CURRENT_LIST_DIR}/walkthrough_failing.txt ${CMAKE_SOURCE_DIR}/demo)
  set_tests_properties(cli.walkthrough.failing_step PROPERTIES
    ENVIRONMENT "${QM_TEST_ENV}" WILL_FAIL TRUE TIMEOUT 60)
  add_test(NAME cli.walkthrough.failing_step_report
           COMMAND quillmere --walkthrough ${CMAKE_CURRENT_LIST_DIR}/walkthrough_failing.txt ${CMAKE_SOURCE_DIR}/demo)
  set_tests_properties(cli.walkthrough.failing_step_report PROPERTIES
    ENVIRONMENT "${QM_TEST_ENV}"
    PASS_REGULAR_EXPRESSION "FAIL  line 4: expect frame Garden -- the current frame is 'Hall'.*FAIL  line 5: jump 3 -- unknown step 'jump'.*2 passed, 2 failed"
    TIMEOUT 60)
endif()
add_test(NAME cli.walkthrough.missing_steps_file
         COMMAND quillmere --walkthrough ${CMAKE_CURRENT_LIST_DIR}/no_such_file.txt)
set_tests_properties(cli.walkthrough.missing_steps_file PROPERTIES ENVIRONMENT "${QM_TEST_ENV}" WILL_FAIL TRUE)
