// Statements: declarations, arrays, branches and loops.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

TEST(Statements, ArraysAreFixedOrDynamicAndMultiDimensional) {
  EXPECT_EQ(evalAfter("Dim a(2, 3)\r\na(1, 2) = \"x\"", "UBound(a, 1) & UBound(a, 2) & a(1, 2)"), "23x");
  EXPECT_EQ(evalAfter("Dim a()\r\nReDim a(4)\r\na(4) = 7\r\nReDim Preserve a(6)", "UBound(a) & a(4)"), "67");
  EXPECT_EQ(evalAfter("ReDim a(2, 2)\r\na(1, 1) = 5\r\nReDim Preserve a(2, 5)", "a(1, 1) & UBound(a, 2)"), "55");
  EXPECT_EQ(errorOf("ReDim a(2, 2)\r\nReDim Preserve a(3, 2)"), err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf("Dim a(2)\r\nReDim a(5)"), err::ArrayFixedOrLocked);
  EXPECT_EQ(errorOf("Dim a(2)\r\nx = a(3)"), err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf("Dim a(2)\r\nx = a(1, 1)"), err::SubscriptOutOfRange);
  EXPECT_EQ(evalAfter("ReDim a(3)\r\na(1) = 2\r\nReDim a(3)", "IsEmpty(a(1))"), "True");
}

TEST(Statements, ArrayAssignmentCopies) {
  EXPECT_EQ(evalAfter("Dim a(1)\r\na(0) = 1\r\nb = a\r\nb(0) = 2", "a(0) & b(0)"), "12");
  EXPECT_EQ(evalAfter("a = Array(1, 2)\r\nb = a\r\na(1) = 9", "b(1)"), "2");
}

TEST(Statements, EraseClearsFixedAndFreesDynamicArrays) {
  EXPECT_EQ(evalAfter("Dim a(2)\r\na(1) = 5\r\nErase a", "UBound(a) & IsEmpty(a(1))"), "2True");
  EXPECT_EQ(errorOf("ReDim a(2)\r\nErase a\r\nx = a(0)"), err::SubscriptOutOfRange);
}

TEST(Statements, ConstantsCannotBeAssigned) {
  EXPECT_EQ(evalAfter("Const A = 5, B = \"x\"\r\nConst C = -A * 2", "A & B & C"), "5x-10");
  EXPECT_NE(errorOf("Const A = 5\r\nA = 6"), 0);
}

TEST(Statements, IfElseIfChains) {
  std::string code =
      "Function Grade(n)\r\nIf n >= 90 Then\r\nGrade = \"A\"\r\nElseIf n >= 80 Then\r\nGrade = \"B\"\r\n"
      "ElseIf n >= 70 Then Grade = \"C\"\r\nElse\r\nGrade = \"F\"\r\nEnd If\r\nEnd Function";
  EXPECT_EQ(evalAfter(code, "Grade(95) & Grade(85) & Grade(75) & Grade(10)"), "ABCF");
}

TEST(Statements, SelectCaseWithListsRangesAndIs) {
  std::string code =
      "Function K(v)\r\nSelect Case v\r\nCase 1, 2\r\nK = \"low\"\r\nCase 3 To 5\r\nK = \"mid\"\r\n"
      "Case Is > 100\r\nK = \"huge\"\r\nCase Else\r\nK = \"other\"\r\nEnd Select\r\nEnd Function";
  EXPECT_EQ(evalAfter(code, "K(2) & K(4) & K(500) & K(50)"), "lowmidhugeother");
  // Both bounds of a range belong to it.
  EXPECT_EQ(evalAfter(code, "K(3) & K(5) & K(6)"), "midmidother");
  // The test value is no literal: a number meets a text Case as text, without error.
  std::string text = "Function T(v)\r\nSelect Case v\r\nCase \"x\"\r\nT = \"text\"\r\nCase Else\r\nT = \"other\"\r\n"
                     "End Select\r\nEnd Function";
  EXPECT_EQ(evalAfter(text, "T(\"x\") & T(\"y\")"), "textother");
  EXPECT_EQ(evalAfter(text, "T(5)"), "other");
  EXPECT_EQ(evalAfter("Select Case 1\r\nCase 1\r\nx = 1\r\nCase 1\r\nx = 2\r\nEnd Select", "x"), "1");
}

