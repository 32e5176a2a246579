// Conversion and inspection functions called from scripts.
#include "FunctionProbe.h"

using namespace qm::vbs::fnprobe;

TEST(ConversionFunctionsInScripts, CBoolAndCByte)
{
    FunctionProbe p;
    expectAll(p, {
        {"CBool(1)", "Boolean:True"},
        {"CBool(0)", "Boolean:False"},
        {"CBool(0.1)", "Boolean:True"},
        {R"(CBool("True"))", "Boolean:True"},
        {R"(CBool("false"))", "Boolean:False"},
        {R"(CBool("1"))", "Boolean:True"},
        {R"(CBool("0.0"))", "Boolean:False"},
        {R"(CBool("&H0"))", "Boolean:False"},
        {"CBool(Empty)", "Boolean:False"},
        {R"(CBool("yes"))", "error 13"},
        {R"(CBool(""))", "error 13"},
        {"CBool(Null)", "error 94"},
        {"CByte(255)", "Byte:255"},
        {"CByte(0.5)", "Byte:0"},
        {"CByte(1.5)", "Byte:2"},
        {"CByte(2.5)", "Byte:2"},
        {"CByte(-0.5)", "Byte:0"},
        {R"(CByte("12"))", "Byte:12"},
        {R"(CByte("&HFF"))", "Byte:255"},
        {"CByte(256)", "error 6"},
        {"CByte(-1)", "error 6"},
    });
}

TEST(ConversionFunctionsInScripts, CIntAndCLngRoundHalfToEven)
{
    FunctionProbe p;
    expectAll(p, {
        {"CInt(0.5)", "Integer:0"},
        {"CInt(1.5)", "Integer:2"},
        {"CInt(2.5)", "Integer:2"},
        {"CInt(3.5)", "Integer:4"},
        {"CInt(-2.5)", "Integer:-2"},
        {"CInt(-3.5)", "Integer:-4"},
        {"CInt(32767.4)", "Integer:32767"},
        {"CInt(-32768.5)", "Integer:-32768"},
        {R"(CInt("12.5"))", "Integer:12"},
        {"CInt(True)", "Integer:-1"},
        {"CInt(Empty)", "Integer:0"},
        {"CInt(32767.5)", "error 6"},
        {"CInt(40000)", "error 6"},
        {"CInt(Null)", "error 94"},
        {R"(CInt("x"))", "error 13"},
        {"CLng(2.5)", "Long:2"},
        {"CLng(3.5)", "Long:4"},
        {"CLng(-2.5)", "Long:-2"},
        {"CLng(2147483647.4)", "Long:2147483647"},
        {"CLng(-2147483648.5)", "Long:-2147483648"},
        {"CLng(2147483647.5)", "error 6"},
        {"CLng(Array(1))", "error 13"},
    });
}

// Hex and octal text converts by bit pattern at the width of the target type:
// "&HFFFF" is -1 as an Integer but 65535 as a Long or Double.
TEST(ConversionFunctionsInScripts, HexAndOctalTextKeepTheTargetWidth)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(CInt("&HFFFF"))", "Integer:-1"},
        {R"(CInt("&H8000"))", "Integer:-32768"},
        {R"(CInt("&O177777"))", "Integer:-1"},
        {R"(CInt("&H10000"))", "error 6"},
        {R"(CLng("&HFFFF"))", "Long:65535"},
        {R"(CLng("&H8000"))", "Long:32768"},
        {R"(CLng("&HFFFFFFFF"))", "Long:-1"},
        {R"(CLng("&H80000000"))", "Long:-2147483648"},
        {R"(CLng("&O37777777777"))", "Long:-1"},
        {R"(CLng(" &H10 "))", "Long:16"},
        {R"(CLng("&H100000000"))", "error 6"},
        {R"(CLng("&HFFFF&"))", "error 13"},
        {R"(CLng("&H"))", "error 13"},
        {R"(CDbl("&HFFFF"))", "Double:65535"},
        {R"(CDbl("&H10"))", "Double:16"},
        {R"(CDbl("&O17"))", "Double:15"},
        {R"(CCur("&HFFFF"))", "Currency:65535"},
        {R"(Int("&HFFFF"))", "Double:65535"},
        {R"(IsNumeric("&HFFFF"))", "Boolean:True"},
    });
}

