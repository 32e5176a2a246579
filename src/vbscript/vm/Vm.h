// The virtual machine: global tables, call frames and the instruction loop.
// Internal to the engine; embedders use Engine.h.
//
// Its code is split by job:
//   VmLink.cpp       the global table, linking modules, the engine surface (AddCode, Run, Reset)
//   VmCalls.cpp      runs and calls: the time limit, frames and errors, procedures, members, built-ins
//   VmAccess.cpp     variables, globals, array elements and default members
//   VmLoop.cpp       the instruction loop
//   VmIntrinsics.cpp Eval, Execute, ExecuteGlobal, GetRef and the host as built-ins see it
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "vbscript/Builtins.h"
#include "vbscript/Dispatch.h"
#include "vbscript/ScriptError.h"
#include "vbscript/TimeLimit.h"
#include "vbscript/Value.h"
#include "vbscript/compiler/Bytecode.h"

namespace qm::vbs {

class Vm;
class ScriptObject;
class ErrObject;
struct LinkedModule;

struct GlobalEntry {
  enum Kind : uint8_t { Unresolved, Variable, Const, Procedure, Class, Object, HostMember };
  std::u16string name;
  Kind kind = Unresolved;
  Value value;  // Variable, Const, Object
  const FunctionCode* fn = nullptr;
  const ClassCode* cls = nullptr;
  LinkedModule* link = nullptr;  // module of fn / cls
  Dispatch* host = nullptr;      // HostMember
  DispId dispId = DispIdUnknown;
  uint32_t triedGeneration = 0;
};

// A compiled module as one engine sees it: its global indices mapped to the
// engine's entries.
struct LinkedModule {
  std::shared_ptr<const Module> module;
  std::vector<GlobalEntry*> globals;
  Vm* vm = nullptr;
  bool alive = true;
  bool optionExplicit = false;
};

struct Frame {
  const FunctionCode* fn = nullptr;
  LinkedModule* link = nullptr;
  Value* base = nullptr;
  ScriptObject* me = nullptr;
  int32_t pc = 0;
  bool resumeNext = false;
  // Execute declared some of this procedure's implicit locals (Vm::executeDeclared_).
  bool executeDeclared = false;
};

// Shared flag an object checks before calling back into a VM that may be gone.
struct VmAlive {
  Vm* vm = nullptr;
};

class Vm : public BuiltinContext {
 public:
  Vm();
  ~Vm() override;

  // ---- the engine surface ----
  void setHost(HostServices* host) { host_ = host; }
  void reset();
  void addObject(std::u16string_view name, Dispatch* object, bool addMembers);
  void addCode(std::u16string_view code);
  Value run(std::u16string_view procedure, std::span<const Value> args);
  Value evalText(std::u16string_view expression);
  void setTimeout(int ms) { timeoutMs_ = ms; }
  void setMemoryLimit(int64_t bytes) { memory_->limit = bytes; }
  int64_t memoryLimit() const { return memory_->limit; }
  int64_t memoryInUse() const { return memory_->live; }
  int timeout() const { return timeoutMs_; }
  bool running() const { return runDepth_ > 0; }
  std::vector<const GlobalEntry*> procedureEntries() const;
  ErrObject& errObject() { return *err_; }
  // Raises the time-out error when the run is past its limit.
  void checkTime() { checkBudget(); }

  // ---- BuiltinContext ----
  // The host as builtins see it: the time a user spends answering a box does
  // not count towards the time-out (PauseTimeLimit).
  HostServices& host() override { return hostProxy_; }
  RandomState& random() override { return random_; }
  const BuiltinRegistry& registry() const override { return registry_; }
  Value resolveDefault(const Value& v) override;
  Value createObject(const std::u16string& progId, const std::u16string& serverName) override;
  Value getObject(const std::u16string& pathName, const std::u16string& progId) override;
  Value eval(std::u16string_view code) override { return evalText(code); }
  void executeGlobal(std::u16string_view code) override;

  // ---- used by script objects and procedure references ----
  // Calls a script function from outside the instruction loop (host calls,
  // Class_Terminate, GetRef objects). Arguments may be changed (ByRef).
  Value callExternal(const FunctionCode* fn, LinkedModule* link, ScriptObject* me, std::span<Value> args);
  // Creates an instance of a script class and runs Class_Initialize.
  Value newScriptObject(const ClassCode* cls, LinkedModule* link);
  const std::shared_ptr<VmAlive>& aliveToken() const { return alive_; }
  // Runs an object's member from the host side (Dispatch::invoke of script objects).
  Value invokeScriptMember(ScriptObject* obj, int member, InvokeKind kind, std::span<Value> args);

