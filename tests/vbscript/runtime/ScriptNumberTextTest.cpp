// Number text read by the conversion functions and by arithmetic must agree:
// both follow the same rules (hex and octal text is an unsigned bit pattern
// at the width of the target, parentheses and trailing signs are negative,
// a number too large for a Double overflows).
#include "FunctionProbe.h"

using namespace qm::vbs::fnprobe;

TEST(NumberTextInScripts, ConversionFunctionsReadHexTextAtTheirOwnWidth)
{
    FunctionProbe p;
    expectAll(p, {
        {R"(CInt("&HFFFF"))", "Integer:-1"},
        {R"(CLng("&HFFFF"))", "Long:65535"},
        {R"(CDbl("&HFFFF"))", "Double:65535"},
        {R"(CDbl("&H8000"))", "Double:32768"},
        {R"(CLng("&HFFFFFFFF"))", "Long:-1"},
        {"CDbl(\"(5)\")", "Double:-5"},
        {R"(CDbl("5-"))", "Double:-5"},
        {R"(CDbl("1e400"))", "error 6"},
    });
}

// Arithmetic converts number text to a Double, exactly as CDbl does.
TEST(NumberTextInScripts, ArithmeticReadsNumberTextAsCDblDoes)
{
    FunctionProbe p;
    expectAll(p, {
        {R"("&HFFFF" + 0)", "Double:65535"},
        {R"("&H8000" * 1)", "Double:32768"},
        {R"(-"&HFFFF")", "Double:-65535"},
        {R"("&HFFFF" \ 1)", "Long:65535"},
        {"\"(5)\" + 0", "Double:-5"},
        {R"("5-" + 0)", "Double:-5"},
        {R"("1e400" + 0)", "error 6"},
        {R"("$5" + 0)", "Double:5"},
        {R"("1,000" + 0)", "Double:1000"},
    });
}