TEST(Statements, ForLoopsWithStepsAndExit) {
  EXPECT_EQ(evalAfter("For i = 10 To 1 Step -3\r\ns = s & i & \",\"\r\nNext", "s & i"), "10,7,4,1,-2");
  EXPECT_EQ(evalAfter("For i = 1 To 0\r\ns = \"ran\"\r\nNext", "IsEmpty(s) & i"), "True1");
  EXPECT_EQ(evalAfter("For i = 0 To 1 Step 0.25\r\nn = n + 1\r\nNext", "n"), "5");
  EXPECT_EQ(evalAfter("For i = 1 To 100\r\nIf i = 7 Then Exit For\r\nNext", "i"), "7");
  EXPECT_EQ(evalAfter("For i = 1 To 3\r\nFor j = 1 To 3\r\nn = n + 1\r\nNext\r\nNext", "n"), "9");
}

// A procedure's own counter takes the one-instruction Next: it must step,
// store and test exactly as a global counter does.
TEST(Statements, ForLoopsOverALocalCounter) {
  auto inProc = [](const std::string& body, const std::string& result) {
    return evalAfter("Function T()\r\nDim i, s, n\r\n" + body + "\r\nT = " + result + "\r\nEnd Function", "T()");
  };
  EXPECT_EQ(inProc("For i = 10 To 1 Step -3\r\ns = s & i & \",\"\r\nNext", "s & i"), "10,7,4,1,-2");
  EXPECT_EQ(inProc("For i = 0 To 1 Step 0.25\r\nn = n + 1\r\nNext", "n & \" \" & i"), "5 1.25");
  EXPECT_EQ(inProc("For i = 32766 To 32768\r\nn = n + 1\r\nNext", "n & TypeName(i) & i"), "3Long32769");
  // The body may change the counter, to another subtype too.
  EXPECT_EQ(inProc("For i = 1 To 10\r\ni = i + 3\r\nn = n + 1\r\nNext", "n & \" \" & i"), "3 13");
  EXPECT_EQ(inProc("For i = 1 To 5\r\ni = \"7\"\r\nn = n + 1\r\nNext", "n & TypeName(i) & i"), "1Double8");
  EXPECT_EQ(inProc("For i = 1 To 3\r\ni = 2.5\r\nn = n + 1\r\nNext", "n & \" \" & i"), "1 3.5");
  // A ByRef parameter as the counter steps the caller's variable.
  EXPECT_EQ(evalAfter("Sub Walk(c)\r\nFor c = 1 To 4\r\nNext\r\nEnd Sub\r\nx = 0\r\nWalk x", "x"), "5");
  // A counter made an array inside the body cannot take the step.
  EXPECT_EQ(errorOf("Sub T()\r\nDim i\r\nFor i = 1 To 3\r\ni = Array(1)\r\nNext\r\nEnd Sub\r\nT"), err::TypeMismatch);
  // Under Resume Next a failed step ends the loop.
  EXPECT_EQ(inProc("On Error Resume Next\r\nFor i = 1 To 3\r\nn = n + 1\r\ni = \"x\"\r\nNext", "n & Err.Number"), "113");
}

// Whole numbers compared and divided without the general rules keep their subtypes and errors.
TEST(Statements, WholeNumberModAndComparisonsInConditions) {
  EXPECT_EQ(evalAfter("", "TypeName(CInt(7) Mod CInt(3)) & (CInt(7) Mod CInt(3))"), "Integer1");
  EXPECT_EQ(evalAfter("", "TypeName(7 Mod 100000) & TypeName(100000 Mod 7) & (-7 Mod 3)"), "LongLong-1");
  EXPECT_EQ(errorOf("x = 5 Mod 0"), err::DivisionByZero);
  EXPECT_EQ(evalAfter("Function T()\r\nDim i\r\nDo While i < 40000\r\ni = i + 7\r\nLoop\r\nT = i\r\nEnd Function", "T()"),
            "40005");
  EXPECT_EQ(evalAfter("If 100000 > 3 Then a = 1\r\nIf 3 >= 100000 Then a = 2", "a"), "1");
  EXPECT_EQ(evalAfter("n = 0\r\nDo Until n = 5\r\nn = n + 1\r\nLoop", "n"), "5");
}

