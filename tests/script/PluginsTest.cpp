// Reading the plugin list and definition files, and turning stored plugin calls
// into script text.
#include <gtest/gtest.h>

#include "platform/Windows1252.h"
#include "script/Plugins.h"
#include "script/Scrambling.h"
#include "startup/Project.h"
#include "startup/RecordWriter.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm;
using namespace qm::script;
using qm::startup::RecordWriter;

namespace {

const QString kQuote254 = QString(platform::windows1252Char(254));
const QString k164 = QString(platform::windows1252Char(164));
const QString k165 = QString(platform::windows1252Char(165));

struct PluginSpec {
  bool compiled = false;
  bool secondFlag = false;
  QString id = "plug";
  QString startCode, frameCode, globalCode;
  QStringList ints, variants;
  QString text3 = "HotspotCall", text5 = "FrameCall";
};

RecordWriter definition(const PluginSpec& p) {
  RecordWriter w;
  w.integer(3);
  for (int i = 0; i < 7; ++i) w.str("skip");
  w.boolean(p.compiled).boolean(p.secondFlag).str("nameA").str("Plugin Name");
  w.str("say " + kQuote254 + "hi" + kQuote254).str(p.id);
  w.str(p.startCode).str(p.frameCode).str(p.globalCode);
  w.integer(p.ints.size());
  for (const auto& n : p.ints) w.str(n);
  w.integer(p.variants.size());
  for (const auto& n : p.variants) w.str(n);
  w.boolean(true).boolean(false);
  w.str("t1").str("t2").str(p.text3).str("t4").str(p.text5);
  w.integer(1).str("a").str("b").str("c").str("d");
  w.integer(2).str("x").str("y");
  return w;
}

RecordWriter pluginList(const QStringList& names) {
  RecordWriter w;
  for (int i = 0; i < 10; ++i) w.str("header");
  for (const auto& n : names) w.str(n).endRecord();
  return w;
}

// The inverse of the plugin-code transform, for test input.
QString scramblePlugin(const QString& plain, int key) {
  const QByteArray bytes = platform::toWindows1252(plain);
  QByteArray encoded;
  const int b = 10;
  for (int i = 0; i < bytes.size(); ++i) {
    int c = SwapBlankAndQuote(static_cast<unsigned char>(bytes[i]));
    if (c > 32 && c <= 126) {
      const int t = key + (i + b) * KeyTableEntry(i % 21);
      c = (((c - 33 + t) % 93) + 93) % 93 + 33;
    }
    encoded.append(static_cast<char>(SwapBlankAndQuote(c)));
  }
  std::reverse(encoded.begin(), encoded.end());
  // A stored field cannot hold a double quote: the editor writes character 254.
  return platform::fromWindows1252(QByteArray(1, static_cast<char>(b + 35)) + encoded).replace('"', kQuote254);
}

class PluginsTest : public qm::testing::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    game.general();
    startup::setProjectFolder(game.root());
  }
  void TearDown() override {
    PluginTable().clear();
    ProjectTest::TearDown();
  }
  qm::testing::GameFolderBuilder game;
};

}  // namespace

