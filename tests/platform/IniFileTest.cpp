#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/IniFile.h"

using namespace qm::platform;

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  QString file(const QByteArray& content) {
    const QString path = dir_.path() + "/More";
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(content);
    return path;
  }
  QByteArray content() {
    QFile f(dir_.path() + "/More");
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }
  QTemporaryDir dir_;
};

}  // namespace

TEST_F(IniFileTest, SectionsAndKeysIgnoreLetterCaseAndBlanks) {
  const QString f = file("[General]\r\nScriptTimeOut=30\r\n  AllowCreateObject = 1  \r\n[ Other ]\r\nKey=v\r\n");
  EXPECT_EQ(readIniValue(f, "general", "scripttimeout"), "30");
  EXPECT_EQ(readIniValue(f, "GENERAL", "allowcreateobject"), "1");
  EXPECT_EQ(readIniValue(f, "other", "KEY"), "v");
}

TEST_F(IniFileTest, AbsentFileSectionOrKeyReadsEmpty) {
  const QString f = file("[General]\r\nA=1\r\n");
  EXPECT_EQ(readIniValue(f, "General", "B"), "");
  EXPECT_EQ(readIniValue(f, "Missing", "A"), "");
  EXPECT_EQ(readIniValue(dir_.path() + "/none.ini", "General", "A"), "");
  // A key of another section is not found.
  const QString g = file("[One]\r\nA=1\r\n[Two]\r\nB=2\r\n");
  EXPECT_EQ(readIniValue(g, "One", "B"), "");
}

TEST_F(IniFileTest, FirstMatchWinsAndQuotesAreRemoved) {
  const QString f = file("[S]\nk=first\nK=second\n[s]\nk=third\nq=\"quoted value\"\nr='x'\nhalf=\"abc\n");
  EXPECT_EQ(readIniValue(f, "S", "k"), "first");
  EXPECT_EQ(readIniValue(f, "s", "q"), "");  // q lives in the second [s], which is never searched
  const QString g = file("[S]\nq=\"quoted value\"\nr='x'\nhalf=\"abc\n");
  EXPECT_EQ(readIniValue(g, "S", "q"), "quoted value");
  EXPECT_EQ(readIniValue(g, "S", "r"), "x");
  EXPECT_EQ(readIniValue(g, "S", "half"), "\"abc");
}

TEST_F(IniFileTest, LongValuesAreCutTo254Characters) {
  const QByteArray longValue(400, 'x');
  const QString f = file("[S]\r\nk=" + longValue + "\r\n");
  EXPECT_EQ(readIniValue(f, "S", "k").size(), 254);
}

TEST_F(IniFileTest, ValuesAreWindows1252) {
  const QString f = file("[S]\r\nk=caf\xE9\r\n");
  EXPECT_EQ(readIniValue(f, "S", "k"), QString::fromUtf8("café"));
  ASSERT_TRUE(writeIniValue(f, "S", "e", QString::fromUtf8("€")));
  EXPECT_TRUE(content().contains("e=\x80\r\n"));
}

TEST_F(IniFileTest, WritingKeepsTheRestOfTheFile) {
  const QString f = file("; comment\r\n[General]\r\nA=1\r\nB=2\r\n\r\n[Other]\r\nC=3\r\n");
  ASSERT_TRUE(writeIniValue(f, "general", "b", "20"));
  ASSERT_TRUE(writeIniValue(f, "General", "New", "x"));
  ASSERT_TRUE(writeIniValue(f, "Third", "D", "4"));
  EXPECT_EQ(content(),
            "; comment\r\n[General]\r\nA=1\r\nb=20\r\nNew=x\r\n\r\n[Other]\r\nC=3\r\n[Third]\r\nD=4\r\n");
}

TEST_F(IniFileTest, WritingCreatesTheFile) {
  const QString f = dir_.path() + "/new.ini";
  ASSERT_TRUE(writeIniValue(f, "S", "k", "v"));
  EXPECT_EQ(readIniValue(f, "s", "K"), "v");
  EXPECT_FALSE(writeIniValue(dir_.path() + "/no/such/folder.ini", "S", "k", "v"));
}

TEST_F(IniFileTest, LineBreaksInAValueCannotAddKeys) {
  const QString f = file("[S]\r\n");
  ASSERT_TRUE(writeIniValue(f, "S", "k", "a\r\nevil=1\n[X]"));
  EXPECT_EQ(readIniValue(f, "S", "evil"), "");
  EXPECT_EQ(readIniValue(f, "S", "k"), "a evil=1 [X]");
}

TEST_F(IniFileTest, DeletingKeysAndSections) {
  const QString f = file("[S]\r\na=1\r\nb=2\r\n[T]\r\nc=3\r\n");
  EXPECT_TRUE(deleteIniKey(f, "s", "A"));
  EXPECT_EQ(readIniValue(f, "S", "a"), "");
  EXPECT_EQ(readIniValue(f, "S", "b"), "2");
  EXPECT_TRUE(deleteIniSection(f, "S"));
  EXPECT_EQ(readIniValue(f, "S", "b"), "");
  EXPECT_EQ(readIniValue(f, "T", "c"), "3");
}

TEST_F(IniFileTest, FilesWithAByteOrderMarkKeepTheirEncoding) {
  const QString f = file("\xEF\xBB\xBF[General]\r\nName=caf\xC3\xA9\r\n");
  EXPECT_EQ(readIniValue(f, "General", "Name"), QString::fromUtf8("café"));
  ASSERT_TRUE(writeIniValue(f, "General", "Other", QString::fromUtf8("é")));
  EXPECT_EQ(content(), "\xEF\xBB\xBF[General]\r\nName=caf\xC3\xA9\r\nOther=\xC3\xA9\r\n");
  const QString u = file(QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0", 18));
  EXPECT_EQ(readIniValue(u, "s", "K"), "v");
  ASSERT_TRUE(writeIniValue(u, "S", "k", "w"));
  EXPECT_EQ(readIniValue(u, "S", "k"), "w");
  EXPECT_TRUE(content().startsWith("\xFF\xFE"));
}
