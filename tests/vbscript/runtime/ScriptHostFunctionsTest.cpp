// MsgBox, InputBox, CreateObject, engine identity and the vb constants, called
// from scripts with a host that records the dialogs.
#include "FunctionProbe.h"
#include "LibraryTestSupport.h"

using namespace qm::vbs::fnprobe;
using qm::vbs::rttest::RecordingHost;
using qm::vbs::rttest::narrow;

TEST(HostFunctionsInScripts, MsgBoxPassesPromptButtonsAndTitleAndReturnsTheAnswer)
{
    RecordingHost host;
    FunctionProbe p;
    p.engine.setHost(&host);
    host.answer = 6; // vbYes
    EXPECT_EQ(p(R"(MsgBox("Save the game?", vbYesNo + vbQuestion + vbDefaultButton2, "Quest"))"), "Integer:6");
    EXPECT_EQ(narrow(host.lastPrompt), "Save the game?");
    EXPECT_EQ(host.lastButtons, 4 + 32 + 256);
    EXPECT_EQ(narrow(host.lastTitle), "Quest");
    EXPECT_EQ(p("MsgBox(42) = vbYes"), "Boolean:True");
    EXPECT_EQ(narrow(host.lastPrompt), "42");
    EXPECT_EQ(host.lastButtons, 0);
    EXPECT_EQ(narrow(host.lastTitle), "VBScript");
    EXPECT_EQ(p("MsgBox(\"x\", 6)"), "error 5");        // no such button set
    EXPECT_EQ(p("MsgBox(\"x\", 128)"), "error 5");      // no such icon
    EXPECT_EQ(p("MsgBox(Null)"), "error 94");
    EXPECT_EQ(p("MsgBox(\"x\", vbOKOnly + vbMsgBoxSetForeground)"), "Integer:6");
}

TEST(HostFunctionsInScripts, InputBoxAnswerOrEmptyOnCancel)
{
    RecordingHost host;
    FunctionProbe p;
    p.engine.setHost(&host);
    host.inputAnswer = u"Arthur";
    EXPECT_EQ(p(R"(InputBox("Your name?", "Quest", "Nobody"))"), "String:Arthur");
    EXPECT_EQ(narrow(host.lastPrompt), "Your name?");
    EXPECT_EQ(narrow(host.lastTitle), "Quest");
    EXPECT_EQ(narrow(host.lastDefault), "Nobody");
    host.inputAnswer.reset();
    EXPECT_EQ(p(R"(InputBox("Your name?"))"), "Empty");
    EXPECT_EQ(p(R"(InputBox("Your name?") = "")"), "Boolean:True");
    EXPECT_EQ(p(R"(InputBox("x", , , "left"))"), "error 13");
}

TEST(HostFunctionsInScripts, ObjectsAndEngineIdentity)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(TypeName(CreateObject("Scripting.Dictionary")))", "String:Dictionary"},
        {R"(TypeName(CreateObject("scripting.filesystemobject")))", "String:FileSystemObject"},
        {R"(CreateObject("No.Such.Thing"))", "error 429"},
        {"ScriptEngine", "String:VBScript"},
        {"ScriptEngineMajorVersion", "Long:5"},
        {"ScriptEngineMinorVersion", "Long:8"},
        {"GetLocale", "Long:1033"},
        {"RGB(1, 2, 3)", "Long:197121"},
        {"RGB(300, 0, 0)", "Long:255"},
        {"RGB(-1, 0, 0)", "error 5"},
        {R"(Eval("1 + 2"))", "Integer:3"},
    });
}

TEST(HostFunctionsInScripts, ConstantsHaveVBScriptsValuesAndTypes)
{
    FunctionProbe p;
    expectAll(p, {
        {"vbYes", "Integer:6"},
        {"vbCancel", "Integer:2"},
        {"vbYesNoCancel", "Integer:3"},
        {"vbExclamation", "Integer:48"},
        {"vbSystemModal", "Integer:4096"},
        {"vbTrue", "Integer:-1"},
        {"vbUseDefault", "Integer:-2"},
        {"vbArray", "Integer:8192"},
        {"vbFirstFourDays", "Integer:2"},
        {"vbRed", "Long:255"},
        {"vbBlack", "Long:0"},
        {"vbWhite", "Long:16777215"},
        {"vbMsgBoxHelpButton", "Long:16384"},
        {"vbMsgBoxSetForeground", "Long:65536"},
        {"vbObjectError", "Long:-2147221504"},
        {"Len(vbCrLf) & Asc(vbCr) & Asc(vbLf) & Asc(vbTab)", "String:213109"},
        {"Len(vbNullChar)", "Long:1"},
        {"vbNullString", "String:"},
    });
}
