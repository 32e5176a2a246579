# The player's normal start: the welcome window comes up on the bundled demo game.
add_test(NAME cli.welcome_on_demo COMMAND quillmere)
set_tests_properties(cli.welcome_on_demo PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QM_EXIT_WHEN_WELCOME_SHOWN=1;QM_SETTINGS_FILE=${CMAKE_BINARY_DIR}/cli-welcome-settings.ini"
  PASS_REGULAR_EXPRESSION "welcome window shown after"
  TIMEOUT 60)
add_test(NAME cli.welcome_missing_folder COMMAND quillmere ${CMAKE_BINARY_DIR}/no-such-game-folder)
set_tests_properties(cli.welcome_missing_folder PROPERTIES
  PASS_REGULAR_EXPRESSION "no such game folder"
  TIMEOUT 60)
