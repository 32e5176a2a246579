// The instruction loop and the operations behind each instruction.
#include "vbscript/vm/Vm.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "vbscript/Operators.h"
#include "vbscript/vm/ParseCache.h"
#include "vbscript/vm/ScriptObject.h"

namespace qm::vbs {

namespace {

constexpr size_t kStackSize = 1 << 18;        // values
constexpr int kMaxDepth = 3000;               // nested script calls
constexpr ptrdiff_t kMaxNativeStack = 4 << 20; // bytes of the C++ stack the runs of a thread may use
constexpr int kBudget = 4096;                  // instructions between clock checks

[[noreturn]] void typeMismatchName(const std::u16string& name) {
  raiseNamed(err::TypeMismatch, name);
}

// Integer, Long and Double operands of + - * take this path without the
// general coercion rules; false when either operand is of another subtype.
enum class FastOp { Add, Sub, Mul };
[[gnu::always_inline]] inline bool fastArith(FastOp op, Value& a, const Value& b) {
  VarType ta = a.type(), tb = b.type();
  bool ia = ta == VarType::Integer || ta == VarType::Long;
  bool ib = tb == VarType::Integer || tb == VarType::Long;
  if (ia && ib) {
    int64_t x = ta == VarType::Integer ? a.asInteger() : a.asLong();
    int64_t y = tb == VarType::Integer ? b.asInteger() : b.asLong();
    int64_t r = op == FastOp::Add ? x + y : op == FastOp::Sub ? x - y : x * y;
    bool bothInt = ta == VarType::Integer && tb == VarType::Integer;
    if (bothInt && r >= -32768 && r <= 32767) a = Value(static_cast<int16_t>(r));
    else if (r >= INT32_MIN && r <= INT32_MAX) a = Value(static_cast<int32_t>(r));
    else a = Value(static_cast<double>(r));
    return true;
  }
  bool da = ta == VarType::Double, db = tb == VarType::Double;
  if ((da && (db || ib)) || (db && ia)) {
    double x = da ? a.asDouble() : (ta == VarType::Integer ? a.asInteger() : a.asLong());
    double y = db ? b.asDouble() : (tb == VarType::Integer ? b.asInteger() : b.asLong());
    double r = op == FastOp::Add ? x + y : op == FastOp::Sub ? x - y : x * y;
    if (!std::isfinite(r)) raise(err::Overflow);
    a = Value(r);
    return true;
  }
  return false;
}

}  // namespace

// Marks the outermost entry into script code: the time-out clock and the
// re-entrancy count that makes Reset fail.
namespace {
// The C++ stack of this thread is shared by every engine running on it (one
// engine's script may call into another's), so its budget is per thread.
thread_local const char* tStackTop = nullptr;
thread_local int tActiveRuns = 0;
// The engines running on this thread, innermost last (one engine's script may call into another's).
thread_local std::vector<Vm*> tRunning;
thread_local int tPauses = 0;
}  // namespace

PauseTimeLimit::PauseTimeLimit() noexcept : outermost_(tPauses++ == 0) {
  if (outermost_) start_ = std::chrono::steady_clock::now();
}

PauseTimeLimit::~PauseTimeLimit() {
  --tPauses;
  if (!outermost_) return;
  auto paused = std::chrono::steady_clock::now() - start_;
  for (size_t i = 0; i < tRunning.size(); ++i) {
    if (std::find(tRunning.begin(), tRunning.begin() + static_cast<ptrdiff_t>(i), tRunning[i]) ==
        tRunning.begin() + static_cast<ptrdiff_t>(i))
      tRunning[i]->excludeTime(paused);
  }
}

void checkTimeLimit() {
  if (!tRunning.empty()) tRunning.back()->checkTime();
}

struct Vm::RunScope {
  Vm& vm;
  MemoryAccount* outerAccount = nullptr;
  explicit RunScope(Vm& v) : vm(v) {
    if (vm.runDepth_++ == 0) {
      vm.runStart_ = std::chrono::steady_clock::now();
      vm.timedOut_ = false;
      vm.budget_ = kBudget;
    }
    if (tActiveRuns++ == 0) {
      char probe;
      tStackTop = &probe;
    }
    vm.nativeStackTop_ = tStackTop;
    tRunning.push_back(&vm);
    outerAccount = chargedAccount();
    setChargedAccount(vm.memory_);
  }
  ~RunScope() {
    setChargedAccount(outerAccount);
    tRunning.pop_back();
    --vm.runDepth_;
    --tActiveRuns;
  }
};

Vm::Vm() : registry_(defaultRegistry()), memory_(new MemoryAccount) {
  err_ = Ref<ErrObject>(new ErrObject);
  alive_ = std::make_shared<VmAlive>();
  alive_->vm = this;
  stack_.reset(new Value[kStackSize]);
  sp_ = stack_.get();
  stackLimit_ = stack_.get() + kStackSize - 8;
}

Vm::~Vm() {
  try {
    if (runDepth_ == 0) reset();
  } catch (...) {
  }
  alive_->vm = nullptr;
  for (auto& l : links_) l->alive = false;
  // Strings and arrays still charged keep the account until they go.
  if (--memory_->refs == 0) delete memory_;
}

// ---------------------------------------------------------------- globals

GlobalEntry* Vm::entryFor(std::u16string_view name) {
  std::u16string key = toLowerCopy(name);
  auto it = byName_.find(key);
  if (it != byName_.end()) return it->second;
  entries_.emplace_back();
  GlobalEntry* e = &entries_.back();
  e->name.assign(name);
  byName_.emplace(std::move(key), e);
  return e;
}

void Vm::tryResolve(GlobalEntry& e) {
  if (e.kind != GlobalEntry::Unresolved || e.triedGeneration == generation_) return;
  e.triedGeneration = generation_;
  for (auto& obj : memberObjects_) {
    DispId id = obj->findMember(e.name);
    if (id != DispIdUnknown) {
      e.kind = GlobalEntry::HostMember;
      e.host = obj.get();
      e.dispId = id;
      return;
    }
  }
}

std::shared_ptr<LinkedModule> Vm::link(std::shared_ptr<const Module> module) {
  auto lm = std::make_shared<LinkedModule>();
  lm->vm = this;
  lm->optionExplicit = module->optionExplicit;
  lm->globals.reserve(module->globalNames.size());
  for (const auto& name : module->globalNames) lm->globals.push_back(entryFor(name));
  for (const auto& p : module->procedures) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(p.global)];
    if (e->kind == GlobalEntry::Object) throw ScriptError(err::NameRedefined, ErrorKind::Syntax);
    bool isNew = e->kind != GlobalEntry::Procedure;
    e->kind = GlobalEntry::Procedure;
    e->value.clear();
    e->fn = p.fn;
    e->link = lm.get();
    if (isNew) procedureOrder_.push_back(e);
  }
  for (const auto& c : module->classDecls) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(c.global)];
    e->kind = GlobalEntry::Class;
    e->cls = c.cls;
    e->link = lm.get();
  }
  for (const auto& c : module->constants) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(c.global)];
    if (e->kind == GlobalEntry::Unresolved || e->kind == GlobalEntry::Variable || e->kind == GlobalEntry::Const) {
      e->kind = GlobalEntry::Const;
      e->value = c.value;
    }
  }
  for (int g : module->variables) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(g)];
    if (e->kind == GlobalEntry::Unresolved || e->kind == GlobalEntry::HostMember) {
      e->kind = GlobalEntry::Variable;
      e->host = nullptr;
    }
  }
  lm->module = std::move(module);
  links_.push_back(lm);
  return lm;
}

