// Script class instances, GetRef procedure objects and the Err object.
#include "vbscript/vm/ScriptObject.h"

namespace qm::vbs {

ScriptObject::ScriptObject(const ClassCode* cls, std::shared_ptr<LinkedModule> link, std::shared_ptr<VmAlive> alive)
    : cls_(cls), link_(std::move(link)), alive_(std::move(alive)) {
  scriptObject_ = true;
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
  int member = memberFor(id);
  if (member < 0) raise(err::NoSuchMember);
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
      int32_t n = raisedNumber(toInt32(args[0]));
      Value none;
      const Value& src = argOr(args, 1, none);
      const Value& desc = argOr(args, 2, none);
      const Value& hf = argOr(args, 3, none);
      const Value& hc = argOr(args, 4, none);
      // What is not given stays as the Err object has it; an empty one gets the standard text.
      ScriptError e(n);
      if (!desc.isEmpty() && !desc.isMissing()) e.description = toString(desc);
      else if (!description.empty()) e.description = description;
      if (!src.isEmpty() && !src.isMissing()) e.source = toString(src);
      else if (!source.empty()) e.source = source;
      e.helpFile = !hf.isEmpty() && !hf.isMissing() ? toString(hf) : helpFile;
      e.helpContext = !hc.isEmpty() && !hc.isMissing() ? toInt32(hc) : helpContext;
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
  description = e.namesSubject ? standardDescription(e.number) : e.description;
  source = e.source;
  helpFile = e.helpFile;
  helpContext = e.helpContext;
}

int32_t ErrObject::raisedNumber(int32_t n) {
  auto code = static_cast<uint32_t>(n);
  // Errors of the script facility and the common system failures become their
  // language error numbers; other failure codes (vbObjectError + n) stay.
  if ((code & 0xFFFF0000u) == 0x800A0000u) code &= 0xFFFFu;
  switch (code) {
    case 0x8007000Eu: case 0x80070008u: return err::OutOfMemory;
    case 0x80070057u: return err::InvalidCall;
    case 0x80070005u: return err::PermissionDenied;
    case 0x80070002u: return err::FileNotFound;
    case 0x80070003u: return err::PathNotFound;
    case 0x80004001u: return 445;
    case 0x80004002u: return 430;
    default: break;
  }
  if (code == 0 || (static_cast<int32_t>(code) > 0 && code > 0xFFFFu)) return err::InvalidCall;
  return static_cast<int32_t>(code);
}

}  // namespace qm::vbs
