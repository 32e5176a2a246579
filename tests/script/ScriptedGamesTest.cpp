// Whole games whose hotspots, frames, start-up, timers and plugins run
// scripts: requests honoured after the run, global procedures, scrambled
// procedures, plugins, CreateObject rules, the three error messages and the
// time limit.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "ScriptGameFixture.h"
#include "platform/NativeName.h"
#include "script/Scrambling.h"
#include "startup/RecordWriter.h"
#include "vbscript/runtime/DiskNames.h"

namespace qm::testing {
namespace {

class ScriptedGamesTest : public ScriptGameFixture {};

TEST_F(ScriptedGamesTest, HotspotScriptSetsVariablesAndGoesToAFrameAfterTheRun) {
  GameFolderBuilder folder;
  basicGame(folder, {"door", "count"});
  // The frame is still Hall while the script runs.
  frame(folder, "Hall", {HotspotSpec{}},
        {scriptAction("door = 1\r\ncount.Value = count + 2\r\nGoToFrame |Garden|, 0, 0\r\n"
                      "If GetCurrentFrameName = |Hall| Then count = count + 10")});
  frame(folder, "Garden");
  startGame(folder);
  ASSERT_EQ(frameName(), "Hall");
  click(1);
  EXPECT_EQ(var("door"), 1);
  EXPECT_EQ(var("count"), 12);
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(ScriptedGamesTest, QuitEndsTheGameAndIgnoresTheFrameRequest) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall", {HotspotSpec{}}, {scriptAction("Quit\r\nGoToFrame |Garden|, 0, 0")});
  frame(folder, "Garden");
  startGame(folder);
  click(1);
  EXPECT_TRUE(startup::GameStopped());
  EXPECT_EQ(frameName(), "Hall");
}

TEST_F(ScriptedGamesTest, FrameStartupScriptRunsWhenTheFrameOpens) {
  GameFolderBuilder folder;
  basicGame(folder, {"visits"});
  FrameSpec hall;
  hall.runFrameProcedure = true;
  hall.frameProcedure = "visits = visits + 1";
  frame(folder, "Hall", {}, {}, hall);
  startGame(folder);
  EXPECT_EQ(var("visits"), 1) << allMessages().toStdString();
}

TEST_F(ScriptedGamesTest, GlobalProceduresAreCalledFromHotspotsAndFromTheStartup) {
  GameFolderBuilder folder;
  GeneralFields g = basicFields();
  g.runStartupProcedure = true;
  g.startupProcedureName = "Prepare";
  basicGame(folder, {"lamp", "ready"}, std::nullopt, g);
  procedures(folder, "Sub Prepare()\r\n  ready = 1\r\nEnd Sub\r\nSub Toggle(n)\r\n  lamp = n\r\nEnd Sub");
  frame(folder, "Hall", {HotspotSpec{}}, {scriptAction("Toggle 5")});
  startGame(folder);
  EXPECT_EQ(var("ready"), 1) << allMessages().toStdString();
  click(1);
  EXPECT_EQ(var("lamp"), 5);
}

// Scrambles one line as the editor stores procedures (the inverse of the player's transform).
QByteArray scrambleProcedureLine(const QByteArray& plain, int32_t key) {
  const int n = plain.size() + 1;
  const int b = 7;
  QByteArray out(n, ' ');
  out[0] = static_cast<char>(b + 32);
  for (int i = 0; i <= n - 2; ++i) {
    int c = static_cast<unsigned char>(plain[i]);
    if (c >= 32 && c <= 126) {
      const int t = key + (i + b) * script::KeyTableEntry(i % 21);
      int v = (c - 32 + t) % 94;
      if (v < 0) v += 94;
      c = v + 32;
    }
    out[n - 1 - i] = static_cast<char>(c);
  }
  return out;
}

TEST_F(ScriptedGamesTest, ScrambledProceduresFileIsUnscrambledWithTheProjectKey) {
  GameFolderBuilder folder;
  GeneralFields g = basicFields();
  g.projectName = "Castle";
  basicGame(folder, {"gold"}, std::nullopt, g);
  folder.moreIni("General", "ProcEncr", "1");
  const int32_t key = script::ProjectKeyNumber("Castle");
  QByteArray file = "h1\r\nh2\r\nh3\r\n";
  for (const QByteArray& line : {QByteArray("Sub Pay(n)"), QByteArray("  gold = gold + n"), QByteArray("End Sub")})
    file += scrambleProcedureLine(line, key) + "\r\n";
  folder.file("Config/Procedures", file);
  frame(folder, "Hall", {HotspotSpec{}}, {scriptAction("Pay 3")});
  startGame(folder);
  click(1);
  EXPECT_EQ(var("gold"), 3) << allMessages().toStdString();
  EXPECT_TRUE(host().GlobalProcedures.startsWith("Sub Pay(n)"));
}

TEST_F(ScriptedGamesTest, PluginAddsAVariableFrameCodeAndGlobalCode) {
  GameFolderBuilder folder;
  basicGame(folder, {"x"});
  startup::RecordWriter list;
  for (int i = 0; i < 10; ++i) list.str("");
  list.str("Counter");
  folder.records("Config/Plugins", list);
  startup::RecordWriter cp;
  cp.integer(1);
  for (int i = 0; i < 7; ++i) cp.str("");
  cp.boolean(false).boolean(false).str("A").str("Counter plugin").str("").str("CNT");
  cp.str("").str("PluginTicks = PluginTicks + 1").str("Sub Bump()\r\n  PluginTicks = PluginTicks + 100\r\nEnd Sub");
  cp.integer(1).str("PluginTicks").integer(0);
  cp.boolean(false).boolean(false);
  for (int i = 0; i < 5; ++i) cp.str(i == 2 ? "Bump" : "");
  cp.integer(0).integer(0);
  folder.records("CPData/Counter.cp", cp);
  frame(folder, "Hall", {HotspotSpec{}}, {scriptAction("Bump")});
  startGame(folder);
  EXPECT_TRUE(logic().DoesIntergerVariableExist("PluginTicks"));
  EXPECT_EQ(var("PluginTicks"), 1) << allMessages().toStdString();
  click(1);
  EXPECT_EQ(var("PluginTicks"), 101);
}

TEST_F(ScriptedGamesTest, CreateObjectIsBlockedByDefault) {
  GameFolderBuilder folder;
  basicGame(folder, {"made"});
  frame(folder, "Hall", {HotspotSpec{}}, {scriptAction("Set d = CreateObject(|Scripting.Dictionary|)\r\nmade = 1")});
  startGame(folder);
  click(1);
  EXPECT_EQ(var("made"), 0);
  ASSERT_EQ(boxCount(), 1u) << allMessages().toStdString();
  EXPECT_EQ(lastBox().title, "VBScript Execution Aborted");
  EXPECT_EQ(lastBox().text,
            "WARNING! The VBScript code makes calls to the \"CreateObject\" function, which for security reasons is "
            "not allowed.\r\n\r\nPlease remove the calls to that function and try again.");
}

TEST_F(ScriptedGamesTest, CreateObjectEscapingTheTextCheckStillCreatesNothing) {
  GameFolderBuilder folder;
  basicGame(folder, {"made"});
  frame(folder, "Hall", {HotspotSpec{}},
        {scriptAction("Set d = createobject (|Scripting.Dictionary|)\r\nIf d Is Nothing Then made = 1")});
  startGame(folder);
  click(1);
  EXPECT_EQ(var("made"), 1) << allMessages().toStdString();
  EXPECT_EQ(messagesContaining("the \"CreateObject\" function is disabled"), 1u);
}

TEST_F(ScriptedGamesTest, CreateObjectWhenAllowedMakesOnlyTheScriptingObjects) {
  GameFolderBuilder folder;
  basicGame(folder, {"made", "refused"});
  folder.moreIni("General", "AllowCreateObject", "1");
  frame(folder, "Hall", {HotspotSpec{}, HotspotSpec{}},
        {scriptAction("Set d = CreateObject(|Scripting.Dictionary|)\r\nd.Add |a|, 4\r\nmade = d(|a|)"),
         scriptAction("On Error Resume Next\r\nSet o = CreateObject(|Word.Application|)\r\nrefused = Err.Number")});
  startGame(folder);
  click(1);
  EXPECT_EQ(var("made"), 4) << allMessages().toStdString();
  click(2);
  EXPECT_EQ(var("refused"), 429);
}

TEST_F(ScriptedGamesTest, HotspotScriptKnowsItsHotspotAndFrameScriptReadsClickPositionZero) {
  GameFolderBuilder folder;
  basicGame(folder, {"which", "x"});
  FrameSpec garden;
  garden.runFrameProcedure = true;
  garden.frameProcedure = "x = GetClickPositionX + GetClickPositionY + 1";
  frame(folder, "Hall", {HotspotSpec{}, HotspotSpec{}},
        {scriptAction("which = 1"), scriptAction("which = GetHotspotNumber\r\nGoToFrame |Garden|, 0, 0")});
  frame(folder, "Garden", {}, {}, garden);
  startGame(folder);
  game().SaveClickPos(600, 900);
  click(2);
  EXPECT_EQ(var("which"), 2);
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_EQ(var("x"), 1);
}

TEST_F(ScriptedGamesTest, ReferenceAllControlsVariableExposesTheWindowControls) {
  GameFolderBuilder folder;
  basicGame(folder, {"reference_all_controls", "n"});
  frame(folder, "Hall", {HotspotSpec{}});
  startGame(folder);
  run("n = Area.Count + SoftwareObjects.Area.Count");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(var("n"), 2 * game().Area.Count());
}

TEST_F(ScriptedGamesTest, PluginStartCodeRunsBeforeTheProjectStartupProcedure) {
  GameFolderBuilder folder;
  GeneralFields g = basicFields();
  g.runStartupProcedure = true;
  g.startupProcedureName = "order = order * 10 + 2";
  basicGame(folder, {"order"}, std::nullopt, g);
  startup::RecordWriter list;
  for (int i = 0; i < 10; ++i) list.str("");
  list.str("Starter").str("starter");  // the same plugin twice: loaded once
  folder.records("Config/Plugins", list);
  startup::RecordWriter cp;
  cp.integer(1);
  for (int i = 0; i < 7; ++i) cp.str("");
  cp.boolean(false).boolean(false).str("A").str("Starter").str("").str("ST");
  cp.str("order = order * 10 + 1").str("").str("");
  cp.integer(0).integer(0).boolean(false).boolean(false);
  for (int i = 0; i < 5; ++i) cp.str("");
  cp.integer(0).integer(0);
  folder.records("CPData/Starter.cp", cp);
  frame(folder, "Hall");
  startGame(folder);
  EXPECT_EQ(var("order"), 12) << allMessages().toStdString();
}

TEST_F(ScriptedGamesTest, WindowWithScriptObjectsInItsEnginesClosesCleanly) {
  GameFolderBuilder folder;
  basicGame(folder, {"n"});
  // Top-level code of the procedures keeps objects in both engines; their
  // Class_Terminate runs when the window goes.
  procedures(folder,
             "Class Keeper\r\n  Sub Class_Terminate()\r\n    On Error Resume Next\r\n    Hotspot(0).Tag = \"x\"\r\n"
             "  End Sub\r\nEnd Class\r\nDim holder\r\nSet holder = New Keeper");
  frame(folder, "Hall", {HotspotSpec{}});
  startGame(folder);
  run("n = 1");
  EXPECT_EQ(var("n"), 1);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  resetGame();
}

TEST_F(ScriptedGamesTest, FileSystemObjectWritesOnlyInTheExternalFolder) {
  GameFolderBuilder folder;
  basicGame(folder, {"wrote", "read", "denied", "kept"});
  folder.moreIni("General", "AllowCreateObject", "1");
  folder.folder("External");
  frame(folder, "Hall");
  startGame(folder);
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
      "Set f = fso.CreateTextFile(\"External\\save.txt\", True)\r\nf.WriteLine \"42\"\r\nf.Close\r\n"
      "wrote = 1\r\n"
      "Set g = fso.OpenTextFile(\"External\\save.txt\", 1)\r\nread = CInt(g.ReadLine)\r\ng.Close\r\n"
      "If fso.FileExists(\"Config\\Variables\") Then kept = 1\r\n"
      "On Error Resume Next\r\n"
      "fso.DeleteFile \"Config\\Variables\"\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "fso.GetFile(\"Config\\Variables\").Delete\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "Set h = fso.OpenTextFile(\"Config\\Variables\", 8)\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "fso.CopyFile \"External\\save.txt\", \"Config\\copy.txt\"\r\nIf Err.Number = 70 Then denied = denied + 1");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(var("wrote"), 1);
  EXPECT_EQ(var("read"), 42);
  EXPECT_EQ(var("kept"), 1);
  EXPECT_EQ(var("denied"), 4);
  EXPECT_TRUE(QFile::exists(folder.path("Config/Variables")));
  EXPECT_FALSE(QFile::exists(folder.path("Config/copy.txt")));
}

// Symbolic links in the game folder: neither reading nor changing files
// through them leads outside the folder, nor outside External for changes.
TEST_F(ScriptedGamesTest, FileSystemObjectDoesNotFollowLinksOut) {
  QTemporaryDir outside;
  ASSERT_TRUE(outside.isValid());
  {
    QFile secret(outside.path() + "/secret.txt");
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("secret\r\n");
  }
  GameFolderBuilder folder;
  basicGame(folder, {"denied", "seen", "listed"});
  folder.moreIni("General", "AllowCreateObject", "1");
  folder.file("External/own.txt", "mine\r\n");
  frame(folder, "Hall");
  ASSERT_TRUE(QFile::link(outside.path(), folder.path("External/out")));
  ASSERT_TRUE(QFile::link(outside.path() + "/secret.txt", folder.path("External/secret.txt")));
  ASSERT_TRUE(QFile::link(folder.path("Config"), folder.path("External/cfg")));
  startGame(folder);
  run("Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
      "On Error Resume Next\r\n"
      "Set t = fso.OpenTextFile(\"External\\secret.txt\", 1)\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "Set t = fso.CreateTextFile(\"External\\out\\planted.txt\", True)\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "fso.DeleteFile \"External\\out\\secret.txt\"\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "Set t = fso.CreateTextFile(\"External\\cfg\\planted.txt\", True)\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "fso.DeleteFile \"External\\cfg\\Variables\"\r\nIf Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "If fso.FileExists(\"External\\out\\secret.txt\") Then seen = seen + 1\r\n"
      "If fso.FolderExists(\"External\\out\") Then seen = seen + 1\r\n"
      "fso.CreateFolder \"External\\copies\"\r\n"
      "fso.CopyFile \"External\\*.txt\", \"External\\copies\\\"\r\n"
      "listed = fso.GetFolder(\"External\").Files.Count");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(var("denied"), 5);
  EXPECT_EQ(var("seen"), 0);
  EXPECT_EQ(var("listed"), 1);  // own.txt; the link that leads out is not listed
  EXPECT_TRUE(QFile::exists(folder.path("External/copies/own.txt")));
  EXPECT_FALSE(QFile::exists(folder.path("External/copies/secret.txt")));
  EXPECT_TRUE(QFile::exists(outside.path() + "/secret.txt"));
  EXPECT_FALSE(QFile::exists(outside.path() + "/planted.txt"));
  EXPECT_FALSE(QFile::exists(folder.path("Config/planted.txt")));
  EXPECT_TRUE(QFile::exists(folder.path("Config/Variables")));
}

// A game copied from a Windows disk names files in raw Windows-1252 bytes:
// scripts change such files in External by the names they list, and a raw-named
// link in External that leads elsewhere in the game folder stays closed.
TEST_F(ScriptedGamesTest, FileSystemObjectChangesRawNamedFilesUnderItsRules) {
  GameFolderBuilder folder;
  basicGame(folder, {"denied", "appended"});
  folder.moreIni("General", "AllowCreateObject", "1");
  folder.file("External/own.txt", "mine\r\n");
  frame(folder, "Hall");
  const QByteArray external = QFile::encodeName(folder.path("External")) + '/';
  const int fd = ::open((external + "Caf\xE9.txt").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "menu\r\n", 6), 6);
  ::close(fd);
  const QByteArray config = QFile::encodeName(folder.path("Config"));
  ASSERT_EQ(::symlink((config + "/Variables").constData(), (external + "Variabl\xE9s").constData()), 0);
  ASSERT_EQ(::symlink(config.constData(), (external + "R\xE9glages").constData()), 0);
  startGame(folder);
  run(QString::fromUtf8(
      "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
      "On Error Resume Next\r\n"
      "For Each f In fso.GetFolder(\"External\").Files\r\n"
      "  Set t = f.OpenAsTextStream(8)\r\n"
      "  If Err.Number = 70 Then denied = denied + 1 Else t.Write \"+\": t.Close: appended = appended + 1\r\n"
      "  Err.Clear\r\n"
      "Next\r\n"
      "For Each f In fso.GetFolder(\"External\").Files\r\n"
      "  If f.Name = \"Variablés\" Then f.Delete\r\n"
      "  If Err.Number = 70 Then denied = denied + 1\r\n"
      "  Err.Clear\r\n"
      "Next\r\n"
      "fso.CreateTextFile(\"External\\Réglages\\planted.txt\").Write \"x\"\r\n"
      "If Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "fso.DeleteFile \"External\\réglages\\Variables\"\r\n"
      "If Err.Number = 70 Then denied = denied + 1\r\nErr.Clear\r\n"
      "fso.GetFile(\"External\\café.txt\").Name = \"Menu.txt\""));
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(var("appended"), 2);  // Café.txt and own.txt
  EXPECT_EQ(var("denied"), 4);    // Variablés twice, Réglages twice
  QFile menu(folder.path("External/Menu.txt"));
  ASSERT_TRUE(menu.open(QIODevice::ReadOnly));
  EXPECT_EQ(menu.readAll(), "menu\r\n+");
  EXPECT_TRUE(QFile::exists(folder.path("Config/Variables")));
  EXPECT_FALSE(QFile::exists(folder.path("Config/planted.txt")));
  QFile variables(folder.path("Config/Variables"));
  ASSERT_TRUE(variables.open(QIODevice::ReadOnly));
  EXPECT_FALSE(variables.readAll().endsWith("+"));
}

// A game unpacked from an old zip archive names files in raw DOS code page 437
// bytes: the name DDir gives for such a file is the name the file-system
// object lists, and it opens the file.
TEST_F(ScriptedGamesTest, ANameThatDDirGivesOpensInTheFileSystemObject) {
  GameFolderBuilder folder;
  basicGame(folder, {"same", "found", "named"});
  folder.moreIni("General", "AllowCreateObject", "1");
  frame(folder, "Hall");
  const QByteArray external = QFile::encodeName(folder.path("External")) + '/';
  ASSERT_TRUE(QFile::exists(folder.path("External")));
  const int fd = ::open((external + "\x90glise.txt").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "nef\r\n", 5), 5);
  ::close(fd);
  startGame(folder);
  run(QString::fromUtf8(
      "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
      "n = DDir(GetPath(2) & \"*.txt\", 0)\r\n"
      "If n = \"Église.txt\" Then named = 1\r\n"
      "For Each f In fso.GetFolder(\"External\").Files\r\n"
      "  If f.Name = n Then same = 1\r\n"
      "Next\r\n"
      "If fso.FileExists(GetPath(2) & n) And fso.GetFile(\"External\\\" & n).Size = 5 Then found = 1\r\n"
      "Set t = fso.OpenTextFile(\"External\\\" & n, 8)\r\n"
      "t.Write fso.OpenTextFile(GetPath(2) & n).ReadLine\r\n"
      "t.Close"));
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(var("named"), 1);
  EXPECT_EQ(var("same"), 1);
  EXPECT_EQ(var("found"), 1);
  const int in = ::open((external + "\x90glise.txt").constData(), O_RDONLY);
  ASSERT_GE(in, 0);
  char text[16] = {};
  EXPECT_EQ(::read(in, text, sizeof text), 8);
  ::close(in);
  EXPECT_STREQ(text, "nef\r\nnef");
}

// The player's look-ups and the scripts' file-system object show a raw name
// the same way, whatever its bytes.
TEST(DiskNamesAgreementTest, ScriptsSeeTheNamesThePlayerShows) {
  std::mt19937 random(11);
  const char pool[] = "aeE .\x80\x81\x82\x84\x8E\x90\x99\x9A\xA4\xB5\xC3\xA9\xC9\xE0\xE9\xEF\xF0\x9F\xFF";
  for (int i = 0; i < 3000; ++i) {
    std::string bytes;
    for (int k = 0, n = int(random() % 10) + 1; k < n; ++k) bytes += pool[random() % (sizeof pool - 1)];
    const QString player = platform::readableName(platform::nameFromBytes(QByteArray::fromStdString(bytes)));
    const std::u16string script = vbs::rt::diskNameText(bytes);
    ASSERT_EQ(player, QString::fromUtf16(script.data(), qsizetype(script.size()))) << QByteArray::fromStdString(bytes).toHex().constData();
  }
}

TEST_F(ScriptedGamesTest, RunTimeErrorShowsTheRunMessageAndSkipsTheRequests) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall");
  frame(folder, "Garden");
  startGame(folder);
  run("GoToFrame \"Garden\", 0, 0\r\nx = 1 / 0");
  EXPECT_EQ(frameName(), "Hall");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().title, startup::InterfaceText(29));
  EXPECT_EQ(lastBox().icon, platform::MsgIcon::Critical);
  EXPECT_TRUE(lastBox().text.startsWith(startup::InterfaceText(30) + " " + startup::InterfaceText(31) + "\r\n\r\n" +
                                        script::kRunFailedSentence + "\r\n\r\n"))
      << lastBox().text.toStdString();
  EXPECT_TRUE(lastBox().text.contains("Division by zero"));
}

TEST_F(ScriptedGamesTest, SyntaxErrorShowsTheRebuildMessage) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall");
  startGame(folder);
  run("If Then");
  ASSERT_GE(boxCount(), 1u);
  EXPECT_TRUE(dialogs().shown()[0].text.contains(script::kRebuildFailedSentence)) << allMessages().toStdString();
}

TEST_F(ScriptedGamesTest, CodeThatDoesNotCompileGivesOneMessageAndRunsNothing) {
  GameFolderBuilder folder;
  basicGame(folder, {"Ran"});
  frame(folder, "Hall");
  startGame(folder);
  dialogs().clear();
  // A good first line must not run either: the text as a whole does not compile.
  run("Ran = 1\r\nx = = 1");
  ASSERT_EQ(boxCount(), 1u) << allMessages().toStdString();
  EXPECT_TRUE(lastBox().text.contains(script::kRebuildFailedSentence)) << allMessages().toStdString();
  EXPECT_FALSE(allMessages().contains("StartupProcedure")) << allMessages().toStdString();
  EXPECT_EQ(var("Ran"), 0);
  // The next good code runs as usual.
  dialogs().clear();
  run("Ran = 2");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(var("Ran"), 2);
}

TEST_F(ScriptedGamesTest, VariableWithAReservedNameStopsTheRebuildButTheCodeRuns) {
  GameFolderBuilder folder;
  basicGame(folder, {"before", "Action", "after"});
  frame(folder, "Hall");
  frame(folder, "Garden");
  startGame(folder);
  dialogs().clear();
  // "before" was added ahead of the refused name; "after" and the controls were not.
  run("before = 3\r\nOn Error Resume Next\r\nafter = 4\r\nn = Hotspot.Count\r\n"
      "If Err.Number <> 0 Then before = before + 10\r\nGoToFrame \"Garden\", 0, 0");
  EXPECT_EQ(messagesContaining(script::kRebuildFailedSentence), 1u) << allMessages().toStdString();
  EXPECT_EQ(boxCount(), 1u) << allMessages().toStdString();
  EXPECT_EQ(var("before"), 13);
  EXPECT_EQ(var("after"), 0);
  // The run itself went well: its requests are acted on.
  EXPECT_EQ(frameName(), "Garden");
}

TEST_F(ScriptedGamesTest, TwoVariablesNamedAlikeStillLetEveryScriptRun) {
  GameFolderBuilder folder;
  basicGame(folder, {"Dup", "score"}, QStringList{"dup"});
  frame(folder, "Hall");
  startGame(folder);
  dialogs().clear();
  run("score = Dup + 5");
  EXPECT_EQ(messagesContaining(script::kRebuildFailedSentence), 1u) << allMessages().toStdString();
  EXPECT_EQ(messagesContaining(script::kRunFailedSentence), 0u) << allMessages().toStdString();
  EXPECT_EQ(var("score"), 5);
  // Each run meets the refused name again and runs again.
  dialogs().clear();
  run("score = score * 2");
  EXPECT_EQ(boxCount(), 1u) << allMessages().toStdString();
  EXPECT_EQ(var("score"), 10);
}

TEST_F(ScriptedGamesTest, TimeLimitStopsAnEndlessLoop) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.moreIni("General", "ScriptTimeOut", "1");
  frame(folder, "Hall");
  startGame(folder);
  EXPECT_EQ(host().ScriptControl.timeout(), 1000);
  run("Do\r\nLoop");
  EXPECT_EQ(messagesContaining(script::kRunFailedSentence), 1u) << allMessages().toStdString();
}

