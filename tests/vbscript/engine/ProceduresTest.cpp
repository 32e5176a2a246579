// Procedures: arguments by reference and by value, return values, scope.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

const char* kIncrement = "Sub Inc(ByRef v)\r\nv = v + 1\r\nEnd Sub\r\nSub IncVal(ByVal v)\r\nv = v + 1\r\nEnd Sub\r\n";

TEST(Procedures, ByRefIsTheDefaultAndByValCopies) {
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "x = 1\r\nInc x\r\nIncVal x", "x"), "2");
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "Sub Inc2(v)\r\nv = v + 1\r\nEnd Sub\r\nx = 1\r\nInc2 x", "x"), "2");
}

TEST(Procedures, ParenthesesForceByVal) {
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "x = 1\r\nInc (x)", "x"), "1");
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "x = 1\r\nInc(x)", "x"), "1");
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "x = 1\r\nCall Inc(x)", "x"), "2");
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "x = 1\r\nCall Inc((x))", "x"), "1");
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "x = 1\r\nInc x + 0", "x"), "1");
}

TEST(Procedures, ArrayElementsPassByReference) {
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "Dim a(2)\r\na(1) = 5\r\nInc a(1)", "a(1)"), "6");
  EXPECT_EQ(evalAfter(std::string(kIncrement) + "Sub T\r\nDim b(1)\r\nInc b(0)\r\nr = b(0)\r\nEnd Sub\r\nDim r\r\nT", "r"),
            "1");
  EXPECT_EQ(evalAfter("Sub Grow(a)\r\nReDim Preserve a(5)\r\nEnd Sub\r\nReDim arr(1)\r\nGrow arr", "UBound(arr)"), "5");
}

TEST(Procedures, ArgumentsCallArrayElementsLockTheArray) {
  EXPECT_EQ(errorOf("Dim arr\r\nSub S(v)\r\nReDim arr(9)\r\nEnd Sub\r\nReDim arr(1)\r\nS arr(0)"), err::ArrayFixedOrLocked);
  EXPECT_EQ(errorOf("Dim arr\r\nSub S(v)\r\narr = 5\r\nEnd Sub\r\nReDim arr(1)\r\nS arr(0)"), err::ArrayFixedOrLocked);
  EXPECT_EQ(evalAfter("Dim arr\r\nSub S(v)\r\nv = 1\r\nEnd Sub\r\nReDim arr(1)\r\nS arr(0)\r\nReDim arr(3)", "UBound(arr)"), "3");
}

TEST(Procedures, BuiltInsTakeValuesAndAProcedureOfTheirNameTakesReferences) {
  // A built-in never changes the variables it is given.
  EXPECT_EQ(evalAfter("s = \"  a  \"\r\nt = Trim(s) & LCase(s)", "\"[\" & s & \"]\""), "[  a  ]");
  // Code compiled while Trim was the built-in calls the script's Trim defined
  // later, and that one takes its argument by reference.
  Engine e;
  e.addCode(u"Function Caller()\r\ns = \"x\"\r\nt = Trim(s)\r\nCaller = s & t\r\nEnd Function");
  EXPECT_EQ(toString(e.run(u"Caller")), u"xx");
  e.addCode(u"Function Trim(v)\r\nv = \"changed\"\r\nTrim = 1\r\nEnd Function");
  EXPECT_EQ(toString(e.run(u"Caller")), u"changed1");
}

TEST(Procedures, UndeclaredNamesUnderOptionExplicitFailWhereverTheyAppear) {
  // Read, written, called, indexed, indexed for writing or passed as an element by reference.
  const char* uses[] = {"x = a", "a = 1", "a", "x = a(0)", "a(0) = 1", "Inc a(0)", "Set a = Nothing", "Inc a"};
  for (const char* use : uses) {
    std::string code = std::string("Option Explicit\r\nSub Inc(v)\r\nEnd Sub\r\nSub S\r\nDim x\r\n") + use +
                       "\r\nEnd Sub\r\nS";
    EXPECT_EQ(errorOf(code), err::VariableUndefined) << use;
  }
}