TEST(ConversionFunctionsInScripts, CDblReadsNumberText)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(CDbl("1.5e3"))", "Double:1500"},
        {R"(CDbl("  -12 "))", "Double:-12"},
        {"CDbl(\"(5)\")", "Double:-5"},
        {R"(CDbl("5-"))", "Double:-5"},
        {R"(CDbl("5 -"))", "Double:-5"},
        {R"(CDbl("- 5"))", "Double:-5"},
        {R"(CDbl("+5"))", "Double:5"},
        {R"(CDbl("1,000.25"))", "Double:1000.25"},
        {R"(CDbl("$1,000"))", "Double:1000"},
        {R"(CDbl(".5"))", "Double:0.5"},
        {R"(CDbl("5."))", "Double:5"},
        {"CDbl(True)", "Double:-1"},
        {"CDbl(#1/1/2000#)", "Double:36526"},
        {R"(CDbl("1e400"))", "error 6"},
        {R"(CDbl("-1e400"))", "error 6"},
        {R"(CDbl(""))", "error 13"},
        {R"(CDbl("abc"))", "error 13"},
        {R"(CDbl("1 000"))", "error 13"},
        {R"(CDbl(",5"))", "error 13"},
        {"CDbl(Null)", "error 94"},
    });
}

TEST(ConversionFunctionsInScripts, CCurAndCSng)
{
    FunctionProbe p;
    expectAll(p, {
        {"CCur(1.23456)", "Currency:1.2346"},
        {"CCur(1.23455)", "Currency:1.2346"},
        {"CCur(1.23465)", "Currency:1.2347"},
        {R"(CCur("1,234.5"))", "Currency:1234.5"},
        {R"(CCur("$12.5"))", "Currency:12.5"},
        {"CCur(922337203685477)", "Currency:922337203685477"},
        {"CCur(-922337203685477)", "Currency:-922337203685477"},
        {"CCur(1E+20)", "error 6"},
        {"CSng(1.1)", "Single:1.1"},
        {"CSng(1/3)", "Single:0.3333333"},
        {R"(CSng("3.4E+38"))", "Single:3.4E+38"},
        {"CSng(3.5E+38)", "error 6"},
    });
}

TEST(ConversionFunctionsInScripts, CDate)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(CDate("2020-01-31"))", "Date:1/31/2020"},
        {R"(CDate("1/31/2020"))", "Date:1/31/2020"},
        {R"(CDate("31/1/2020"))", "Date:1/31/2020"},  // impossible month: day and month swap
        {R"(CDate("Jan 31, 2020"))", "Date:1/31/2020"},
        {R"(CDate("January 31 2020 3:04 PM"))", "Date:1/31/2020 3:04:00 PM"},
        {R"(CDate("15:30"))", "Date:3:30:00 PM"},
        {R"(CDate("3:30:15 pm"))", "Date:3:30:15 PM"},
        {"CDate(0)", "Date:12:00:00 AM"},
        {"CDate(1.5)", "Date:12/31/1899 12:00:00 PM"},
        {"CDate(-1.25)", "Date:12/29/1899 6:00:00 AM"},
        {R"(CDate("abc"))", "error 13"},
        {R"(CDate(""))", "error 13"},
        {R"(CDate("2020-02-30"))", "error 13"},
        {"CDate(3000000)", "error 6"},
        {"CDate(Null)", "error 94"},
    });
}

TEST(ConversionFunctionsInScripts, CStrShowsNumbersAndDates)
{
    FunctionProbe p;
    expectAll(p, {
        {"CStr(1/3)", "String:0.333333333333333"},
        {"CStr(1E+15)", "String:1E+15"},
        {"CStr(1E+16)", "String:1E+16"},
        {"CStr(123456789012345678)", "String:1.23456789012346E+17"},
        {"CStr(0.0001)", "String:0.0001"},
        {"CStr(0.00001)", "String:1E-05"},
        {"CStr(1.5E-07)", "String:1.5E-07"},
        {"CStr(-0.5)", "String:-0.5"},
        {"CStr(CSng(1/3))", "String:0.3333333"},
        {"CStr(CSng(1E+20))", "String:1E+20"},
        {"CStr(True)", "String:True"},
        {"CStr(CCur(1.5))", "String:1.5"},
        {"CStr(#1/2/2003#)", "String:1/2/2003"},
        {"CStr(#1/2/2003 13:04:05#)", "String:1/2/2003 1:04:05 PM"},
        {"CStr(#13:04:05#)", "String:1:04:05 PM"},
        {"CStr(#12/30/1899#)", "String:12:00:00 AM"},
        {"CStr(Empty)", "String:"},
        {"CStr(Null)", "error 94"},
    });
}

