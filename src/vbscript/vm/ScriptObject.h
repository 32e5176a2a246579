// Instances of script classes, procedure references (GetRef) and the For Each
// enumerator holder.
#pragma once

#include <memory>

#include "vbscript/Dispatch.h"
#include "vbscript/vm/Vm.h"

namespace qm::vbs {

class ScriptObject final : public Dispatch {
 public:
  ScriptObject(const ClassCode* cls, std::shared_ptr<LinkedModule> link, std::shared_ptr<VmAlive> alive);

  std::u16string typeName() const override { return cls_->name; }
  DispId findMember(std::u16string_view name) override;
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override;
  bool hasDefaultMember() const override { return cls_->defaultMember >= 0; }
  const void* classKey() const override { return cls_; }

  const ClassCode* cls() const { return cls_; }
  // The member a DispId names: DispIdValue names the class's Default member.
  // -1 when there is no such member.
  int memberFor(DispId id) const {
    int member = id == DispIdValue ? cls_->defaultMember : id - 1;
    return member >= 0 && member < static_cast<int>(cls_->members.size()) ? member : -1;
  }
  LinkedModule* link() const { return link_.get(); }
  std::vector<Value>& fields() { return fields_; }
  // Set once Class_Initialize has run (Terminate runs only for initialised objects).
  bool initialized = false;

 protected:
  void lastReleased() noexcept override;

 private:
  const ClassCode* cls_;
  std::shared_ptr<LinkedModule> link_;
  std::shared_ptr<VmAlive> alive_;
  std::vector<Value> fields_;
};

// What GetRef returns: calling its default member calls the procedure.
class ProcRef final : public Dispatch {
 public:
  ProcRef(const FunctionCode* fn, std::shared_ptr<LinkedModule> link, std::shared_ptr<VmAlive> alive)
      : fn_(fn), link_(std::move(link)), alive_(std::move(alive)) {}
  std::u16string typeName() const override { return u"Object"; }
  DispId findMember(std::u16string_view) override { return DispIdUnknown; }
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override;

 private:
  const FunctionCode* fn_;
  std::shared_ptr<LinkedModule> link_;
  std::shared_ptr<VmAlive> alive_;
};

// Keeps an Enumerator alive in a For Each loop's hidden slot.
class EnumHolder final : public Dispatch {
 public:
  explicit EnumHolder(std::unique_ptr<Enumerator> e) : e_(std::move(e)) {}
  std::u16string typeName() const override { return u"Enumerator"; }
  DispId findMember(std::u16string_view) override { return DispIdUnknown; }
  Value invoke(DispId, InvokeKind, std::span<Value>) override { raise(err::NoSuchMember); }
  bool next(Value& out) { return e_->next(out); }

 private:
  std::unique_ptr<Enumerator> e_;
};

// The Err object.
class ErrObject final : public Dispatch {
 public:
  std::u16string typeName() const override { return u"ErrObject"; }
  DispId findMember(std::u16string_view name) override;
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override;

  void clear();
  void set(const ScriptError& e);
  // The error number Err.Raise n raises.
  static int32_t raisedNumber(int32_t n);

  int32_t number = 0;
  std::u16string description;
  std::u16string source;
  std::u16string helpFile;
  int32_t helpContext = 0;
};

}  // namespace qm::vbs
