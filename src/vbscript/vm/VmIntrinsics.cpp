// What the engine itself provides besides statements: Eval, Execute,
// ExecuteGlobal and GetRef, and the host as built-ins see it (boxes are left
// out of the time limit; CreateObject asks the host before the library).
#include "vbscript/vm/ParseCache.h"
#include "vbscript/vm/ScriptObject.h"
#include "vbscript/vm/Vm.h"

namespace qm::vbs {

// ---------------------------------------------------------------- the host

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

// ---------------------------------------------------------------- intrinsics

// Eval and Execute run in the scope of the code that calls them: inside a
// procedure, its locals are the new code's (passed by reference).
Value Vm::runInScope(std::u16string_view text, bool expression, Frame& f) {
  if (f.fn->kind == FunctionCode::TopLevel && !f.me) {
    if (expression) return evalText(text);
    addCode(text);
    return Value();
  }
  auto module = compileCached(text, expression, f.fn);
  if (!module->outerDeclared.empty()) {
    // Its Dims declare the procedure's own names (for Option Explicit); a
    // frame met for the first time drops what an earlier one at its address left.
    std::vector<int>& slots = executeDeclared_[&f];
    if (!f.executeDeclared) slots.clear();
    f.executeDeclared = true;
    slots.insert(slots.end(), module->outerDeclared.begin(), module->outerDeclared.end());
  }
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

Value Vm::callIntrinsic(Intrinsic which, Value* args, int argc, Frame& f) {
  if (argc != 1) raise(err::WrongArgCount);
  Value arg = args[0].deref();
  if (arg.isObject()) arg = resolveDefault(arg);
  // Code and procedure names are strings: anything else is a type mismatch.
  auto text = [&]() -> std::u16string {
    if (!arg.isString()) raise(err::TypeMismatch);
    return arg.asString();
  };
  // A syntax error in the code given is error 1002, catchable like any
  // run-time error; its source still says it is a compilation error.
  auto compiled = [](auto&& run) {
    try {
      return run();
    } catch (const ScriptError& e) {
      if (e.kind != ErrorKind::Syntax) throw;
      ScriptError caught(err::Syntax);
      caught.source = ScriptError(err::Syntax, ErrorKind::Syntax).source;
      throw caught;
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
      return Value(static_cast<Dispatch*>(new ProcRef(e->fn, owner(e->link), alive_)));
    }
  }
  return Value();
}

}  // namespace qm::vbs