TEST(ConversionFunctionsInScripts, HexAndOct)
{
    FunctionProbe p;
    expectAll(p, {
        {"Hex(255)", "String:FF"},
        {"Hex(-1)", "String:FFFF"},            // an Integer prints 16 bits
        {"Hex(CInt(-32768))", "String:8000"},
        {"Hex(CLng(-32768))", "String:FFFF8000"},
        {"Hex(-32769)", "String:FFFF7FFF"},
        {"Hex(65535)", "String:FFFF"},
        {"Hex(2147483647)", "String:7FFFFFFF"},
        {"Hex(1.5)", "String:2"},
        {"Hex(2.5)", "String:2"},
        {R"(Hex("&HFFFF"))", "String:FFFF"},
        {R"(Hex("255"))", "String:FF"},
        {"Hex(CByte(255))", "String:FF"},
        {"Hex(Empty)", "String:0"},
        {"Hex(Null)", "Null"},
        {"Hex(4294967295)", "error 6"},
        {"Hex(-2147483649)", "error 6"},
        {"Oct(8)", "String:10"},
        {"Oct(-1)", "String:177777"},
        {"Oct(CLng(-1))", "String:37777777777"},
        {"Oct(Null)", "Null"},
        {"Oct(4294967295)", "error 6"},
    });
}

TEST(ConversionFunctionsInScripts, FixIntKeepTheSubtype)
{
    FunctionProbe p;
    expectAll(p, {
        {"Fix(2.7)", "Double:2"},
        {"Fix(-2.7)", "Double:-2"},
        {"Int(2.7)", "Double:2"},
        {"Int(-2.7)", "Double:-3"},
        {"Int(-2.5)", "Double:-3"},
        {"Int(CSng(2.7))", "Single:2"},
        {"Int(CCur(-2.7))", "Currency:-3"},
        {"Int(5)", "Integer:5"},
        {"Int(True)", "Integer:-1"},
        {"Int(Empty)", "Integer:0"},
        {R"(Int("2.7"))", "Double:2"},
        {"Int(Null)", "Null"},
        {"Fix(#1/1/2000 12:00#)", "Date:1/1/2000"},
        {R"(Int("x"))", "error 13"},
    });
}

TEST(ConversionFunctionsInScripts, RoundHalfToEven)
{
    FunctionProbe p;
    expectAll(p, {
        {"Round(2.5)", "Double:2"},
        {"Round(3.5)", "Double:4"},
        {"Round(-2.5)", "Double:-2"},
        {"Round(1.5, 0)", "Double:2"},
        {"Round(0.125, 2)", "Double:0.12"},
        {"Round(1234.5678, 2)", "Double:1234.57"},
        {"Round(2.675, 2)", "Double:2.68"},   // the digits as written, not the binary value
        {"Round(2.5, 400)", "Double:2.5"},
        {"Round(1E+300, 2)", "Double:1E+300"},
        {R"(Round("2.5"))", "Double:2"},
        {"Round(2)", "Integer:2"},
        {"Round(CSng(2.5))", "Single:2"},
        {"Round(CCur(2.5))", "Currency:2"},
        {"Round(CCur(1.23456), 2)", "Currency:1.23"},
        {"Round(Null)", "Null"},
        {"Round(2.5, -1)", "error 5"},
        {R"(Round("x"))", "error 13"},
    });
}

TEST(ConversionFunctionsInScripts, IsNumericAndIsDate)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(IsNumeric("12"))", "Boolean:True"},
        {R"(IsNumeric("  12  "))", "Boolean:True"},
        {R"(IsNumeric("1e5"))", "Boolean:True"},
        {R"(IsNumeric("1,2"))", "Boolean:True"},
        {R"(IsNumeric("$5"))", "Boolean:True"},
        {"IsNumeric(\"(5)\")", "Boolean:True"},
        {R"(IsNumeric("5-"))", "Boolean:True"},
        {"IsNumeric(Empty)", "Boolean:True"},
        {"IsNumeric(True)", "Boolean:True"},
        {R"(IsNumeric("abc"))", "Boolean:False"},
        {R"(IsNumeric(""))", "Boolean:False"},
        {"IsNumeric(Null)", "Boolean:False"},
        {"IsNumeric(#1/1/2000#)", "Boolean:False"},
        {"IsNumeric(Array(1))", "Boolean:False"},
        {"IsNumeric(Nothing)", "Boolean:False"},
        {R"(IsDate("1/1/2000"))", "Boolean:True"},
        {R"(IsDate("2000-01-01"))", "Boolean:True"},
        {R"(IsDate("12:30"))", "Boolean:True"},
        {"IsDate(#1/1/2000#)", "Boolean:True"},
        {R"(IsDate("abc"))", "Boolean:False"},
        {R"(IsDate("13/13/2000"))", "Boolean:False"},
        {R"(IsDate("Feb 29, 2001"))", "Boolean:False"},
        {"IsDate(36526)", "Boolean:False"},
        {"IsDate(Null)", "Boolean:False"},
    });
}

