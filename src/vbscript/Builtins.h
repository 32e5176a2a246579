// Built-in functions, constants and creatable classes.
//
// Contract between the engine core and the runtime library:
// - Every engine owns a BuiltinRegistry. When an engine is created it calls
//   registerRuntimeLibrary(registry) (defined in src/vbscript/runtime/), which
//   adds the library's functions (Len, Mid, CStr, DateAdd, MsgBox, Rnd,
//   Randomize...), its constants (vbCrLf, vbOKOnly...), the classes scripts can
//   make with `New` (RegExp) and the ProgIDs CreateObject can make without
//   host help (Scripting.Dictionary, Scripting.FileSystemObject).
//   The registry is filled once per process and shared by all engines.
// - A function receives its arguments in source order, already evaluated,
//   with default members of objects NOT resolved (a builtin that needs a
//   plain value calls ctx.resolveDefault()). Arguments left out in the middle
//   (Mid(s, , 2)) arrive as Value::missing(); trailing ones are not passed.
//   The engine checks minArgs/maxArgs before the call (error 450).
//   Arguments are values, never references: what a function does to args
//   stays inside it.
// - Errors are thrown as ScriptError; the engine adds line and column.
// - The statement `Randomize [seed]` calls the builtin named "Randomize".
// - The engine itself (not the library) provides Eval, Execute,
//   ExecuteGlobal, GetRef, the Err object and the statements; the library
//   must not register those names.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vbscript/Dispatch.h"
#include "vbscript/Value.h"

namespace qm::vbs {

// Services the embedding program provides. Every function has a default so a
// host overrides only what it offers.
class HostServices {
 public:
  virtual ~HostServices() = default;
  // MsgBox: returns the button pressed (vbOK = 1 ... vbNo = 7). Default: 1.
  virtual int msgBox(const std::u16string& prompt, int buttons, const std::u16string& title);
  // InputBox: the text entered, or nothing when cancelled. Default: the default text.
  virtual std::optional<std::u16string> inputBox(const std::u16string& prompt, const std::u16string& title,
                                                 const std::u16string& defaultText);
  // CreateObject: an object, or an Empty Value to let the engine try the
  // library's own ProgIDs. May throw to refuse (429).
  virtual Value createObject(const std::u16string& progId, const std::u16string& serverName);
  // GetObject: default raises 429.
  virtual Value getObject(const std::u16string& pathName, const std::u16string& progId);
  // The folder FileSystemObject is confined to (UTF-8 path); empty = no confinement.
  virtual std::string fileSystemRoot() const { return {}; }
  // Where WScript-style output or debugging text goes (unused by the engine itself).
  virtual void writeLine(const std::u16string& /*text*/) {}
};

// Rnd's generator state (the 24-bit linear congruential generator).
struct RandomState {
  uint32_t seed = 0x50000;
};

class BuiltinRegistry;

// Engine services a builtin may use during its call.
class BuiltinContext {
 public:
  virtual ~BuiltinContext() = default;
  virtual HostServices& host() = 0;
  virtual RandomState& random() = 0;
  virtual const BuiltinRegistry& registry() const = 0;
  // The locale id of the formatting rules (1033, US English).
  virtual int lcid() const { return 1033; }
  // Reads an object's default member (recursively) so the result is not an
  // object; non-objects are returned as they are. Nothing raises 91.
  virtual Value resolveDefault(const Value& v) = 0;
  // CreateObject routing: the host first, then the registry's ProgIDs, else 429.
  virtual Value createObject(const std::u16string& progId, const std::u16string& serverName) = 0;
  virtual Value getObject(const std::u16string& pathName, const std::u16string& progId) = 0;
  // Evaluates an expression / runs statements in the engine (global scope).
  virtual Value eval(std::u16string_view code) = 0;
  virtual void executeGlobal(std::u16string_view code) = 0;
};

using BuiltinFn = Value (*)(BuiltinContext& ctx, std::span<Value> args);
// Makes a new object (its reference count is 0 until a Value takes it).
using ObjectFactory = Dispatch* (*)(BuiltinContext& ctx);

struct Builtin {
  std::u16string name;
  uint8_t minArgs = 0;
  uint8_t maxArgs = 0;
  BuiltinFn fn = nullptr;
};

class BuiltinRegistry {
 public:
  // Later registrations of the same name replace earlier ones.
  void addFunction(std::u16string_view name, int minArgs, int maxArgs, BuiltinFn fn);
  void addConstant(std::u16string_view name, Value value);
  // A class scripts can create with `New Name`.
  void addClass(std::u16string_view name, ObjectFactory factory);
  // A ProgID CreateObject can make without the host ("Scripting.Dictionary").
  void addProgId(std::u16string_view progId, ObjectFactory factory);

  // Lookups ignore case; nullptr when absent.
  const Builtin* findFunction(std::u16string_view name) const;
  const Value* findConstant(std::u16string_view name) const;
  ObjectFactory findClass(std::u16string_view name) const;
  ObjectFactory findProgId(std::u16string_view progId) const;

  // Index-based access used by the compiler (stable once registered).
  int functionIndex(std::u16string_view name) const;  // -1 when absent
  const Builtin& function(int index) const { return functions_[static_cast<size_t>(index)]; }
  size_t functionCount() const { return functions_.size(); }

 private:
  std::vector<Builtin> functions_;
  std::unordered_map<std::u16string, int> functionIndex_;  // lower-case name -> index
  std::unordered_map<std::u16string, Value> constants_;    // lower-case name
  std::unordered_map<std::u16string, ObjectFactory> classes_;
  std::unordered_map<std::u16string, ObjectFactory> progIds_;
};

// Fills the registry with the runtime library. Defined in src/vbscript/runtime/.
void registerRuntimeLibrary(BuiltinRegistry& registry);

// The shared registry (filled on first use by registerRuntimeLibrary).
const BuiltinRegistry& defaultRegistry();

}  // namespace qm::vbs