void Vm::runTopLevel(LinkedModule* lm) {
  RunScope scope(*this);
  Value* argBase = sp_;
  execute(lm->module->top(), lm, nullptr, argBase, 0);
}

void Vm::addCode(std::u16string_view code) {
  auto module = compileCached(code, false);
  auto lm = link(std::move(module));
  runTopLevel(lm.get());
}

void Vm::executeGlobal(std::u16string_view code) { addCode(code); }

Value Vm::evalText(std::u16string_view expression) {
  auto module = compileCached(expression, true);
  auto lm = link(std::move(module));
  RunScope scope(*this);
  Value r;
  try {
    r = execute(lm->module->top(), lm.get(), nullptr, sp_, 0);
  } catch (...) {
    dropLink(lm.get());
    throw;
  }
  dropLink(lm.get());
  return r;
}

void Vm::addObject(std::u16string_view name, Dispatch* object, bool addMembers) {
  if (name.empty()) throw ScriptError(err::InvalidCall);
  auto tokens = name;
  bool valid = true;
  for (char16_t c : tokens) {
    if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0))
      valid = false;
  }
  static const char16_t* reserved[] = {
      u"and", u"byref", u"byval", u"call", u"case", u"class", u"const", u"dim", u"do", u"each", u"else",
      u"elseif", u"empty", u"end", u"eqv", u"erase", u"exit", u"false", u"for", u"function", u"goto",
      u"if", u"imp", u"in", u"is", u"loop", u"me", u"mod", u"new", u"next", u"not", u"nothing", u"null",
      u"on", u"option", u"or", u"private", u"public", u"redim", u"select", u"set", u"sub", u"then",
      u"to", u"true", u"until", u"wend", u"while", u"with", u"xor", u"err", u"rem"};
  for (const char16_t* r : reserved) {
    if (equalsNoCase(name, r)) valid = false;
  }
  if (!valid || (name[0] >= '0' && name[0] <= '9'))
    throw ScriptError(err::ExpectedIdentifier, u"Invalid name for an object: '" + std::u16string(name) + u"'");
  GlobalEntry* e = entryFor(name);
  if (e->kind != GlobalEntry::Unresolved && e->kind != GlobalEntry::HostMember)
    throw ScriptError(457, u"The name '" + std::u16string(name) + u"' is already in use");
  e->kind = GlobalEntry::Object;
  e->host = nullptr;
  e->value = Value(object);
  if (addMembers && object) {
    memberObjects_.emplace_back(object);
    ++generation_;
  }
}

void Vm::reset() {
  if (runDepth_ > 0)
    throw ScriptError(err::CannotPerformOperation, u"The script engine cannot be reset while a script is running");
  // Release values first so Class_Terminate code still finds its globals.
  ++runDepth_;
  try {
    // By index: termination code may add entries while this runs.
    for (size_t i = 0; i < entries_.size(); ++i) {
      Value v = std::move(entries_[i].value);
      v.clear();
    }
  } catch (...) {
  }
  --runDepth_;
  for (auto& l : links_) l->alive = false;
  links_.clear();
  byName_.clear();
  entries_.clear();
  memberObjects_.clear();
  procedureOrder_.clear();
  err_->clear();
  ++generation_;
}

std::vector<const GlobalEntry*> Vm::procedureEntries() const {
  std::vector<const GlobalEntry*> out;
  for (const GlobalEntry* e : procedureOrder_) {
    if (e->kind == GlobalEntry::Procedure) out.push_back(e);
  }
  return out;
}

Value Vm::run(std::u16string_view procedure, std::span<const Value> args) {
  auto it = byName_.find(toLowerCopy(procedure));
  if (it == byName_.end() || it->second->kind != GlobalEntry::Procedure)
    raiseNamed(err::SubOrFunctionNotDefined, procedure);
  GlobalEntry* e = it->second;
  std::vector<Value> copy(args.begin(), args.end());
  return callExternal(e->fn, e->link, nullptr, copy);
}

// ---------------------------------------------------------------- calls

Value Vm::callExternal(const FunctionCode* fn, LinkedModule* link, ScriptObject* me, std::span<Value> args) {
  if (!link->alive) throw ScriptError(err::CannotPerformOperation);
  RunScope scope(*this);
  Value* argBase = sp_;
  if (sp_ + args.size() + 16 >= stackLimit_) raise(err::OutOfStackSpace);
  for (auto& a : args) *sp_++ = Value::reference(&a);
  try {
    return execute(fn, link, me, argBase, static_cast<int>(args.size()));
  } catch (...) {
    popTo(argBase);
    throw;
  }
}

Value Vm::execute(const FunctionCode* fn, LinkedModule* link, ScriptObject* me, Value* args, int argc) {
  if (argc != fn->numParams) {
    popTo(args);
    raise(err::WrongArgCount);
  }
  if (++depth_ > kMaxDepth) {
    --depth_;
    popTo(args);
    raise(err::OutOfStackSpace);
  }
  char probe;
  if (nativeStackTop_ && nativeStackTop_ - &probe > kMaxNativeStack) {
    --depth_;
    popTo(args);
    raise(err::OutOfStackSpace);
  }
  struct DepthGuard {
    int& d;
    ~DepthGuard() { --d; }
  } guard{depth_};
  if (--budget_ <= 0) checkBudget();

  Frame f;
  f.fn = fn;
  f.link = link;
  f.base = args;
  f.me = me;
  for (int i = 0; i < argc; ++i) {
    if (fn->byValParam[static_cast<size_t>(i)] && args[i].isReference()) args[i] = *args[i].referenceTarget();
  }
  Value* frameTop = args + fn->numSlots;
  if (frameTop >= stackLimit_ - 64) {
    popTo(args);
    raise(err::OutOfStackSpace);
  }
  sp_ = frameTop;
  for (;;) {
    try {
      loop(f);
      break;
    } catch (ScriptError& e) {
      handleError(f, e);
    } catch (const std::bad_alloc&) {
      ScriptError e(err::OutOfMemory);
      handleError(f, e);
    } catch (const std::length_error&) {
      ScriptError e(err::OutOfStringSpace);
      handleError(f, e);
    } catch (const std::exception& ex) {
      ScriptError e(err::ExceptionOccurred, fromUtf8(ex.what()));
      handleError(f, e);
    } catch (...) {
      // Not a script error (a host's own unwinding): leave the stack clean.
      unpinAbove(f.base);
      popTo(f.base);
      throw;
    }
  }
  Value result;
  if (fn->retSlot >= 0) result = std::move(f.base[fn->retSlot]);
  unpinAbove(args);
  popTo(args);
  return result;
}

void Vm::handleError(Frame& f, ScriptError& e) {
  if (e.line == 0 && f.fn && f.pc > 0) {
    size_t pc = static_cast<size_t>(f.pc - 1);
    if (pc < f.fn->lines.size()) {
      e.line = static_cast<int>(f.fn->lines[pc] >> 12);
      e.column = static_cast<int>(f.fn->lines[pc] & 4095);
    }
  }
  Value* frameTop = f.base + f.fn->numSlots;
  if (!f.resumeNext || timedOut_) {
    unpinAbove(f.base);
    popTo(f.base);
    throw;
  }
  err_->set(e);
  unpinAbove(frameTop);
  popTo(frameTop);
  // Continue where normal flow goes after the statement (or statement part) that failed.
  const auto& points = f.fn->resumePoints;
  int32_t failed = f.pc - 1;
  auto it = std::upper_bound(points.begin(), points.end(), failed,
                             [](int32_t pc, const FunctionCode::ResumePoint& p) { return pc < p.start; });
  if (it != points.begin() && failed < std::prev(it)->end) f.pc = std::prev(it)->resume;
  else if (it == points.end()) f.pc = static_cast<int32_t>(f.fn->code.size() - 1);  // the final Return
  else f.pc = it->start;
}

