// Operators: precedence, subtype promotion, Null and Empty rules.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

TEST(Operators, PrecedenceFollowsTheLanguage) {
  EXPECT_EQ(evalText("-3^2"), "9");
  EXPECT_EQ(evalText("2^3^2"), "64");
  EXPECT_EQ(evalText("2^-1"), "0.5");
  EXPECT_EQ(evalText("1 + 2 * 3"), "7");
  EXPECT_EQ(evalText("7 \\ 2 * 2"), "1");  // * binds tighter than \ .
  EXPECT_EQ(evalText("10 Mod 4 + 1"), "3");
  EXPECT_EQ(evalText("5 Mod 3 * 2"), "5");  // Mod binds looser than *.
  EXPECT_EQ(evalText("\"a\" & 1 + 2"), "a3");
  EXPECT_EQ(evalText("Not 1 = 2"), "True");
  EXPECT_EQ(evalText("True Or False And False"), "True");
  EXPECT_EQ(evalText("1 < 2 = True"), "True");
}

TEST(Operators, IntegerOverflowPromotes) {
  EXPECT_EQ(typeOf("32767 + 1"), "Long");
  EXPECT_EQ(typeOf("2147483647 + 1"), "Double");
  EXPECT_EQ(typeOf("1 + 1"), "Integer");
  EXPECT_EQ(typeOf("200 * 200"), "Long");
  EXPECT_EQ(typeOf("CByte(200) + CByte(100)"), "Integer");
  EXPECT_EQ(typeOf("CByte(2) + CByte(3)"), "Byte");
  EXPECT_EQ(typeOf("CSng(1) + CLng(1)"), "Double");
  EXPECT_EQ(typeOf("CSng(1) * 2"), "Single");
  EXPECT_EQ(typeOf("CCur(1) + 1.5"), "Currency");
  EXPECT_EQ(typeOf("CDate(1) + 1"), "Date");
  EXPECT_EQ(typeOf("CDate(2) - CDate(1)"), "Double");
  EXPECT_EQ(typeOf("True + True"), "Integer");
  EXPECT_EQ(typeOf("Empty + Empty"), "Integer");
  EXPECT_EQ(typeOf("\"1\" + 1"), "Double");
  EXPECT_EQ(typeOf("-(-32768)"), "Long");
  EXPECT_EQ(evalText("-32768 \\ -1"), "32768");
}

TEST(Operators, DivisionRules) {
  EXPECT_EQ(evalText("7 / 2"), "3.5");
  EXPECT_EQ(typeOf("4 / 2"), "Double");
  EXPECT_EQ(evalText("7 \\ 2"), "3");
  EXPECT_EQ(evalText("-7 \\ 2"), "-3");
  EXPECT_EQ(evalText("7.5 \\ 2"), "4");  // 7.5 rounds to 8 first.
  EXPECT_EQ(evalText("-7 Mod 3"), "-1");
  EXPECT_EQ(evalText("7 Mod 2.5"), "1");
  EXPECT_EQ(errorOf("x = 1 / 0"), err::DivisionByZero);
  EXPECT_EQ(errorOf("x = 1 \\ 0"), err::DivisionByZero);
  EXPECT_EQ(errorOf("x = 1 Mod 0"), err::DivisionByZero);
  EXPECT_EQ(errorOf("x = 0 / 0"), err::Overflow);
  EXPECT_EQ(errorOf("x = 1E308 * 10"), err::Overflow);
}

TEST(Operators, AddJoinsStringsConcatenationConverts) {
  EXPECT_EQ(evalText("\"1\" + \"2\""), "12");
  EXPECT_EQ(evalText("\"1\" + 2"), "3");
  EXPECT_EQ(evalText("1 & 2"), "12");
  EXPECT_EQ(evalText("\"a\" & Empty & \"b\""), "ab");
  EXPECT_EQ(evalText("\"a\" & Null"), "a");
  EXPECT_EQ(evalText("IsNull(Null & Null)"), "True");
  EXPECT_EQ(errorOf("x = \"abc\" + 1"), err::TypeMismatch);
}

TEST(Operators, NullPropagates) {
  EXPECT_EQ(evalText("IsNull(Null + 1)"), "True");
  EXPECT_EQ(evalText("IsNull(Null = Null)"), "True");
  EXPECT_EQ(evalText("IsNull(-Null)"), "True");
  EXPECT_EQ(evalText("Null And False"), "False");
  EXPECT_EQ(evalText("IsNull(Null And True)"), "True");
  EXPECT_EQ(evalText("Null Or True"), "True");
  EXPECT_EQ(evalText("IsNull(Null Or False)"), "True");
  EXPECT_EQ(evalText("IsNull(Not Null)"), "True");
  EXPECT_EQ(evalAfter("If Null Then x = 1 Else x = 2", "x"), "2");
}

TEST(Operators, ComparisonsMixSubtypesAsTheLanguageDoes) {
  EXPECT_EQ(evalText("\"abc\" < \"abd\""), "True");
  EXPECT_EQ(evalText("\"a\" = \"A\""), "False");
  EXPECT_EQ(evalText("Empty = 0"), "True");
  EXPECT_EQ(evalText("Empty = \"\""), "True");
  EXPECT_EQ(evalAfter("a = \"5\"", "a = 5"), "True");
  EXPECT_EQ(evalAfter("a = \"5\"", "a > 4"), "True");
  EXPECT_EQ(evalText("1 = 1.0"), "True");
  EXPECT_EQ(evalText("True = -1"), "True");
  EXPECT_EQ(evalText("CCur(1.5) = 1.5"), "True");
}

