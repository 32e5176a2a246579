// Run-time errors, the Err object and On Error flows.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

TEST(Errors, RuntimeErrorsCarryNumberDescriptionAndPosition) {
  ScriptError e = errorDetails("x = 1\r\ny = 2\r\n  z = x / 0\r\n");
  EXPECT_EQ(e.number, err::DivisionByZero);
  EXPECT_EQ(e.description, u"Division by zero");
  EXPECT_EQ(e.line, 3);
  EXPECT_EQ(e.column, 3);
  EXPECT_EQ(e.kind, ErrorKind::Runtime);
}

TEST(Errors, ErrorsInsideProceduresReportTheirOwnLine) {
  ScriptError e = errorDetails("Sub Bad\r\n  x = CLng(\"q\")\r\nEnd Sub\r\nBad\r\n");
  EXPECT_EQ(e.number, err::TypeMismatch);
  EXPECT_EQ(e.line, 2);
}

TEST(Errors, ResumeNextContinuesWithTheNextStatement) {
  std::string code =
      "On Error Resume Next\r\nx = 1 / 0\r\nn1 = Err.Number\r\nd1 = Err.Description\r\nErr.Clear\r\nn2 = Err.Number\r\n"
      "y = CInt(\"zz\")\r\nn3 = Err.Number\r\nreached = True";
  EXPECT_EQ(evalAfter(code, "n1 & \"|\" & d1 & \"|\" & n2 & \"|\" & n3 & \"|\" & reached"),
            "11|Division by zero|0|13|True");
}

TEST(Errors, ResumeNextSkipsToTheStatementAfterAFailedCondition) {
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nIf 1 / 0 Then\r\nx = \"then\"\r\nElse\r\nx = \"else\"\r\nEnd If", "x"), "then");
}

TEST(Errors, GotoZeroRestoresErrorsAndClearsErr) {
  EXPECT_EQ(errorOf("On Error Resume Next\r\nx = 1 / 0\r\nOn Error GoTo 0\r\ny = 1 / 0"), err::DivisionByZero);
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nx = 1 / 0\r\nOn Error GoTo 0", "Err.Number"), "0");
}

TEST(Errors, HandlerInTheCallerCatchesErrorsOfCallees) {
  std::string code =
      "Sub Inner\r\nx = 1 / 0\r\nafterInner = True\r\nEnd Sub\r\n"
      "Sub Outer\r\nOn Error Resume Next\r\nInner\r\ncaught = Err.Number\r\nEnd Sub\r\nDim afterInner, caught\r\nOuter";
  EXPECT_EQ(evalAfter(code, "caught & \"|\" & IsEmpty(afterInner)"), "11|True");
}

TEST(Errors, ResumeNextIsLocalToItsProcedure) {
  std::string code = "Sub S\r\nOn Error Resume Next\r\nEnd Sub\r\nS\r\nx = 1 / 0";
  EXPECT_EQ(errorOf(code), err::DivisionByZero);
}

TEST(Errors, RaiseUsesGivenOrStandardDescriptions) {
  std::string code = "On Error Resume Next\r\nErr.Raise 9\r\nd1 = Err.Description\r\nErr.Raise 1000, \"Mine\", \"custom\"\r\n"
                     "d2 = Err.Number & Err.Source & Err.Description";
  EXPECT_EQ(evalAfter(code, "d1 & \"|\" & d2"), "Subscript out of range|1000Minecustom");
  ScriptError e = errorDetails("Err.Raise 513, \"Src\", \"boom\"");
  EXPECT_EQ(e.number, 513);
  EXPECT_EQ(e.description, u"boom");
  EXPECT_EQ(e.source, u"Src");
}

TEST(Errors, ErrNumberIsTheDefaultMember) {
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nx = 1 / 0\r\nIf Err Then r = \"yes\"", "r & Err"), "yes11");
}

TEST(Errors, StandardNumbers) {
  EXPECT_EQ(errorOf("Dim a(1)\r\na(5) = 1"), err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf("x = CInt(40000)"), err::Overflow);
  EXPECT_EQ(errorOf("Set o = Nothing\r\no.Go"), err::ObjectRequired);
  EXPECT_EQ(errorOf("x = Mid(\"abc\", 0)"), err::InvalidCall);
  EXPECT_EQ(errorOf("x = Len()"), err::WrongArgCount);
  EXPECT_EQ(errorOf("Class Thing\r\nEnd Class\r\nSet c = New Thing\r\nc.Go"), err::NoSuchMember);
  EXPECT_EQ(errorOf("x = CInt(Null)"), err::InvalidUseOfNull);
}

}  // namespace
}  // namespace qm::vbs::test
