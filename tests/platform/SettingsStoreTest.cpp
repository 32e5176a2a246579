#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/SettingsStore.h"

using qm::platform::SettingsStore;

namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { SettingsStore::instance().setFileForTests(dir_.path() + "/cfg/settings.ini"); }
  void TearDown() override { SettingsStore::instance().setFileForTests({}); }
  SettingsStore& store() { return SettingsStore::instance(); }
  QTemporaryDir dir_;
};

}  // namespace

TEST_F(SettingsStoreTest, AbsentValuesGiveTheDefault) {
  EXPECT_EQ(store().get("Game", "ChangeResolution", "1"), "1");
  EXPECT_EQ(store().get("Game", "Nothing"), "");
}

TEST_F(SettingsStoreTest, ValuesSurviveAndAreKeptPerSection) {
  store().set("Game A", "DisableTransitions", "True");
  store().set("Game B", "DisableTransitions", "False");
  EXPECT_EQ(store().get("Game A", "DisableTransitions"), "True");
  EXPECT_EQ(store().get("game b", "disabletransitions"), "False");
  EXPECT_TRUE(QFile::exists(dir_.path() + "/cfg/settings.ini"));
}

TEST_F(SettingsStoreTest, AnyTextRoundTrips) {
  const QStringList values = {"  padded  ", "a=b", "[section]", "line1\r\nline2", "\"quoted\"", "'x'",
                              "100%", QString::fromUtf8("café € 日本"), "", "%41"};
  int i = 0;
  for (const QString& v : values) store().set("G", QString("k%1").arg(i++), v);
  i = 0;
  for (const QString& v : values) EXPECT_EQ(store().get("G", QString("k%1").arg(i++), "default"), v);
}

TEST_F(SettingsStoreTest, OddSectionAndKeyNames) {
  store().set("My [Game] = 1", "key=with]chars", "v");
  EXPECT_EQ(store().get("My [Game] = 1", "key=with]chars"), "v");
  EXPECT_EQ(store().get("My", "key"), "");
}

TEST_F(SettingsStoreTest, ApplicationsAreSeparate) {
  store().set("Other", "G", "k", "x");
  EXPECT_EQ(store().get("G", "k"), "");
  EXPECT_EQ(store().get("Other", "G", "k", ""), "x");
  store().set("G", "k", "y");
  store().remove("G", "k");
  EXPECT_EQ(store().get("G", "k", "gone"), "gone");
}

TEST_F(SettingsStoreTest, DefaultLocationFollowsXdgConfigHome) {
  store().setFileForTests({});
  const QByteArray savedEnv = qgetenv("QM_SETTINGS_FILE");
  const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
  qunsetenv("QM_SETTINGS_FILE");
  qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
  EXPECT_EQ(store().file(), dir_.path() + "/quillmere/settings.ini");
  qputenv("QM_SETTINGS_FILE", "/tmp/elsewhere.ini");
  EXPECT_EQ(store().file(), "/tmp/elsewhere.ini");
  if (savedEnv.isEmpty()) qunsetenv("QM_SETTINGS_FILE"); else qputenv("QM_SETTINGS_FILE", savedEnv);
  if (savedXdg.isEmpty()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", savedXdg);
}
