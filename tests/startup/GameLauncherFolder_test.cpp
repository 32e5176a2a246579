// Which game folder the player runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "startup/GameLauncherFolder.h"

namespace qm::startup {
namespace {

void touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\"x\"\r\n");
}

class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString sub(const QString& name) {
    const QString path = dir.filePath(name);
    QDir().mkpath(path);
    return path;
  }
  QTemporaryDir dir;
};

TEST_F(GameFolder, CommandLineFolderWinsOverEverything) {
  const QString given = sub("given");
  const QString exe = sub("exe");
  touch(exe + "/Config/General");
  const auto choice = ChooseGameFolder(given, exe, sub("demo"));
  EXPECT_EQ(choice.folder, QDir::cleanPath(given));
  EXPECT_TRUE(choice.error.isEmpty());
}

TEST_F(GameFolder, RelativeCommandLineFolderBecomesAbsolute) {
  const QString given = sub("rel");
  const QString saved = QDir::currentPath();
  QDir::setCurrent(dir.path());
  const auto choice = ChooseGameFolder("rel/", {}, {});
  QDir::setCurrent(saved);
  EXPECT_EQ(choice.folder, QDir::cleanPath(given));
}

TEST_F(GameFolder, MissingCommandLineFolderIsAnErrorNotTheDemo) {
  const auto choice = ChooseGameFolder(dir.filePath("nowhere"), {}, sub("demo"));
  EXPECT_TRUE(choice.folder.isEmpty());
  EXPECT_TRUE(choice.error.contains("nowhere"));
  EXPECT_TRUE(choice.error.startsWith("no such game folder"));
}

TEST_F(GameFolder, AFileIsNotAGameFolder) {
  touch(dir.filePath("plain.txt"));
  const auto choice = ChooseGameFolder(dir.filePath("plain.txt"), {}, sub("demo"));
  EXPECT_TRUE(choice.folder.isEmpty());
  // Said as it is: the file exists, it is just not a folder.
  EXPECT_TRUE(choice.error.startsWith("not a folder: ")) << choice.error.toStdString();
  EXPECT_FALSE(choice.error.contains("no such"));
}

TEST_F(GameFolder, ExecutableFolderWithProjectInformationInAnyCase) {
  const QString exe = sub("exe");
  touch(exe + "/CONFIG/general");
  const auto choice = ChooseGameFolder({}, exe, sub("demo"));
  EXPECT_EQ(choice.folder, QDir::cleanPath(exe));
}

TEST_F(GameFolder, OtherwiseTheDemo) {
  const QString exe = sub("exe");
  const QString demo = sub("demo");
  const auto choice = ChooseGameFolder({}, exe, demo);
  EXPECT_EQ(choice.folder, QDir::cleanPath(demo));
}

TEST_F(GameFolder, NoDemoEitherIsAnError) {
  const auto choice = ChooseGameFolder({}, sub("exe"), dir.filePath("no-demo"));
  EXPECT_TRUE(choice.folder.isEmpty());
  EXPECT_FALSE(choice.error.isEmpty());
}

TEST(ExecutableFolderOfTheRunningProgram, IsAnExistingFolder) {
  const QString folder = ExecutableFolder();
  EXPECT_FALSE(folder.isEmpty());
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

}  // namespace
}  // namespace qm::startup
