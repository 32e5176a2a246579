// String functions called from scripts, with VBScript's exact answers,
// Null rules and error numbers.
#include "FunctionProbe.h"

using namespace qm::vbs::fnprobe;

TEST(StringFunctionsInScripts, LengthAndSlices)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(Len("hello"))", "Long:5"},
        {"Len(123)", "Long:3"},
        {"Len(-1.5)", "Long:4"},
        {"Len(True)", "Long:4"},
        {"Len(Empty)", "Long:0"},
        {"Len(Null)", "Null"},
        {R"(Left("hello", 2))", "String:he"},
        {R"(Left("hello", 0))", "String:"},
        {R"(Left("hello", 99))", "String:hello"},
        {R"(Left("hello", 2.5))", "String:he"},   // lengths round half to even
        {R"(Left("hello", 3.5))", "String:hell"},
        {R"(Left("hello", -1))", "error 5"},
        {"Left(Null, 2)", "Null"},
        {R"(Left("abc", Null))", "error 94"},
        {R"(Right("hello", 3))", "String:llo"},
        {R"(Right("hello", 9))", "String:hello"},
        {"Right(12345, 2)", "String:45"},
        {R"(Mid("hello", 2))", "String:ello"},
        {R"(Mid("hello", 2, 2))", "String:el"},
        {R"(Mid("hello", 6))", "String:"},
        {R"(Mid("hello", 0))", "error 5"},
        {R"(Mid("hello", 2, -1))", "error 5"},
        {"Mid(Null, 1, 1)", "Null"},
        {R"(Mid("hello", Null))", "error 94"},
        {R"(Mid("hello", 1, Null))", "error 94"},
        {R"(Mid("hello"))", "error 450"},
    });
}

TEST(StringFunctionsInScripts, InStrFollowsTheReturnTable)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(InStr("abcabc", "c"))", "Long:3"},
        {R"(InStr(4, "abcabc", "c"))", "Long:6"},
        {R"(InStr(9, "abc", "a"))", "Long:0"},
        // An empty search text is found at the start position...
        {R"(InStr("abc", ""))", "Long:1"},
        {R"(InStr(3, "abc", ""))", "Long:3"},
        // ...unless the start lies past the text, or the text itself is empty.
        {R"(InStr(4, "abc", ""))", "Long:0"},
        {R"(InStr(5, "abc", ""))", "Long:0"},
        {R"(InStr("", ""))", "Long:0"},
        {R"(InStr(1, "", ""))", "Long:0"},
        {R"(InStr("", "a"))", "Long:0"},
        {R"(InStr(Null, "a"))", "Null"},
        {R"(InStr("a", Null))", "Null"},
        {R"(InStr(1, Null, "b"))", "Null"},
        {R"(InStr(Null, "a", "b"))", "error 94"},
        {R"(InStr(0, "a", "a"))", "error 5"},
        {R"(InStr(2, "abc", "b", Null))", "error 94"},
        // With three arguments the first is the start: a text there does not convert.
        {R"(InStr("abc", "b", 1))", "error 13"},
    });
}

TEST(StringFunctionsInScripts, InStrCompareModes)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(InStr(1, "ABC", "b", 1))", "Long:2"},
        {R"(InStr(1, "ABC", "b", 0))", "Long:0"},
        {R"(InStr(1, "ABC", "b", vbTextCompare))", "Long:2"},
        {R"(InStr(1, "ABC", "b", vbBinaryCompare))", "Long:0"},
        {R"(InStr(1, "xÄBC", "äb", 1))", "Long:2"},
        {R"(InStr(1, "xÄBC", "äb", 0))", "Long:0"},
        {R"(InStr(1, "a", "a", 3))", "error 5"},
        {R"(InStr(1, "a", "a", -1))", "error 5"},
    });
}

TEST(StringFunctionsInScripts, InStrRev)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(InStrRev("abcabc", "b"))", "Long:5"},
        {R"(InStrRev("abcabc", "b", 4))", "Long:2"},
        {R"(InStrRev("abcabc", "b", 2))", "Long:2"},
        {R"(InStrRev("abcabc", "b", 1))", "Long:0"},
        {R"(InStrRev("abcabc", "bc", 5))", "Long:2"},
        {R"(InStrRev("abcabc", "B", -1, 1))", "Long:5"},
        {R"(InStrRev("abcabc", "B", -1, 0))", "Long:0"},
        {R"(InStrRev("abc", ""))", "Long:3"},
        {R"(InStrRev("abc", "", 2))", "Long:2"},
        {R"(InStrRev("abc", "x"))", "Long:0"},
        {R"(InStrRev("abc", "b", 10))", "Long:0"},
        {R"(InStrRev("", ""))", "Long:0"},
        {R"(InStrRev("", "a"))", "Long:0"},
        {R"(InStrRev(Null, "a"))", "error 94"},  // as the Windows engine answers
        {R"(InStrRev("abc", Null))", "error 94"},
        {R"(InStrRev("abc", "c", Null))", "error 94"},
        {R"(InStrRev("abc", "b", 0))", "error 5"},
        {R"(InStrRev("abc", "b", -2))", "error 5"},
    });
}