void Vm::checkBudget() {
  budget_ = kBudget;
  if (timeoutMs_ < 0) return;
  auto elapsed = std::chrono::steady_clock::now() - runStart_;
  if (std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() > timeoutMs_) timeoutExpired();
}

void Vm::timeoutExpired() {
  timedOut_ = true;
  throw ScriptError(err::UserInterrupt, u"The script was stopped because it ran longer than its time limit");
}

void Vm::unpinAbove(Value* mark) {
  while (!pins_.empty() && pins_.back().mark >= mark) {
    ArrayData* a = pins_.back().array;
    pins_.pop_back();
    --a->locks;
  }
}

// ---------------------------------------------------------------- values

bool Vm::hasDefault(const Value& v) {
  Dispatch* d = v.deref().asObject();
  return !d || d->hasDefaultMember();  // Nothing: resolving reports it
}

Value Vm::resolveDefault(const Value& v) {
  Value cur = v.deref();
  for (int guard = 0; cur.isObject(); ++guard) {
    Dispatch* d = cur.asObject();
    if (!d) raise(err::ObjectNotSet);
    if (guard > 16) raise(err::NoSuchMember);
    if (auto* so = dynamic_cast<ScriptObject*>(d)) {
      if (so->cls()->defaultMember < 0) raise(err::NoSuchMember);
      cur = callScriptMember(so, so->cls()->defaultMember, InvokeKind::PropertyGet, nullptr, 0, false);
    } else {
      cur = invokeDispatch(d, DispIdValue, InvokeKind::PropertyGet, nullptr, 0);
    }
  }
  return cur;
}

void Vm::assign(Value& target, Value v, int mode) {
  // An array whose element is being passed by reference cannot be replaced.
  if (target.isArray() && target.asArray().locks > 0) raise(err::ArrayFixedOrLocked);
  if (mode == 2) {
    target = std::move(v);
    return;
  }
  if (mode == 1) {
    if (!v.isObject()) raise(err::ObjectRequired);
    target = std::move(v);
    return;
  }
  // Let replaces whatever the variable held, an object too.
  if (v.isObject()) v = resolveDefault(v);
  target = std::move(v);
}

void Vm::letDefault(const Value& object, Value v) {
  if (v.isObject()) v = resolveDefault(v);
  Value obj = object;
  Value args[1] = {std::move(v)};
  if (auto* so = dynamic_cast<ScriptObject*>(obj.asObject())) {
    if (so->cls()->defaultMember < 0) raise(err::NoSuchMember);
    callScriptMember(so, so->cls()->defaultMember, InvokeKind::PropertyLet, args, 1, false);
  } else {
    invokeDispatch(obj.asObject(), DispIdValue, InvokeKind::PropertyLet, args, 1);
  }
}

Value* Vm::globalVariable(GlobalEntry& e, LinkedModule* lm, bool forWrite) {
  if (e.kind == GlobalEntry::Unresolved) {
    tryResolve(e);
    if (e.kind == GlobalEntry::Unresolved) {
      if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
      if (!forWrite) return nullptr;
      e.kind = GlobalEntry::Variable;
    }
  }
  if (e.kind == GlobalEntry::Variable) return &e.value;
  return nullptr;
}

Value Vm::loadGlobal(GlobalEntry& e, LinkedModule* lm) {
  switch (e.kind) {
    case GlobalEntry::Variable: case GlobalEntry::Const: case GlobalEntry::Object: return e.value;
    case GlobalEntry::Procedure: {
      Value* base = sp_;
      return execute(e.fn, e.link, nullptr, base, 0);
    }
    case GlobalEntry::HostMember: return invokeDispatch(e.host, e.dispId, InvokeKind::PropertyGet, nullptr, 0);
    case GlobalEntry::Class: typeMismatchName(e.name);
    case GlobalEntry::Unresolved:
      tryResolve(e);
      if (e.kind != GlobalEntry::Unresolved) return loadGlobal(e, lm);
      if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
      return Value();
  }
  return Value();
}

void Vm::storeGlobal(GlobalEntry& e, LinkedModule* lm, Value v, int mode) {
  if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
  switch (e.kind) {
    case GlobalEntry::Unresolved:
      if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
      e.kind = GlobalEntry::Variable;
      [[fallthrough]];
    case GlobalEntry::Variable: assign(e.value, std::move(v), mode); return;
    case GlobalEntry::Object: {
      // A name the host added stays its object: Let assigns the object's default property.
      if (mode != 0 || !e.value.asObject()) raiseNamed(err::IllegalAssignment, e.name);
      letDefault(e.value, std::move(v));
      return;
    }
    case GlobalEntry::HostMember: {
      if (mode == 0 && v.isObject()) v = resolveDefault(v);
      Value args[1] = {std::move(v)};
      invokeDispatch(e.host, e.dispId, mode == 1 ? InvokeKind::PropertySet : InvokeKind::PropertyLet, args, 1);
      return;
    }
    default: raiseNamed(err::IllegalAssignment, e.name);
  }
}

Value Vm::callGlobal(GlobalEntry& e, LinkedModule* lm, Value* args, int argc, bool statement) {
  if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
  switch (e.kind) {
    case GlobalEntry::Procedure: return execute(e.fn, e.link, nullptr, args, argc);
    case GlobalEntry::Variable: case GlobalEntry::Const: case GlobalEntry::Object: {
      Value target = e.value;
      if (statement) return callValue(target, args, argc);
      return indexValue(target, args, argc);
    }
    case GlobalEntry::HostMember:
      return invokeDispatch(e.host, e.dispId, statement ? InvokeKind::Method : InvokeKind::PropertyGet, args, argc);
    case GlobalEntry::Unresolved:
      if (argc == 0 && !statement && !lm->optionExplicit) return Value();
      if (lm->optionExplicit && !statement && argc == 0)
        raiseNamed(err::VariableUndefined, e.name);
      typeMismatchName(e.name);
    case GlobalEntry::Class: typeMismatchName(e.name);
  }
  return Value();
}

Value Vm::callValue(const Value& targetIn, Value* args, int argc) {
  const Value& target = targetIn.deref();
  if (target.isObject()) {
    Dispatch* d = target.asObject();
    if (!d) raise(err::ObjectNotSet);
    Value keep = target;
    if (auto* so = dynamic_cast<ScriptObject*>(d)) {
      if (so->cls()->defaultMember < 0) raise(err::NoSuchMember);
      return callScriptMember(so, so->cls()->defaultMember, InvokeKind::Method, args, argc, false);
    }
    return invokeDispatch(d, DispIdValue, InvokeKind::Method, args, argc);
  }
  if (argc == 0) raise(err::TypeMismatch);
  return indexValue(target, args, argc);
}

Value Vm::indexValue(const Value& targetIn, Value* args, int argc) {
  const Value& target = targetIn.deref();
  if (target.isArray()) {
    if (argc == 0) return target;
    const ArrayData& a = target.asArray();
    int32_t subs[64];
    if (argc > 64) raise(err::SubscriptOutOfRange);
    for (int i = 0; i < argc; ++i) {
      const Value& s = args[i].deref();
      subs[i] = s.isObject() ? toInt32(resolveDefault(s)) : toInt32(s);
    }
    return a.elements[a.offsetOf(subs, argc)];
  }
  if (target.isObject()) {
    Dispatch* d = target.asObject();
    if (!d) raise(err::ObjectNotSet);
    if (argc == 0) return target;
    if (auto* so = dynamic_cast<ScriptObject*>(d)) {
      if (so->cls()->defaultMember < 0) raise(err::NoSuchMember);
      return callScriptMember(so, so->cls()->defaultMember, InvokeKind::PropertyGet, args, argc, false);
    }
    return invokeDispatch(d, DispIdValue, InvokeKind::PropertyGet, args, argc);
  }
  if (argc == 0) return target;
  raise(err::TypeMismatch);
}

