#include <gtest/gtest.h>

#include "platform/Windows1252.h"

using namespace qm::platform;

TEST(Windows1252, EveryByteRoundTrips) {
  QByteArray all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  const QString text = fromWindows1252(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(toWindows1252(text), all);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(windows1252Code(windows1252Char(i)), i);
}

TEST(Windows1252, TheCodePageCharacters) {
  EXPECT_EQ(fromWindows1252(QByteArray("\x80\x93\x94\xE9\xFE")), QString::fromUtf8("€“”éþ"));
  EXPECT_EQ(windows1252Code(QChar(0x20AC)), 128);
  EXPECT_EQ(windows1252Code(QChar(u'h')), 104);
  EXPECT_EQ(windows1252Char(254), QChar(0xFE));
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(toWindows1252(QString::fromUtf8("日x")), QByteArray("?x"));
  EXPECT_EQ(windows1252Code(QChar(0x65E5)), 63);
}
