// The variables viewer: its lines, the 25-line boxes and the error box.
#include <gtest/gtest.h>

#include "LogicGameFixture.h"
#include "logic/VariablesViewer.h"
#include "script/ScriptValues.h"

namespace qm::testing {
namespace {

using logic::variablesStatusLines;
using logic::variablesStatusPages;

TEST(VariablesViewerPages, AProjectWithoutVariablesShowsOneBoxOfEightLines) {
  const QStringList lines = variablesStatusLines(logic::VariableStore{});
  ASSERT_EQ(lines.size(), 8);
  EXPECT_TRUE(lines[0].startsWith("This window allows you to view the value of all the project variables."));
  EXPECT_EQ(lines[3], "-------------------------- INTEGER VARIABLES: --------------------------             ");
  EXPECT_EQ(lines[6], "-------------------------- VARIANT VARIABLES: --------------------------             ");
  const QStringList pages = variablesStatusPages(lines);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(pages[0], lines.join("\r\n") + "\r\n\r\n");
}

TEST(VariablesViewerPages, ThirtyIntegersMakeABoxOfLines0To24AndOneOf25To37) {
  logic::VariableStore store;
  for (int i = 1; i <= 30; ++i) store.Variables.Add("V" + QString::number(i), static_cast<int16_t>(i));
  const QStringList lines = variablesStatusLines(store);
  ASSERT_EQ(lines.size(), 38);
  EXPECT_EQ(lines[5], "V1 = 1");
  EXPECT_EQ(lines[34], "V30 = 30");
  const QStringList pages = variablesStatusPages(lines);
  ASSERT_EQ(pages.size(), 2);
  EXPECT_EQ(pages[0], lines.mid(0, 25).join("\r\n") + "\r\n");
  EXPECT_EQ(pages[1], QString(52, ' ') + "\r\n" + lines.mid(25).join("\r\n") + "\r\n\r\n");
}

TEST(VariablesViewerPages, ExactlyTwentyFiveLinesStayInOneBox) {
  QStringList lines;
  for (int i = 0; i < 25; ++i) lines << QString::number(i);
  EXPECT_EQ(variablesStatusPages(lines).size(), 1);
  lines << "25";
  EXPECT_EQ(variablesStatusPages(lines).size(), 2);
}

TEST(VariablesViewerPages, VariantValuesShowAsStoredTextWithoutQuotes) {
  logic::VariableStore store;
  store.VariablesVariant.Add("Name", QVariant(QStringLiteral("Ann")));
  store.VariablesVariant.Add("Score", QVariant(2.5));
  store.VariablesVariant.Add("Lit", QVariant(true));
  const QStringList lines = variablesStatusLines(store);
  EXPECT_EQ(lines.mid(8), QStringList({"Name = Ann", "Score = 2.5", "Lit = True"}));
}

class VariablesViewerTest : public LogicGameFixture {};

TEST_F(VariablesViewerTest, TheMenuCommandShowsTheBoxesAndAnObjectGivesTheErrorBox) {
  GameFolderBuilder folder;
  basicGame(folder, {"HasKey"}, QStringList{"Thing"});
  frame(folder, "Hall");
  auto& g = startGame(folder);
  g.mnuViewVariables->click();
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().title, "Variables Status");
  EXPECT_TRUE(lastBox().text.contains("HasKey = 0\r\n"));
  logic().ChangeVariableVariantValue(
      "Thing", QVariant::fromValue(script::HeldScriptValue{std::make_shared<vbs::Value>(vbs::Value::nothing())}));
  g.mnuViewVariables->click();
  ASSERT_EQ(boxCount(), 2u);
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_TRUE(lastBox().text.endsWith("Error displaying variables status. "));
}

}  // namespace
}  // namespace qm::testing
