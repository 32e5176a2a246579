// Variables, globals, array elements and default members: what loads, stores
// and references do once the instruction has found its target.
#include <algorithm>

#include "vbscript/Operators.h"
#include "vbscript/vm/ScriptObject.h"
#include "vbscript/vm/Vm.h"

namespace qm::vbs {

void Vm::undefinedVariable(const GlobalEntry& e) { raiseNamed(err::VariableUndefined, e.name); }

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
    cur = invokeDefault(d, InvokeKind::PropertyGet, nullptr, 0);
  }
  return cur;
}

void Vm::assign(Value& target, Value v, StoreMode mode) {
  // An array whose element is being passed by reference cannot be replaced.
  if (target.isArray() && target.asArray().locks > 0) raise(err::ArrayFixedOrLocked);
  switch (mode) {
    case StoreMode::Plain: break;
    case StoreMode::Set:
      if (!v.isObject()) raise(err::ObjectRequired);
      break;
    case StoreMode::Let:
      // Let replaces whatever the variable held, an object too.
      if (v.isObject()) v = resolveDefault(v);
      break;
  }
  target = std::move(v);
}

void Vm::letDefault(const Value& object, Value v) {
  if (v.isObject()) v = resolveDefault(v);
  Value obj = object;
  Value args[1] = {std::move(v)};
  invokeDefault(obj.asObject(), InvokeKind::PropertyLet, args, 1);
}

Value Vm::callValue(const Value& targetIn, Value* args, int argc) {
  const Value& target = targetIn.deref();
  if (target.isObject()) {
    Dispatch* d = target.asObject();
    if (!d) raise(err::ObjectNotSet);
    Value keep = target;
    return invokeDefault(d, InvokeKind::Method, args, argc);
  }
  if (argc == 0) raise(err::TypeMismatch);
  return indexValue(target, args, argc);
}

// ---------------------------------------------------------------- globals

Value* Vm::resolveDyn(Frame& f, int s, GlobalEntry& e, LinkedModule* lm) {
  if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
  if (e.kind != GlobalEntry::Unresolved) return nullptr;
  if (lm->optionExplicit) {
    bool declared = false;
    if (f.executeDeclared) {
      const std::vector<int>& slots = executeDeclared_[&f];
      declared = std::find(slots.begin(), slots.end(), s) != slots.end();
    }
    if (!declared) undefinedVariable(e);
  }
  return &slot(f, s);
}

