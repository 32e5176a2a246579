# Every program a test starts is installed by scripts/install-deps.sh (or is
# built here, or essential to Debian): a fresh machine runs the same tests.
add_test(NAME tools.test_programs_installed
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-test-programs.sh ${CMAKE_SOURCE_DIR}/tests)
set_tests_properties(tools.test_programs_installed PROPERTIES
  PASS_REGULAR_EXPRESSION "every program the tests start is installed")
# The check itself finds a program that nothing installs.
add_test(NAME tools.test_programs_installed_catches_a_missing_one
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-test-programs.sh
                 ${CMAKE_CURRENT_LIST_DIR}/programs/StartsAProgramNothingInstalls.txt)
set_tests_properties(tools.test_programs_installed_catches_a_missing_one PROPERTIES
  PASS_REGULAR_EXPRESSION "FAIL  qm-no-such-program: not installed")
