# The command line of the player.
add_test(NAME cli.help COMMAND quillmere --help)
set_tests_properties(cli.help PROPERTIES PASS_REGULAR_EXPRESSION "Usage: quillmere")
add_test(NAME cli.version COMMAND quillmere --version)
set_tests_properties(cli.version PROPERTIES PASS_REGULAR_EXPRESSION "quillmere [0-9]+\\.[0-9]+")
add_test(NAME cli.unknown_option COMMAND quillmere --no-such-option)
set_tests_properties(cli.unknown_option PROPERTIES WILL_FAIL TRUE)
