#include "FunctionProbe.h"
#include "SanitizedTimeLimit.h"

#include "vbscript/ScriptError.h"

namespace qm::vbs::fnprobe {

namespace {

// Written in the script language so results pass through the engine's own
// TypeName and CStr, as a script author would see them.
constexpr const char* kShow = R"vbs(
Function ProbeShow(v)
    Dim s, i
    If IsArray(v) Then
        s = "("
        For i = LBound(v) To UBound(v)
            If i > LBound(v) Then s = s & ","
            s = s & ProbeShow(v(i))
        Next
        ProbeShow = s & ")"
    ElseIf IsObject(v) Then
        ProbeShow = "Object"
    ElseIf IsNull(v) Then
        ProbeShow = "Null"
    ElseIf IsEmpty(v) Then
        ProbeShow = "Empty"
    Else
        ProbeShow = TypeName(v) & ":" & CStr(v)
    End If
End Function
)vbs";

} // namespace

FunctionProbe::FunctionProbe()
{
    rttest::allowSanitizerSlowdown(engine);
    engine.addCode(fromUtf8(kShow));
}

std::string FunctionProbe::operator()(const std::string& expression)
{
    try {
        return toUtf8(toString(engine.eval(fromUtf8("ProbeShow(" + expression + ")"))));
    } catch (const ScriptError& e) {
        return "error " + std::to_string(e.number);
    }
}

std::string FunctionProbe::exec(const std::string& code)
{
    try {
        engine.addCode(fromUtf8(code));
    } catch (const ScriptError& e) {
        return "error " + std::to_string(e.number);
    }
    return "";
}

void expectAll(FunctionProbe& probe, const Expectations& cases)
{
    for (const auto& [expression, expected] : cases)
        EXPECT_EQ(probe(expression), expected) << "for " << expression;
}

} // namespace qm::vbs::fnprobe