// The time limit is whole seconds: a fraction is rounded (halves to even), and
// what rounds to 0, or is no number, leaves the engine's own limit.
TEST_F(ScriptedGamesTest, ScriptTimeOutIsRoundedToWholeSeconds) {
  const std::pair<const char*, int> cases[] = {{"2.6", 3000}, {"2.4", 2000}, {"2.5", 2000}, {"0.4", 10000}, {"abc", 10000}};
  // Every folder is written before a game runs: a running game keeps files to its own folder.
  std::vector<std::unique_ptr<GameFolderBuilder>> folders;
  for (const auto& c : cases) {
    folders.push_back(std::make_unique<GameFolderBuilder>());
    basicGame(*folders.back());
    folders.back()->moreIni("General", "ScriptTimeOut", c.first);
    frame(*folders.back(), "Hall");
  }
  for (size_t i = 0; i < folders.size(); ++i) {
    startGame(*folders[i]);
    EXPECT_EQ(host().ScriptControl.timeout(), cases[i].second) << cases[i].first;
    resetGame();
  }
}

TEST_F(ScriptedGamesTest, DisableScriptTimeoutVariableRemovesTheLimits) {
  GameFolderBuilder folder;
  basicGame(folder, {"disable_script_timeout"});
  folder.moreIni("General", "ScriptTimeOut", "5");
  frame(folder, "Hall");
  startGame(folder);
  EXPECT_EQ(host().ScriptControl.timeout(), -1);
  EXPECT_EQ(host().ScriptControl2.timeout(), -1);
}

