// A game folder built to attack the player through its scripts: links that lead
// nowhere, pipes, hard links, names swapped between the check and the open,
// the External folder itself as a target, moves from outside External, line
// breaks in INI names and mail addresses with orders for the mail program.
// Every folder is built in a temporary directory.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ScriptGameFixture.h"
#include "platform/GameFileOpen.h"
#include "platform/Shell.h"
#include "support/PipeRescue.h"

namespace qm::testing {
namespace {

class HostileGameFolderTest : public ScriptGameFixture {
 protected:
  void SetUp() override {
    ScriptGameFixture::SetUp();
    ASSERT_TRUE(outside_.isValid());
    write(outside_.path() + "/secret.txt", "secret\r\n");
  }
  void TearDown() override {
    platform::setBetweenCheckAndOpenHookForTests({});
    platform::setShellOpenHookForTests({});
    ScriptGameFixture::TearDown();
  }
  static void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  static QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A game whose scripts may create the file-system object, with External/own.txt.
  void startScriptedGame(const QStringList& integers) {
    basicGame(folder_, integers);
    folder_.moreIni("General", "AllowCreateObject", "1");
    folder_.file("External/own.txt", "mine\r\n");
    frame(folder_, "Hall");
  }
  // The statement, then the counter counts error `number` (any error for 0).
  static QString tryCode(const QString& statement, const QString& counter, int number = 70) {
    const QString test = number == 0 ? QString("Err.Number <> 0") : "Err.Number = " + QString::number(number);
    return statement + "\r\nIf " + test + " Then " + counter + " = " + counter + " + 1\r\nErr.Clear\r\n";
  }

  QTemporaryDir outside_;
  GameFolderBuilder folder_;
};

TEST_F(HostileGameFolderTest, ALinkThatLeadsNowhereInExternalCreatesNothingOutside) {
  startScriptedGame({"denied"});
  QDir().mkpath(outside_.path() + "/victim");
  ASSERT_TRUE(QFile::link(outside_.path() + "/victim/x.desktop", folder_.path("External/notes.txt")));
  ASSERT_TRUE(QFile::link(outside_.path() + "/victim/y.desktop", folder_.path("External/more.txt")));
  startGame(folder_);
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\nOn Error Resume Next\r\n" +
      tryCode("Set t = fso.CreateTextFile(\"External\\notes.txt\", True)", "denied") +
      tryCode("Set t = fso.OpenTextFile(\"External\\more.txt\", 2, True)", "denied") +
      tryCode("Set t = fso.OpenTextFile(\"External\\more.txt\", 8, True)", "denied") +
      tryCode("fso.CopyFile \"External\\own.txt\", \"External\\notes.txt\"", "denied"));
  EXPECT_EQ(var("denied"), 4);
  EXPECT_FALSE(QFile::exists(outside_.path() + "/victim/x.desktop"));
  EXPECT_FALSE(QFile::exists(outside_.path() + "/victim/y.desktop"));
}

TEST_F(HostileGameFolderTest, APipeInExternalIsRefusedAndTheScriptGoesOn) {
  startScriptedGame({"denied", "failed", "after"});
  const QString fifo = folder_.path("External/pipe.txt");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  startGame(folder_);
  // Should an open wait for a writer, one comes after a while.
  PipeRescue rescue(QFile::encodeName(fifo));
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\nOn Error Resume Next\r\n" +
      tryCode("Set t = fso.OpenTextFile(\"External\\pipe.txt\", 1)", "denied") +
      tryCode("Set t = fso.OpenTextFile(\"External\\pipe.txt\", 8)", "denied") +
      tryCode("Set t = fso.OpenTextFile(\"External\\pipe.txt\", 2)", "denied") +
      tryCode("Set t = fso.GetFile(\"External\\pipe.txt\").OpenAsTextStream(1)", "failed", 0) +
      tryCode("fso.CopyFile \"External\\pipe.txt\", \"External\\copy.txt\"", "failed", 0) + "after = 1");
  EXPECT_EQ(var("after"), 1);
  EXPECT_EQ(var("denied"), 3);
  EXPECT_EQ(var("failed"), 2);  // the file object may already say the pipe is no file
  EXPECT_FALSE(QFile::exists(folder_.path("External/copy.txt")));
}

TEST_F(HostileGameFolderTest, AHardLinkToAFileOutsideIsNotAppendedTo) {
  startScriptedGame({"denied"});
  ASSERT_EQ(::link(QFile::encodeName(outside_.path() + "/secret.txt").constData(),
                   QFile::encodeName(folder_.path("External/hard.txt")).constData()),
            0);
  startGame(folder_);
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\nOn Error Resume Next\r\n" +
      tryCode("fso.OpenTextFile(\"External\\hard.txt\", 8).Write \"planted\"", "denied") +
      tryCode("fso.OpenTextFile(\"External\\hard.txt\", 2).Write \"planted\"", "denied") +
      tryCode("fso.CopyFile \"External\\own.txt\", \"External\\hard.txt\"", "denied"));
  EXPECT_EQ(var("denied"), 3);
  EXPECT_EQ(read(outside_.path() + "/secret.txt"), "secret\r\n");
}

