# A scripted game, written by the script test program, played from start to end
# by quillmere --walkthrough.
add_test(NAME cli.script.write_game COMMAND tests_script --gtest_filter=ScriptCliGame.*)
set_tests_properties(cli.script.write_game PROPERTIES
  ENVIRONMENT "${QM_TEST_ENV};QM_SCRIPT_CLI_GAME=${CMAKE_BINARY_DIR}/script_cli_game"
  FIXTURES_SETUP script_cli_game)
add_test(NAME cli.script.walkthrough
         COMMAND quillmere --walkthrough ${CMAKE_CURRENT_LIST_DIR}/script_walkthrough.txt ${CMAKE_BINARY_DIR}/script_cli_game)
set_tests_properties(cli.script.walkthrough PROPERTIES
  ENVIRONMENT "${QM_TEST_ENV}"
  FIXTURES_REQUIRED script_cli_game
  PASS_REGULAR_EXPRESSION "[1-9][0-9]* passed, 0 failed"
  FAIL_REGULAR_EXPRESSION "FAIL"
  TIMEOUT 120)
