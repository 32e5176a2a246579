#include "support/ProjectTest.h"

#include <QApplication>

#include "platform/FileResolver.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "startup/Project.h"

namespace qm::testing {

void ensureQtApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "tests";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
  // Never destroyed: at exit Qt's own globals (the input device list) may go
  // first, and an application torn down after them crashes the test program.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

void ProjectTest::SetUp() {
  ensureQtApplication();
  startup::resetProjectForTests();
  platform::SettingsStore::instance().setFileForTests(settingsDir_.path() + QStringLiteral("/settings.ini"));
  platform::setShellOpenHookForTests([](const QString&) { return true; });
}

void ProjectTest::TearDown() {
  platform::setShellOpenHookForTests({});
  platform::SettingsStore::instance().setFileForTests(QString());
  startup::resetProjectForTests();
}

}  // namespace qm::testing