TEST_F(ScriptedGamesTest, ScriptTimerCallsItsGlobalProcedure) {
  GameFolderBuilder folder;
  basicGame(folder, {"ticks"});
  procedures(folder,
             "Sub TimerObject1()\r\n  ticks = ticks + 1\r\n  If ticks >= 2 Then TimerObject(1).Enabled = False\r\nEnd Sub");
  frame(folder, "Hall");
  startGame(folder);
  run("LoadControl TimerObject(1)\r\nTimerObject(1).Interval = 10\r\nTimerObject(1).Enabled = True");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  runEvents(300);
  EXPECT_EQ(var("ticks"), 2) << allMessages().toStdString();
}

TEST_F(ScriptedGamesTest, DebugCommandRunsTypedCodeAndRemembersIt) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  frame(folder, "Hall");
  frame(folder, "Garden");
  startGame(folder);
  dialogs().queueText("v = 9 : GoToFrame \"Garden\", 0, 0");
  host().ExecuteCodeCommand();
  ASSERT_GE(boxCount(), 1u);
  EXPECT_EQ(dialogs().shown()[0].title, "Execute VBScript Code (for advanced users)");
  EXPECT_TRUE(dialogs().shown()[0].text.endsWith("                MsgBox VARIABLE_NAME\r\n"));
  EXPECT_EQ(var("v"), 9);
  EXPECT_EQ(frameName(), "Garden");
  dialogs().queueCancel();
  host().ExecuteCodeCommand();
  EXPECT_EQ(dialogs().last().defaultText, "v = 9 : GoToFrame \"Garden\", 0, 0");
  host().EditProceduresCommand();
  EXPECT_EQ(lastBox().title, "Not Available");
  EXPECT_EQ(lastBox().text, "This command is not available in the compiled version of the project.");
}

}  // namespace
}  // namespace qm::testing
