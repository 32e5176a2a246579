#pragma once
// Evaluates built-in function calls through the whole engine (parser, compiler,
// VM, library) and shows each result as "Type:text", "Null", "Empty",
// "(a,b)" for arrays or "error N", so a test can state the exact answer.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "vbscript/Engine.h"

namespace qm::vbs::fnprobe {

class FunctionProbe {
public:
    FunctionProbe();
    // The shown result of one expression.
    std::string operator()(const std::string& expression);
    // Runs statements (errors are returned as "error N", else "").
    std::string exec(const std::string& code);

    Engine engine;
};

using Expectations = std::vector<std::pair<std::string, std::string>>;

// Checks every expression against its expected shown result.
void expectAll(FunctionProbe& probe, const Expectations& cases);

} // namespace qm::vbs::fnprobe
