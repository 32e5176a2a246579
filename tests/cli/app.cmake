# The command line of the player.
add_test(NAME cli.help COMMAND quillmere --help)
set_tests_properties(cli.help PROPERTIES PASS_REGULAR_EXPRESSION "Usage: quillmere")
add_test(NAME cli.version COMMAND quillmere --version)
set_tests_properties(cli.version PROPERTIES PASS_REGULAR_EXPRESSION "quillmere [0-9]+\\.[0-9]+")
add_test(NAME cli.unknown_option COMMAND quillmere --no-such-option)
set_tests_properties(cli.unknown_option PROPERTIES WILL_FAIL TRUE)
# --cd takes an existing folder; a missing one is refused before anything starts.
add_test(NAME cli.cd_missing_folder COMMAND quillmere --cd /nonexistent/quillmere-cd --version)
set_tests_properties(cli.cd_missing_folder PROPERTIES WILL_FAIL TRUE)
add_test(NAME cli.cd_then_version COMMAND quillmere --cd ${CMAKE_SOURCE_DIR}/demo --version)
set_tests_properties(cli.cd_then_version PROPERTIES PASS_REGULAR_EXPRESSION "quillmere [0-9]+\\.[0-9]+")
