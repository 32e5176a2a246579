// Script class instances, GetRef procedure objects and the Err object.
#include "vbscript/vm/ScriptObject.h"

namespace qm::vbs {

ScriptObject::ScriptObject(const ClassCode* cls, std::shared_ptr<LinkedModule> link, std::shared_ptr<VmAlive> alive)
    : cls_(cls), link_(std::move(link)), alive_(std::move(alive)) {
  fields_.resize(cls->fields.size());
  for (size_t i = 0; i < cls->fields.size(); ++i) {
    const ClassField& f = cls->fields[i];
    if (!f.isArray) continue;
    if (f.bounds.empty()) {
      fields_[i] = Value::array(new ArrayData);
    } else {
      fields_[i] = Value::newArray(f.bounds);
      fields_[i].mutableArray().fixedSize = true;
    }
  }
}

DispId ScriptObject::findMember(std::u16string_view name) {
  int m = cls_->find(name);
  if (m < 0 || !cls_->members[static_cast<size_t>(m)].isPublic) return DispIdUnknown;
  return m + 1;
}

Value ScriptObject::invoke(DispId id, InvokeKind kind, std::span<Value> args) {
  Vm* vm = alive_->vm;
  if (!vm || !link_->alive) raise(err::CannotPerformOperation);
  int member = id == DispIdValue ? cls_->defaultMember : id - 1;
  if (member < 0 || member >= static_cast<int>(cls_->members.size())) raise(err::NoSuchMember);
  return vm->invokeScriptMember(this, member, kind, args);
}

void ScriptObject::lastReleased() noexcept {
  Vm* vm = alive_->vm;
  if (!vm || !initialized || !cls_->terminate || !link_->alive) return;
  try {
    vm->callExternal(cls_->terminate, link_.get(), this, {});
  } catch (...) {
    // Errors in Class_Terminate are not reported.
  }
}

Value ProcRef::invoke(DispId id, InvokeKind, std::span<Value> args) {
  if (id != DispIdValue) raise(err::NoSuchMember);
  Vm* vm = alive_->vm;
  if (!vm || !link_ || !link_->alive) raise(err::CannotPerformOperation);
  return vm->callExternal(fn_, link_.get(), nullptr, args);
}

namespace {
enum ErrMember : DispId { Number = 0, Description = 1, Source = 2, HelpFile = 3, HelpContext = 4, Raise = 5, Clear = 6 };
constexpr MemberEntry kErrMembers[] = {
    {u"Number", Number}, {u"Description", Description}, {u"Source", Source}, {u"HelpFile", HelpFile},
    {u"HelpContext", HelpContext}, {u"Raise", Raise}, {u"Clear", Clear},
};
}  // namespace

DispId ErrObject::findMember(std::u16string_view name) { return findInTable(kErrMembers, name); }

Value ErrObject::invoke(DispId id, InvokeKind kind, std::span<Value> args) {
  bool put = kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet;
  switch (id) {
    case Number:
      if (put) { checkArgCount(args, 1, 1); number = toInt32(args[0]); return Value(); }
      checkArgCount(args, 0, 0);
      return Value(number);
    case Description:
      if (put) { checkArgCount(args, 1, 1); description = toString(args[0]); return Value(); }
      checkArgCount(args, 0, 0);
      return Value(description);
    case Source:
      if (put) { checkArgCount(args, 1, 1); source = toString(args[0]); return Value(); }
      checkArgCount(args, 0, 0);
      return Value(source);
    case HelpFile:
      if (put) { checkArgCount(args, 1, 1); helpFile = toString(args[0]); return Value(); }
      checkArgCount(args, 0, 0);
      return Value(helpFile);
    case HelpContext:
      if (put) { checkArgCount(args, 1, 1); helpContext = toInt32(args[0]); return Value(); }
      checkArgCount(args, 0, 0);
      return Value(helpContext);
    case Raise: {
      checkArgCount(args, 1, 5);
      int32_t n = toInt32(args[0]);
      Value none;
      const Value& src = argOr(args, 1, none);
      const Value& desc = argOr(args, 2, none);
      ScriptError e(n);
      if (!desc.isEmpty()) e.description = toString(desc);
      else if (standardDescription(n).empty()) e.description = u"Unknown runtime error";
      if (!src.isEmpty()) e.source = toString(src);
      const Value& hf = argOr(args, 3, none);
      if (!hf.isEmpty()) helpFile = toString(hf);
      throw e;
    }
    case Clear:
      checkArgCount(args, 0, 0);
      clear();
      return Value();
    default:
      raise(err::NoSuchMember);
  }
}

void ErrObject::clear() {
  number = 0;
  description.clear();
  source.clear();
  helpFile.clear();
  helpContext = 0;
}

void ErrObject::set(const ScriptError& e) {
  number = e.number;
  description = e.description;
  source = e.source;
}

}  // namespace qm::vbs
