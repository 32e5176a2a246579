// Math functions and the random-number generator called from scripts.
#include "FunctionProbe.h"

using namespace qm::vbs::fnprobe;

TEST(MathFunctionsInScripts, AbsAndSgnKeepOrWidenTheSubtype)
{
    FunctionProbe p;
    expectAll(p, {
        {"Abs(-5)", "Integer:5"},
        {"Abs(-32768)", "Long:32768"},
        {"Abs(CInt(-32768))", "Long:32768"},
        {"Abs(-2.5)", "Double:2.5"},
        {R"(Abs("-3"))", "Double:3"},
        {"Abs(True)", "Integer:1"},
        {"Abs(CCur(-1.5))", "Currency:1.5"},
        {"Abs(#1/1/1899#)", "Date:12/28/1900"},
        {"Abs(Empty)", "Integer:0"},
        {"Abs(Null)", "Null"},
        {R"(Abs("x"))", "error 13"},
        {"Sgn(-3)", "Integer:-1"},
        {"Sgn(0)", "Integer:0"},
        {"Sgn(2.5)", "Integer:1"},
        {R"(Sgn("-4"))", "Integer:-1"},
        {"Sgn(Empty)", "Integer:0"},
        {"Sgn(Null)", "error 94"},
    });
}

TEST(MathFunctionsInScripts, TranscendentalFunctions)
{
    FunctionProbe p;
    expectAll(p, {
        {"Atn(1) * 4", "Double:3.14159265358979"},
        {"Cos(0)", "Double:1"},
        {"Sin(0)", "Double:0"},
        {"Tan(0)", "Double:0"},
        {"Exp(0)", "Double:1"},
        {"Exp(1)", "Double:2.71828182845905"},
        {"Exp(-1000)", "Double:0"},
        {"Exp(710)", "error 6"},
        {"Log(1)", "Double:0"},
        {"Log(Exp(2))", "Double:2"},
        {"Log(0)", "error 5"},
        {"Log(-1)", "error 5"},
        {"Sqr(16)", "Double:4"},
        {"Sqr(2)", "Double:1.4142135623731"},
        {"Sqr(0)", "Double:0"},
        {"Sqr(-1)", "error 5"},
        {"Sqr(Null)", "error 94"},
        {"Log(Null)", "error 94"},
        {"Atn(Null)", "error 94"},
        {R"(Cos("x"))", "error 13"},
        {R"(Sqr("16"))", "Double:4"},
    });
}

// Rnd and Randomize reproduce VB's generator exactly: games that seed it get
// the same "random" sequence they were tested with.
TEST(MathFunctionsInScripts, RndSequencesAfterReseeding)
{
    FunctionProbe p;
    p.exec(R"(
Function Draw(n)
    Dim i, s
    For i = 1 To n
        s = s & " " & Rnd
    Next
    Draw = Mid(s, 2)
End Function
)");
    expectAll(p, {
        {"Rnd(-1)", "Single:0.224007"},
        {"Draw(5)", "String:0.03584582 0.08635235 0.1642639 0.1797358 0.5732005"},
    });
    p.exec("x = Rnd(-1)\nRandomize 10");
    EXPECT_EQ(p("Draw(5)"), "String:0.1436949 0.200305 0.509906 0.08030951 0.05897933");
    p.exec("x = Rnd(-1)\nRandomize 1.5");
    EXPECT_EQ(p("Draw(3)"), "String:0.4582091 0.3192625 0.9655334");
    p.exec("x = Rnd(-1)\nRandomize -3");
    EXPECT_EQ(p("Draw(3)"), "String:0.2074767 0.3214598 0.2089416");
    p.exec("x = Rnd(-5.5)");
    EXPECT_EQ(p("Draw(2)"), "String:0.8499333 0.1729596");
    // Rnd(0) repeats the last number; a positive argument draws the next one.
    EXPECT_EQ(p("Rnd(0)"), "Single:0.1729596");
    EXPECT_EQ(p("Rnd(0)"), "Single:0.1729596");
    EXPECT_EQ(p("Rnd(1)"), "Single:0.8803332");
    EXPECT_EQ(p("TypeName(Rnd)"), "String:Single");
}

TEST(MathFunctionsInScripts, RandomizeWithoutSeedStillGivesNumbersInRange)
{
    FunctionProbe p;
    p.exec(R"(
Randomize
ok = True
For i = 1 To 1000
    r = Rnd
    If r < 0 Or r >= 1 Then ok = False
Next
)");
    EXPECT_EQ(p("ok"), "Boolean:True");
}
