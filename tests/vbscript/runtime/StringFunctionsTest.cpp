#include "LibraryTestSupport.h"

using namespace qm::vbs;
using namespace qm::vbs::rttest;

TEST(StringFunctions, LengthAndSlices)
{
    FakeContext c;
    EXPECT_EQ(c.text(u"Len", {S(u"hello")}), "5");
    EXPECT_EQ(c.call(u"Len", {S(u"x")}).type(), VarType::Long);
    EXPECT_EQ(c.text(u"Len", {I(123)}), "3");
    EXPECT_EQ(c.text(u"Len", {Dt(2020, 1, 1)}), "8");
    EXPECT_EQ(c.text(u"Len", {Value()}), "0");
    EXPECT_EQ(c.text(u"Len", {Value::null()}), "Null");
    EXPECT_EQ(c.text(u"Left", {S(u"hello"), I(2)}), "he");
    EXPECT_EQ(c.text(u"Left", {S(u"hello"), I(20)}), "hello");
    EXPECT_EQ(c.text(u"Right", {S(u"hello"), I(3)}), "llo");
    EXPECT_EQ(c.text(u"Left", {Value::null(), I(2)}), "Null");
    EXPECT_EQ(c.errorOf(u"Left", {S(u"abc"), I(-1)}), 5);
    EXPECT_EQ(c.errorOf(u"Left", {S(u"abc"), Value::null()}), 94);
    EXPECT_EQ(c.text(u"Mid", {S(u"hello"), I(2)}), "ello");
    EXPECT_EQ(c.text(u"Mid", {S(u"hello"), I(2), I(2)}), "el");
    EXPECT_EQ(c.text(u"Mid", {S(u"hello"), I(9)}), "");
    EXPECT_EQ(c.text(u"Mid", {S(u"hello"), I(2), Value::missing()}), "ello");
    EXPECT_EQ(c.errorOf(u"Mid", {S(u"hello"), I(0)}), 5);
    EXPECT_EQ(c.text(u"Mid", {Value::null(), I(1)}), "Null");
    EXPECT_EQ(c.errorOf(u"Mid", {S(u"a")}), 450);
    EXPECT_EQ(c.text(u"LenB", {S(u"abc")}), "6");
}

TEST(StringFunctions, Searching)
{
    FakeContext c;
    EXPECT_EQ(c.text(u"InStr", {S(u"abcabc"), S(u"c")}), "3");
    EXPECT_EQ(c.text(u"InStr", {I(4), S(u"abcabc"), S(u"c")}), "6");
    EXPECT_EQ(c.text(u"InStr", {S(u"abc"), S(u"")}), "1");
    EXPECT_EQ(c.text(u"InStr", {I(3), S(u"abc"), S(u"")}), "3");
    EXPECT_EQ(c.text(u"InStr", {I(9), S(u"abc"), S(u"a")}), "0");
    EXPECT_EQ(c.text(u"InStr", {I(1), S(u"ABC"), S(u"b"), I(1)}), "2");
    EXPECT_EQ(c.text(u"InStr", {I(1), S(u"ABC"), S(u"b"), I(0)}), "0");
    EXPECT_EQ(c.text(u"InStr", {Value::null(), S(u"a")}), "Null");
    EXPECT_EQ(c.errorOf(u"InStr", {I(0), S(u"a"), S(u"a")}), 5);
    EXPECT_EQ(c.errorOf(u"InStr", {S(u"abc"), S(u"b"), I(1)}), 13);
    EXPECT_EQ(c.text(u"InStrRev", {S(u"abcabc"), S(u"b")}), "5");
    EXPECT_EQ(c.text(u"InStrRev", {S(u"abcabc"), S(u"b"), I(4)}), "2");
    EXPECT_EQ(c.text(u"InStrRev", {S(u"abcabc"), S(u"B"), I(-1), I(1)}), "5");
    EXPECT_EQ(c.text(u"InStrRev", {S(u"abc"), S(u"")}), "3");
    EXPECT_EQ(c.text(u"InStrRev", {S(u"abc"), S(u"x")}), "0");
    EXPECT_EQ(c.text(u"StrComp", {S(u"a"), S(u"B")}), "1");
    EXPECT_EQ(c.text(u"StrComp", {S(u"a"), S(u"B"), I(1)}), "-1");
    EXPECT_EQ(c.text(u"StrComp", {S(u"abc"), S(u"ABC"), I(1)}), "0");
    EXPECT_EQ(c.text(u"StrComp", {Value::null(), S(u"x")}), "Null");
}

