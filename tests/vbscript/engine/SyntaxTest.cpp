// Lexing and parsing: literals, comments, continuations, and syntax errors
// found when code is added.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

TEST(Syntax, NumberLiteralsKeepTheirSubtypes) {
  EXPECT_EQ(typeOf("32767"), "Integer");
  EXPECT_EQ(typeOf("32768"), "Long");
  EXPECT_EQ(typeOf("2147483648"), "Double");
  EXPECT_EQ(typeOf("1.5"), "Double");
  EXPECT_EQ(evalText("1.5E3"), "1500");
  EXPECT_EQ(evalText(".5 + .25"), "0.75");
}

TEST(Syntax, NegativeLiteralsNegateThePositiveLiteral) {
  EXPECT_EQ(typeOf("-32767"), "Integer");
  EXPECT_EQ(typeOf("-32768"), "Long");
  EXPECT_EQ(evalText("Hex(-32768)"), "FFFF8000");
  EXPECT_EQ(typeOf("- 32768"), "Long");
  EXPECT_EQ(typeOf("-2147483647"), "Long");
  EXPECT_EQ(typeOf("-2147483648"), "Double");
  EXPECT_EQ(typeOf("-&H8000"), "Long");
  EXPECT_EQ(typeOf("--32768"), "Long");
  EXPECT_EQ(evalAfter("Const C = -32768\r\nConst D = -1", "TypeName(C) & TypeName(D) & C & D"), "LongInteger-32768-1");
}

TEST(Syntax, StringLiteralsKeepTheirCase) {
  EXPECT_EQ(evalAfter("On Error Resume Next\r\ny = 0\r\nr = \"y=\" & y & \"Y\" & \"NEXT\" & \"next\"", "r"), "y=0YNEXTnext");
}

TEST(Syntax, HexAndOctalLiteralsFollowTheSignRules) {
  EXPECT_EQ(evalText("&HFF"), "255");
  EXPECT_EQ(evalText("&HFFFF"), "-1");
  EXPECT_EQ(evalText("&H8000"), "-32768");
  EXPECT_EQ(evalText("&H10000"), "65536");
  EXPECT_EQ(evalText("&HFFFFFFFF"), "-1");
  EXPECT_EQ(evalText("&HFFFF&"), "65535");  // with the trailing & a 32-bit value
  EXPECT_EQ(evalText("&O17"), "15");
  EXPECT_EQ(evalText("&17"), "15");
  EXPECT_EQ(typeOf("&H7FFF"), "Integer");
  EXPECT_EQ(typeOf("&H10000"), "Long");
}

TEST(Syntax, StringsDoubleTheirQuotes) {
  EXPECT_EQ(evalText("\"say \"\"hi\"\"\""), "say \"hi\"");
  EXPECT_EQ(evalText("Len(\"\")"), "0");
}

TEST(Syntax, CommentsContinuationsAndSeparators) {
  EXPECT_EQ(evalAfter("x = 1 ' comment\r\nRem another\r\ny = 2 : z = x + _\r\n   y   Rem trailing", "z"), "3");
  EXPECT_EQ(evalAfter("x = 1: Rem all of this is comment: x = 5", "x"), "1");
}

TEST(Syntax, NamesIgnoreCaseAndMayBeBracketed) {
  EXPECT_EQ(evalAfter("Dim MyValue\r\nmyvalue = 4\r\n[my value] = 5", "MYVALUE + [my value]"), "9");
}

TEST(Syntax, AlternateComparisonSpellingsAreAccepted) {
  EXPECT_EQ(evalText("3 => 2"), "True");
  EXPECT_EQ(evalText("3 =< 2"), "False");
  EXPECT_EQ(evalText("3 >< 2"), "True");
}

TEST(Syntax, SingleLineIfWithElseAndSeveralStatements) {
  EXPECT_EQ(evalAfter("a = 1\r\nIf a = 1 Then b = 2 : c = 3 Else b = 9", "b & c"), "23");
  EXPECT_EQ(evalAfter("a = 0\r\nIf a = 1 Then b = 2 : c = 3 Else b = 9 : c = 8", "b & c"), "98");
}

