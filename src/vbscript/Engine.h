// The script engine as a host uses it: add objects and code, run procedures.
//
// All calls come from one thread. A script may call back into the host (a
// message box, a host object's method), and the host may call Run or Eval
// again from there; only Reset refuses to work while a run is active.
// Every failure is thrown as ScriptError with number, description, line and
// column.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/Builtins.h"
#include "vbscript/Dispatch.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"

namespace qm::vbs {

class Vm;

struct ProcedureInfo {
  std::u16string name;
  int numArgs = 0;
  bool hasReturnValue = false;
};

class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Message boxes, input boxes and CreateObject go to `host` (not owned;
  // nullptr = built-in defaults).
  void setHost(HostServices* host);

  // Discards all code, variables and added objects. Throws while a script runs.
  void reset();
  // Makes `object` known to scripts by `name`; with addMembers its members
  // are also callable without the name. Throws for invalid or duplicate names.
  void addObject(std::u16string_view name, Dispatch* object, bool addMembers);
  // Compiles the text (syntax errors are thrown here), defines its procedures
  // and classes, and runs its top-level statements. A text compiled before
  // is not parsed again.
  void addCode(std::u16string_view code);
  // Runs a procedure defined by added code; its return value for a Function.
  Value run(std::u16string_view procedure, std::span<const Value> args = {});
  // Evaluates an expression in the global scope.
  Value eval(std::u16string_view expression);
  // Time limit of a run in milliseconds; -1 for none. Default 10000.
  void setTimeout(int milliseconds);
  int timeout() const;
  // The bytes of live strings and arrays the scripts of this engine may hold
  // (default 512 MB); making more raises "Out of memory" (7).
  void setMemoryLimit(int64_t bytes);
  int64_t memoryLimit() const;
  // The procedures defined so far, in the order they were first defined.
  std::vector<ProcedureInfo> procedures() const;
  bool isRunning() const;

  // The Err object's current number and description (as a script sees them).
  int32_t errNumber() const;
  std::u16string errDescription() const;

 private:
  std::unique_ptr<Vm> vm_;
};

}  // namespace qm::vbs
