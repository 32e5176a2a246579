// Unscrambling of procedure lines and plugin code, checked against scramblers
// written here by inverting each step.
#include <gtest/gtest.h>

#include "platform/VbError.h"
#include "script/Scrambling.h"

using namespace qm::script;

namespace {

int positiveMod(int v, int m) { return ((v % m) + m) % m; }

// Inverse of the procedure-line transform, with b chosen by the caller.
QByteArray scrambleProcedureLine(const QByteArray& plain, int keyNumber, int b = 17) {
  const int m = static_cast<int>(plain.size());
  QByteArray encoded;
  for (int i = 0; i < m; ++i) {
    int c = static_cast<unsigned char>(plain[i]);
    if (c >= 32 && c <= 126) {
      const int t = keyNumber + (i + b) * KeyTableEntry(i % 21);
      c = positiveMod(c - 32 + t, 94) + 32;
    }
    encoded.append(static_cast<char>(c));
  }
  std::reverse(encoded.begin(), encoded.end());
  return QByteArray(1, static_cast<char>(b + 32)) + encoded;
}

QByteArray scramblePluginCode(const QByteArray& plain, int keyNumber, int b = 20) {
  const int m = static_cast<int>(plain.size());
  QByteArray encoded;
  for (int i = 0; i < m; ++i) {
    int c = SwapBlankAndQuote(static_cast<unsigned char>(plain[i]));
    if (c > 32 && c <= 126) {
      const int t = keyNumber + (i + b) * KeyTableEntry(i % 21);
      c = positiveMod(c - 33 + t, 93) + 33;
    }
    encoded.append(static_cast<char>(SwapBlankAndQuote(c)));
  }
  std::reverse(encoded.begin(), encoded.end());
  return QByteArray(1, static_cast<char>(b + 35)) + encoded;
}

}  // namespace

TEST(KeyTable, HoldsTheKeyLettersMinus32) {
  EXPECT_EQ(KeyTableEntry(0), 'q' - 32);
  EXPECT_EQ(KeyTableEntry(20), 'y' - 32);
}

TEST(ProjectKey, SumsTheWindows1252Codes) {
  EXPECT_EQ(ProjectKeyNumber("AB"), 65 + 66);
  EXPECT_EQ(ProjectKeyNumber(QByteArray("\xE9", 1)), 233);  // é
  EXPECT_EQ(ProjectKeyNumber(""), 0);
}

TEST(ProcedureLine, EmptyAndSingleCharacterInputsGiveNothing) {
  EXPECT_EQ(UnscrambleProcedureLine("", 5), QByteArray());
  EXPECT_EQ(UnscrambleProcedureLine("x", 5), QByteArray());
}

TEST(ProcedureLine, RoundTripsTypicalCode) {
  // The cycle has 94 places for 95 printable codes, so '~' cannot be stored
  // scrambled: it comes back as a blank, as it always has.
  const QByteArray plain = "Sub Foo()\tMsgBox \"Hello, world\" : x = 1 + 2 ' done";
  const int key = ProjectKeyNumber("My Adventure");
  for (int b : {0, 17, 60, 94}) {
    EXPECT_EQ(UnscrambleProcedureLine(scrambleProcedureLine(plain, key, b), key), plain) << "b=" << b;
  }
}

TEST(ProcedureLine, NonPrintableAndHighCodesPassThroughAtMirroredPositions) {
  // Characters outside 32..126 are copied; the output is the input reversed, minus the first.
  const QByteArray scrambled("!\x09\xE9", 3);
  EXPECT_EQ(UnscrambleProcedureLine(scrambled, 0), QByteArray("\xE9\x09", 2));
}

TEST(ProcedureLine, OutputStaysPrintable) {
  QByteArray all;
  for (int c = 32; c <= 126; ++c) all.append(static_cast<char>(c));
  const QByteArray out = UnscrambleProcedureLine("#" + all, 12345);
  ASSERT_EQ(out.size(), all.size());
  for (char c : out) {
    EXPECT_GE(static_cast<unsigned char>(c), 32);
    EXPECT_LE(static_cast<unsigned char>(c), 126);
  }
}

TEST(ProcedureLine, KeyArithmeticOverflowIsAnError) {
  const QByteArray s = "~abc";
  EXPECT_THROW(UnscrambleProcedureLine(s, 2147483647), qm::VbError);
}

TEST(PluginCode, RoundTripsForBothCodeModes) {
  const QByteArray plain = "Sub PluginStart()\r\n  x = \"a b\" & Chr(34)\r\nEnd Sub";
  for (int key : {kPluginKeyMode1, kPluginKeyMode2}) {
    EXPECT_EQ(UnscramblePluginCode(scramblePluginCode(plain, key), key), plain);
  }
}

TEST(PluginCode, DoubleQuoteComesOutUnchangedAndBlankIsTransformed) {
  // A quote swaps to a blank (not above 32), is left alone and swapped back.
  EXPECT_EQ(UnscramblePluginCode(QByteArray("#\"", 2), kPluginKeyMode1), QByteArray("\""));
  // A blank swaps to a quote, which is transformed like any printable character.
  EXPECT_NE(UnscramblePluginCode(QByteArray("# ", 2), kPluginKeyMode1), QByteArray(" "));
}