Value* Vm::globalVariable(GlobalEntry& e, LinkedModule* lm, bool forWrite) {
  if (e.kind == GlobalEntry::Unresolved) {
    tryResolve(e);
    if (e.kind == GlobalEntry::Unresolved) {
      if (lm->optionExplicit) undefinedVariable(e);
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
    case GlobalEntry::Procedure: return execute(e.fn, e.link, nullptr, sp_, 0);
    case GlobalEntry::HostMember: return invokeDispatch(e.host, e.dispId, InvokeKind::PropertyGet, nullptr, 0);
    case GlobalEntry::Class: raiseNamed(err::TypeMismatch, e.name);
    case GlobalEntry::Unresolved:
      tryResolve(e);
      if (e.kind != GlobalEntry::Unresolved) return loadGlobal(e, lm);
      if (lm->optionExplicit) undefinedVariable(e);
      return Value();
  }
  return Value();
}

Value Vm::refGlobal(GlobalEntry& e, LinkedModule* lm) {
  if (Value* var = globalVariable(e, lm, true)) return Value::reference(var);
  return loadGlobal(e, lm);
}

void Vm::storeGlobal(GlobalEntry& e, LinkedModule* lm, Value v, StoreMode mode) {
  if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
  switch (e.kind) {
    case GlobalEntry::Unresolved:
      if (lm->optionExplicit) undefinedVariable(e);
      e.kind = GlobalEntry::Variable;
      [[fallthrough]];
    case GlobalEntry::Variable: assign(e.value, std::move(v), mode); return;
    case GlobalEntry::Object: {
      // A name the host added stays its object: Let assigns the object's default property.
      if (mode != StoreMode::Let || !e.value.asObject()) raiseNamed(err::IllegalAssignment, e.name);
      letDefault(e.value, std::move(v));
      return;
    }
    case GlobalEntry::HostMember: {
      if (mode == StoreMode::Let && v.isObject()) v = resolveDefault(v);
      Value args[1] = {std::move(v)};
      invokeDispatch(e.host, e.dispId, mode == StoreMode::Set ? InvokeKind::PropertySet : InvokeKind::PropertyLet,
                     args, 1);
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
      // An unknown name read plainly is Empty (or undefined under Option
      // Explicit); called or indexed it is a type mismatch.
      if (argc == 0 && !statement) {
        if (lm->optionExplicit) undefinedVariable(e);
        return Value();
      }
      raiseNamed(err::TypeMismatch, e.name);
    case GlobalEntry::Class: raiseNamed(err::TypeMismatch, e.name);
  }
  return Value();
}

// ---------------------------------------------------------------- elements

void Vm::toSubscripts(const Value* args, int argc, int32_t (&subs)[kMaxSubscripts]) {
  if (argc > kMaxSubscripts) raise(err::SubscriptOutOfRange);
  for (int i = 0; i < argc; ++i) {
    const Value& s = args[i].deref();
    subs[i] = s.isObject() ? toInt32(resolveDefault(s)) : toInt32(s);
  }
}

// Subscripts are converted before the array is looked at: an object's default
// value is script code, which may replace the array.
Value Vm::indexValue(const Value& targetIn, Value* args, int argc) {
  const Value& target = targetIn.deref();
  if (target.isArray()) {
    if (argc == 0) return target;
    int32_t subs[kMaxSubscripts];
    toSubscripts(args, argc, subs);
    const Value& now = targetIn.deref();
    if (!now.isArray()) raise(err::TypeMismatch);
    const ArrayData& a = now.asArray();
    return a.elements[a.offsetOf(subs, argc)];
  }
  if (target.isObject()) {
    Dispatch* d = target.asObject();
    if (!d) raise(err::ObjectNotSet);
    if (argc == 0) return target;
    return invokeDefault(d, InvokeKind::PropertyGet, args, argc);
  }
  if (argc == 0) return target;
  raise(err::TypeMismatch);
}

void Vm::storeIndexed(Value& target, Value* args, int argc, Value v, StoreMode mode) {
  if (argc == 0 || !(target.isArray() || target.isObject())) {
    if (argc != 0) raise(err::TypeMismatch);
    assign(target, std::move(v), mode);
    return;
  }
  if (target.isArray()) {
    int32_t subs[kMaxSubscripts];
    toSubscripts(args, argc, subs);
    if (mode == StoreMode::Let && v.isObject()) v = resolveDefault(v);
    if (!target.isArray()) raise(err::TypeMismatch);
    ArrayData& a = target.mutableArray();
    assign(a.elements[a.offsetOf(subs, argc)], std::move(v), mode);
    return;
  }
  Dispatch* d = target.asObject();
  if (!d) raise(err::ObjectNotSet);
  if (mode == StoreMode::Let && v.isObject()) v = resolveDefault(v);
  std::vector<Value> all;
  all.reserve(static_cast<size_t>(argc) + 1);
  for (int i = 0; i < argc; ++i) all.push_back(args[i].deref());
  all.push_back(std::move(v));
  Value keep = target;
  invokeDefault(d, mode == StoreMode::Set ? InvokeKind::PropertySet : InvokeKind::PropertyLet, all.data(),
                static_cast<int>(all.size()));
}

void Vm::storeIndexedGlobal(GlobalEntry& e, LinkedModule* lm, Value* args, int argc, Value v, StoreMode mode) {
  if (Value* var = globalVariable(e, lm, false)) {
    storeIndexed(*var, args, argc, std::move(v), mode);
  } else if (e.kind == GlobalEntry::Object) {
    Value target = e.value;
    storeIndexed(target, args, argc, std::move(v), mode);
  } else if (e.kind == GlobalEntry::HostMember) {
    std::vector<Value> all(args, args + argc);
    if (mode == StoreMode::Let && v.isObject()) v = resolveDefault(v);
    all.push_back(std::move(v));
    invokeDispatch(e.host, e.dispId, mode == StoreMode::Set ? InvokeKind::PropertySet : InvokeKind::PropertyLet,
                   all.data(), static_cast<int>(all.size()));
  } else {
    raiseNamed(err::TypeMismatch, e.name);
  }
}

Value Vm::refIndexed(Value& target, Value* args, int argc) {
  if (target.isArray() && argc > 0 && argc == target.asArray().dimensions()) {
    int32_t subs[kMaxSubscripts];
    toSubscripts(args, argc, subs);
    if (!target.isArray()) raise(err::TypeMismatch);
    ArrayData& a = target.mutableArray();
    size_t off = a.offsetOf(subs, argc);
    ++a.locks;
    pins_.push_back(Pin{&a, args});
    return Value::reference(&a.elements[off]);
  }
  return indexValue(target, args, argc);
}

Value Vm::refIndexedGlobal(GlobalEntry& e, LinkedModule* lm, Value* args, int argc) {
  if (e.kind == GlobalEntry::Unresolved) tryResolve(e);
  if (e.kind == GlobalEntry::Variable) return refIndexed(e.value, args, argc);
  return callGlobal(e, lm, args, argc, false);
}

// ---------------------------------------------------------------- arrays and loops

Value Vm::makeArray(Value* bounds, int dims) {
  if (dims == 0) return Value::array(new ArrayData);
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
  if (state.isEmpty()) raise(err::NotACollection);  // the loop's collection failed under On Error Resume Next
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
  assign(target, opConcat(cur, rhs), StoreMode::Let);
}

}  // namespace qm::vbs