void Vm::storeIndexed(Value& target, Value* args, int argc, Value v, int mode) {
  if (target.isArray()) {
    if (argc == 0) {
      assign(target, std::move(v), mode);
      return;
    }
    int32_t subs[64];
    if (argc > 64) raise(err::SubscriptOutOfRange);
    for (int i = 0; i < argc; ++i) {
      const Value& s = args[i].deref();
      subs[i] = s.isObject() ? toInt32(resolveDefault(s)) : toInt32(s);
    }
    if (mode == 0 && v.isObject()) v = resolveDefault(v);
    ArrayData& a = target.mutableArray();
    Value& el = a.elements[a.offsetOf(subs, argc)];
    assign(el, std::move(v), mode);
    return;
  }
  if (target.isObject()) {
    if (argc == 0) {
      assign(target, std::move(v), mode);
      return;
    }
    Dispatch* d = target.asObject();
    if (!d) raise(err::ObjectNotSet);
    if (mode == 0 && v.isObject()) v = resolveDefault(v);
    std::vector<Value> all;
    all.reserve(static_cast<size_t>(argc) + 1);
    for (int i = 0; i < argc; ++i) all.push_back(args[i].deref());
    all.push_back(std::move(v));
    Value keep = target;
    InvokeKind kind = mode == 1 ? InvokeKind::PropertySet : InvokeKind::PropertyLet;
    if (auto* so = dynamic_cast<ScriptObject*>(d)) {
      if (so->cls()->defaultMember < 0) raise(err::NoSuchMember);
      callScriptMember(so, so->cls()->defaultMember, kind, all.data(), static_cast<int>(all.size()), false);
    } else {
      invokeDispatch(d, DispIdValue, kind, all.data(), static_cast<int>(all.size()));
    }
    return;
  }
  if (argc == 0) {
    assign(target, std::move(v), mode);
    return;
  }
  raise(err::TypeMismatch);
}

Value Vm::refIndexed(Value& target, Value* args, int argc) {
  if (target.isArray() && argc > 0 && argc == target.asArray().dimensions()) {
    int32_t subs[64];
    if (argc > 64) raise(err::SubscriptOutOfRange);
    for (int i = 0; i < argc; ++i) {
      const Value& s = args[i].deref();
      subs[i] = s.isObject() ? toInt32(resolveDefault(s)) : toInt32(s);
    }
    ArrayData& a = target.mutableArray();
    size_t off = a.offsetOf(subs, argc);
    ++a.locks;
    pins_.push_back(Pin{&a, args});
    return Value::reference(&a.elements[off]);
  }
  return indexValue(target, args, argc);
}

Value Vm::makeArray(Value* bounds, int dims) {
  if (dims == 0) {
    auto* a = new ArrayData;
    return Value::array(a);
  }
  std::vector<int32_t> ub;
  for (int i = 0; i < dims; ++i) ub.push_back(toInt32(resolveDefault(bounds[i])));
  Value v = Value::newArray(ub);
  v.mutableArray().fixedSize = true;
  return v;
}

void Vm::redim(Value& target, Value* bounds, int dims, bool preserve) {
  if (target.isArray()) {  // before the bounds: ReDim fixed("abc") is error 10
    const ArrayData& old = target.asArray();
    if (old.fixedSize || old.locks > 0) raise(err::ArrayFixedOrLocked);
  }
  std::vector<int32_t> ub;
  for (int i = 0; i < dims; ++i) ub.push_back(toInt32(resolveDefault(bounds[i])));
  Value fresh = Value::newArray(ub);
  if (preserve && target.isArray() && target.asArray().dimensions() > 0) {
    const ArrayData& old = target.asArray();
    ArrayData& n = fresh.mutableArray();
    if (old.dimensions() != dims) raise(err::SubscriptOutOfRange);
    for (int d = 0; d + 1 < dims; ++d) {
      if (old.bounds[static_cast<size_t>(d)].count != n.bounds[static_cast<size_t>(d)].count)
        raise(err::SubscriptOutOfRange);
    }
    size_t keep = std::min(old.elements.size(), n.elements.size());
    for (size_t i = 0; i < keep; ++i) n.elements[i] = old.elements[i];
  }
  target = std::move(fresh);
}

Value Vm::callBuiltin(int index, Value* args, int argc) {
  const Builtin& b = registry_.function(index);
  if (argc < b.minArgs || argc > b.maxArgs) raise(err::WrongArgCount);
  Value* targets[32] = {};
  for (int i = 0; i < argc; ++i) {
    if (args[i].isReference()) {
      if (i < 32) targets[i] = args[i].referenceTarget();
      args[i] = *args[i].referenceTarget();
    }
  }
  Value r = b.fn(*this, std::span<Value>(args, static_cast<size_t>(argc)));
  countWork(r);
  if (b.byRefMask) {
    for (int i = 0; i < argc && i < 32; ++i) {
      if ((b.byRefMask >> i & 1) && targets[i]) *targets[i] = args[i];
    }
  }
  return r;
}

Value Vm::invokeDispatch(Dispatch* d, DispId id, InvokeKind kind, Value* args, int argc) {
  if (auto* so = dynamic_cast<ScriptObject*>(d)) {
    int member = id == DispIdValue ? so->cls()->defaultMember : id - 1;
    if (member < 0) raise(err::NoSuchMember);
    return callScriptMember(so, member, kind, args, argc, false);
  }
  Value keep(d);
  // The host gets plain values; references are written back after the call.
  Value small[8];
  std::vector<Value> large;
  Value* values = small;
  if (argc > 8) {
    large.resize(static_cast<size_t>(argc));
    values = large.data();
  }
  for (int i = 0; i < argc; ++i) values[i] = args[i].deref();
  // The time spent in the method counts towards the time limit; hosts pause
  // the clock themselves for boxes, windows and waits (PauseTimeLimit).
  Value r;
  try {
    r = d->invoke(id, kind, std::span<Value>(values, static_cast<size_t>(argc)));
    countWork(r);
  } catch (const ScriptError& e) {
    // A property that takes no arguments, read with arguments: index its value
    // (collection properties: Items(2)).
    if (e.number != err::WrongArgCount || kind != InvokeKind::PropertyGet || argc == 0) throw;
    Value whole = d->invoke(id, kind, {});
    if (!whole.isObject() && !whole.isArray()) throw;
    return indexValue(whole, args, argc);
  }
  for (int i = 0; i < argc; ++i) {
    if (args[i].isReference()) *args[i].referenceTarget() = std::move(values[i]);
  }
  return r;
}