TEST(Procedures, CallsWithAndWithoutParentheses) {
  std::string code = "Dim r\r\nFunction Add(a, b)\r\nAdd = a + b\r\nEnd Function\r\nSub Put(a, b)\r\nr = a & b\r\nEnd Sub\r\n";
  EXPECT_EQ(evalAfter(code + "Put 1, 2", "r"), "12");
  EXPECT_EQ(evalAfter(code + "Call Put(3, 4)", "r"), "34");
  EXPECT_EQ(evalAfter(code + "Put (1) + 1, 5", "r"), "25");
  EXPECT_EQ(evalAfter(code + "x = Add(1, 2) * 2", "x"), "6");
  EXPECT_EQ(evalAfter(code + "Add 1, 2", "IsEmpty(r)"), "True");
  EXPECT_EQ(errorOf(code + "x = Add(1)"), err::WrongArgCount);
  EXPECT_EQ(errorOf(code + "NoSuchSub 1"), err::TypeMismatch);
}

TEST(Procedures, FunctionsReturnThroughTheirNameAndRecurse) {
  std::string code = "Function Fact(n)\r\nIf n <= 1 Then\r\nFact = 1\r\nElse\r\nFact = n * Fact(n - 1)\r\nEnd If\r\nEnd Function";
  EXPECT_EQ(evalAfter(code, "Fact(10)"), "3628800");
  EXPECT_EQ(evalAfter("Function F\r\nF = 1\r\nExit Function\r\nF = 2\r\nEnd Function", "F"), "1");
  EXPECT_EQ(evalAfter("Function F()\r\nEnd Function", "IsEmpty(F())"), "True");
}

TEST(Procedures, UndeclaredNamesInsideProceduresAreLocal) {
  std::string code = "Function Depth(n)\r\nk = n\r\nIf n > 0 Then Depth(n - 1)\r\nDepth = k\r\nEnd Function";
  EXPECT_EQ(evalAfter(code, "Depth(3)"), "3");
  EXPECT_EQ(evalAfter("Dim g\r\nSub S\r\ng = 5\r\nEnd Sub\r\nS", "g"), "5");
  EXPECT_EQ(evalAfter("Sub S\r\nh = 5\r\nEnd Sub\r\nS", "IsEmpty(h)"), "True");
}

TEST(Procedures, GlobalsDeclaredLaterAreVisible) {
  EXPECT_EQ(evalAfter("Sub S\r\nlater = 7\r\nEnd Sub\r\nDim later\r\nS", "later"), "7");
}

TEST(Procedures, LaterDefinitionsReplaceEarlierOnes) {
  Engine e;
  e.addCode(u"Function V\r\nV = 1\r\nEnd Function");
  e.addCode(u"Function V\r\nV = 2\r\nEnd Function");
  EXPECT_EQ(toString(e.eval(u"V")), u"2");
}

TEST(Procedures, DeepRecursionEndsWithOutOfStackSpace) {
  EXPECT_EQ(errorOf("Sub R(n)\r\nR n + 1\r\nEnd Sub\r\nR 0"), err::OutOfStackSpace);
  EXPECT_EQ(errorOf("Function F(n)\r\nF = F(n + 1) + 1\r\nEnd Function\r\nx = F(0)"), err::OutOfStackSpace);
}

