#pragma once
// Runs VBScript through the engine and shows results as text, for tests of the
// library as scripts see it.
#include <gtest/gtest.h>

#include <string>

#include "vbscript/Engine.h"
#include "SanitizedTimeLimit.h"

namespace qm::vbs::rttest {

class ScriptRunner {
public:
    explicit ScriptRunner(HostServices* host = nullptr)
    {
        allowSanitizerSlowdown(engine);
        if (host)
            engine.setHost(host);
    }
    // Adds code; returns "" or "error N".
    std::string exec(const std::string& code);
    // CStr of an expression ("Null", "Empty", "(a,b)" for arrays), or "error N".
    std::string eval(const std::string& expression);

    Engine engine;
};

} // namespace qm::vbs::rttest