TEST(StringFunctionsInScripts, ReplaceWithStartCountAndCompare)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(Replace("a-b-c", "-", "+"))", "String:a+b+c"},
        // The result starts at `start`: the text before it is dropped.
        {R"(Replace("a-b-c", "-", "+", 3))", "String:b+c"},
        {R"(Replace("Hello", "l", "_", 4))", "String:_o"},
        {R"(Replace("a-b-c", "-", "", 1, 1))", "String:ab-c"},
        {R"(Replace("abc", "b", "x", 1, 0))", "String:abc"},
        {R"(Replace("Hello", "L", "_", 1, -1, 1))", "String:He__o"},
        {R"(Replace("Hello", "L", "_", 1, -1, 0))", "String:Hello"},
        {R"(Replace("aaaa", "aa", "b"))", "String:bb"},
        {R"(Replace("abc", "", "x"))", "String:abc"},
        {R"(Replace("abc", "b", "x", 4))", "String:"},
        {R"(Replace("abc", "b", "x", 5))", "String:"},
        {R"(Replace("", "a", "b"))", "String:"},
        {"Replace(12321, 2, 7)", "String:17371"},
        {R"(Replace("abc", "b", "x", 0))", "error 5"},
        {R"(Replace("abc", "b", "x", 1, -2))", "error 5"},
        {R"(Replace(Null, "a", "b"))", "error 94"},
        {R"(Replace("abc", Null, "b"))", "error 94"},
        {R"(Replace("abc", "b", Null))", "error 94"},
    });
}

TEST(StringFunctionsInScripts, SplitAndJoin)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(Split("a,b,,c", ","))", "(String:a,String:b,String:,String:c)"},
        {R"(Split("a b c"))", "(String:a,String:b,String:c)"},
        // The last element keeps the rest of the text.
        {R"(Split("a,b,c", ",", 2))", "(String:a,String:b,c)"},
        {R"(Split("a,b,c", ",", 1))", "(String:a,b,c)"},
        {R"(Split("aXbxc", "x", -1, 1))", "(String:a,String:b,String:c)"},
        {R"(Split("aXbxc", "x", -1, 0))", "(String:aXb,String:c)"},
        {R"(Split("abc", ""))", "(String:abc)"},
        {R"(Split(",", ","))", "(String:,String:)"},
        {R"(UBound(Split("")))", "Long:-1"},
        {R"(UBound(Split("", ",")))", "Long:-1"},
        {R"(Split("a,b,c", ",", -2))", "error 5"},
        {"Split(Null)", "error 94"},
        {R"(Split("a,b", Null))", "error 94"},
        {R"(Join(Array(1, "x", Null), "-"))", "String:1-x-"},
        {R"(Join(Array("a", "b")))", "String:a b"},
        {R"(Join(Array("a", "b"), ""))", "String:ab"},
        {"Join(Array())", "String:"},
        {R"(Join(Split("x|y|z", "|"), "+"))", "String:x+y+z"},
        {R"(Join("abc"))", "error 13"},
        {"Join(Null)", "error 13"},
        {R"(Join(Array("a", "b"), Null))", "error 94"},
    });
}

TEST(StringFunctionsInScripts, Filter)
{
    FunctionProbe p;
    p.exec(R"(fruit = Array("apple", "Banana", "cherry"))");
    expectAll(p, {
        {R"(Filter(fruit, "an"))", "(String:Banana)"},
        {R"(Filter(fruit, "AN", True, 1))", "(String:Banana)"},
        {R"(Filter(fruit, "AN", True, 0))", "()"},
        {R"(Filter(fruit, "an", False))", "(String:apple,String:cherry)"},
        {R"(UBound(Filter(fruit, "zz")))", "Long:-1"},
        {"Filter(Array(1, 12, 3), 1)", "(String:1,String:12)"},
        {R"(Filter(Array("abc", "ABC"), ""))", "(String:abc,String:ABC)"},
        {R"(Filter("abc", "a"))", "error 13"},
        {R"(Filter(Array("a"), Null))", "error 94"},
    });
}