TEST(ConversionFunctionsInScripts, VarTypeTypeNameAndIsFunctions)
{
    FunctionProbe p;
    p.exec("Dim dyn()\nSet dict = CreateObject(\"Scripting.Dictionary\")");
    expectAll(p, {
        {"VarType(Empty)", "Integer:0"},
        {"VarType(Null)", "Integer:1"},
        {"VarType(1)", "Integer:2"},
        {"VarType(100000)", "Integer:3"},
        {"VarType(32768)", "Integer:3"},
        {"VarType(CSng(1))", "Integer:4"},
        {"VarType(1.5)", "Integer:5"},
        {"VarType(CCur(1))", "Integer:6"},
        {"VarType(Now)", "Integer:7"},
        {R"(VarType("a"))", "Integer:8"},
        {"VarType(Nothing)", "Integer:9"},
        {"VarType(True)", "Integer:11"},
        {"VarType(CByte(1))", "Integer:17"},
        {"VarType(Array(1))", "Integer:8204"},
        {"VarType(&HFFFF)", "Integer:2"},
        {"VarType(&HFFFF&)", "Integer:3"},  // with the trailing & a 32-bit value: a Long
        {"VarType(&H10000)", "Integer:3"},
        {"TypeName(Empty)", "String:Empty"},
        {"TypeName(Null)", "String:Null"},
        {"TypeName(1)", "String:Integer"},
        {"TypeName(32768)", "String:Long"},
        {"TypeName(2147483648)", "String:Double"},
        {"TypeName(1E+1)", "String:Double"},
        {"TypeName(CCur(1))", "String:Currency"},
        {"TypeName(CByte(1))", "String:Byte"},
        {"TypeName(Date)", "String:Date"},
        {"TypeName(Nothing)", "String:Nothing"},
        {"TypeName(Array())", "String:Variant()"},
        {"TypeName(dyn)", "String:Variant()"},
        {"TypeName(dict)", "String:Dictionary"},
        {"IsEmpty(Empty)", "Boolean:True"},
        {R"(IsEmpty(""))", "Boolean:False"},
        {"IsNull(Null)", "Boolean:True"},
        {"IsNull(Empty)", "Boolean:False"},
        {"IsObject(Nothing)", "Boolean:True"},
        {"IsObject(dict)", "Boolean:True"},
        {"IsObject(1)", "Boolean:False"},
        {"IsArray(Array())", "Boolean:True"},
        {"IsArray(dyn)", "Boolean:True"},
        {R"(IsArray("a"))", "Boolean:False"},
    });
}

// Answers of the Windows engine where the language reference is silent or differs.
TEST(ConversionFunctionsInScripts, WindowsEngineAnswers)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(CBool("#TRUE#"))", "Boolean:True"},
        {R"(CBool("#false#"))", "Boolean:False"},
        {R"(Not "#FALSE#")", "Boolean:True"},
        {"CByte(True)", "Byte:255"},
        {"CByte(False)", "Byte:0"},
        {R"(CDate("1"))", "Date:12/31/1899"},
        {R"(CDate("2.5"))", "Date:1/1/1900 12:00:00 PM"},
        {"Round(True)", "Boolean:True"},
        {"Round(False)", "Boolean:False"},
    });
    EXPECT_EQ(p.exec("If \"#TRUE#\" Then x = 1 Else x = 2"), "");
    EXPECT_EQ(p("x"), "Integer:1");
}

// A Null argument is reported before any other argument rule.
TEST(ConversionFunctionsInScripts, LibraryArgumentChecksAndTheirOrder)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(InStrRev(Null, "a"))", "error 94"},
        {R"(Mid("test", "a", Null))", "error 94"},
        {R"(Mid("test", 0, Null))", "error 94"},
        {R"(MonthName("a", Null))", "error 94"},
        {R"(Split("a-b", Null))", "error 94"},
        {R"(InStr(Null, "abc", "b"))", "error 94"},
        {R"(InStr("abc", Null))", "Null"},
        {R"(Mid(Null, 1))", "Null"},
        {R"(Split("a-b", "-", -1, 2))", "error 5"},
        {R"(Split("a-b", "-", -2))", "error 5"},
    });
    EXPECT_EQ(p.exec("x = Randomize(0)"), "error 13");
    for (const char* fn : {"CByte", "CCur", "CDate", "CDbl", "CInt", "CLng", "CSng", "CStr", "CBool"})
        EXPECT_EQ(p.exec(std::string("Call ") + fn + "(1)"), "error 458") << fn;
    EXPECT_EQ(p.exec("Class P\r\nPublic v\r\nEnd Class\r\nSet o = New P : o.v = 1 : x = o.v(0)"), "error 438");
    EXPECT_EQ(p.exec("Dim fixed(2)\r\nReDim fixed(\"abc\")"), "error 10");
}
