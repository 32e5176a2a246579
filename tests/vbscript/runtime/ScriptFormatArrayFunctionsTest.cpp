// FormatNumber/Currency/Percent, the array functions, and how Null and the
// error numbers reach scripts through On Error Resume Next.
#include "FunctionProbe.h"

using namespace qm::vbs::fnprobe;

TEST(FormatFunctionsInScripts, FormatNumberOptionalArguments)
{
    FunctionProbe p;
    expectAll(p, {
        {"FormatNumber(1234.5678)", "String:1,234.57"},
        {"FormatNumber(1234.5678, 0)", "String:1,235"},
        {"FormatNumber(1234.5, 3)", "String:1,234.500"},
        {"FormatNumber(-1234.5)", "String:-1,234.50"},
        {"FormatNumber(-1234.5, 2, , vbTrue)", "String:(1,234.50)"},
        {"FormatNumber(0.5, 2, vbFalse)", "String:.50"},
        {"FormatNumber(-0.5, 2, vbFalse)", "String:-.50"},
        {"FormatNumber(0.5, 1, 0)", "String:.5"},
        {"FormatNumber(0.5, 0, vbTrue)", "String:1"},
        {"FormatNumber(1234567, 0, , , vbFalse)", "String:1234567"},
        {"FormatNumber(123, 2, vbUseDefault, vbUseDefault, vbUseDefault)", "String:123.00"},
        {"FormatNumber(1, -1)", "String:1.00"},
        // Halves round away from zero here, unlike Round.
        {"FormatNumber(0.125, 2)", "String:0.13"},
        {"FormatNumber(2.5, 0)", "String:3"},
        {"FormatNumber(3.5, 0)", "String:4"},
        {"FormatNumber(\"1234.5\")", "String:1,234.50"},
        {"FormatNumber(Empty)", "String:0.00"},
        {"FormatNumber(1E+20)", "String:100,000,000,000,000,000,000.00"},
        {"FormatNumber(\"abc\")", "error 13"},
        {"FormatNumber(Null)", "error 13"},
    });
}

TEST(FormatFunctionsInScripts, FormatCurrencyAndPercent)
{
    FunctionProbe p;
    expectAll(p, {
        {"FormatCurrency(1234.5)", "String:$1,234.50"},
        {"FormatCurrency(-1234.5)", "String:($1,234.50)"},
        {"FormatCurrency(-1234.5, 2, , vbFalse)", "String:-$1,234.50"},
        {"FormatCurrency(0.5, 2, vbFalse)", "String:$.50"},
        {"FormatCurrency(1234.567, 0)", "String:$1,235"},
        {"FormatCurrency(1234567.891, 2, , , vbFalse)", "String:$1234567.89"},
        {"FormatCurrency(Null)", "error 13"},
        {"FormatPercent(0.256)", "String:25.60%"},
        {"FormatPercent(0.256, 0)", "String:26%"},
        {"FormatPercent(-0.256)", "String:-25.60%"},
        {"FormatPercent(12.5, 0)", "String:1,250%"},
        {"FormatPercent(0.005, 2, vbFalse)", "String:.50%"},
        {"FormatPercent(\"0.5\")", "String:50.00%"},
        {"FormatPercent(Null)", "error 13"},
    });
}

TEST(ArrayFunctionsInScripts, ArrayBoundsAndDimensions)
{
    FunctionProbe p;
    p.exec("Dim grid(2, 5), dyn()\nDim later()\nReDim later(3)");
    expectAll(p, {
        {"Array()", "()"},
        {"Array(1, \"a\", Null)", "(Integer:1,String:a,Null)"},
        {"UBound(Array())", "Long:-1"},
        {"LBound(Array())", "Long:0"},
        {"UBound(Array(1, 2, 3))", "Long:2"},
        {"UBound(grid)", "Long:2"},
        {"UBound(grid, 1)", "Long:2"},
        {"UBound(grid, 2)", "Long:5"},
        {"LBound(grid, 2)", "Long:0"},
        {"UBound(grid, \"2\")", "Long:5"},
        {"UBound(grid, 1.5)", "Long:5"},
        {"UBound(later)", "Long:3"},
        {"UBound(grid, 3)", "error 9"},
        {"UBound(grid, 0)", "error 9"},
        {"UBound(dyn)", "error 9"},      // declared but never dimensioned
        {"LBound(dyn)", "error 9"},
        {"UBound(5)", "error 13"},
        {"UBound(Null)", "error 13"},
        {"LBound(\"a\")", "error 13"},
        {"IsArray(grid)", "Boolean:True"},
        {"IsArray(Array(1))", "Boolean:True"},
        {"IsArray(Empty)", "Boolean:False"},
    });
}

TEST(NullAndErrorsInScripts, NullPropagatesThroughStringFunctions)
{
    FunctionProbe p;
    p.exec("n = Null");
    expectAll(p, {
        {"Len(n) + 1", "Null"},
        {"UCase(Left(n, 1))", "Null"},
        {"Trim(Mid(n, 2))", "Null"},
        {"\"a\" & n", "String:a"},
        {"InStr(n, \"a\") = 0", "Null"},
        {"Hex(n)", "Null"},
        {"Int(n) + Fix(n)", "Null"},
        {"Abs(n)", "Null"},
        {"Year(n)", "Null"},
    });
}

TEST(NullAndErrorsInScripts, ErrorNumbersAndDescriptionsReachErr)
{
    FunctionProbe p;
    p.exec(R"vbs(
Function Trap(expression)
    On Error Resume Next
    Dim x
    x = Eval(expression)
    Trap = Err.Number & " " & Err.Description
End Function
)vbs");
    expectAll(p, {
        {R"~(Trap("Sqr(-1)"))~", "String:5 Invalid procedure call or argument"},
        {R"~(Trap("CInt(40000)"))~", "String:6 Overflow"},
        {R"~(Trap("UBound(Array(1), 2)"))~", "String:9 Subscript out of range"},
        {R"~(Trap("CLng(""seven"")"))~", "String:13 Type mismatch"},
        {R"~(Trap("Left(""abc"", Null)"))~", "String:94 Invalid use of Null"},
        {R"~(Trap("Left(""abc"")"))~", "String:450 Wrong number of arguments or invalid property assignment"},
        {R"~(Trap("Len(""abc"")"))~", "String:0 "},
    });
}

TEST(NullAndErrorsInScripts, ResumeNextContinuesAfterAFailedCall)
{
    FunctionProbe p;
    p.exec(R"(
On Error Resume Next
trail = ""
x = Log(0)
trail = trail & Err.Number & ";"
Err.Clear
x = Chr(300)
trail = trail & Err.Number & ";"
Err.Clear
x = Mid("abc", 2)
trail = trail & Err.Number & ";" & x
On Error GoTo 0
)");
    EXPECT_EQ(p("trail"), "String:5;5;0;bc");
}
