// Where the player finds its demo game: beside the installed program, or in the
// source tree when it runs from the build folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "startup/GameLauncherFolder.h"
#include "startup/InstallLayout.h"

namespace qm::startup {
namespace {

class Layout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    layout.buildFolder = mkdir("build");
    layout.sourceDataFolder = mkdir("source");
    layout.dataFromProgram = QStringLiteral("../share/quillmere");
  }
  QString mkdir(const QString& name) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(QDir().mkpath(path));
    return path;
  }
  QTemporaryDir dir;
  InstallLayout layout;
};

TEST_F(Layout, InstalledProgramReadsTheDataBesideItsPrefix) {
  const QString bin = mkdir("prefix/bin");
  EXPECT_EQ(DataFolder(bin, layout), QDir::cleanPath(dir.filePath("prefix/share/quillmere")));
  EXPECT_EQ(BundledDemoFolder(bin, layout), QDir::cleanPath(dir.filePath("prefix/share/quillmere/demo")));
}

TEST_F(Layout, InstalledProgramNeverFallsBackToTheSourceTree) {
  // The source tree is still there, the installed demo is not: the player says
  // the demo is missing rather than playing files from the build.
  mkdir("source/demo/Config");
  const QString bin = mkdir("prefix/bin");
  const QString demo = BundledDemoFolder(bin, layout);
  EXPECT_FALSE(demo.startsWith(layout.sourceDataFolder)) << demo.toStdString();
  const auto choice = ChooseGameFolder({}, bin, demo);
  EXPECT_TRUE(choice.folder.isEmpty());
  EXPECT_TRUE(choice.error.contains("bundled demo game is missing")) << choice.error.toStdString();
}

TEST_F(Layout, ProgramInTheBuildFolderReadsTheSourceTree) {
  EXPECT_EQ(BundledDemoFolder(layout.buildFolder, layout), QDir::cleanPath(dir.filePath("source/demo")));
  // Written differently, still the build folder.
  EXPECT_EQ(DataFolder(layout.buildFolder + "/./", layout), QDir::cleanPath(layout.sourceDataFolder));
}

TEST_F(Layout, ProgramReachedThroughALinkToTheBuildFolderReadsTheSourceTree) {
  const QString link = dir.filePath("link-to-build");
  ASSERT_TRUE(QFile::link(layout.buildFolder, link));
  EXPECT_EQ(DataFolder(link, layout), QDir::cleanPath(layout.sourceDataFolder));
}

TEST_F(Layout, UnknownProgramFolderGivesNoDataFolder) {
  EXPECT_TRUE(DataFolder({}, layout).isEmpty());
  EXPECT_TRUE(BundledDemoFolder({}, layout).isEmpty());
}

TEST(BuiltInLayout, PointsAtThisSourceTreeAndAPrefixRelativeDataFolder) {
  const InstallLayout built = BuiltInLayout();
  EXPECT_TRUE(QFile::exists(built.sourceDataFolder + "/demo/Config/General"));
  EXPECT_FALSE(QDir::isAbsolutePath(built.dataFromProgram)) << built.dataFromProgram.toStdString();
  EXPECT_TRUE(built.dataFromProgram.endsWith("share/quillmere")) << built.dataFromProgram.toStdString();
}

}  // namespace
}  // namespace qm::startup