 private:
  friend class ScriptObject;
  // The one way to leave time out of a run's limit (boxes, windows, waits).
  friend class PauseTimeLimit;
  void excludeTime(std::chrono::steady_clock::duration d) { runStart_ += d; }

  // ---- the global table and linking (VmLink.cpp) ----
  GlobalEntry* entryFor(std::u16string_view name);
  void tryResolve(GlobalEntry& e);
  std::shared_ptr<LinkedModule> link(std::shared_ptr<const Module> module);
  // The shared owner of a linked module (nullptr once it is gone).
  std::shared_ptr<LinkedModule> owner(const LinkedModule* lm) const;
  void runTopLevel(LinkedModule* lm);
  void dropLink(LinkedModule* lm);

  // ---- runs and frames (VmCalls.cpp; the loop in VmLoop.cpp) ----
  struct RunScope;
  Value execute(const FunctionCode* fn, LinkedModule* link, ScriptObject* me, Value* args, int argc);
  void loop(Frame& f);
  void handleError(Frame& f, ScriptError& e);
  [[noreturn]] void timeoutExpired();
  void checkBudget();

  // ---- the value stack ----
  [[gnu::always_inline]] void push(Value v) {
    if (sp_ >= stackLimit_) raise(err::OutOfStackSpace);
    *sp_++ = std::move(v);
  }
  [[gnu::always_inline]] Value pop() { return std::move(*--sp_); }
  void popTo(Value* newSp) {
    while (sp_ > newSp) (--sp_)->clear();  // clear() releases after the slot is empty
  }
  void unpinAbove(Value* mark);
  // Ends a call or index: drops everything from `base` up (arguments, target)
  // and pushes the result.
  [[gnu::always_inline]] void replaceWithResult(Value* base, Value r) {
    unpinAbove(base);
    popTo(base);
    push(std::move(r));
  }

  // ---- variables and elements (VmAccess.cpp) ----
  [[noreturn]] void undefinedVariable(const GlobalEntry& e);
  // Stores v into a variable or element: Let gives an object's default value,
  // Set wants an object, Plain stores the value as it is.
  void assign(Value& target, Value v, StoreMode mode);
  // Let on an object itself (a name the host added): assigns its default property.
  void letDefault(const Value& object, Value v);
  // Whether resolving the object's default member can succeed (script classes without one cannot).
  bool hasDefault(const Value& v);
  // An object's default member: a script class's Default member (438 when it
  // has none), DispIdValue of any other object.
  Value invokeDefault(Dispatch* d, InvokeKind kind, Value* args, int argc) {
    return invokeDispatch(d, DispIdValue, kind, args, argc);
  }
  // A call statement on a value: the default member of an object; error 13 for anything else.
  Value callValue(const Value& target, Value* args, int argc);
  // A name met first inside a procedure without a declaration ("Dyn" in
  // Bytecode.h) is the global of that name when one exists by the time it
  // runs, else the procedure's implicit local. Returns that local, or nullptr
  // when the global `e` is meant.
  Value* resolveDyn(Frame& f, int slot, GlobalEntry& e, LinkedModule* lm);
  Value loadGlobal(GlobalEntry& e, LinkedModule* lm);
  void storeGlobal(GlobalEntry& e, LinkedModule* lm, Value v, StoreMode mode);
  // A reference to a global variable; the value of any other global.
  Value refGlobal(GlobalEntry& e, LinkedModule* lm);
  Value* globalVariable(GlobalEntry& e, LinkedModule* lm, bool forWrite);
  Value callGlobal(GlobalEntry& e, LinkedModule* lm, Value* args, int argc, bool statement);
  // The subscripts of an array element as whole numbers (objects by their
  // default value): error 9 beyond the most dimensions an array has.
  static constexpr int kMaxSubscripts = 64;
  void toSubscripts(const Value* args, int argc, int32_t (&subs)[kMaxSubscripts]);
  Value indexValue(const Value& target, Value* args, int argc);
  void storeIndexed(Value& target, Value* args, int argc, Value v, StoreMode mode);
  void storeIndexedGlobal(GlobalEntry& e, LinkedModule* lm, Value* args, int argc, Value v, StoreMode mode);
  Value refIndexed(Value& target, Value* args, int argc);
  Value refIndexedGlobal(GlobalEntry& e, LinkedModule* lm, Value* args, int argc);

