#include "ScriptTestSupport.h"

using namespace qm::vbs::rttest;

TEST(RegExpObject, TestExecuteAndSubMatches)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set re = New RegExp\nre.Pattern = \"(\\w+)@(\\w+)\\.com\"\nre.Global = True\n"
                     "Set ms = re.Execute(\"mail joe@site.com and ann@web.com\")"),
              "");
    EXPECT_EQ(r.eval("TypeName(re)"), "IRegExp2");
    EXPECT_EQ(r.eval("ms.Count"), "2");
    EXPECT_EQ(r.eval("CStr(ms(0))"), "joe@site.com");
    EXPECT_EQ(r.eval("ms(0).FirstIndex"), "5");
    EXPECT_EQ(r.eval("ms(1).Length"), "11");
    EXPECT_EQ(r.eval("ms(1).SubMatches(1)"), "web");
    EXPECT_EQ(r.eval("ms(1).SubMatches.Count"), "2");
    EXPECT_EQ(r.eval("re.Test(\"nobody\")"), "False");
    EXPECT_EQ(r.exec("s = \"\"\nFor Each m In ms\n For Each g In m.SubMatches\n  s = s & g & \";\"\n Next\nNext"), "");
    EXPECT_EQ(r.eval("s"), "joe;site;ann;web;");
    EXPECT_EQ(r.eval("ms(5)"), "error 5");
}

TEST(RegExpObject, GlobalOffFindsFirstOnly)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set re = New RegExp\nre.Pattern = \"a\""), "");
    EXPECT_EQ(r.eval("re.Execute(\"banana\").Count"), "1");
    EXPECT_EQ(r.eval("re.Replace(\"banana\", \"o\")"), "bonana");
    EXPECT_EQ(r.exec("re.Global = True"), "");
    EXPECT_EQ(r.eval("re.Replace(\"banana\", \"o\")"), "bonono");
    EXPECT_EQ(r.eval("re.Execute(\"banana\").Count"), "3");
}

TEST(RegExpObject, ReplaceTemplatesFlagsAndEmptyMatches)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set re = New RegExp\nre.Pattern = \"(\\d+)-(\\d+)\"\nre.Global = True"), "");
    EXPECT_EQ(r.eval("re.Replace(\"1-2, 30-40\", \"$2-$1\")"), "2-1, 40-30");
    EXPECT_EQ(r.eval("re.Replace(\"1-2\", \"[$&] $$\")"), "[1-2] $");
    EXPECT_EQ(r.exec("re.Pattern = \"^line\"\nre.Multiline = True\nre.IgnoreCase = True"), "");
    EXPECT_EQ(r.eval("re.Replace(\"Line 1\" & vbCrLf & \"line 2\", \"L\")"), "L 1\r\nL 2");
    EXPECT_EQ(r.exec("re.Pattern = \"x*\""), "");
    EXPECT_EQ(r.eval("re.Replace(\"abc\", \"-\")"), "-a-b-c-");
}

TEST(RegExpObject, BadPatternsRaiseWhenUsed)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set re = New RegExp\nre.Pattern = \"(abc\""), "");
    EXPECT_EQ(r.eval("re.Test(\"abc\")"), "error 5020");
    EXPECT_EQ(r.exec("re.Pattern = \"[b-a]\""), "");
    EXPECT_EQ(r.eval("re.Test(\"abc\")"), "error 5021");
    EXPECT_EQ(r.exec("re.Pattern = \"(a+)+$\""), "");
    EXPECT_EQ(r.eval("re.Test(String(40, \"a\") & \"b\")"), "error 5017");
}

TEST(RegExpObject, CreateObjectProgId)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set re = CreateObject(\"VBScript.RegExp\")\nre.Pattern = \"b+\""), "");
    EXPECT_EQ(r.eval("CStr(re.Execute(\"abbbc\")(0))"), "bbb");
}

TEST(RegExpObject, BooleanReplacementIsItsNumber)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Set re = New RegExp : re.Pattern = \"b\" : s = re.Replace(\"abc\", True)"), "");
    EXPECT_EQ(r.eval("s"), "a-1c");
}

TEST(RegExpObject, AScriptClassNamedRegExpDoesNotReplaceTheLibraryClass)
{
    ScriptRunner r;
    EXPECT_EQ(r.exec("Class RegExp\r\nPublic Pattern\r\nEnd Class\r\nSet re = New RegExp : re.Pattern = \"b\"\r\n"
                     "t = re.Test(\"abc\")"),
              "");
    EXPECT_EQ(r.eval("t"), "True");
    EXPECT_EQ(r.eval("TypeName(re)"), "IRegExp2");
}