TEST(Statements, ForEachWalksArraysAndCollections) {
  EXPECT_EQ(evalAfter("For Each v In Array(1, 2, 3)\r\ns = s + v\r\nNext", "s"), "6");
  EXPECT_EQ(evalAfter("Dim a(1, 1)\r\na(0, 0) = 1 : a(1, 1) = 4\r\nFor Each v In a\r\ns = s + v\r\nNext", "s"), "5");
  EXPECT_EQ(errorOf("For Each v In 5\r\nNext"), err::NotACollection);
  EXPECT_EQ(evalAfter("For Each v In Array(1, 2, 3, 4)\r\nIf v = 3 Then Exit For\r\nNext", "v"), "3");
}

TEST(Statements, DoAndWhileLoops) {
  EXPECT_EQ(evalAfter("Do While n < 5\r\nn = n + 1\r\nLoop", "n"), "5");
  EXPECT_EQ(evalAfter("Do Until n >= 5\r\nn = n + 1\r\nLoop", "n"), "5");
  EXPECT_EQ(evalAfter("Do\r\nn = n + 1\r\nLoop While n < 0", "n"), "1");
  EXPECT_EQ(evalAfter("Do\r\nn = n + 1\r\nLoop Until n = 3", "n"), "3");
  EXPECT_EQ(evalAfter("Do\r\nn = n + 1\r\nIf n = 4 Then Exit Do\r\nLoop", "n"), "4");
  EXPECT_EQ(evalAfter("While n < 3\r\nn = n + 1\r\nWend", "n"), "3");
}

TEST(Statements, WithBlocksNest) {
  std::string code =
      "Class P\r\nPublic X, Child\r\nEnd Class\r\nSet a = New P\r\nSet a.Child = New P\r\n"
      "With a\r\n.X = 1\r\nWith .Child\r\n.X = 2\r\nEnd With\r\n.X = .X + 10\r\nEnd With";
  EXPECT_EQ(evalAfter(code, "a.X & \",\" & a.Child.X"), "11,2");
}

TEST(Statements, OptionExplicitRequiresDeclarations) {
  EXPECT_EQ(errorOf("Option Explicit\r\nx = 1"), err::VariableUndefined);
  EXPECT_EQ(errorOf("Option Explicit\r\nDim x\r\nx = y"), err::VariableUndefined);
  EXPECT_EQ(errorOf("Option Explicit\r\nSub A\r\nz = 1\r\nEnd Sub\r\nA"), err::VariableUndefined);
  EXPECT_EQ(errorOf("Option Explicit\r\nDim x\r\nx = 1"), 0);
}

TEST(Statements, RandomizeAndStopAreAccepted) {
  EXPECT_EQ(errorOf("Randomize\r\nRandomize 5\r\nStop"), 0);
}

}  // namespace
}  // namespace qm::vbs::test

