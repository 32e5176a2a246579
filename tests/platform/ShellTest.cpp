#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/Shell.h"
#include "platform/VbError.h"
#include "support/ProjectTest.h"

using namespace qm::platform;

TEST(RunAndWait, WaitsForTheChildAndGivesItsExitCode) {
  QTemporaryDir dir;
  const QString marker = dir.path() + "/done";
  QElapsedTimer clock;
  clock.start();
  const int code = runAndWait("/bin/sh", {"-c", "sleep 0.3; echo x > '" + marker + "'; exit 3"});
  EXPECT_EQ(code, 3);
  EXPECT_GE(clock.elapsed(), 250);
  EXPECT_TRUE(QFile::exists(marker));
}

TEST(RunAndWait, WindowEventsRunWhileWaiting) {
  qm::testing::ensureQtApplication();
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(20);
  runAndWait("/bin/sh", {"-c", "sleep 0.4"});
  EXPECT_GE(ticks, 3);
}

TEST(RunAndWait, MissingProgramIsFileNotFound) {
  try {
    runAndWait("/no/such/program.exe");
    FAIL() << "no error";
  } catch (const qm::VbError& e) {
    EXPECT_EQ(e.number, 53);
  }
}

TEST(RunAndWait, ProgramPathsAreResolvedLikeGamePaths) {
  QTemporaryDir dir;
  const QString script = dir.path() + "/Tool.SH";
  QFile f(script);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("#!/bin/sh\nexit 7\n");
  f.close();
  f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(runAndWait(dir.path() + "\\tool.sh"), 7);
}

TEST(ShellOpen, TheTestHookSeesTheTarget) {
  QStringList seen;
  setShellOpenHookForTests([&](const QString& t) {
    seen << t;
    return true;
  });
  EXPECT_TRUE(shellOpen("mailto:author@example.org"));
  EXPECT_TRUE(shellOpen("http://example.org"));
  setShellOpenHookForTests({});
  EXPECT_EQ(seen, QStringList({"mailto:author@example.org", "http://example.org"}));
}

TEST(ShellOpen, NothingToOpenFails) {
  setShellOpenHookForTests({});
  EXPECT_FALSE(shellOpen(""));
  EXPECT_FALSE(shellOpen("/no/such/file.txt"));
}
