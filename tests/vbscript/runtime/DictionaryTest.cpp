#include "ScriptTestSupport.h"

using namespace qm::vbs::rttest;

namespace {
void fill(ScriptRunner& r)
{
    EXPECT_EQ(r.exec("Set d = CreateObject(\"Scripting.Dictionary\")\n"
                     "d.Add \"one\", 1\nd.Add 2, \"two\"\nd(\"three\") = 3\n"),
              "");
}
} // namespace

TEST(Dictionary, AddItemAndCount)
{
    ScriptRunner r;
    fill(r);
    EXPECT_EQ(r.eval("TypeName(d)"), "Dictionary");
    EXPECT_EQ(r.eval("d.Count"), "3");
    EXPECT_EQ(r.eval("d(\"one\")"), "1");
    EXPECT_EQ(r.eval("d.Item(2)"), "two");
    EXPECT_EQ(r.eval("d.Exists(\"ONE\")"), "False");
    EXPECT_EQ(r.eval("d.Exists(2)"), "True");
    EXPECT_EQ(r.eval("d.Exists(\"2\")"), "False");
    EXPECT_EQ(r.eval("d.Exists(2.0)"), "True");
    EXPECT_EQ(r.exec("d.Add \"one\", 5"), "error 457");
}

TEST(Dictionary, ReadingAMissingKeyAddsIt)
{
    ScriptRunner r;
    fill(r);
    EXPECT_EQ(r.eval("IsEmpty(d(\"nothing here\"))"), "True");
    EXPECT_EQ(r.eval("d.Count"), "4");
}

TEST(Dictionary, KeysItemsAndOrder)
{
    ScriptRunner r;
    fill(r);
    EXPECT_EQ(r.eval("Join(d.Keys, \",\")"), "one,2,three");
    EXPECT_EQ(r.eval("Join(d.Items, \",\")"), "1,two,3");
    EXPECT_EQ(r.exec("d.Remove 2"), "");
    EXPECT_EQ(r.eval("Join(d.Keys, \",\")"), "one,three");
    EXPECT_EQ(r.exec("d.Remove \"missing\""), "error 32811");
    EXPECT_EQ(r.exec("d.Key(\"one\") = \"uno\""), "");
    EXPECT_EQ(r.eval("Join(d.Keys, \",\") & \"|\" & d(\"uno\")"), "uno,three|1");
    EXPECT_EQ(r.exec("d.Key(\"uno\") = \"three\""), "error 457");
    EXPECT_EQ(r.exec("d.Key(\"zzz\") = \"q\""), "error 32811");
    EXPECT_EQ(r.exec("d.RemoveAll"), "");
    EXPECT_EQ(r.eval("d.Count"), "0");
    EXPECT_EQ(r.eval("UBound(d.Keys)"), "-1");
}

TEST(Dictionary, ForEachWalksKeys)
{
    ScriptRunner r;
    fill(r);
    EXPECT_EQ(r.exec("s = \"\"\nFor Each k In d\n s = s & k & \"=\" & d(k) & \";\"\nNext"), "");
    EXPECT_EQ(r.eval("s"), "one=1;2=two;three=3;");
}

TEST(Dictionary, CompareModeText)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set d = CreateObject(\"Scripting.Dictionary\")\nd.CompareMode = vbTextCompare\nd.Add \"Key\", 1"), "");
    EXPECT_EQ(r.eval("d.Exists(\"KEY\")"), "True");
    EXPECT_EQ(r.exec("d.Add \"kEY\", 2"), "error 457");
    EXPECT_EQ(r.exec("d.CompareMode = 0"), "error 5");
    EXPECT_EQ(r.eval("d.CompareMode"), "1");
}

TEST(Dictionary, ObjectsAsItemsAndKeys)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set d = CreateObject(\"Scripting.Dictionary\")\nSet inner = CreateObject(\"Scripting.Dictionary\")\n"
                     "Set d(\"x\") = inner\ninner.Add \"k\", 42\nd.Add inner, \"by object\""),
              "");
    EXPECT_EQ(r.eval("d(\"x\")(\"k\")"), "42");
    EXPECT_EQ(r.eval("d(inner)"), "by object");
    EXPECT_EQ(r.eval("IsObject(d(\"x\"))"), "True");
}

TEST(Dictionary, ManyRemovalsKeepOrder)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set d = CreateObject(\"Scripting.Dictionary\")\nFor i = 1 To 200: d.Add i, i * 2: Next\n"
                     "For i = 1 To 200 Step 2: d.Remove i: Next"),
              "");
    EXPECT_EQ(r.eval("d.Count"), "100");
    EXPECT_EQ(r.eval("d.Keys()(0) & \",\" & d.Keys()(99) & \",\" & d(200)"), "2,200,400");
}
