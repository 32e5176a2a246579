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
