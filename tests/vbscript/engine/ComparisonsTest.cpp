// Comparisons of a string with a number: the rule depends on whether the
// number, or the string, is a literal written in the comparison.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

// Variables the expressions below refer to.
const std::string kPrelude =
    "n5 = 5 : n10 = 10 : ws_space = Space(3) : ws_tab = Chr(9) : ws_nbsp = Chr(160)\r\n"
    "Const FIVE_C = 5\r\n"
    "Function GetFive : GetFive = 5 : End Function\r\n"
    "Function ByValAbc(ByVal v) : ByValAbc = (\"abc\" = v) : End Function\r\n"
    "Function ByRefAbc(v) : ByRefAbc = (\"abc\" = v) : End Function\r\n";

std::string compare(const std::string& expression) { return evalAfter(kPrelude, expression); }

TEST(StringAgainstNumber, AgainstANumberLiteralTheStringIsReadAsANumber) {
  for (const char* text : {"\"1e2\" = 100", "\"&hff\" = 255", "\"&H1F\" = 31", "\"42\" = 42", "42 = \"42\"",
                           "\"10\" > 9", "\"+5\" = 5", "\"-0\" = 0", "\"05\" = 5", "\" 5\" = 5", "\"5 \" = 5",
                           "\"5e0\" = 5"})
    EXPECT_EQ(compare(text), "True") << text;
  EXPECT_EQ(evalAfter("s = \"0\"", "s > 30"), "False");
  // A string that is no number is a type mismatch, whatever kind of number literal it meets.
  for (const char* text : {"\"abc\" = 5", "\"\" = 5", "\" \" = 0", "\"abc\" <> 5", "\"abc\" > 5", "\"\" > 0",
                           "5 > \"abc\"", "\"abc\" = 5.5", "\"abc\" = 1e2", "\"abc\" = &hff", "\"abc\" = 100000",
                           "\"abc\" = #1/15/2024#", "n5 & \"x\" = 5"})
    EXPECT_EQ(errorOf(kPrelude + "x = " + text), err::TypeMismatch) << text;
}

TEST(StringAgainstNumber, AnArgumentHoldingAStringMeetsANumberLiteralAsANumber) {
  const std::string code = "Function Check(x) : Check = (x = 5) & \"/\" & (x < 6) : End Function\r\ns = \"5\"";
  EXPECT_EQ(evalAfter(code, "Check(s)"), "True/True");
  EXPECT_EQ(evalAfter("Function Code(v) : Code = (v = 1234) : End Function\r\ns = \"1234\"", "Code(s)"), "True");
}

TEST(StringAgainstNumber, AStringLiteralMeetsAnyOtherNumberAsText) {
  for (const char* text : {"\"5\" = CByte(5)", "\"5\" = CInt(5)", "\"5\" = CLng(5)", "\"5\" = CSng(5)",
                           "\"5\" = CDbl(5)", "\"5\" = CCur(5)", "CByte(5) = \"5\"", "CCur(5) = \"5\"",
                           "Len(\"ab\") > \"\"", "\"5\" = n5", "\"5\" <> n10"})
    EXPECT_EQ(compare(text), "True") << text;
  // As text "10" sorts before "5" and "010" is not "10": no number is read from the string.
  for (const char* text : {"\"abc\" = CByte(5)", "\"abc\" = CCur(5)", "\"\" = CByte(0)", "\"\" = CCur(0)",
                           "\"10\" > CByte(5)", "\"5\" < CCur(10)", "\"10\" > CDbl(5)", "\"10\" > CSng(5)",
                           "\"9\" < CDbl(10)", "\"010\" = CInt(10)", "\"010\" = CLng(10)", "\"010\" = CSng(10)",
                           "\"010\" = CDbl(10)", "\"abc\" = CInt(5)", "\"abc\" = CLng(5)", "\"abc\" = CSng(5)",
                           "\"abc\" = CDbl(5)"})
    EXPECT_EQ(compare(text), "False") << text;
}

TEST(StringAgainstNumber, NumbersThatAreNoLiteralsNeverRaise) {
  // Variables, constants, expressions, negated literals, results and arguments.
  for (const char* text : {"\"abc\" = n5", "\"010\" = n10", "\"abc\" = (5+0)", "\"010\" = (5+5)",
                           "\"010\" = (10*1)", "\"abc\" = -5", "\"abc\" = CDate(\"2024-01-15\")",
                           "\"abc\" = GetFive()", "ByValAbc(5)", "ByRefAbc(n5)", "\"abc\" = FIVE_C"})
    EXPECT_EQ(compare(text), "False") << text;
}

