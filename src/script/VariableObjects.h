// Game variables as scripts see them: live objects whose default property is
// Value, so `MyVar = 5`, `If MyVar = 1` and `MyVar.Value` all reach the record
// in the game's store.
#pragma once

#include <memory>

#include "logic/VariableRecords.h"
#include "script/HostObject.h"

namespace qm::script {

class IntegerVariableObject : public HostObject {
 public:
  explicit IntegerVariableObject(std::shared_ptr<logic::ClassVariable> record) : record_(std::move(record)) {}
  std::u16string typeName() const override { return u"ClassVariable"; }
  const void* classKey() const override;
  const std::shared_ptr<logic::ClassVariable>& record() const { return record_; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  std::shared_ptr<logic::ClassVariable> record_;
};

class VariantVariableObject : public HostObject {
 public:
  explicit VariantVariableObject(std::shared_ptr<logic::ClassVariableVariant> record) : record_(std::move(record)) {}
  std::u16string typeName() const override { return u"ClassVariableVariant"; }
  const void* classKey() const override;
  const std::shared_ptr<logic::ClassVariableVariant>& record() const { return record_; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  std::shared_ptr<logic::ClassVariableVariant> record_;
};

}  // namespace qm::script
