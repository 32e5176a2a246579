// Names on disk are bytes: every byte string survives the trip through a
// native name, and names in raw code pages read back as the text they meant.
#include <gtest/gtest.h>

#include <random>

#include "platform/CodePage437.h"
#include "platform/NativeName.h"
#include "platform/Windows1252.h"

using namespace qm::platform;

namespace {

QByteArray cp437Bytes(std::initializer_list<unsigned char> bytes) {
  QByteArray out;
  for (unsigned char b : bytes) out += static_cast<char>(b);
  return out;
}

}  // namespace

TEST(NativeNameTest, EveryByteStringComesBackUnchanged) {
  for (int b = 1; b < 256; ++b) {
    const QByteArray one(1, static_cast<char>(b));
    EXPECT_EQ(bytesOfName(nameFromBytes(one)), one) << b;
  }
  // Truncated, overlong and surrogate sequences, next to valid ones.
  for (const QByteArray& tricky : {QByteArray("\xC3"), QByteArray("\xC0\x80"), QByteArray("\xED\xA0\x80x"),
                                   QByteArray("\xF4\x90\x80\x80"), QByteArray("\xF0\x9F\x98\x80\xE9"),
                                   QByteArray("\xE9\xF0\x9F\x98\x80"), QByteArray("caf\xC3\xA9\xE9.bmp")}) {
    EXPECT_EQ(bytesOfName(nameFromBytes(tricky)), tricky) << tricky.toHex().constData();
  }
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    QByteArray bytes;
    for (int k = 0, n = int(random() % 12) + 1; k < n; ++k) bytes += static_cast<char>(random() % 255 + 1);
    ASSERT_EQ(bytesOfName(nameFromBytes(bytes)), bytes) << bytes.toHex().constData();
  }
}

TEST(NativeNameTest, Utf8NamesAreTheirOwnText) {
  const QString name = QString::fromUtf8("Forêt 🌲.fme");
  EXPECT_EQ(nameFromBytes(name.toUtf8()), name);
  EXPECT_FALSE(hasRawBytes(name));
  EXPECT_EQ(nameReadings(name), QStringList{name});
  EXPECT_EQ(readableName(name), name);
}

TEST(NativeNameTest, CharactersBeyondTheFirst65536AreNoRawBytes) {
  // U+1F480 is the pair D83D DC80: its second half looks like the escape of 0x80.
  const QString skull = QString::fromUtf8("\xF0\x9F\x92\x80 Crypte.fme");
  EXPECT_EQ(nameFromBytes(skull.toUtf8()), skull);
  EXPECT_FALSE(hasRawBytes(skull));
  EXPECT_EQ(nameReadings(skull), QStringList{skull});
  EXPECT_EQ(readableName(skull), skull);
  // Beside raw bytes it stays itself, and the raw bytes are read.
  const QByteArray mixed = skull.toUtf8() + "\x90t\x82";
  EXPECT_EQ(bytesOfName(nameFromBytes(mixed)), mixed);
  EXPECT_EQ(readableName(nameFromBytes(mixed)), skull + QString::fromUtf8("Été"));
}

TEST(NativeNameTest, RawNamesReadInBothCodePages) {
  const QString raw = nameFromBytes(toWindows1252(QString::fromUtf8("Église.bmp")));
  EXPECT_TRUE(hasRawBytes(raw));
  const QStringList readings = nameReadings(raw);
  ASSERT_EQ(readings.size(), 2);
  EXPECT_EQ(readings[0], QString::fromUtf8("Église.bmp"));
  EXPECT_EQ(readings[1], QString::fromUtf8("╔glise.bmp"));
  const QString dos = nameFromBytes(cp437Bytes({0x90, 'g', 'l', 'i', 's', 'e'}));
  EXPECT_EQ(nameReadings(dos).at(1), QString::fromUtf8("Église"));
}

TEST(NativeNameTest, ReadableNamesPickTheCodePageThatReadsAsWords) {
  auto windows = [](const char* utf8) { return nameFromBytes(toWindows1252(QString::fromUtf8(utf8))); };
  EXPECT_EQ(readableName(windows("Église.bmp")), QString::fromUtf8("Église.bmp"));
  EXPECT_EQ(readableName(windows("Noël.wav")), QString::fromUtf8("Noël.wav"));
  EXPECT_EQ(readableName(windows("Straße.fme")), QString::fromUtf8("Straße.fme"));
  // The same words as an old archive stores them.
  EXPECT_EQ(readableName(nameFromBytes(cp437Bytes({0x90, 'g', 'l', 'i', 's', 'e'}))), QString::fromUtf8("Église"));
  EXPECT_EQ(readableName(nameFromBytes(cp437Bytes({0x9A, 'b', 'e', 'r'}))), QString::fromUtf8("Über"));
  EXPECT_EQ(readableName(nameFromBytes(cp437Bytes({'M', 0x84, 'd', 'c', 'h', 'e', 'n'}))),
            QString::fromUtf8("Mädchen"));
  // A path: each name on its own; UTF-8 folders stay as they are.
  const QString path = QString::fromUtf8("/jeux/Forêt/") + windows("Clé.bmp");
  EXPECT_EQ(readableName(path), QString::fromUtf8("/jeux/Forêt/Clé.bmp"));
}

TEST(NativeNameTest, ReadingLeavesTextWithoutRawBytesAlone) {
  const QString text = QString::fromUtf8("Café – 50 % / été ✓");
  EXPECT_EQ(readableName(text), text);
  // Around a raw name, the message's own accents stay as they are.
  const QString raw = nameFromBytes(toWindows1252(QString::fromUtf8("Clé")));
  EXPECT_EQ(readableName(QString::fromUtf8("Fichier « ") + raw + QString::fromUtf8(" » illisible")),
            QString::fromUtf8("Fichier « Clé » illisible"));
}

TEST(NativeNameTest, FoldingIgnoresCaseAndHowAccentsAreWritten) {
  EXPECT_EQ(foldedName("HALL.BMP"), foldedName("hall.bmp"));
  const QString composed = QString::fromUtf8("Église");
  const QString decomposed = QString::fromUtf8("E\u0301glise");
  EXPECT_EQ(foldedName(decomposed), foldedName(composed.toLower()));
  EXPECT_NE(foldedName("Eglise"), foldedName(composed));
}

// The rule that picks a name's code page is shared with the script engine,
// which knows no Qt: what it counts as a letter must be what Unicode does.
TEST(NativeNameTest, TheSharedReadingRuleCountsExactlyTheLetters) {
  for (int b = 0x80; b <= 0xFF; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    const QChar windows = windows1252Char(b);
    // Bytes the code page leaves undefined come back as C1 controls.
    const int windowsScore = windows.unicode() < 0xA0 ? -2 : windows.isLetter() ? (b >= 0xC0 ? 2 : 1) : 0;
    EXPECT_EQ(windows1252LetterScore(byte), windowsScore) << std::hex << b;
    const int dosScore = QChar(codePage437Char(byte)).isLetter() ? (b <= 0xA5 ? 2 : 1) : 0;
    EXPECT_EQ(codePage437LetterScore(byte), dosScore) << std::hex << b;
  }
  EXPECT_EQ(codePage437Char('A'), u'A');
  EXPECT_TRUE(readsAsCodePage437("\x90glise"));    // Église
  EXPECT_FALSE(readsAsCodePage437("\xC9glise"));   // Église too, from Windows
  EXPECT_FALSE(readsAsCodePage437("plain.txt"));
}
