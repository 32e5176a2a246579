#include "ScriptTestSupport.h"

#include "LibraryTestSupport.h"

namespace qm::vbs::rttest {

std::string ScriptRunner::exec(const std::string& code)
{
    try {
        engine.addCode(fromUtf8(code));
    } catch (const ScriptError& e) {
        return "error " + std::to_string(e.number);
    }
    return "";
}

std::string ScriptRunner::eval(const std::string& expression)
{
    try {
        return show(engine.eval(fromUtf8(expression)));
    } catch (const ScriptError& e) {
        return "error " + std::to_string(e.number);
    }
}

} // namespace qm::vbs::rttest
