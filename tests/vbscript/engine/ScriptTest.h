// Helpers for engine tests: run script text and read results back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vbscript/Engine.h"

namespace qm::vbs::test {

// A host that records message boxes instead of showing them.
class RecordingHost : public HostServices {
 public:
  int msgBox(const std::u16string& prompt, int, const std::u16string&) override {
    messages.push_back(toUtf8(prompt));
    return 1;
  }
  std::vector<std::string> messages;
};

// Runs `code`, then evaluates `expression`, returning the result as CStr gives it.
std::string evalAfter(const std::string& code, const std::string& expression);
// Evaluates one expression in a fresh engine.
std::string evalText(const std::string& expression);
// TypeName of an expression in a fresh engine.
std::string typeOf(const std::string& expression);
// The error number that running `code` raises (0 when none).
int errorOf(const std::string& code);
// The error that running `code` raises; fails the test when there is none.
ScriptError errorDetails(const std::string& code);

std::u16string u(const std::string& s);

}  // namespace qm::vbs::test
