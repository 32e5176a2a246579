// Base of the player's objects that scripts see: a fixed table of members
// matched by name without regard to case.
#pragma once

#include <utility>

#include "script/ScriptValues.h"
#include "vbscript/Dispatch.h"

namespace qm::script {

class HostObject : public vbs::Dispatch {
 public:
  vbs::DispId findMember(std::u16string_view name) override { return vbs::findInTable(members(), name); }
  // Failures of the game's own operations reach scripts as run-time errors.
  vbs::Value invoke(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) final;

 protected:
  virtual vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) = 0;
  virtual std::span<const vbs::MemberEntry> members() const = 0;
};

// Objects the player keeps alive itself hold one reference from creation.
template <class T, class... Args>
vbs::Ref<T> makeHostObject(Args&&... args) {
  return vbs::Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace qm::script