  // ---- calls (VmCalls.cpp) ----
  Value callBuiltin(int index, Value* args, int argc);
  Value invokeMember(const Value& object, const FunctionCode* site, int nameIndex, int cacheIndex, InvokeKind kind,
                     Value* args, int argc, Frame& f);
  Value invokeDispatch(Dispatch* d, DispId id, InvokeKind kind, Value* args, int argc);
  Value callScriptMember(ScriptObject* obj, int member, InvokeKind kind, Value* args, int argc, bool inside);
  // `declared`: the name is a variable the code declares (New of it raises 506).
  Value newObject(GlobalEntry& e, LinkedModule* lm, bool declared);

  // ---- intrinsics (VmIntrinsics.cpp) ----
  Value callIntrinsic(Intrinsic which, Value* args, int argc, Frame& f);
  Value runInScope(std::u16string_view text, bool expression, Frame& f);

  // ---- the loop's helpers (VmAccess.cpp) ----
  Value makeArray(Value* bounds, int dims);
  void redim(Value& target, Value* bounds, int dims, bool preserve);
  void forEachPrep(Frame& f, int h, Value collection);
  bool forEachNext(Frame& f, int h);
  void appendTo(Value& target, Value rhs);
  // A built-in or method that made a large string or array did much work in
  // one instruction: look at the clock now.
  [[gnu::always_inline]] void countWork(const Value& r) {
    if ((r.isString() && r.asString().size() >= kLargeWork) ||
        (r.isArray() && r.asArray().elements.size() >= kLargeWork / 8))
      checkBudget();
  }
  static constexpr size_t kLargeWork = 1 << 16;

  [[gnu::always_inline]] Value& slot(Frame& f, int s) {
    Value& v = f.base[s];
    return v.isReference() ? *v.referenceTarget() : v;
  }

  class HostProxy : public HostServices {
   public:
    explicit HostProxy(Vm& vm) : vm_(vm) {}
    int msgBox(const std::u16string& prompt, int buttons, const std::u16string& title) override;
    std::optional<std::u16string> inputBox(const std::u16string& prompt, const std::u16string& title,
                                           const std::u16string& defaultText) override;
    Value createObject(const std::u16string& progId, const std::u16string& serverName) override;
    Value getObject(const std::u16string& pathName, const std::u16string& progId) override;
    std::string fileSystemRoot() const override;
    void writeLine(const std::u16string& text) override;

   private:
    HostServices& real() const { return vm_.host_ ? *vm_.host_ : vm_.defaultHost_; }
    Vm& vm_;
  };

  const BuiltinRegistry& registry_;
  HostServices defaultHost_;
  HostServices* host_ = nullptr;
  HostProxy hostProxy_{*this};
  RandomState random_;
  Ref<ErrObject> err_;
  std::shared_ptr<VmAlive> alive_;
  MemoryAccount* memory_;  // shared with the strings and arrays charged to it

  std::deque<GlobalEntry> entries_;
  std::unordered_map<std::u16string, GlobalEntry*> byName_;
  std::vector<std::shared_ptr<LinkedModule>> links_;
  std::vector<Ref<Dispatch>> memberObjects_;  // added with AddMembers
  std::vector<GlobalEntry*> procedureOrder_;
  uint32_t generation_ = 1;

  std::unique_ptr<Value[]> stack_;
  Value* sp_ = nullptr;
  Value* stackLimit_ = nullptr;
  // Arrays whose elements are passed by reference: locked until the call returns.
  struct Pin {
    ArrayData* array;
    Value* mark;
  };
  std::vector<Pin> pins_;
  // The implicit locals a Dim run by Execute declared, per frame that has
  // executeDeclared set: Option Explicit lets that frame use them.
  std::unordered_map<const Frame*, std::vector<int>> executeDeclared_;

  int depth_ = 0;
  int runDepth_ = 0;
  const char* nativeStackTop_ = nullptr;
  int timeoutMs_ = 10000;
  std::chrono::steady_clock::time_point runStart_;
  int budget_ = 0;
  bool timedOut_ = false;
};

}  // namespace qm::vbs