TEST(StringFunctionsInScripts, StrCompStringSpaceReverse)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(StrComp("a", "B"))", "Integer:1"},
        {R"(StrComp("a", "B", 1))", "Integer:-1"},
        {R"(StrComp("abc", "ABC", vbTextCompare))", "Integer:0"},
        {R"(StrComp("abc", "abd"))", "Integer:-1"},
        {R"(StrComp("b", "a"))", "Integer:1"},
        {R"(StrComp("", ""))", "Integer:0"},
        {R"(StrComp(1, "1"))", "Integer:0"},
        {R"(StrComp(Null, "x"))", "Null"},
        {R"(StrComp("x", Null))", "Null"},
        {R"(StrComp("a", "b", 3))", "error 5"},
        {R"(StrComp("a", "B", Null))", "error 94"},
        {R"(String(3, "ab"))", "String:aaa"},
        {"String(3, 65)", "String:AAA"},
        {"String(2, 256 + 66)", "String:BB"},          // codes above 255 wrap
        {"AscW(String(1, 128))", "Integer:8364"},      // Windows-1252: the euro sign
        {R"(String(0, "a"))", "String:"},
        {R"(String(Null, "a"))", "Null"},
        {"String(2, Null)", "Null"},
        {R"(String(3, ""))", "error 5"},
        {R"(String(-1, "a"))", "error 5"},
        {"Space(3)", "String:   "},
        {"Len(Space(0))", "Long:0"},
        {"Space(-1)", "error 5"},
        {"Space(Null)", "error 94"},
        {R"(StrReverse("abc"))", "String:cba"},
        {R"(StrReverse(""))", "String:"},
        {"StrReverse(123)", "String:321"},
        {"StrReverse(Null)", "error 94"},
    });
}

TEST(StringFunctionsInScripts, TrimAndCase)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(Trim("  a b  "))", "String:a b"},
        {R"(LTrim("  a b  "))", "String:a b  "},
        {R"(RTrim("  a b  "))", "String:  a b"},
        // Only spaces are trimmed, never tabs or line breaks.
        {R"(Len(Trim(vbTab & "a" & vbCrLf)))", "Long:4"},
        {"Trim(12)", "String:12"},
        {"Trim(Null)", "Null"},
        {"LTrim(Null)", "Null"},
        {"RTrim(Null)", "Null"},
        {R"(UCase("abcäé"))", "String:ABCÄÉ"},
        {R"(LCase("ABCÄÉ"))", "String:abcäé"},
        {"UCase(12)", "String:12"},
        {"UCase(Null)", "Null"},
        {"LCase(Null)", "Null"},
    });
}

TEST(StringFunctionsInScripts, AscAndChrUseWindows1252)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(Asc("A"))", "Integer:65"},
        {R"(Asc("€"))", "Integer:128"},
        {R"(Asc("Ÿ"))", "Integer:159"},
        {R"(Asc("Ä"))", "Integer:196"},
        {"Asc(ChrW(937))", "Integer:63"},   // no Windows-1252 form: "?"
        {"Asc(65)", "Integer:54"},          // the first character of "65"
        {R"(Asc("Abc"))", "Integer:65"},
        {R"(Asc(""))", "error 5"},
        {"Asc(Null)", "error 94"},
        {"Chr(65)", "String:A"},
        {"AscW(Chr(128))", "Integer:8364"},
        {"AscW(Chr(159))", "Integer:376"},
        {"AscW(Chr(129))", "Integer:129"},  // unassigned codes pass through
        {"AscW(Chr(255))", "Integer:255"},
        {"Chr(65.5)", "String:B"},
        {"Chr(66.5)", "String:B"},
        {"Chr(256)", "error 5"},
        {"Chr(-1)", "error 5"},
        {"Chr(Null)", "error 94"},
        {R"(AscW("€"))", "Integer:8364"},
        {"AscW(ChrW(40000))", "Integer:-25536"},  // AscW answers an Integer
        {"AscW(ChrW(-32768))", "Integer:-32768"},
        {R"(AscW(""))", "error 5"},
        {"ChrW(65)", "String:A"},
        {"ChrW(65536)", "error 5"},
        {"ChrW(-32769)", "error 5"},
    });
}

TEST(StringFunctionsInScripts, EscapeAndUnescape)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(Escape("a b+c/é€"))", "String:a%20b+c/%E9%u20AC"},
        {R"(Unescape("%u20AC%41%zz"))", "String:€A%zz"},
        {R"(Unescape(Escape("x y&z")))", "String:x y&z"},
        {"Escape(Null)", "Null"},
        {"Unescape(Null)", "Null"},
    });
}

// Hostile scripts: no built-in makes a string longer than concatenation allows.
TEST(StringFunctionsInScripts, HugeResultsEndWithOutOfStringSpace)
{
    FunctionProbe p;
    expectAll(p, {
        {"Len(Space(1000000))", "Long:1000000"},
        {"Space(100000000)", "error 14"},
        {R"(String(100000000, "a"))", "error 14"},
        {"String(2147483647, 65)", "error 14"},
    });
    ASSERT_EQ(p.exec(R"(
Set re = New RegExp
re.Pattern = "."
re.Global = True
big = Space(1000000)
)"),
              "");
    EXPECT_EQ(p(R"(Len(re.Replace(big, "$&$&")))"), "Long:2000000");
    EXPECT_EQ(p(R"(re.Replace(big, String(100, "x")))"), "error 14");
    EXPECT_EQ(p(R"(Replace(big, " ", String(100, "x")))"), "error 14");
    EXPECT_EQ(p(R"(Len(Join(Split(Space(9), " "), big)))"), "Long:9000000");
    EXPECT_EQ(p(R"(Join(Split(Space(69), " "), big))"), "error 14");
}