TEST(Operators, LogicalOperatorsAreBitwiseOnNumbers) {
  EXPECT_EQ(evalText("6 And 3"), "2");
  EXPECT_EQ(evalText("6 Or 3"), "7");
  EXPECT_EQ(evalText("6 Xor 3"), "5");
  EXPECT_EQ(evalText("Not 0"), "-1");
  EXPECT_EQ(evalText("True Eqv False"), "False");
  EXPECT_EQ(evalText("False Imp False"), "True");
  EXPECT_EQ(evalText("True Imp False"), "False");
  EXPECT_EQ(typeOf("True And True"), "Boolean");
  EXPECT_EQ(typeOf("True And 1"), "Integer");
  EXPECT_EQ(typeOf("CByte(3) And CByte(1)"), "Byte");
  EXPECT_EQ(typeOf("Not Empty"), "Long");
}

TEST(Operators, IsComparesObjectIdentity) {
  EXPECT_EQ(evalAfter("Class Thing\r\nEnd Class\r\nSet a = New Thing\r\nSet b = a\r\nSet c = New Thing", "(a Is b) & (a Is c)"),
            "TrueFalse");
  EXPECT_EQ(evalAfter("Set a = Nothing", "a Is Nothing"), "True");
  EXPECT_EQ(errorOf("x = 1 Is Nothing"), err::ObjectRequired);
}

}  // namespace
}  // namespace qm::vbs::test

namespace qm::vbs::test {
namespace {

// A string against a number: ComparisonsTest.cpp.

TEST(OperatorsConformance, SingleAgainstDoubleComparesAtSinglePrecision) {
  EXPECT_EQ(evalText("CSng(0.1) = 0.1"), "True");
  EXPECT_EQ(evalText("CSng(0.001 * 0.001) = 0.000001"), "True");
  EXPECT_EQ(evalText("CSng(0.1) < 0.2"), "True");
}

TEST(OperatorsConformance, LogicalOperatorsOnEmptyGiveLong) {
  EXPECT_EQ(typeOf("Empty And Empty"), "Long");
  EXPECT_EQ(typeOf("Empty Or Empty"), "Long");
  EXPECT_EQ(typeOf("Empty Xor Empty"), "Long");
  EXPECT_EQ(typeOf("Not Empty"), "Long");
  EXPECT_EQ(evalText("Not Empty"), "-1");
  // Empty counts as a Long 0 beside any other operand too.
  const char* cases[][2] = {
      {"Empty And CInt(0)", "0"}, {"Empty And False", "0"},    {"Empty Or CInt(5)", "5"},
      {"Empty Xor CInt(5)", "5"}, {"CInt(5) And Empty", "0"},  {"False Imp Empty", "-1"},
      {"Empty Eqv CByte(1)", "-2"}, {"True Or Empty", "-1"},   {"Empty And Null", "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(typeOf(c[0]), "Long") << c[0];
    EXPECT_EQ(evalText(c[0]), c[1]) << c[0];
  }
}

TEST(OperatorsConformance, ByteImpNullKeepsTheByte) {
  EXPECT_EQ(evalText("CByte(170) Imp Null"), "85");
  EXPECT_EQ(typeOf("CByte(170) Imp Null"), "Byte");
  EXPECT_EQ(evalText("CByte(255) Imp Null"), "0");
  EXPECT_EQ(typeOf("CByte(255) Imp Null"), "Byte");
}

}  // namespace
}  // namespace qm::vbs::test

namespace qm::vbs::test {
namespace {

// Constants are folded when compiled: each folded operator gives what it gives at run time.
TEST(ConstantFolding, EveryFoldedOperator) {
  const char* cases[][2] = {
      {"5 - 3", "2"},          {"5 + 3", "8"},           {"5 * 3", "15"},     {"7 / 2", "3.5"},
      {"7 \\ 2", "3"},         {"7 Mod 3", "1"},         {"2 ^ 3", "8"},      {"\"a\" & \"b\"", "ab"},
      {"6 And 3", "2"},        {"6 Or 3", "7"},          {"6 Xor 3", "5"},    {"-(2 - 5)", "3"},
      {"Not 5", "-6"},         {"8 Mod 5 \\ 2", "0"},    {"3 - 2 - 1", "0"},  {"2 ^ 3 ^ 2", "64"},
      {"1 & 2", "12"},  // + would add these; on two texts it joins them as & does
  };
  for (const auto& c : cases) {
    EXPECT_EQ(evalAfter(std::string("Const C = ") + c[0], "C"), c[1]) << c[0];
    // The same expression computed at run time.
    EXPECT_EQ(evalAfter(std::string("x = ") + c[0], "x"), c[1]) << c[0];
  }
}

TEST(ConstantFolding, ModBindsLooserThanIntegerDivision) {
  EXPECT_EQ(evalText("8 Mod 5 \\ 2"), "0");  // 8 Mod (5 \ 2)
  EXPECT_EQ(evalText("9 \\ 2 Mod 3"), "1");  // (9 \ 2) Mod 3
}

}  // namespace
}  // namespace qm::vbs::test
