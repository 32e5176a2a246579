# Script files run through the qmvbs runner: tests/vbscript/scripts/<name>.vbs
# must print <name>.expected (the last line "exit N" gives the exit code).
file(GLOB QM_VBS_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/vbscript/scripts/*.vbs)
foreach(script ${QM_VBS_SCRIPTS})
  get_filename_component(stem ${script} NAME_WE)
  set(args "")
  if(stem STREQUAL "arguments")
    set(args "first|second arg")
  endif()
  add_test(NAME vbscript.${stem}
    COMMAND ${CMAKE_COMMAND} -DQMVBS=$<TARGET_FILE:qmvbs> -DSCRIPT=${script}
      -DEXPECTED=${CMAKE_SOURCE_DIR}/tests/vbscript/scripts/${stem}.expected "-DARGS=${args}"
      -P ${CMAKE_SOURCE_DIR}/tests/vbscript/scripts/RunScript.cmake
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/vbscript/scripts)
endforeach()

# The runner's own command line (its man page is written from --help and --version).
add_test(NAME vbscript.runner_help COMMAND qmvbs --help)
set_tests_properties(vbscript.runner_help PROPERTIES PASS_REGULAR_EXPRESSION "Usage: qmvbs SCRIPT_FILE.*Exit status:")
add_test(NAME vbscript.runner_version COMMAND qmvbs --version)
set_tests_properties(vbscript.runner_version PROPERTIES PASS_REGULAR_EXPRESSION "^qmvbs [0-9]+\\.[0-9]+")
add_test(NAME vbscript.runner_no_script COMMAND qmvbs)
set_tests_properties(vbscript.runner_no_script PROPERTIES WILL_FAIL TRUE)