Value Vm::callScriptMember(ScriptObject* obj, int member, InvokeKind kind, Value* args, int argc, bool inside) {
  const ClassCode* cls = obj->cls();
  const ClassMember& m = cls->members[static_cast<size_t>(member)];
  if (!m.isPublic && !inside) raise(err::NoSuchMember);
  Value keep(obj);
  LinkedModule* lm = obj->link();
  if (!lm->alive) raise(err::CannotPerformOperation);
  if (m.field >= 0) {
    Value& field = obj->fields()[static_cast<size_t>(m.field)];
    if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet) {
      Value v = args[argc - 1].deref();
      storeIndexed(field, args, argc - 1, std::move(v), kind == InvokeKind::PropertySet ? 1 : 0);
      return Value();
    }
    // A plain value field takes no index: o.p(0) on a number is not a member call.
    if (argc > 0 && !field.isArray() && !field.isObject()) raise(err::NoSuchMember);
    return indexValue(field, args, argc);
  }
  const FunctionCode* fn = nullptr;
  switch (kind) {
    case InvokeKind::Method: fn = m.method ? m.method : m.get; break;
    case InvokeKind::PropertyGet: fn = m.get ? m.get : m.method; break;
    case InvokeKind::PropertyLet: fn = m.let; break;
    case InvokeKind::PropertySet: fn = m.set ? m.set : nullptr; break;
  }
  if (!fn && kind == InvokeKind::PropertyLet && m.get && !m.let) raise(err::IllegalAssignment);
  if (!fn) raise(err::NoSuchMember);
  // The arguments must sit on top of the VM stack, in order.
  Value* base = sp_;
  if (args != base - argc) {
    if (sp_ + argc + 8 >= stackLimit_) raise(err::OutOfStackSpace);
    for (int i = 0; i < argc; ++i) *sp_++ = args[i].isReference() ? args[i] : Value::reference(&args[i]);
    try {
      return execute(fn, lm, obj, base, argc);
    } catch (...) {
      popTo(base);
      throw;
    }
  }
  return execute(fn, lm, obj, args, argc);
}

Value Vm::invokeScriptMember(ScriptObject* obj, int member, InvokeKind kind, std::span<Value> args) {
  RunScope scope(*this);
  return callScriptMember(obj, member, kind, args.data(), static_cast<int>(args.size()), false);
}

Value Vm::invokeMember(const Value& object, const FunctionCode* site, int nameIndex, int cacheIndex, InvokeKind kind,
                       Value* args, int argc, Frame& f) {
  const Value& o = object.deref();
  if (!o.isObject()) raise(err::ObjectRequired);
  Dispatch* d = o.asObject();
  if (!d) raise(err::ObjectRequired);
  MemberCache& cache = site->caches[static_cast<size_t>(cacheIndex)];
  const std::u16string& name = site->names[static_cast<size_t>(nameIndex)];
  if (auto* so = dynamic_cast<ScriptObject*>(d)) {
    int member;
    if (cache.key == so->cls()) {
      member = cache.id;
    } else {
      member = so->cls()->find(name);
      if (member < 0)
        raiseNamed(err::NoSuchMember, name);
      cache.key = so->cls();
      cache.id = member;
    }
    bool inside = f.me && f.me->cls() == so->cls();
    if (!so->cls()->members[static_cast<size_t>(member)].isPublic && !inside)
      raiseNamed(err::NoSuchMember, name);
    return callScriptMember(so, member, kind, args, argc, inside);
  }
  DispId id;
  const void* key = d->classKey();
  if (key && cache.key == key) {
    id = cache.id;
  } else {
    id = d->findMember(name);
    if (id == DispIdUnknown)
      raiseNamed(err::NoSuchMember, name);
    if (key) {
      cache.key = key;
      cache.id = id;
    }
  }
  return invokeDispatch(d, id, kind, args, argc);
}

Value Vm::newObject(GlobalEntry& e, LinkedModule* lm) {
  // A script class named like a library class (RegExp) does not replace it.
  if (ObjectFactory f = registry_.findClass(e.name)) {
    Dispatch* d = f(*this);
    if (!d) raise(err::CannotCreateObject);
    return Value(d);
  }
  if (e.kind == GlobalEntry::Class) return newScriptObject(e.cls, e.link);
  raiseNamed(lm->optionExplicit ? err::VariableUndefined : err::ClassNotDefined, e.name);
}

Value Vm::newScriptObject(const ClassCode* cls, LinkedModule* link) {
  std::shared_ptr<LinkedModule> owner;
  for (auto& l : links_) {
    if (l.get() == link) owner = l;
  }
  if (!owner) raise(err::CannotPerformOperation);
  auto* obj = new ScriptObject(cls, owner, alive_);
  Value v(obj);
  if (cls->initialize) {
    Value* base = sp_;
    execute(cls->initialize, link, obj, base, 0);
  }
  obj->initialized = true;
  return v;
}

void Vm::forEachPrep(Frame& f, int h, Value collection) {
  const Value& c = collection.deref();
  if (c.isArray()) {
    f.base[h] = c;
    f.base[h + 1] = Value(int32_t(0));
    return;
  }
  if (c.isObject()) {
    Dispatch* d = c.asObject();
    if (!d) raise(err::ObjectRequired);
    std::unique_ptr<Enumerator> en = d->newEnum();
    if (!en) raise(err::NotACollection);
    f.base[h] = Value(static_cast<Dispatch*>(new EnumHolder(std::move(en))));
    return;
  }
  raise(err::NotACollection);
}

bool Vm::forEachNext(Frame& f, int h) {
  Value& state = f.base[h];
  if (state.isEmpty()) return false;  // the loop's collection failed under On Error Resume Next
  if (state.isArray()) {
    int32_t i = f.base[h + 1].asLong();
    const ArrayData& a = state.asArray();
    if (static_cast<size_t>(i) >= a.elements.size()) return false;
    push(a.elements[static_cast<size_t>(i)]);
    f.base[h + 1] = Value(int32_t(i + 1));
    return true;
  }
  auto* holder = static_cast<EnumHolder*>(state.asObject());
  Value out;
  if (!holder->next(out)) return false;
  push(std::move(out));
  return true;
}

// The time a player spends answering a box does not count towards the time limit.
int Vm::HostProxy::msgBox(const std::u16string& prompt, int buttons, const std::u16string& title) {
  PauseTimeLimit pause;
  return real().msgBox(prompt, buttons, title);
}

std::optional<std::u16string> Vm::HostProxy::inputBox(const std::u16string& prompt, const std::u16string& title,
                                                      const std::u16string& defaultText) {
  PauseTimeLimit pause;
  return real().inputBox(prompt, title, defaultText);
}

Value Vm::HostProxy::createObject(const std::u16string& progId, const std::u16string& serverName) {
  return real().createObject(progId, serverName);
}

Value Vm::HostProxy::getObject(const std::u16string& pathName, const std::u16string& progId) {
  return real().getObject(pathName, progId);
}

std::string Vm::HostProxy::fileSystemRoot() const { return real().fileSystemRoot(); }

void Vm::HostProxy::writeLine(const std::u16string& text) { real().writeLine(text); }

Value Vm::createObject(const std::u16string& progId, const std::u16string& serverName) {
  Value v = host().createObject(progId, serverName);
  if (!v.isEmpty()) return v;
  if (ObjectFactory f = registry_.findProgId(progId)) {
    Dispatch* d = f(*this);
    if (d) return Value(d);
  }
  raiseNamed(err::CannotCreateObject, progId);
}

Value Vm::getObject(const std::u16string& pathName, const std::u16string& progId) {
  return host().getObject(pathName, progId);
}

Value Vm::runInScope(std::u16string_view text, bool expression, Frame& f) {
  if (f.fn->kind == FunctionCode::TopLevel && !f.me) {
    if (expression) return evalText(text);
    addCode(text);
    return Value();
  }
  auto module = compileCached(text, expression, f.fn);
  bool keepsDefinitions = !module->procedures.empty() || !module->classDecls.empty();
  auto lm = link(std::move(module));
  Value* base = sp_;
  int n = f.fn->numSlots;
  if (sp_ + n + 16 >= stackLimit_) raise(err::OutOfStackSpace);
  for (int i = 0; i < n; ++i) *sp_++ = Value::reference(&slot(f, i));
  Value r;
  try {
    r = execute(lm->module->top(), lm.get(), f.me, base, n);
  } catch (...) {
    popTo(base);
    if (!keepsDefinitions) dropLink(lm.get());
    throw;
  }
  if (!keepsDefinitions) dropLink(lm.get());
  return r;
}