TEST(StringFunctions, ReplaceSplitJoinFilter)
{
    FakeContext c;
    EXPECT_EQ(c.text(u"Replace", {S(u"a-b-c"), S(u"-"), S(u"+")}), "a+b+c");
    EXPECT_EQ(c.text(u"Replace", {S(u"a-b-c"), S(u"-"), S(u"+"), I(3)}), "b+c");
    EXPECT_EQ(c.text(u"Replace", {S(u"a-b-c"), S(u"-"), S(u""), I(1), I(1)}), "ab-c");
    EXPECT_EQ(c.text(u"Replace", {S(u"Hello"), S(u"L"), S(u"_"), I(1), I(-1), I(1)}), "He__o");
    EXPECT_EQ(c.text(u"Replace", {S(u"abc"), S(u""), S(u"x")}), "abc");
    EXPECT_EQ(c.text(u"Replace", {S(u"abc"), S(u"b"), S(u"x"), I(5)}), "");
    EXPECT_EQ(c.errorOf(u"Replace", {Value::null(), S(u"a"), S(u"b")}), 94);
    EXPECT_EQ(c.text(u"Split", {S(u"a,b,,c"), S(u",")}), "(a,b,,c)");
    EXPECT_EQ(c.text(u"Split", {S(u"a b c")}), "(a,b,c)");
    Value limited = c.call(u"Split", {S(u"a,b,c"), S(u","), I(2)});
    ASSERT_EQ(limited.asArray().elements.size(), 2u);
    EXPECT_EQ(show(limited.asArray().elements[1]), "b,c");
    EXPECT_EQ(c.text(u"Split", {S(u"aXbxc"), S(u"x"), I(-1), I(1)}), "(a,b,c)");
    Value empty = c.call(u"Split", {S(u"")});
    EXPECT_EQ(c.text(u"UBound", {empty}), "-1");
    EXPECT_EQ(c.text(u"Join", {c.call(u"Array", {I(1), S(u"x"), Value::null()}), S(u"-")}), "1-x-");
    EXPECT_EQ(c.text(u"Join", {c.call(u"Array", {S(u"a"), S(u"b")})}), "a b");
    EXPECT_EQ(c.errorOf(u"Join", {S(u"abc")}), 13);
    Value list = c.call(u"Array", {S(u"apple"), S(u"Banana"), S(u"cherry")});
    EXPECT_EQ(c.text(u"Filter", {list, S(u"an")}), "(Banana)");
    EXPECT_EQ(c.text(u"Filter", {list, S(u"AN"), B(true), I(1)}), "(Banana)");
    EXPECT_EQ(c.text(u"Filter", {list, S(u"an"), B(false)}), "(apple,cherry)");
    EXPECT_EQ(c.text(u"UBound", {c.call(u"Filter", {list, S(u"zz")})}), "-1");
}

TEST(StringFunctions, CaseTrimAndBuilders)
{
    FakeContext c;
    EXPECT_EQ(c.text(u"UCase", {S(u"h\u00e9llo")}), "H\u00c9LLO");
    EXPECT_EQ(c.text(u"LCase", {S(u"ABC")}), "abc");
    EXPECT_EQ(c.text(u"UCase", {Value::null()}), "Null");
    EXPECT_EQ(c.text(u"Trim", {S(u"  a b \t ")}), "a b \t");
    EXPECT_EQ(c.text(u"LTrim", {S(u"  a ")}), "a ");
    EXPECT_EQ(c.text(u"RTrim", {S(u"  a ")}), "  a");
    EXPECT_EQ(c.text(u"Space", {I(3)}), "   ");
    EXPECT_EQ(c.errorOf(u"Space", {I(-1)}), 5);
    EXPECT_EQ(c.errorOf(u"Space", {Value::null()}), 94);
    EXPECT_EQ(c.text(u"String", {I(3), S(u"xyz")}), "xxx");
    EXPECT_EQ(c.text(u"String", {I(2), I(65)}), "AA");
    EXPECT_EQ(c.text(u"String", {I(2), I(321)}), "AA");
    EXPECT_EQ(c.text(u"String", {I(2), Value::null()}), "Null");
    EXPECT_EQ(c.errorOf(u"String", {I(2), S(u"")}), 5);
    EXPECT_EQ(c.text(u"StrReverse", {S(u"abc")}), "cba");
    EXPECT_EQ(c.errorOf(u"StrReverse", {Value::null()}), 94);
}

TEST(StringFunctions, CharacterCodes)
{
    FakeContext c;
    EXPECT_EQ(c.text(u"Asc", {S(u"A")}), "65");
    EXPECT_EQ(c.call(u"Asc", {S(u"A")}).type(), VarType::Integer);
    EXPECT_EQ(c.text(u"Asc", {S(u"\u20ac")}), "128");
    EXPECT_EQ(c.errorOf(u"Asc", {S(u"")}), 5);
    EXPECT_EQ(c.errorOf(u"Asc", {Value::null()}), 94);
    EXPECT_EQ(c.text(u"AscW", {S(u"\u20ac")}), "8364");
    EXPECT_EQ(c.text(u"AscW", {S(u"\uffff")}), "-1");
    EXPECT_EQ(c.text(u"Chr", {I(128)}), "\u20ac");
    EXPECT_EQ(c.text(u"Chr", {I(233)}), "\u00e9");
    EXPECT_EQ(c.errorOf(u"Chr", {I(256)}), 5);
    EXPECT_EQ(c.errorOf(u"Chr", {Value::null()}), 94);
    EXPECT_EQ(c.text(u"ChrW", {L(8364)}), "\u20ac");
    EXPECT_EQ(c.text(u"AscW", {c.call(u"ChrW", {I(-1)})}), "-1");
    EXPECT_EQ(c.errorOf(u"ChrW", {L(65536)}), 5);
    EXPECT_EQ(c.text(u"Escape", {S(u"a b\u20ac")}), "a%20b%u20AC");
    EXPECT_EQ(c.text(u"Unescape", {S(u"a%20b%u20AC")}), "a b\u20ac");
}