TEST(Syntax, ErrorsAreReportedWhenCodeIsAdded) {
  EXPECT_EQ(errorOf("x = "), err::ExpectedExpression);
  EXPECT_EQ(errorOf("If x Then\r\n y = 1\r\n"), err::ExpectedEnd);
  EXPECT_EQ(errorOf("x = \"abc"), err::UnterminatedString);
  EXPECT_EQ(errorOf("Dim 5"), err::ExpectedIdentifier);
  EXPECT_EQ(errorOf("x = 1 2"), err::ExpectedEndOfStatement);
  EXPECT_EQ(errorOf("For i = 1 To 3\r\n"), err::ExpectedNext);
  EXPECT_EQ(errorOf("Do\r\nx = 1\r\n"), err::ExpectedLoop);
  EXPECT_EQ(errorOf("While True\r\n"), err::ExpectedWend);
  EXPECT_EQ(errorOf("x = 1 $"), err::InvalidCharacter);
  EXPECT_EQ(errorOf("Sub A(x)\r\nEnd Function"), err::ExpectedSub);
  EXPECT_EQ(errorOf("Exit Do"), err::InvalidExitStatement);
  EXPECT_EQ(errorOf("Sub A\r\nExit Function\r\nEnd Sub"), err::InvalidExitStatement);
  EXPECT_EQ(errorOf("Sub A()\r\nEnd Sub\r\nA(1, 2)"), err::CannotUseParensCallingSub);
  EXPECT_EQ(errorOf("Property Get X\r\nEnd Property"), err::MustBeDefinedInsideClass);
  EXPECT_EQ(errorOf("Const a = b"), err::ExpectedLiteralConstant);
  EXPECT_EQ(errorOf("Dim a\r\nDim b\r\nSub a\r\nEnd Sub"), err::NameRedefined);
}

TEST(Syntax, ErrorsCarryLineAndColumn) {
  ScriptError e = errorDetails("x = 1\r\ny = 2\r\nz = (3 + \r\n");
  EXPECT_EQ(e.number, err::ExpectedExpression);
  EXPECT_EQ(e.line, 3);
  EXPECT_GT(e.column, 1);
  EXPECT_EQ(e.kind, ErrorKind::Syntax);
  EXPECT_EQ(e.lineText, u"z = (3 + ");
}

TEST(Syntax, ErrorsQuoteTheirLineWhateverEndsTheLines) {
  // A lexical error (found before parsing) and a parse error, after LF, lone CR and CR LF line ends.
  EXPECT_EQ(errorDetails("x = 1\ny = 2 $\nz = 3").lineText, u"y = 2 $");
  EXPECT_EQ(errorDetails("x = 1\ry = 2\r\nz = (3 +\rw = 4").lineText, u"z = (3 +");
  ScriptError first = errorDetails("x = (");
  EXPECT_EQ(first.line, 1);
  EXPECT_EQ(first.lineText, u"x = (");
  // A very long line is quoted up to 400 characters.
  ScriptError longLine = errorDetails("x = \"" + std::string(1000, 'a') + "\" +");
  EXPECT_EQ(longLine.lineText.size(), 400u);
  EXPECT_EQ(longLine.lineText.substr(0, 6), u"x = \"a");
}

TEST(Syntax, NothingRunsWhenTheTextHasASyntaxError) {
  Engine e;
  EXPECT_THROW(e.addCode(u"x = 5\r\ny = (\r\n"), ScriptError);
  EXPECT_TRUE(e.eval(u"IsEmpty(x)").asBool());
}

TEST(Syntax, DeeplyNestedExpressionsFailCleanly) {
  std::string deep(5000, '(');
  EXPECT_NE(errorOf("x = " + deep + "1" + std::string(5000, ')')), 0);
  std::string chain = "x = 1";
  for (int i = 0; i < 100000; ++i) chain += " + 1";
  EXPECT_EQ(errorOf(chain), err::OutOfStackSpace);
  std::string members = "x = a";
  for (int i = 0; i < 100000; ++i) members += ".b";
  EXPECT_EQ(errorOf(members), err::OutOfStackSpace);
  std::string ok = "x = 0";
  for (int i = 0; i < 1000; ++i) ok += " + 1";
  EXPECT_EQ(evalAfter(ok, "x"), "1000");
  std::string ifs;
  for (int i = 0; i < 3000; ++i) ifs += "If True Then\r\n";
  EXPECT_NE(errorOf(ifs), 0);
}

}  // namespace
}  // namespace qm::vbs::test