void Vm::dropLink(LinkedModule* lm) {
  for (size_t i = links_.size(); i-- > 0;) {
    if (links_[i].get() == lm) {
      links_.erase(links_.begin() + static_cast<ptrdiff_t>(i));
      return;
    }
  }
}

Value Vm::callIntrinsic(Intrinsic which, Value* args, int argc, Frame& f) {
  if (argc != 1) raise(err::WrongArgCount);
  Value arg = args[0].deref();
  if (arg.isObject()) arg = resolveDefault(arg);
  // Code and procedure names are strings: anything else is a type mismatch.
  auto text = [&]() -> std::u16string {
    if (!arg.isString()) raise(err::TypeMismatch);
    return arg.asString();
  };
  // A syntax error in the code given is error 1002, catchable like any run-time error.
  auto compiled = [](auto&& run) {
    try {
      return run();
    } catch (const ScriptError& e) {
      if (e.kind != ErrorKind::Syntax) throw;
      throw ScriptError(err::Syntax);
    }
  };
  switch (which) {
    case Intrinsic::Eval:
      if (arg.isNull() || arg.isEmpty()) return arg;
      if (!arg.isString()) arg = Value(toString(arg));
      return compiled([&] { return runInScope(arg.asString(), true, f); });
    case Intrinsic::Execute:
      compiled([&] { return runInScope(text(), false, f); });
      return Value();
    case Intrinsic::ExecuteGlobal:
      compiled([&] { addCode(text()); return 0; });
      return Value();
    case Intrinsic::GetRef: {
      std::u16string name = text();
      auto it = byName_.find(toLowerCopy(name));
      if (it == byName_.end() || it->second->kind != GlobalEntry::Procedure) raise(err::InvalidCall);
      GlobalEntry* e = it->second;
      std::shared_ptr<LinkedModule> owner;
      for (auto& l : links_) {
        if (l.get() == e->link) owner = l;
      }
      return Value(static_cast<Dispatch*>(new ProcRef(e->fn, owner, alive_)));
    }
  }
  return Value();
}

void Vm::appendTo(Value& target, Value rhs) {
  if (rhs.isObject()) rhs = resolveDefault(rhs);
  if (target.isString() && target.stringData()->refs == 1 && !rhs.isNull()) {
    StringData& data = *target.stringData();
    std::u16string& text = data.text;
    size_t before = text.size(), capacity = text.capacity();
    if (rhs.isString()) {
      if (text.size() + rhs.asString().size() > kMaxStringLength) raise(err::OutOfStringSpace);
      text += rhs.asString();
      if (rhs.asString().size() >= kLargeWork) checkBudget();
    } else {
      std::u16string more = toString(rhs);
      if (text.size() + more.size() > kMaxStringLength) raise(err::OutOfStringSpace);
      text += more;
    }
    if (text.capacity() != capacity) {
      try {
        data.charge.set(static_cast<int64_t>(text.capacity()) * 2);
      } catch (...) {
        text.resize(before);
        text.shrink_to_fit();
        throw;
      }
    }
    return;
  }
  Value cur = target;
  if (cur.isObject()) cur = resolveDefault(cur);
  assign(target, opConcat(cur, rhs), 0);
}

// ---------------------------------------------------------------- the loop

