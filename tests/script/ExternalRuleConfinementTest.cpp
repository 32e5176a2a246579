// Hostile scripts against the action library's file members: absolute paths,
// "..", symbolic links and programs. Nothing outside the game folder is read,
// written, opened or run; programs inside run only with the player's yes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Shell.h"
#include "platform/SettingsStore.h"
#include "script/VBScriptActionModule.h"
#include "startup/ExternalProgram.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "startup/Settings.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"
#include "vbscript/Engine.h"

namespace qm::testing {
namespace {

using script::toQ;
using script::toU16;

class ExternalRuleConfinementTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    ASSERT_TRUE(outside_.isValid());
    outsidePath_ = outside_.path() + "/";
    writeOutside("victim.txt", "[S]\r\nK=precious\r\n");
    GeneralFields g;
    g.gameTitle = "The Castle";
    folder_.general(g);
    startup::InitializeProject(folder_.root());
    action_ = script::makeHostObject<script::VBScriptActionModule>(nullptr);
    engine_.addObject(u"Action", action_.get(), true);
    platform::setShellOpenHookForTests([this](const QString& t) {
      opened_ << t;
      return true;
    });
  }
  void TearDown() override {
    platform::setShellOpenHookForTests({});
    ProjectTest::TearDown();
  }
  void writeOutside(const QString& name, const QByteArray& bytes) {
    QFile f(outsidePath_ + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray outsideBytes(const QString& name) {
    QFile f(outsidePath_ + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A path that climbs from the External folder to the outside folder.
  QString climb(const QString& name) {
    return "..\\..\\" + QDir(outside_.path()).dirName() + "\\" + name;
  }
  void exec(const QString& code) { engine_.addCode(toU16(code)); }
  QString eval(const QString& expr) { return toQ(vbs::toString(engine_.eval(toU16(expr)))); }
  static QString quoted(const QString& s) { return "\"" + s + "\""; }
  void makeProgram(const QString& rel, const QByteArray& script) {
    folder_.file(rel, script);
    QFile::setPermissions(folder_.path(rel), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  QTemporaryDir outside_;
  QString outsidePath_;
  GameFolderBuilder folder_;
  vbs::Ref<script::VBScriptActionModule> action_;
  vbs::Engine engine_;
  QStringList opened_;
};

TEST_F(ExternalRuleConfinementTest, IniMembersRefuseAbsolutePathsAndEscapes) {
  for (const QString& name : {outsidePath_ + "victim.txt", startup::project().paths.external + climb("victim.txt"),
                              "x\\" + climb("victim.txt")}) {
    exec("WriteINI " + quoted(name) + ", \"S\", \"K\", \"overwritten\"");
    EXPECT_EQ(eval("ReadINI(" + quoted(name) + ", \"S\", \"K\")"), "") << qPrintable(name);
  }
  EXPECT_EQ(outsideBytes("victim.txt"), "[S]\r\nK=precious\r\n");
  EXPECT_EQ(eval("ReadINI(\"/etc/passwd\", \"root\", \"x\")"), "");
  // Inside the folder the rule still holds, absolute game paths included.
  exec("WriteINI GetPath(3) & \"mine.ini\", \"S\", \"K\", \"v\"");
  EXPECT_EQ(eval("ReadINI(GetPath(3) & \"mine.ini\", \"S\", \"K\")"), "v");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(ExternalRuleConfinementTest, IniMembersDoNotFollowLinksThatLeadOut) {
  ASSERT_TRUE(QFile::link(outsidePath_ + "victim.txt", folder_.path("External/linked.ini")));
  ASSERT_TRUE(QFile::link(outside_.path(), folder_.path("External/out")));
  EXPECT_EQ(eval("ReadINI(\"linked.ini\", \"S\", \"K\")"), "");
  exec("WriteINI \"linked.ini\", \"S\", \"K\", \"overwritten\"");
  exec("WriteINI GetPath(2) & \"out\\fresh.ini\", \"S\", \"K\", \"planted\"");
  EXPECT_EQ(outsideBytes("victim.txt"), "[S]\r\nK=precious\r\n");
  EXPECT_FALSE(QFile::exists(outsidePath_ + "fresh.ini"));
}

TEST_F(ExternalRuleConfinementTest, SaveAPictureWritesOnlyInsideTheGame) {
  folder_.picture("Areas/p.png", 4, 4, Qt::red);
  EXPECT_ANY_THROW(exec("SaveAPicture LoadGraphicFile(\"p.png\"), " + quoted(outsidePath_ + "victim.txt")));
  EXPECT_EQ(outsideBytes("victim.txt"), "[S]\r\nK=precious\r\n");
  exec("SaveAPicture LoadGraphicFile(\"p.png\"), GetPath(2) & \"copy.bmp\"");
  EXPECT_TRUE(QFile::exists(folder_.path("External/copy.bmp")));
}

TEST_F(ExternalRuleConfinementTest, OpenFileOpensDocumentsInsideOnly) {
  folder_.file("External/readme.txt", "hello");
  makeProgram("External/run.sh", "#!/bin/sh\n");
  folder_.file("External/evil.desktop", "[Desktop Entry]\nExec=/bin/true\n");
  folder_.file("External/setup.exe", "MZ");
  exec("OpenFile \"readme.txt\"");
  ASSERT_EQ(opened_.size(), 1);
  EXPECT_TRUE(opened_[0].endsWith("External/readme.txt"));
  for (const QString& name : {QString("run.sh"), QString("evil.desktop"), QString("setup.exe"),
                              outsidePath_ + "victim.txt", climb("victim.txt")}) {
    const std::size_t before = boxCount();
    exec("OpenFile " + quoted(name));
    EXPECT_EQ(boxCount(), before + 1) << qPrintable(name);
    EXPECT_TRUE(lastBox().text.contains(" Error opening the file titled '")) << qPrintable(name);
  }
  EXPECT_EQ(opened_.size(), 1);
}

TEST_F(ExternalRuleConfinementTest, OpenExeFileAndWaitNeverRunsProgramsOutsideOrWithArguments) {
  const QString marker = outsidePath_ + "ran";
  exec("OpenExeFileAndWait " + quoted("/usr/bin/touch " + marker));
  exec("OpenExeFileAndWait \"/bin/sh\"");
  makeProgram("External/tool.sh", "#!/bin/sh\ntouch \"" + marker.toUtf8() + "\"\n");
  exec("OpenExeFileAndWait \"tool.sh --all\"");  // a name, not a command line
  EXPECT_FALSE(QFile::exists(marker));
  ASSERT_EQ(boxCount(), 3u);
  for (const auto& box : dialogs().shown()) EXPECT_TRUE(box.text.contains(" Error opening the file titled '"));
}

TEST_F(ExternalRuleConfinementTest, OpenExeFileAndWaitAsksThePlayerOnceAndRemembers) {
  makeProgram("External/tool.sh", "#!/bin/sh\necho x >> \"$(dirname \"$0\")/count.txt\"\n");
  dialogs().queueAnswer(platform::MsgResult::No);
  exec("OpenExeFileAndWait \"tool.sh\"");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.startsWith("This game wants to run "));
  EXPECT_TRUE(lastBox().text.endsWith("External/tool.sh. Allow?"));
  EXPECT_EQ(lastBox().buttons, platform::MsgButtons::YesNo);
  EXPECT_FALSE(QFile::exists(folder_.path("External/count.txt")));
  exec("OpenExeFileAndWait \"tool.sh\"");  // refused before: not asked again, not run
  EXPECT_EQ(boxCount(), 1u);
  EXPECT_FALSE(QFile::exists(folder_.path("External/count.txt")));

  startup::SaveSetting(startup::ProgramPermissionKey(folder_.path("External/tool.sh")), "");
  dialogs().queueAnswer(platform::MsgResult::Yes);
  exec("OpenExeFileAndWait \"tool.sh\"");
  exec("OpenExeFileAndWait \"TOOL.SH\"");
  EXPECT_EQ(boxCount(), 2u);  // the yes is remembered too
  QFile count(folder_.path("External/count.txt"));
  ASSERT_TRUE(count.open(QIODevice::ReadOnly));
  EXPECT_EQ(count.readAll(), "x\nx\n");
}

TEST_F(ExternalRuleConfinementTest, WindowsProgramsAreNotRun) {
  makeProgram("External/setup.exe", "#!/bin/sh\necho x > \"$(dirname \"$0\")/ran.txt\"\n");
  exec("OpenExeFileAndWait \"setup.exe\"");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.contains("Windows programs cannot be run"));
  EXPECT_FALSE(QFile::exists(folder_.path("External/ran.txt")));
  EXPECT_TRUE(startup::IsWindowsProgramName("A.PIF"));
  EXPECT_TRUE(startup::IsWindowsProgramName("x.Bat"));
  EXPECT_TRUE(startup::IsWindowsProgramName("x.com"));
  EXPECT_FALSE(startup::IsWindowsProgramName("x.sh"));
}

TEST_F(ExternalRuleConfinementTest, WebAddressesOnly) {
  EXPECT_TRUE(platform::isWebAddress("https://example.org/"));
  EXPECT_TRUE(platform::isWebAddress("www.example.org"));
  EXPECT_TRUE(platform::isWebAddress("mailto:a@b.c"));
  EXPECT_FALSE(platform::isWebAddress("file:///usr/bin/xterm"));
  EXPECT_FALSE(platform::isWebAddress("smb://host/share"));
}

}  // namespace
}  // namespace qm::testing
