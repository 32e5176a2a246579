#pragma once
// A minimal engine stand-in for calling built-in functions directly.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "vbscript/Builtins.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"

namespace qm::vbs::rttest {

class RecordingHost : public HostServices {
public:
    int msgBox(const std::u16string& prompt, int buttons, const std::u16string& title) override
    {
        lastPrompt = prompt;
        lastButtons = buttons;
        lastTitle = title;
        return answer;
    }
    std::optional<std::u16string> inputBox(const std::u16string& prompt, const std::u16string& title,
                                           const std::u16string& defaultText) override
    {
        lastPrompt = prompt;
        lastTitle = title;
        lastDefault = defaultText;
        return inputAnswer;
    }
    std::string fileSystemRoot() const override { return root; }

    int answer = 1;
    std::optional<std::u16string> inputAnswer;
    std::u16string lastPrompt, lastTitle, lastDefault;
    int lastButtons = -1;
    std::string root;
};

class FakeContext : public BuiltinContext {
public:
    FakeContext();
    HostServices& host() override { return hostServices; }
    RandomState& random() override { return randomState; }
    const BuiltinRegistry& registry() const override { return registry_; }
    Value resolveDefault(const Value& v) override;
    Value createObject(const std::u16string& progId, const std::u16string& serverName) override;
    Value getObject(const std::u16string& pathName, const std::u16string& progId) override;
    Value eval(std::u16string_view) override { raise(err::InvalidCall); }
    void executeGlobal(std::u16string_view) override { raise(err::InvalidCall); }

    // Calls a built-in with VBScript's argument-count check.
    Value call(std::u16string_view name, std::vector<Value> args = {});
    // The error number a call raises, or 0.
    int errorOf(std::u16string_view name, std::vector<Value> args = {});
    // CStr of a call's result ("Null", "Empty" for those).
    std::string text(std::u16string_view name, std::vector<Value> args = {});

    RecordingHost hostServices;
    RandomState randomState;

private:
    BuiltinRegistry registry_;
};

// Shorthands for argument values.
inline Value S(const char16_t* s) { return Value(s); }
inline Value I(int16_t i) { return Value(i); }
inline Value L(int32_t i) { return Value(i); }
inline Value D(double d) { return Value(d); }
inline Value B(bool b) { return Value(b); }
Value Dt(int y, int m, int d, int h = 0, int mi = 0, int s = 0);
std::string narrow(const std::u16string& s);
std::string show(const Value& v);

// Member access on a library object.
Value get(const Value& object, std::u16string_view member, std::vector<Value> args = {});
Value callMethod(const Value& object, std::u16string_view member, std::vector<Value> args = {});
void let(const Value& object, std::u16string_view member, std::vector<Value> args);
int errorOfMethod(const Value& object, std::u16string_view member, std::vector<Value> args = {},
                  InvokeKind kind = InvokeKind::Method);

} // namespace qm::vbs::rttest