TEST(Procedures, EvalExecuteAndGetRef) {
  EXPECT_EQ(evalAfter("x = 4", "Eval(\"x * 2\")"), "8");
  EXPECT_EQ(evalAfter("Execute \"y = 3 : z = y + 1\"", "z"), "4");
  EXPECT_EQ(evalAfter("ExecuteGlobal \"Function G(a)\" & vbCrLf & \"G = a * 10\" & vbCrLf & \"End Function\"", "G(2)"),
            "20");
  EXPECT_EQ(evalAfter("Function H(a)\r\nH = a + 1\r\nEnd Function\r\nSet f = GetRef(\"H\")", "f(41)"), "42");
  EXPECT_EQ(errorOf("x = Eval(\"1 +\")"), err::Syntax);
  // Inside a procedure, Execute and Eval see its variables.
  EXPECT_EQ(evalAfter("Function F(a)\r\nDim b\r\nb = 2\r\nExecute \"b = b * a\"\r\nF = Eval(\"b + a\")\r\nEnd Function", "F(5)"), "15");
  EXPECT_EQ(evalAfter("Class K\r\nPrivate v\r\nFunction Run()\r\nExecute \"v = 7\"\r\nRun = Eval(\"v * 2\")\r\nEnd Function\r\nEnd Class\r\n"
                      "Set obj = New K", "obj.Run()"), "14");
  EXPECT_EQ(errorOf("Set f = GetRef(\"Missing\")"), err::InvalidCall);
}

}  // namespace
}  // namespace qm::vbs::test

namespace qm::vbs::test {
namespace {

TEST(ProceduresConformance, EvalAndExecuteArguments) {
  EXPECT_EQ(errorOf("Execute \"x = \""), err::Syntax);
  EXPECT_EQ(errorOf("ExecuteGlobal \"Sub\""), err::Syntax);
  EXPECT_EQ(evalAfter("On Error Resume Next\r\nExecute \"If\"", "Err.Number"), "1002");
  for (const char* arg : {"42", "Null", "Empty"}) {
    EXPECT_EQ(errorOf(std::string("Execute ") + arg), err::TypeMismatch) << arg;
    EXPECT_EQ(errorOf(std::string("ExecuteGlobal ") + arg), err::TypeMismatch) << arg;
  }
  EXPECT_EQ(evalText("IsNull(Eval(Null))"), "True");
  EXPECT_EQ(evalText("IsEmpty(Eval(Empty))"), "True");
}

TEST(ProceduresConformance, ExecuteDimInsideAProcedureIsLocalToIt) {
  EXPECT_EQ(evalAfter("Function F\r\nExecute \"Dim b : b = 20\"\r\nF = b\r\nEnd Function", "F()"), "20");
  EXPECT_EQ(evalAfter("Function F\r\nExecute \"Dim b : b = 20\"\r\nF = b\r\nEnd Function\r\nx = F()", "IsEmpty(b)"),
            "True");
  // Under Option Explicit the later plain code of the procedure reads it too.
  EXPECT_EQ(evalAfter("Option Explicit\r\nFunction TestExecuteDimInFunc\r\nExecute \"Dim funcVar : funcVar = 55\"\r\n"
                      "TestExecuteDimInFunc = funcVar\r\nEnd Function\r\nDim r : r = TestExecuteDimInFunc()",
                      "r"),
            "55");
  EXPECT_EQ(evalAfter("Option Explicit\r\nDim got\r\nSub S\r\nExecute \"Dim subVar : subVar = 56\"\r\ngot = subVar\r\n"
                      "End Sub\r\nS",
                      "got"),
            "56");
  // Without the Execute the name is still undefined.
  EXPECT_EQ(errorOf("Option Explicit\r\nFunction F\r\nF = neverDeclared\r\nEnd Function\r\nDim r : r = F()"),
            err::VariableUndefined);
}

TEST(ProceduresConformance, GetRefObjectsRunAsStatements) {
  const std::string sub = "Dim n\r\nSub S : n = n + 1 : End Sub\r\nSet r = GetRef(\"S\")\r\n";
  EXPECT_EQ(evalAfter(sub + "Call r()", "n"), "1");
  EXPECT_EQ(evalAfter(sub + "r", "n"), "1");
  EXPECT_EQ(evalAfter(sub + "Sub T : Set q = GetRef(\"S\") : q : Call q() : End Sub\r\nT", "n"), "2");
  for (const char* arg : {"123", "Null", "Empty"})
    EXPECT_EQ(errorOf(std::string("Set r = GetRef(") + arg + ")"), err::TypeMismatch) << arg;
}

}  // namespace
}  // namespace qm::vbs::test
