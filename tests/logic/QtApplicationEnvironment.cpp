// The test program's one QApplication, made before any test runs and kept to
// the very end: tearing it down among the exit handlers, after the input
// devices that synthetic mouse presses registered, crashes inside Qt.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tests_logic";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);  // deliberately never deleted
  }

 private:
  static inline QApplication* app_ = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