TEST(StringAgainstNumber, AStringThatIsNoLiteralIsGreaterThanANumber) {
  for (const char* text : {"Len(\"ab\") > ws_space", "Len(\"ab\") = ws_space", "Len(\"ab\") > ws_tab",
                           "Len(\"ab\") > Chr(10)", "Len(\"ab\") > Chr(13)", "Len(\"ab\") > ws_nbsp"})
    EXPECT_EQ(compare(text), "False") << text;
  for (const char* text : {"Len(\"ab\") < ws_space", "Len(\"ab\") < ws_tab", "Len(\"ab\") < Chr(10)",
                           "Len(\"ab\") < Chr(13)", "Len(\"ab\") < ws_nbsp", "Len(\"ab\") < Chr(0)",
                           "Len(\"ab\") < Chr(1)", "Len(\"ab\") < Chr(31)", "Len(\"ab\") < Chr(0) & \"5\"",
                           "Len(\"ab\") < Chr(0) & \" \"", "Len(\"ab\") < \" \" & Chr(0)", "ws_space > n5"})
    EXPECT_EQ(compare(text), "True") << text;
  // Even a string that reads as the same number: a typed answer against a stored code.
  EXPECT_EQ(evalAfter("answer = \"1234\" : secretCode = 1234", "answer = secretCode"), "False");
  EXPECT_EQ(evalAfter("answer = \"letters\" : secretCode = 1234", "answer = secretCode"), "False");
}

TEST(StringAgainstNumber, AConditionComparingLengthWithSpacesRaisesNothing) {
  const std::string code =
      "On Error Resume Next\r\ns = \"ab\" : r = \"none\"\r\n"
      "If Len(s) > Space(3) Then r = \"greater\" Else r = \"not greater\"\r\ne = Err.Number";
  EXPECT_EQ(evalAfter(code, "r & \"/\" & e"), "not greater/0");
}

TEST(StringAgainstNumber, SelectCaseValueMeetsCaseStringsWithoutError) {
  const std::string code =
      "Select Case 3\r\nCase 2 : r = \"two\"\r\nCase 4 : r = \"four\"\r\nCase \"test\" : r = \"test\"\r\n"
      "Case 0, False, 2+1, 10 : r = \"last\"\r\nEnd Select";
  EXPECT_EQ(evalAfter(code, "r"), "last");
  // A numeric Case literal still reads a string test value as a number.
  EXPECT_EQ(evalAfter("s = \"7\"\r\nSelect Case s\r\nCase 7 : r = \"seven\"\r\nCase Else : r = \"else\"\r\nEnd Select",
                      "r"),
            "seven");
  EXPECT_EQ(errorOf("s = \"x\"\r\nSelect Case s\r\nCase 7 : r = 1\r\nEnd Select"), err::TypeMismatch);
}

TEST(StringAgainstNumber, BooleansStillMeetTheirWordsAsText) {
  EXPECT_EQ(evalText("\"True\" = True"), "True");
  EXPECT_EQ(evalText("\"true\" = True"), "False");
  EXPECT_EQ(evalText("\"1\" = True"), "False");
  EXPECT_EQ(evalText("\"abc\" = True"), "False");
  EXPECT_EQ(evalText("\"True\" > False"), "True");
  EXPECT_EQ(evalText("False = \"False\""), "True");
  EXPECT_EQ(evalAfter("b = True : s = \"True\"", "s = b"), "True");
}

TEST(StringAgainstNumber, TwoStringsAndTwoNumbersAreUnchanged) {
  EXPECT_EQ(evalText("\"10\" > \"9\""), "False");
  EXPECT_EQ(evalAfter("a = \"10\" : b = \"9\"", "a > b"), "False");
  EXPECT_EQ(evalAfter("a = 10 : b = 9", "a > b"), "True");
  EXPECT_EQ(evalText("Empty = \"\""), "True");
  EXPECT_EQ(evalAfter("Dim e", "e < \"a\""), "True");
  EXPECT_EQ(evalText("IsNull(\"5\" = Null)"), "True");
}

}  // namespace
}  // namespace qm::vbs::test
