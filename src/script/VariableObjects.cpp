#include "script/VariableObjects.h"

namespace qm::script {

namespace {
enum : vbs::DispId { kValue = vbs::DispIdValue, kName = 1 };
constexpr vbs::MemberEntry kMembers[] = {{u"Value", kValue}, {u"Name", kName}};
const char kIntegerKey = 0;
const char kVariantKey = 0;

bool isWrite(vbs::InvokeKind kind) { return kind == vbs::InvokeKind::PropertyLet || kind == vbs::InvokeKind::PropertySet; }

void requireNoIndex(std::span<vbs::Value> args, vbs::InvokeKind kind) {
  if (args.size() != (isWrite(kind) ? 1u : 0u)) vbs::raise(vbs::err::WrongArgCount);
}
}  // namespace

std::span<const vbs::MemberEntry> IntegerVariableObject::members() const { return kMembers; }
const void* IntegerVariableObject::classKey() const { return &kIntegerKey; }

vbs::Value IntegerVariableObject::call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) {
  requireNoIndex(args, kind);
  const bool write = isWrite(kind);
  if (id == kValue) {
    // 16-bit, as the store keeps it: a value out of range is an overflow.
    if (write) record_->Value = argInt16(args.back());
    return write ? vbs::Value() : vbs::Value(record_->Value);
  }
  if (id == kName) {
    if (write) record_->Name = argText(args.back());
    return write ? vbs::Value() : vbs::Value(toU16(record_->Name));
  }
  vbs::raise(vbs::err::NoSuchMember);
}

std::span<const vbs::MemberEntry> VariantVariableObject::members() const { return kMembers; }
const void* VariantVariableObject::classKey() const { return &kVariantKey; }

vbs::Value VariantVariableObject::call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) {
  requireNoIndex(args, kind);
  const bool write = isWrite(kind);
  if (id == kValue) {
    if (write) {
      const vbs::Value& v = args.back().deref();
      // A variable holding itself would never be freed.
      if (v.isObject() && v.asObject() == this) vbs::raise(vbs::err::InvalidCall);
      record_->Value = toQVariant(v);
      return {};
    }
    return fromQVariant(record_->Value);
  }
  if (id == kName) {
    if (write) record_->Name = argText(args.back());
    return write ? vbs::Value() : vbs::Value(toU16(record_->Name));
  }
  vbs::raise(vbs::err::NoSuchMember);
}

}  // namespace qm::script