TEST_F(PluginsTest, ReadsEveryFieldOfADefinition) {
  PluginSpec spec;
  spec.startCode = "Start " + kQuote254 + "x" + kQuote254;
  spec.ints = {"PlugCount", "PlugFlag"};
  spec.variants = {"PlugName"};
  game.records("CPData/Walker.cp", definition(spec)).records("Config/Plugins", pluginList({"Walker"}));
  LoadPlugins();
  ASSERT_EQ(PluginTable().size(), 1u);
  const PluginRecord& p = PluginTable()[0];
  EXPECT_EQ(p.internalId, "plug");
  EXPECT_EQ(p.textA, "say \"hi\"");
  EXPECT_EQ(p.startCode, "Start \"x\"");
  EXPECT_EQ(p.integerVariables, QStringList({"PlugCount", "PlugFlag"}));
  EXPECT_EQ(p.variantVariables, QStringList({"PlugName"}));
  EXPECT_EQ(p.texts[2], "HotspotCall");
  EXPECT_EQ(p.extraList, QStringList({"x", "y"}));
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(PluginsTest, UnscramblesCodeByMode) {
  PluginSpec mode1;
  mode1.secondFlag = true;
  mode1.id = "one";
  mode1.globalCode = scramblePlugin("Sub One()\r\nEnd Sub", kPluginKeyMode1);
  PluginSpec mode2;
  mode2.compiled = true;
  mode2.id = "two";
  mode2.frameCode = scramblePlugin("MsgBox \"two\"", kPluginKeyMode2);
  game.records("CPData/One.cp", definition(mode1))
      .records("CPData/Two.cp", definition(mode2))
      .records("Config/Plugins", pluginList({"One", "Two"}));
  LoadPlugins();
  ASSERT_EQ(PluginTable().size(), 2u);
  EXPECT_EQ(PluginTable()[0].codeMode(), 1);
  EXPECT_EQ(PluginTable()[0].globalCode, "Sub One()\r\nEnd Sub");
  EXPECT_EQ(PluginTable()[1].codeMode(), 2);
  EXPECT_EQ(PluginTable()[1].frameCode, "MsgBox \"two\"");
  EXPECT_EQ(PluginsGlobalCode(), "Sub One()\r\nEnd Sub\r\n\r\n");
}

TEST_F(PluginsTest, ListedTwiceInAnotherCaseLoadsOnce) {
  game.records("CPData/Walker.cp", definition({})).records("Config/Plugins", pluginList({"Walker", "WALKER"}));
  LoadPlugins();
  EXPECT_EQ(PluginTable().size(), 1u);
}

TEST_F(PluginsTest, MissingDefinitionIsSkippedAndTheNextStillLoads) {
  PluginSpec second;
  second.id = "second";
  game.records("CPData/Second.cp", definition(second))
      .records("Config/Plugins", pluginList({"Gone", "Second"}));
  LoadPlugins();
  ASSERT_EQ(PluginTable().size(), 1u);
  EXPECT_EQ(PluginTable()[0].internalId, "second");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(PluginsTest, TruncatedDefinitionReportsAndKeepsEarlierPlugins) {
  PluginSpec first;
  first.id = "first";
  game.records("CPData/First.cp", definition(first))
      .file("CPData/Broken.cp", "3,\"a\",\"b\"\r\n")
      .records("Config/Plugins", pluginList({"First", "Broken"}));
  LoadPlugins();
  ASSERT_EQ(PluginTable().size(), 2u);
  EXPECT_EQ(PluginTable()[0].internalId, "first");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.startsWith("Error loading plugins.\r\n\r\n")) << lastBox().text.toStdString();
  EXPECT_EQ(lastBox().title, "Error");
}

TEST_F(PluginsTest, NoPluginListMeansNoPlugins) {
  LoadPlugins();
  EXPECT_TRUE(PluginTable().empty());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(PluginsTest, StoredCallsBecomeStatements) {
  PluginSpec spec;
  spec.id = "walk";
  game.records("CPData/Walker.cp", definition(spec)).records("Config/Plugins", pluginList({"Walker"}));
  LoadPlugins();
  const QString calls = "ignored" + k164 + "walk" + k165 + "north" + k165 + "3" + k164 + "walk";
  EXPECT_EQ(BuildPluginCalls(calls, true), "HotspotCall \"north\",\"3\"\r\nHotspotCall ");
  EXPECT_EQ(BuildPluginCalls(k164 + "walk", false), "FrameCall ");
  EXPECT_EQ(BuildPluginCalls(k164 + "unknown" + k165 + "a", true), "");
  EXPECT_EQ(BuildPluginCalls("", true), "");
}

TEST(ComponentFiles, CannotBeRegisteredHere) {
  EXPECT_FALSE(RegisterComponentFile("/nonexistent/x.ocx"));
}
