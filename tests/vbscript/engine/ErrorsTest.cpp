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

TEST(Errors, ResumeNextAfterTheLastStatementOfABranchLeavesTheBranch) {
  EXPECT_EQ(evalAfter("On Error Resume Next\r\ny = 0\r\nIf True Then\r\nx = Sqr(-1)\r\nElse\r\ny = 1\r\nEnd If", "y"), "0");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\ny = 0\r\nIf False Then\r\ny = 2\r\nElseIf True Then\r\nx = 1 / 0\r\n"
                      "Else\r\ny = 1\r\nEnd If\r\nz = 5", "y & z"), "05");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nw = 0\r\nSelect Case 2\r\nCase 2\r\nq = 1 / 0\r\nCase 3\r\nw = 1\r\n"
                      "Case Else\r\nw = 2\r\nEnd Select", "w"), "0");
}

TEST(Errors, ResumeNextAfterTheLastStatementOfALoopBodyKeepsLooping) {
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nn = 0\r\nFor i = 1 To 3 : n = n + 1 : z = 1 / 0 : Next", "n & i"), "34");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nn = 0\r\nDo While n < 3 : n = n + 1 : z = 1 / 0 : Loop", "n"), "3");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nn = 0\r\nWhile n < 3\r\nn = n + 1\r\nz = 1 / 0\r\nWend", "n"), "3");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nn = 0\r\nDo\r\nn = n + 1\r\nz = 1 / 0\r\nLoop Until n = 4", "n"), "4");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nn = 0\r\nFor Each e In Array(1, 2, 3)\r\nn = n + e\r\nz = 1 / 0\r\nNext", "n"), "6");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nn = 0\r\nFor i = 1 To 2\r\nFor j = 1 To 2\r\nn = n + 1\r\nz = 1 / 0\r\n"
                      "Next\r\nz = 1 / 0\r\nNext", "n"), "4");
}

TEST(Errors, ResumeNextAfterAFailedHeaderGoesOnIntoItsBlock) {
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nIf False Then\r\nx = 1\r\nElseIf 1 / 0 Then\r\nx = 2\r\nElse\r\nx = 3\r\nEnd If",
                      "x"), "2");
  // A failing test value skips the Select; a failing Case item enters its Case.
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nx = 0\r\nSelect Case 1 / 0\r\nCase 0\r\nx = 1\r\nCase Else\r\nx = 2\r\n"
                      "End Select\r\ny = 7", "x & y"), "07");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nSelect Case 5\r\nCase 1 / 0\r\nx = 1\r\nCase 5\r\nx = 5\r\nEnd Select", "x"),
            "1");
  // Conditions at the top of a loop enter the body; at the bottom they leave the loop.
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nk = 0\r\nDo While 1 / 0\r\nk = k + 1\r\nIf k = 2 Then Exit Do\r\nLoop", "k"),
            "2");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nk = 0\r\nDo\r\nk = k + 1\r\nLoop Until 1 / 0\r\nafter = k", "after"), "1");
  // Failing For bounds or collections enter the body once; Next then ends
  // the loop with error 92 (For) or 451 (For Each).
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nk = 0\r\nFor i = 1 To 1 / 0\r\nk = k + 1\r\nNext\r\nr = k", "r"), "1");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nk = 0\r\nFor i = 1 To 3 Step 1 / 0\r\nk = k + 1\r\nNext", "k & Err.Number"), "192");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nk = 0\r\nFor Each e In 1 / 0\r\nk = k + 1\r\nNext", "k & Err.Number"), "1451");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nFor Each e In Nothing\r\nk = 1\r\nNext\r\ndone = True", "done"), "True");
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nFor n = 1 To 2\r\nk = 0\r\nFor i = 1 To CInt(n = 1) * 1 / 0\r\nk = k + 1\r\n"
                      "Next\r\nNext", "k"), "1");
}

TEST(Errors, ErrSurvivesTheReturnOfAProcedureThatResumedNext) {
  std::string code =
      "Sub A\r\nOn Error Resume Next\r\nx = 1 / 0\r\nEnd Sub\r\n"
      "Sub B\r\nOn Error Resume Next\r\nx = CInt(\"q\")\r\nExit Sub\r\nEnd Sub\r\n"
      "Function C\r\nOn Error Resume Next\r\nErr.Raise 5\r\nExit Function\r\nEnd Function\r\n"
      "A\r\na1 = Err.Number\r\nB\r\nb1 = Err.Number\r\nC\r\nc1 = Err.Number\r\n"
      "On Error Resume Next\r\nd1 = Err.Number";
  EXPECT_EQ(evalAfter(code, "a1 & \"|\" & b1 & \"|\" & c1 & \"|\" & d1"), "11|13|5|0");
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

namespace qm::vbs::test {
namespace {

TEST(ErrorsConformance, RaiseMapsNumbersAsTheWindowsEngineDoes) {
  EXPECT_EQ(errorOf("Err.Raise 0"), err::InvalidCall);
  EXPECT_EQ(errorOf("Err.Raise &h10000&"), err::InvalidCall);
  ScriptError oom = errorDetails("Err.Raise &h8007000E&");
  EXPECT_EQ(oom.number, err::OutOfMemory);
  EXPECT_EQ(toUtf8(oom.description), "Out of memory");
  EXPECT_EQ(errorOf("Err.Raise &h800A000B&"), err::DivisionByZero);
  EXPECT_EQ(errorOf("Err.Raise vbObjectError + 1"), static_cast<int32_t>(0x80040001u));
}

TEST(ErrorsConformance, RaiseKeepsWhatItIsNotGiven) {
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nErr.Raise 1, 2, \"desc\", \"hf\", 1\r\n"
                      "r = Err.HelpContext & Err.HelpFile\r\nErr.Raise 5",
                      "r & \"|\" & Err.Number & Err.Source & Err.Description & Err.HelpFile"),
            "1hf|52deschf");
  // A later run-time error clears the help file.
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nErr.Raise 1, 2, \"desc\", \"hf\", 1\r\nx = 1 / 0",
                      "Err.Number & \"[\" & Err.HelpFile & \"]\" & Err.HelpContext"),
            "11[]0");
}

TEST(ErrorsConformance, SyntaxErrorsInCodeGivenAtRunTimeAreCompilationErrors) {
  for (const char* statement : {"x = Eval(\"1 +\")", "Execute \"If\"", "ExecuteGlobal \"Sub\""}) {
    EXPECT_EQ(evalAfter(std::string("On Error Resume Next\r\n") + statement +
                            "\r\nn = Err.Number : s = Err.Source : d = Err.Description",
                        "n & \"|\" & s & \"|\" & d"),
              "1002|Microsoft VBScript compilation error|Syntax error")
        << statement;
  }
  // A run-time error inside such code stays a run-time error.
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nExecute \"x = 1 / 0\"\r\ns = Err.Source", "s"),
            "Microsoft VBScript runtime error");
}

TEST(ErrorsConformance, ErrDescriptionIsThePlainMessage) {
  EXPECT_EQ(evalAfter("Option Explicit\r\nDim d\r\nOn Error Resume Next\r\nundefinedThing = 1\r\nd = Err.Description", "d"),
            "Variable is undefined");
  // The host's message still names the variable.
  EXPECT_EQ(toUtf8(errorDetails("Option Explicit\r\nundefinedThing = 1").description),
            "Variable is undefined: 'undefinedThing'");
}

}  // namespace
}  // namespace qm::vbs::test