TEST_F(HostileGameFolderTest, AFileSwappedForALinkOutBeforeItOpensIsNotRead) {
  startScriptedGame({"denied", "leaked"});
  startGame(folder_);
  const QString own = folder_.path("External/own.txt");
  auto done = std::make_shared<bool>(false);
  platform::setBetweenCheckAndOpenHookForTests([&, done](const std::string&) {
    if (*done) return;
    *done = true;
    QFile::remove(own);
    QFile::link(outside_.path() + "/secret.txt", own);
  });
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\nOn Error Resume Next\r\n"
      "s = \"\"\r\ns = fso.OpenTextFile(\"External\\own.txt\", 1).ReadAll\r\n"
      "If Err.Number = 70 Then denied = 1\r\nErr.Clear\r\nIf InStr(s, \"secret\") > 0 Then leaked = 1\r\n");
  EXPECT_TRUE(*done);
  EXPECT_EQ(var("leaked"), 0);
  EXPECT_EQ(var("denied"), 1);
}

TEST_F(HostileGameFolderTest, TheExternalFolderItselfCannotBeDeletedOrRenamed) {
  startScriptedGame({"denied"});
  startGame(folder_);
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\nOn Error Resume Next\r\n" +
      tryCode("fso.DeleteFolder \"External\"", "denied") + tryCode("fso.GetFolder(\"External\").Delete", "denied") +
      tryCode("fso.GetFolder(\"External\").Name = \"Gone\"", "denied") +
      tryCode("fso.MoveFolder \"External\", \"External\\Inner\"", "denied"));
  EXPECT_EQ(var("denied"), 4);
  EXPECT_EQ(read(folder_.path("External/own.txt")), "mine\r\n");
  EXPECT_FALSE(QFile::exists(folder_.path("Gone")));
}

TEST_F(HostileGameFolderTest, MovesIntoExternalFromElsewhereLeaveTheSource) {
  startScriptedGame({"denied"});
  folder_.file("Data/map.txt", "map\r\n");
  startGame(folder_);
  const QByteArray variables = read(folder_.path("Config/Variables"));
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\nOn Error Resume Next\r\n" +
      tryCode("fso.MoveFile \"Config\\Variables\", \"External\\Variables\"", "denied") +
      tryCode("fso.MoveFolder \"Data\", \"External\\Data\"", "denied") +
      tryCode("fso.GetFile(\"Config\\Variables\").Move \"External\\v.txt\"", "denied"));
  EXPECT_EQ(var("denied"), 3);
  EXPECT_EQ(read(folder_.path("Config/Variables")), variables);
  EXPECT_EQ(read(folder_.path("Data/map.txt")), "map\r\n");
  EXPECT_FALSE(QFile::exists(folder_.path("External/Variables")));
  EXPECT_FALSE(QFile::exists(folder_.path("External/Data")));
}

TEST_F(HostileGameFolderTest, WriteIniRefusesLineBreaksInNamesAndKeepsValuesOnOneLine) {
  startScriptedGame({"refused"});
  folder_.file("External/game.ini", "[Main]\r\nA=1\r\n");
  startGame(folder_);
  const QString ini = "\"" + folder_.path("External/game.ini") + "\"";
  run("On Error Resume Next\r\n" +
      tryCode("Action.WriteINI " + ini + ", \"Main\" & vbCrLf & \"[Admin]\", \"B\", \"1\"", "refused", 5) +
      tryCode("Action.WriteINI " + ini + ", \"Main\", \"B\" & vbLf & \"Cheat\", \"1\"", "refused", 5) +
      tryCode("Action.WriteINI " + ini + ", \"Main\", \"C\", \"2\" & vbCr & \"[Admin]\" & vbCrLf & \"Cheat=1\"",
              "refused", 5));
  EXPECT_EQ(var("refused"), 2);
  EXPECT_EQ(read(folder_.path("External/game.ini")), "[Main]\r\nA=1\r\nC=2 [Admin] Cheat=1\r\n");
}

TEST_F(HostileGameFolderTest, SendEmailHandsOnOnlyTheAddressAndTheMailFields) {
  startScriptedGame({});
  startGame(folder_);
  QStringList opened;
  platform::setShellOpenHookForTests([&](const QString& t) {
    opened << t;
    return true;
  });
  run("Action.SendEmail \"a@b.c?attach=/etc/passwd\"\r\n"
      "Action.SendEmail \"a@b.c?subject=Hi&ATTACHMENT=%2Fetc%2Fshadow&body=Text&cc=d@e.f&bcc=g@h.i&x=1#frag\"\r\n");
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[0], "mailto:a@b.c");
  EXPECT_EQ(opened[1], "mailto:a@b.c?subject=Hi&body=Text&cc=d@e.f&bcc=g@h.i");
}

}  // namespace
}  // namespace qm::testing