// Constructs the Windows engine accepts that once refused a whole script.
namespace qm::vbs::test {
namespace {

TEST(SyntaxConformance, ContinuationBeforeAMemberCallChainsTheCall) {
  const std::string cls = "Class C\r\nPublic n\r\nFunction Ret()\r\nn = n + 1\r\nSet Ret = Me\r\nEnd Function\r\nEnd Class\r\n"
                          "Set o = New C\r\n";
  EXPECT_EQ(evalAfter(cls + "Set r = o _\r\n.Ret()", "o.n"), "1");
  EXPECT_EQ(evalAfter(cls + "Set r = o.Ret() _\r\n  .Ret()", "o.n"), "2");
}

TEST(SyntaxConformance, UnqualifiedMemberOutsideWithFailsWhenItRuns) {
  EXPECT_EQ(errorOf("x = 1\r\ny = .prop"), err::UnqualifiedReference);
  EXPECT_EQ(evalAfter("On Error Resume Next\r\n.prop = 1\r\nn = Err.Number", "n"), "505");
}

TEST(SyntaxConformance, BlockEndsMayFollowAStatementWithoutAColon) {
  EXPECT_EQ(evalAfter("If True Then x = 1 End If", "x"), "1");
  EXPECT_EQ(evalAfter("Dim x\r\nSub S() x = 1 : End Sub\r\nS", "x"), "1");
  EXPECT_EQ(evalAfter("Function F() F = 7 : End Function", "F()"), "7");
  EXPECT_EQ(evalAfter("For i = 1 To 3 : n = n + i Next", "n"), "6");
  EXPECT_EQ(evalAfter("Do : n = n + 1 : If n > 2 Then Exit Do\r\nLoop", "n"), "3");
  EXPECT_EQ(evalAfter("Select Case 1\r\nCase 1  x = 200\r\nCase Else x = 0\r\nEnd Select", "x"), "200");
  EXPECT_EQ(evalAfter("While n < 2 : n = n + 1 Wend", "n"), "2");
}

TEST(SyntaxConformance, ProceduresInsideBlocksBelongToTheScript) {
  EXPECT_EQ(evalAfter("If False Then\r\nFunction Twice(x)\r\nTwice = 2 * x\r\nEnd Function\r\nEnd If", "Twice(4)"), "8");
  EXPECT_EQ(evalAfter("Dim n\r\nFor i = 1 To 1\r\nSub S : n = 5 : End Sub\r\nNext\r\nS", "n"), "5");
  EXPECT_EQ(errorOf("Sub Outer\r\nSub Inner\r\nEnd Sub\r\nEnd Sub"), err::ExpectedStatement);
}

TEST(SyntaxConformance, MeWithArgumentsCallsTheDefaultProperty) {
  EXPECT_EQ(evalAfter("Class C\r\nPublic Default Property Get Item(i) : Item = i * 10 : End Property\r\n"
                      "Function Probe() : Probe = Me(3) : End Function\r\nEnd Class\r\nSet o = New C",
                      "o.Probe()"),
            "30");
}

TEST(SyntaxConformance, PropertyIsAlsoAVariableName) {
  EXPECT_EQ(evalAfter("Dim Property : Property = 1", "Property"), "1");
  EXPECT_EQ(evalAfter("For property = 1 To 2 : n = n + property : Next", "n"), "3");
}

TEST(SyntaxConformance, ParenthesisedCalleesAndIndexees) {
  EXPECT_EQ(evalAfter("Function F(a) : F = a * 2 : End Function\r\ny = (F)(3)", "y"), "6");
  EXPECT_EQ(evalAfter("x = Array(4, 5)\r\ny = ((x))(1)", "y"), "5");
  EXPECT_EQ(evalAfter("Sub seta0(a) : a = 9 : End Sub\r\nx = 1\r\nCall (((seta0))) (x)", "x"), "9");
}

TEST(SyntaxConformance, AssigningToAConstantOrProcedureFailsAtThatStatement) {
  EXPECT_EQ(errorOf("Const C = 1\r\nC = 2"), err::IllegalAssignment);
  EXPECT_EQ(evalAfter("Const C = 1\r\nOn Error Resume Next\r\nC = 2\r\nn = Err.Number", "n & C"), "5011");
  EXPECT_EQ(errorOf("Sub S : End Sub\r\nS = 1"), err::IllegalAssignment);
  EXPECT_EQ(errorOf("Function F : End Function\r\nx = 0\r\nF = 1"), err::IllegalAssignment);
  EXPECT_EQ(errorOf("Class K\r\nSub M : End Sub\r\nSub T : M = 1 : End Sub\r\nEnd Class\r\nSet k = New K\r\nk.T"),
            err::IllegalAssignment);
}

// With a trailing & the hex digits are a 32-bit value, an Integer when it fits
// one. (This replaces an earlier rule under which the & changed nothing.)
TEST(SyntaxConformance, HexLiteralsWithAmpersandAre32BitValues) {
  const char* cases[][3] = {
      {"&h10&", "Integer", "16"},      {"&hfff&", "Integer", "4095"},   {"&hffF&", "Integer", "4095"},
      {"&hffff&", "Long", "65535"},    {"&hfffe&", "Long", "65534"},    {"&h10000&", "Long", "65536"},
      {"&hffffffff&", "Integer", "-1"}, {"&hfffffffe&", "Integer", "-2"}, {"&h7fffffff&", "Long", "2147483647"},
      {"&hffff", "Integer", "-1"},     {"&h8000", "Integer", "-32768"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(typeOf(c[0]), c[1]) << c[0];
    EXPECT_EQ(evalText(c[0]), c[2]) << c[0];
  }
}

}  // namespace
}  // namespace qm::vbs::test
