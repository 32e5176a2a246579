// The real-window test program: a private X server first, then the one
// application of the program on it, then the tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "RealWindowTest.h"

namespace {

class RealScreenEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qm::testing::startRealScreen();
    static int argc = 1;
    static char name[] = "tests_gui";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the program ends with _exit once the tests are done.
    auto* app = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    (void)app;
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no screen: the environment is set up only to run them.
  ::testing::AddGlobalTestEnvironment(new RealScreenEnvironment);
  const int result = RUN_ALL_TESTS();
  std::fflush(stdout);
  std::fflush(stderr);
  // The application still holds its connection to the server: end at once,
  // before either of them can tear the other down half-way (the server ends
  // with the program).
  _exit(result);
}