namespace qm::vbs::test {
namespace {

const char* kEmptyClass = "Class E\r\nEnd Class\r\n";

TEST(StatementsConformance, LetWithoutSetReplacesAnObject) {
  EXPECT_EQ(evalAfter(std::string(kEmptyClass) + "Set x = New E : x = 5", "TypeName(x)"), "Integer");
  EXPECT_EQ(evalAfter("Class Holder\r\nPublic v\r\nPublic Property Let Value(a) : v = a : End Property\r\n"
                      "Public Default Property Get Value : Value = v : End Property\r\nEnd Class\r\n"
                      "Set d = New Holder : Set x = d : x = 5",
                      "TypeName(x) & d.v"),
            "Integer");
  EXPECT_EQ(evalAfter(std::string(kEmptyClass) + "Dim a(1) : Set a(0) = New E : a(0) = \"s\"", "TypeName(a(0))"),
            "String");
}

TEST(StatementsConformance, NestedArrayElementsAreWritten) {
  EXPECT_EQ(evalAfter("x = Array(Array(\"a\", 0)) : x(0)(1) = 5", "x(0)(1)"), "5");
  EXPECT_EQ(evalAfter("x = Array(Array(Array(1, 2))) : x(0)(0)(1) = 7", "x(0)(0)(1)"), "7");
  EXPECT_EQ(evalAfter(std::string(kEmptyClass) + "x = Array(Array(\"a\", 0)) : Set x(0)(1) = New E",
                      "TypeName(x(0)(1))"),
            "E");
  EXPECT_EQ(evalAfter(std::string(kEmptyClass) + "x = Array(Array(New E)) : Set x(0)(0) = Nothing",
                      "x(0)(0) Is Nothing"),
            "True");
  EXPECT_EQ(evalAfter("Sub Bump(v) : v = v + 1 : End Sub\r\nx = Array(Array(1)) : Bump x(0)(0)", "x(0)(0)"), "2");
  EXPECT_EQ(errorOf("x = Array(Nothing) : x(0)(0) = 5"), err::TypeMismatch);
  // The array is unlocked again afterwards.
  EXPECT_EQ(evalAfter("x = Array(Array(1)) : x(0)(0) = 2 : ReDim Preserve x(1)", "UBound(x)"), "1");
}

TEST(StatementsConformance, WithNeedsAnObject) {
  for (const char* subject : {"42", "\"x\"", "Empty", "Null", "True"})
    EXPECT_EQ(errorOf(std::string("With ") + subject + "\r\nEnd With"), err::ObjectRequired) << subject;
}

// Under On Error Resume Next a failing loop header runs the body once, with
// Err holding the header's error and the loop variable untouched; Next then
// ends the loop with 92 (For) or 451 (For Each), which is passed over too.
// (This replaces an earlier rule that skipped the loop.)
TEST(StatementsConformance, AFailedForHeaderRunsTheBodyOnce) {
  const std::string failing = "Function f : f = 1 / 0 : End Function\r\nOn Error Resume Next\r\nx = 7\r\n";
  const char* headers[] = {"For x = 1/0 To 3", "For x = 100 To f()", "For x = 1 To 2 Step f()"};
  for (const char* header : headers) {
    EXPECT_EQ(evalAfter(failing + header + " : n = n + 1 : inBody = Err.Number & \",\" & x : Next\r\ne = Err.Number",
                        "n & \"/\" & inBody & \"/\" & e & \"/\" & x"),
              "1/11,7/92/7")
        << header;
  }
  for (const char* collection : {"Empty", "42"}) {
    EXPECT_EQ(evalAfter(std::string("On Error Resume Next\r\nv = \"kept\"\r\nFor Each v In ") + collection +
                            " : n = n + 1 : inBody = Err.Number & \",\" & v : Next\r\ne = Err.Number",
                        "n & \"/\" & inBody & \"/\" & e"),
              "1/451,kept/451")
        << collection;
  }
  EXPECT_EQ(errorOf("For x = 1/0 To 3 : Next"), err::DivisionByZero);
  EXPECT_EQ(errorOf("For Each v In Empty : Next"), err::NotACollection);
}

// The same loop met again: a failed header never reuses the limit or the
// walk of an earlier run.
TEST(StatementsConformance, ALoopWhoseHeaderFailedKeepsNothingOfAnEarlierRun) {
  for (const char* limits : {"Array(0, 1)", "Array(1, 0)"}) {
    const std::string code = std::string("On Error Resume Next\r\nFor Each limit In ") + limits +
                             "\r\nFor i = 1 To 3 / limit : total = total + 1 : Next\r\nNext";
    EXPECT_EQ(evalAfter(code, "total"), "4") << limits;
  }
  for (const char* collections : {"Array(Array(1, 2), Empty)", "Array(Empty, Array(1, 2))"}) {
    const std::string code = std::string("On Error Resume Next\r\nFor Each c In ") + collections +
                             "\r\nFor Each v In c : total = total + 1 : Next\r\nNext";
    EXPECT_EQ(evalAfter(code, "total"), "3") << collections;
  }
}

TEST(StatementsConformance, ABareVariableStatementCallsItsDefaultFunction) {
  const std::string cls = "Dim n\r\nClass Runner\r\nPublic Default Function Run : n = n + 1 : End Function\r\nEnd Class\r\n";
  EXPECT_EQ(evalAfter(cls + "Set f = New Runner : f", "n"), "1");
  EXPECT_EQ(evalAfter(cls + "Sub T : Set g = New Runner : g : End Sub\r\nT", "n"), "1");
  EXPECT_EQ(errorOf("i = 42 : i"), err::TypeMismatch);
  EXPECT_EQ(errorOf("Sub T : Dim i : i = 42 : i : End Sub\r\nT"), err::TypeMismatch);
}

TEST(StatementsConformance, ReDimOfAFixedArrayFailsBeforeItsBounds) {
  EXPECT_EQ(errorOf("Dim a(2)\r\nReDim a(\"abc\")"), err::ArrayFixedOrLocked);
}

}  // namespace
}  // namespace qm::vbs::test
