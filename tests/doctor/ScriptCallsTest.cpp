// The calls the doctor finds in a script's syntax tree: bare names and the
// action object's members, with their argument counts and literal texts.
#include <gtest/gtest.h>

#include "doctor/ScriptCalls.h"
#include "vbscript/compiler/Ast.h"
#include "vbscript/compiler/Parser.h"

namespace qm::doctor {
namespace {

std::vector<ScriptCall> callsIn(const char16_t* text) { return findScriptCalls(vbs::parseProgram(text)); }

QStringList summary(const std::vector<ScriptCall>& calls) {
  QStringList out;
  for (const auto& c : calls) {
    QString s = c.name + "/" + QString::number(c.argumentCount) + "@" + QString::number(c.line);
    if (!c.literals.empty() && c.literals[0]) s += "=" + *c.literals[0];
    out << s;
  }
  return out;
}

TEST(ScriptCallsTest, StatementCallsWithAndWithoutParenthesesCountTheirArguments) {
  EXPECT_EQ(summary(callsIn(u"GoToFrame \"Hall\", 1, 0\r\nPopupSaveGame\r\nMessage(\"Hi\")\r\nCall AddItem(\"Key\", True)")),
            (QStringList{"GoToFrame/3@1=Hall", "PopupSaveGame/0@2", "Message/1@3=Hi", "AddItem/2@4=Key"}));
}

TEST(ScriptCallsTest, MembersOfTheActionObjectCountButOtherObjectsDoNot) {
  EXPECT_EQ(summary(callsIn(u"Action.GoToFrame \"A\", 1, 0\r\nacTION.Quit\r\nx.GoToFrame \"B\"\r\n")),
            (QStringList{"GoToFrame/3@1=A", "Quit/0@2"}));
}

TEST(ScriptCallsTest, CallsInsideExpressionsBlocksAndProceduresAreFound) {
  const auto calls = callsIn(
      u"Sub S()\r\n  If GetPath(3) = \"\" Then\r\n    y = Len(ReadINI(\"a\", \"b\"))\r\n  End If\r\nEnd Sub\r\n"
      u"For i = 1 To 2\r\n  Select Case i\r\n    Case 1: Set o = CreateObject(\"X.Y\")\r\n  End Select\r\nNext");
  EXPECT_EQ(summary(calls), (QStringList{"GetPath/1@2", "Len/1@3", "ReadINI/2@3=a", "CreateObject/1@8=X.Y"}));
}

TEST(ScriptCallsTest, OnlyStringLiteralsAreKeptAsTexts) {
  const auto calls = callsIn(u"GoToFrame name, 1, 0\r\nGoToFrame (\"Hall\"), 1, 0\r\nGoToFrame 5, 1, 0");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_FALSE(calls[0].literals[0].has_value());
  EXPECT_EQ(calls[1].literals[0].value_or(""), "Hall");
  EXPECT_FALSE(calls[2].literals[0].has_value());
}

TEST(ScriptCallsTest, AssigningTheFrameRequestCountsAsAFrameName) {
  EXPECT_EQ(summary(callsIn(u"Action.sFrameToLoad = \"Cellar\"\r\nother.sFrameToLoad = \"No\"")),
            (QStringList{"sFrameToLoad/1@1=Cellar"}));
}

TEST(ScriptCallsTest, DefinedNamesAreLowerCase) {
  EXPECT_EQ(definedNames(vbs::parseProgram(u"Sub AddItem(a)\r\nEnd Sub\r\nClass Box\r\nEnd Class")),
            (QStringList{"additem", "box"}));
}

}  // namespace
}  // namespace qm::doctor
