// Runs and calls: the time limit of a run, frames and their errors, and every
// way one piece of code calls another (procedures, members of script and host
// objects, built-ins, New).
#include <algorithm>
#include <new>

#include "vbscript/vm/ParseCache.h"
#include "vbscript/vm/ScriptObject.h"
#include "vbscript/vm/Vm.h"

namespace qm::vbs {

namespace {

constexpr int kMaxDepth = 3000;                 // nested script calls
constexpr ptrdiff_t kMaxNativeStack = 4 << 20;  // bytes of the C++ stack the runs of a thread may use
constexpr int kBudget = 4096;                   // instructions between clock checks

// The C++ stack of this thread is shared by every engine running on it (one
// engine's script may call into another's), so its budget is per thread.
thread_local const char* tStackTop = nullptr;
thread_local int tActiveRuns = 0;
// The engines running on this thread, innermost last.
thread_local std::vector<Vm*> tRunning;
thread_local int tPauses = 0;

}  // namespace

// ---------------------------------------------------------------- the time limit

PauseTimeLimit::PauseTimeLimit() noexcept : outermost_(tPauses++ == 0) {
  if (outermost_) start_ = std::chrono::steady_clock::now();
}

PauseTimeLimit::~PauseTimeLimit() {
  --tPauses;
  if (!outermost_) return;
  auto paused = std::chrono::steady_clock::now() - start_;
  // Each engine once, however often it is on the thread's run stack.
  for (size_t i = 0; i < tRunning.size(); ++i) {
    auto before = tRunning.begin() + static_cast<ptrdiff_t>(i);
    if (std::find(tRunning.begin(), before, tRunning[i]) == before) tRunning[i]->excludeTime(paused);
  }
}

void checkTimeLimit() {
  if (!tRunning.empty()) tRunning.back()->checkTime();
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

// Marks an entry into script code from outside: the outermost one starts the
// time-out clock and counts for the re-entrancy check that makes Reset fail.
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

// ---------------------------------------------------------------- frames

void Vm::runTopLevel(LinkedModule* lm) {
  RunScope scope(*this);
  execute(lm->module->top(), lm, nullptr, sp_, 0);
}

Value Vm::evalText(std::u16string_view expression) {
  auto lm = link(compileCached(expression, true));
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

Value Vm::invokeScriptMember(ScriptObject* obj, int member, InvokeKind kind, std::span<Value> args) {
  RunScope scope(*this);
  return callScriptMember(obj, member, kind, args.data(), static_cast<int>(args.size()), false);
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
      e.procedure = f.fn->name;
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

void Vm::unpinAbove(Value* mark) {
  while (!pins_.empty() && pins_.back().mark >= mark) {
    ArrayData* a = pins_.back().array;
    pins_.pop_back();
    --a->locks;
  }
}

// ---------------------------------------------------------------- calls

Value Vm::callBuiltin(int index, Value* args, int argc) {
  const Builtin& b = registry_.function(index);
  if (argc < b.minArgs || argc > b.maxArgs) raise(err::WrongArgCount);
  // Built-ins take values: the arguments were pushed as references in case a
  // script procedure of the same name takes them.
  for (int i = 0; i < argc; ++i) {
    if (args[i].isReference()) args[i] = *args[i].referenceTarget();
  }
  Value r = b.fn(*this, std::span<Value>(args, static_cast<size_t>(argc)));
  countWork(r);
  return r;
}

Value Vm::invokeDispatch(Dispatch* d, DispId id, InvokeKind kind, Value* args, int argc) {
  if (d->isScriptObject()) {
    auto* so = static_cast<ScriptObject*>(d);
    int member = so->memberFor(id);
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
      // A plain value field takes no index: o.p(0) = v on a number is no member either.
      if (argc > 1 && !field.isArray() && !field.isObject()) raise(err::NoSuchMember);
      Value v = args[argc - 1].deref();
      storeIndexed(field, args, argc - 1, std::move(v),
                   kind == InvokeKind::PropertySet ? StoreMode::Set : StoreMode::Let);
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
    case InvokeKind::PropertySet: fn = m.set; break;
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

Value Vm::invokeMember(const Value& object, const FunctionCode* site, int nameIndex, int cacheIndex, InvokeKind kind,
                       Value* args, int argc, Frame& f) {
  const Value& o = object.deref();
  if (!o.isObject()) raise(err::ObjectRequired);
  Dispatch* d = o.asObject();
  if (!d) raise(err::ObjectRequired);
  MemberCache& cache = site->caches[static_cast<size_t>(cacheIndex)];
  const std::u16string& name = site->names[static_cast<size_t>(nameIndex)];
  if (d->isScriptObject()) {
    auto* so = static_cast<ScriptObject*>(d);
    int member;
    if (cache.key == so->cls()) {
      member = cache.id;
    } else {
      member = so->cls()->find(name);
      if (member < 0) raiseNamed(err::NoSuchMember, name);
      cache.key = so->cls();
      cache.id = member;
    }
    bool inside = f.me && f.me->cls() == so->cls();
    if (!so->cls()->members[static_cast<size_t>(member)].isPublic && !inside) raiseNamed(err::NoSuchMember, name);
    return callScriptMember(so, member, kind, args, argc, inside);
  }
  DispId id;
  const void* key = d->classKey();
  if (key && cache.key == key) {
    id = cache.id;
  } else {
    id = d->findMember(name);
    if (id == DispIdUnknown) raiseNamed(err::NoSuchMember, name);
    if (key) {
      cache.key = key;
      cache.id = id;
    }
  }
  return invokeDispatch(d, id, kind, args, argc);
}

Value Vm::newObject(GlobalEntry& e, LinkedModule* lm, bool declared) {
  // A script class named like a library class (RegExp) does not replace it.
  if (ObjectFactory f = registry_.findClass(e.name)) {
    Dispatch* d = f(*this);
    if (!d) raise(err::CannotCreateObject);
    return Value(d);
  }
  if (e.kind == GlobalEntry::Class) return newScriptObject(e.cls, e.link);
  // A name nothing declares is undefined under Option Explicit; a variable,
  // a procedure or any other declared name is no class.
  if (lm->optionExplicit && e.kind == GlobalEntry::Unresolved && !declared) undefinedVariable(e);
  raiseNamed(err::ClassNotDefined, e.name);
}

Value Vm::newScriptObject(const ClassCode* cls, LinkedModule* link) {
  std::shared_ptr<LinkedModule> keep = owner(link);
  if (!keep) raise(err::CannotPerformOperation);
  auto* obj = new ScriptObject(cls, std::move(keep), alive_);
  Value v(obj);
  if (cls->initialize) execute(cls->initialize, link, obj, sp_, 0);
  obj->initialized = true;
  return v;
}

}  // namespace qm::vbs
