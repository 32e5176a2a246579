// The global procedures file and the text a script engine is filled with.
#include <gtest/gtest.h>

#include "platform/VbError.h"
#include "script/GlobalProcedures.h"
#include "script/Scrambling.h"

using namespace qm::script;

TEST(ScriptText, WithoutProceduresOrPluginsWrapsTheCodeInStartupProcedure) {
  EXPECT_EQ(ComposeScriptText("", "", "MsgBox 1"), "\r\n\r\nSub StartupProcedure\r\nMsgBox 1\r\nEnd Sub");
}

TEST(ScriptText, ProceduresAndPluginCodeComeBeforeTheRun) {
  EXPECT_EQ(ComposeScriptText("Sub A\r\nEnd Sub", "Sub P\r\nEnd Sub\r\n", "A"),
            "Sub A\r\nEnd Sub\r\nSub P\r\nEnd Sub\r\n\r\nSub StartupProcedure\r\nA\r\nEnd Sub");
}

TEST(CreateObjectCheck, BlocksOnlyTheExactSpellingWhenNotAllowed) {
  EXPECT_TRUE(IsCreateObjectBlocked("Set d = CreateObject(\"x\")", ""));
  EXPECT_TRUE(IsCreateObjectBlocked("Set d = CreateObject(\"x\")", "0"));
  EXPECT_FALSE(IsCreateObjectBlocked("Set d = CreateObject(\"x\")", "1"));
  // The text check is case-sensitive and wants the parenthesis right after the name.
  EXPECT_FALSE(IsCreateObjectBlocked("Set d = createobject(\"x\")", ""));
  EXPECT_FALSE(IsCreateObjectBlocked("Set d = CreateObject (\"x\")", ""));
}

TEST(ProceduresFile, SkipsThreeHeaderLinesAndJoinsTheRestWithCrLf) {
  const QByteArray file = "h1\r\nh2\r\nh3\r\nSub A()\r\n  x = 1\r\nEnd Sub\r\n";
  EXPECT_EQ(ParseGlobalProcedures(file, false, 0), "Sub A()\r\n  x = 1\r\nEnd Sub");
}

TEST(ProceduresFile, AcceptsLinesEndedByLineFeedsAlone) {
  EXPECT_EQ(ParseGlobalProcedures("a\nb\nc\nSub A\nEnd Sub\n", false, 0), "Sub A\r\nEnd Sub");
}

TEST(ProceduresFile, ThatEndsAfterItsHeaderFails) {
  EXPECT_THROW(ParseGlobalProcedures("h1\r\nh2\r\nh3\r\n", false, 0), qm::VbError);
  EXPECT_THROW(ParseGlobalProcedures("", false, 0), qm::VbError);
}

TEST(ProceduresFile, KeepsEmptyLinesInsideTheCode) {
  EXPECT_EQ(ParseGlobalProcedures("1\r\n2\r\n3\r\nA\r\n\r\nB", false, 0), "A\r\n\r\nB");
}

TEST(ProceduresFile, UnscramblesEachLineWithTheKey) {
  // A one-character scrambled line "!" gives an empty line; build a real one by
  // checking that unscrambling is applied line by line.
  const int key = ProjectKeyNumber("Demo");
  const QByteArray line = "!abc";
  const QString expected = QString::fromLatin1(UnscrambleProcedureLine(line, key));
  EXPECT_EQ(ParseGlobalProcedures("1\r\n2\r\n3\r\n" + line + "\r\n" + line, true, key), expected + "\r\n" + expected);
}