void Vm::loop(Frame& f) {
  const Instr* code = f.fn->code.data();
  const FunctionCode* fn = f.fn;
  LinkedModule* lm = f.link;
  for (;;) {
    const Instr& in = code[f.pc++];
    switch (in.op) {
      case OpCode::Nop: break;
      case OpCode::PushConst: push(fn->constants[static_cast<size_t>(in.c)]); break;
      case OpCode::PushInt: push(Value(static_cast<int16_t>(in.c))); break;
      case OpCode::PushEmpty: push(Value()); break;
      case OpCode::PushMissing: push(Value::missing()); break;
      case OpCode::PushNothing: push(Value::nothing()); break;
      case OpCode::PushTrue: push(Value(true)); break;
      case OpCode::PushFalse: push(Value(false)); break;
      case OpCode::PushNull: push(Value::null()); break;
      case OpCode::Pop: (--sp_)->clear(); break;

      case OpCode::LoadLocal: push(slot(f, in.b)); break;
      case OpCode::StoreLocal: {
        Value v = pop();
        Value& t = slot(f, in.b);
        if (in.a == 0 && !v.isObject() && !t.isArray()) t = std::move(v);
        else assign(t, std::move(v), in.a);
        break;
      }
      case OpCode::RefLocal: push(Value::reference(&slot(f, in.b))); break;

      case OpCode::LoadGlobal: {
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        if (e.kind == GlobalEntry::Variable) push(e.value);
        else push(loadGlobal(e, lm));
        break;
      }
      case OpCode::StoreGlobal: {
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        Value v = pop();
        if (e.kind == GlobalEntry::Variable && in.a == 0 && !v.isObject() && !e.value.isArray())
          e.value = std::move(v);
        else storeGlobal(e, lm, std::move(v), in.a);
        break;
      }
      case OpCode::RefGlobal: {
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        Value* var = globalVariable(e, lm, true);
        if (var) push(Value::reference(var));
        else push(loadGlobal(e, lm));
        break;
      }
      case OpCode::LoadDyn: {
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
        if (e.kind == GlobalEntry::Unresolved) {
          if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
          push(slot(f, in.b));
        } else {
          push(loadGlobal(e, lm));
        }
        break;
      }
      case OpCode::StoreDyn: {
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
        Value v = pop();
        if (e.kind == GlobalEntry::Unresolved) {
          if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
          assign(slot(f, in.b), std::move(v), in.a);
        } else {
          storeGlobal(e, lm, std::move(v), in.a);
        }
        break;
      }
      case OpCode::RefDyn: {
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
        if (e.kind == GlobalEntry::Unresolved) {
          if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
          push(Value::reference(&slot(f, in.b)));
        } else if (e.kind == GlobalEntry::Variable) {
          push(Value::reference(&e.value));
        } else {
          push(loadGlobal(e, lm));
        }
        break;
      }
      case OpCode::LoadField: push(f.me->fields()[in.b]); break;
      case OpCode::StoreField: {
        Value v = pop();
        assign(f.me->fields()[in.b], std::move(v), in.a);
        break;
      }
      case OpCode::RefField: push(Value::reference(&f.me->fields()[in.b])); break;
      case OpCode::LoadMe: push(Value(static_cast<Dispatch*>(f.me))); break;
      case OpCode::LoadErr: push(Value(static_cast<Dispatch*>(err_.get()))); break;

      case OpCode::CallGlobal: {
        Value* args = sp_ - in.a;
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        Value r = callGlobal(e, lm, args, in.a, in.b == 1);
        unpinAbove(args);
        popTo(args);
        push(std::move(r));
        break;
      }
      case OpCode::CallBuiltin: {
        Value* args = sp_ - in.a;
        GlobalEntry& e = *lm->globals[in.b];
        Value r = e.kind != GlobalEntry::Unresolved && e.kind != GlobalEntry::HostMember
                      ? callGlobal(e, lm, args, in.a, false)
                      : callBuiltin(in.c, args, in.a);
        unpinAbove(args);
        popTo(args);
        push(std::move(r));
        break;
      }
      case OpCode::CallMe: {
        Value* args = sp_ - in.a;
        Value r = callScriptMember(f.me, in.c, in.b == 1 ? InvokeKind::Method : InvokeKind::PropertyGet, args, in.a,
                                   true);
        unpinAbove(args);
        popTo(args);
        push(std::move(r));
        break;
      }
      case OpCode::IndexLocal: case OpCode::IndexField: case OpCode::IndexValue: {
        Value* args = sp_ - in.a;
        Value r;
        if (in.op == OpCode::IndexLocal) r = indexValue(slot(f, in.b), args, in.a);
        else if (in.op == OpCode::IndexField) r = indexValue(f.me->fields()[in.b], args, in.a);
        else r = indexValue(Value(args[-1]), args, in.a);
        unpinAbove(args);
        popTo(in.op == OpCode::IndexValue ? args - 1 : args);
        push(std::move(r));
        break;
      }
      case OpCode::IndexGlobal: {
        Value* args = sp_ - in.a;
        Value r = callGlobal(*lm->globals[static_cast<size_t>(in.c)], lm, args, in.a, false);
        unpinAbove(args);
        popTo(args);
        push(std::move(r));
        break;
      }
      case OpCode::IndexDyn: case OpCode::CallDyn: {
        // A name met first inside a procedure: a global when one exists by now, else the local.
        bool statement = in.op == OpCode::CallDyn;
        Value* args = sp_ - in.a;
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
        Value r;
        if (e.kind == GlobalEntry::Unresolved) {
          if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
          const Value& local = slot(f, in.b);
          if ((statement || in.a == 0) && local.isEmpty()) typeMismatchName(e.name);
          r = statement ? callValue(Value(local), args, in.a) : indexValue(local, args, in.a);
        } else {
          r = callGlobal(e, lm, args, in.a, statement);
        }
        unpinAbove(args);
        popTo(args);
        push(std::move(r));
        break;
      }
      case OpCode::CallValue: {
        Value* args = sp_ - in.a;
        Value r = callValue(Value(args[-1]), args, in.a);
        unpinAbove(args - 1);
        popTo(args - 1);
        push(std::move(r));
        break;
      }
      case OpCode::GetMember: case OpCode::CallMember: {
        Value* args = sp_ - in.a;
        Value obj = args[-1];
        Value r = invokeMember(obj, fn, in.c, in.b, in.op == OpCode::CallMember ? InvokeKind::Method : InvokeKind::PropertyGet,
                               args, in.a, f);
        unpinAbove(args - 1);
        popTo(args - 1);
        push(std::move(r));
        break;
      }
      case OpCode::SetMember: case OpCode::SetMemberSet: {
        bool isSet = in.op == OpCode::SetMemberSet;
        Value* args = sp_ - in.a - 1;
        Value obj = args[-1];
        if (!isSet && sp_[-1].isObject() && hasDefault(sp_[-1])) sp_[-1] = resolveDefault(sp_[-1]);
        invokeMember(obj, fn, in.c, in.b, isSet ? InvokeKind::PropertySet : InvokeKind::PropertyLet, args, in.a + 1, f);
        unpinAbove(args - 1);
        popTo(args - 1);
        break;
      }
      case OpCode::StoreIndexLocal: case OpCode::StoreIndexField: case OpCode::StoreIndexGlobal:
      case OpCode::StoreIndexDyn: case OpCode::StoreIndexValue: {
        Value v = pop();
        Value* args = sp_ - in.a;
        switch (in.op) {
          case OpCode::StoreIndexLocal: storeIndexed(slot(f, in.b), args, in.a, std::move(v), in.c); break;
          case OpCode::StoreIndexField: storeIndexed(f.me->fields()[in.b], args, in.a, std::move(v), in.c); break;
          case OpCode::StoreIndexGlobal: {
            GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
            Value* var = globalVariable(e, lm, false);
            if (var) {
              storeIndexed(*var, args, in.a, std::move(v), in.b);
            } else if (e.kind == GlobalEntry::Object) {
              Value target = e.value;
              storeIndexed(target, args, in.a, std::move(v), in.b);
            } else if (e.kind == GlobalEntry::HostMember) {
              std::vector<Value> all(args, args + in.a);
              if (in.b == 0 && v.isObject()) v = resolveDefault(v);
              all.push_back(std::move(v));
              invokeDispatch(e.host, e.dispId, in.b == 1 ? InvokeKind::PropertySet : InvokeKind::PropertyLet, all.data(),
                             static_cast<int>(all.size()));
            } else {
              typeMismatchName(e.name);
            }
            break;
          }
          case OpCode::StoreIndexDyn: {
            int g = in.c & 0x3FFFFFFF;
            int mode = in.c >> 30;
            GlobalEntry& e = *lm->globals[static_cast<size_t>(g)];
            if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
            if (e.kind == GlobalEntry::Unresolved) {
              if (lm->optionExplicit) raiseNamed(err::VariableUndefined, e.name);
              storeIndexed(slot(f, in.b), args, in.a, std::move(v), mode);
            } else if (e.kind == GlobalEntry::Variable) {
              storeIndexed(e.value, args, in.a, std::move(v), mode);
            } else if (e.kind == GlobalEntry::Object) {
              Value target = e.value;
              storeIndexed(target, args, in.a, std::move(v), mode);
            } else if (e.kind == GlobalEntry::HostMember) {
              std::vector<Value> all(args, args + in.a);
              if (mode == 0 && v.isObject()) v = resolveDefault(v);
              all.push_back(std::move(v));
              invokeDispatch(e.host, e.dispId, mode == 1 ? InvokeKind::PropertySet : InvokeKind::PropertyLet, all.data(),
                             static_cast<int>(all.size()));
            } else {
              typeMismatchName(e.name);
            }
            break;
          }
          default: {
            // The target is a reference when it is an element of a variable (x(0)(1) = v).
            Value& target = args[-1].derefMut();
            if (target.isNothing() && in.a > 0) raise(err::TypeMismatch);
            storeIndexed(target, args, in.a, std::move(v), in.b);
            unpinAbove(args - 1);
            popTo(args - 1);
            continue;
          }
        }
        unpinAbove(args);
        popTo(args);
        break;
      }
      case OpCode::RefIndexLocal: case OpCode::RefIndexField: case OpCode::RefIndexGlobal: case OpCode::RefIndexDyn: {
        Value* args = sp_ - in.a;
        Value r;
        if (in.op == OpCode::RefIndexLocal) {
          r = refIndexed(slot(f, in.b), args, in.a);
        } else if (in.op == OpCode::RefIndexField) {
          r = refIndexed(f.me->fields()[in.b], args, in.a);
        } else {
          GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
          if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
          if (in.op == OpCode::RefIndexDyn && e.kind == GlobalEntry::Unresolved) {
            r = refIndexed(slot(f, in.b), args, in.a);
          } else if (e.kind == GlobalEntry::Variable) {
            r = refIndexed(e.value, args, in.a);
          } else {
            r = callGlobal(e, lm, args, in.a, false);
          }
        }
        // Keep the pin (if any) alive while the reference is on the stack:
        // re-mark it at the slot the reference will occupy.
        if (r.isReference() && !pins_.empty()) pins_.back().mark = args;
        for (Value* p = sp_; p > args;) (--p)->clear();
        sp_ = args;
        push(std::move(r));
        break;
      }
      case OpCode::RefIndexValue: {
        Value* args = sp_ - in.a;
        Value r = args[-1].isReference() ? refIndexed(*args[-1].referenceTarget(), args, in.a)
                                         : indexValue(args[-1], args, in.a);
        if (r.isReference() && !pins_.empty()) pins_.back().mark = args - 1;
        for (Value* p = sp_; p > args - 1;) (--p)->clear();
        sp_ = args - 1;
        push(std::move(r));
        break;
      }
      case OpCode::NewObject: push(newObject(*lm->globals[static_cast<size_t>(in.c)], lm)); break;
      case OpCode::CallIntrinsic: {
        Value* args = sp_ - in.a;
        Value r = callIntrinsic(static_cast<Intrinsic>(in.c), args, in.a, f);
        popTo(args);
        push(std::move(r));
        break;
      }

#define QM_BINARY(NAME, FN)                                       \
  case OpCode::NAME: {                                            \
    Value b = pop();                                              \
    Value& a = sp_[-1];                                           \
    if (a.isObject()) a = resolveDefault(a);                      \
    if (b.isObject()) b = resolveDefault(b);                      \
    a = FN(a, b);                                                 \
    break;                                                        \
  }
#define QM_FAST(NAME, FAST, FN)                                   \
  case OpCode::NAME: {                                            \
    Value& a = sp_[-2];                                           \
    Value& b = sp_[-1];                                           \
    if (!fastArith(FastOp::FAST, a, b)) {                         \
      if (a.isObject()) a = resolveDefault(a);                    \
      if (b.isObject()) b = resolveDefault(b);                    \
      a = FN(a, b);                                               \
    }                                                             \
    (--sp_)->clear();                                             \
    break;                                                        \
  }
      QM_FAST(Add, Add, opAdd)
      QM_FAST(Sub, Sub, opSub)
      QM_FAST(Mul, Mul, opMul)
#undef QM_FAST
      QM_BINARY(Div, opDiv)
      QM_BINARY(IntDiv, opIntDiv)
      QM_BINARY(Mod, opMod)
      QM_BINARY(Pow, opPow)
      case OpCode::Concat: {
        Value b = pop();
        Value& a = sp_[-1];
        if (a.isObject()) a = resolveDefault(a);
        if (b.isObject()) b = resolveDefault(b);
        a = opConcat(a, b);
        countWork(a);
        break;
      }
      QM_BINARY(And, opAnd)
      QM_BINARY(Or, opOr)
      QM_BINARY(Xor, opXor)
      QM_BINARY(Eqv, opEqv)
      QM_BINARY(Imp, opImp)
#undef QM_BINARY
#define QM_COMPARE(NAME, OP)                                      \
  case OpCode::NAME: {                                            \
    Value b = pop();                                              \
    Value& a = sp_[-1];                                           \
    if (a.isObject()) a = resolveDefault(a);                      \
    if (b.isObject()) b = resolveDefault(b);                      \
    a = opCompare(CompareOp::OP, a, b);                           \
    break;                                                        \
  }
      QM_COMPARE(Eq, Eq)
      QM_COMPARE(Ne, Ne)
      QM_COMPARE(Lt, Lt)
      QM_COMPARE(Le, Le)
      QM_COMPARE(Gt, Gt)
      QM_COMPARE(Ge, Ge)
#undef QM_COMPARE
      case OpCode::Neg: {
        Value& a = sp_[-1];
        if (a.isObject()) a = resolveDefault(a);
        a = opNeg(a);
        break;
      }
      case OpCode::Not: {
        Value& a = sp_[-1];
        if (a.isObject()) a = resolveDefault(a);
        a = opNot(a);
        break;
      }
      case OpCode::Is: {
        Value b = pop();
        Value& a = sp_[-1];
        if (!a.isObject() || !b.isObject()) raise(err::ObjectRequired);
        a = Value(a.asObject() == b.asObject());
        break;
      }

      case OpCode::Jump:
        if (in.c < f.pc && --budget_ <= 0) checkBudget();
        f.pc = in.c;
        break;
      case OpCode::JumpIfFalse: case OpCode::JumpIfTrue: {
        Value v = pop();
        if (v.isObject()) v = resolveDefault(v);
        bool t = conditionTrue(v);
        if (t == (in.op == OpCode::JumpIfTrue)) {
          if (in.c < f.pc && --budget_ <= 0) checkBudget();
          f.pc = in.c;
        }
        break;
      }
      case OpCode::ForPrep: {
        Value step = pop();
        Value to = pop();
        if (step.isObject()) step = resolveDefault(step);
        if (to.isObject()) to = resolveDefault(to);
        Value& from = sp_[-1];
        if (from.isObject()) from = resolveDefault(from);
        f.base[in.b] = toNumber(to);
        f.base[in.b + 1] = toNumber(step);
        if (from.isString()) from = toNumber(from);
        break;
      }
      case OpCode::ForTest: {
        Value v = pop();
        if (v.isObject()) v = resolveDefault(v);
        const Value& to = f.base[in.b];
        const Value& step = f.base[in.b + 1];
        bool done;
        auto isInt = [](const Value& x) { return x.type() == VarType::Integer || x.type() == VarType::Long; };
        auto asInt = [](const Value& x) -> int64_t { return x.type() == VarType::Integer ? x.asInteger() : x.asLong(); };
        if (isInt(v) && isInt(to) && isInt(step)) {
          done = asInt(step) >= 0 ? asInt(v) > asInt(to) : asInt(v) < asInt(to);
        } else {
          double s = toDouble(step);
          double x = toDouble(v);
          double lim = toDouble(to);
          done = s >= 0 ? x > lim : x < lim;
        }
        if (done) f.pc = in.c;
        break;
      }
      case OpCode::ForEachPrep: {
        Value c = pop();
        forEachPrep(f, in.b, std::move(c));
        break;
      }
      case OpCode::ForEachNext:
        if (--budget_ <= 0) checkBudget();
        if (!forEachNext(f, in.b)) f.pc = in.c;
        break;
      case OpCode::MakeArray: {
        Value* bounds = sp_ - in.a;
        Value arr = makeArray(bounds, in.a);
        popTo(bounds);
        push(std::move(arr));
        break;
      }
      case OpCode::ReDim: {
        Value* bounds = sp_ - in.a;
        Value& target = bounds[-1].derefMut();
        redim(target, bounds, in.a, in.b != 0);
        popTo(bounds - 1);
        break;
      }
      case OpCode::Erase: {
        Value ref = pop();
        Value& t = ref.derefMut();
        if (!t.isArray()) raise(err::TypeMismatch);
        if (t.asArray().locks > 0) raise(err::ArrayFixedOrLocked);
        if (t.asArray().fixedSize) {
          ArrayData& a = t.mutableArray();
          for (auto& el : a.elements) el.clear();
        } else {
          t = Value::array(new ArrayData);
        }
        break;
      }
      case OpCode::OnErrorResumeNext:
        f.resumeNext = true;
        err_->clear();
        break;
      case OpCode::OnErrorGoto0:
        f.resumeNext = false;
        err_->clear();
        break;
      case OpCode::CheckObject:
        if (!sp_[-1].isObject()) raise(err::ObjectRequired);
        break;
      case OpCode::Raise: raise(in.c);
      case OpCode::AppendLocal: {
        Value rhs = pop();
        appendTo(slot(f, in.b), std::move(rhs));
        break;
      }
      case OpCode::AppendGlobal: {
        Value rhs = pop();
        GlobalEntry& e = *lm->globals[static_cast<size_t>(in.c)];
        if (e.kind == GlobalEntry::Variable) {
          appendTo(e.value, std::move(rhs));
        } else {
          Value cur = loadGlobal(e, lm);
          if (cur.isObject()) cur = resolveDefault(cur);
          if (rhs.isObject()) rhs = resolveDefault(rhs);
          storeGlobal(e, lm, opConcat(cur, rhs), 0);
        }
        break;
      }
      case OpCode::Return: return;
    }
  }
}

}  // namespace qm::vbs
