// Scripts' view of an added component: its properties (positions in twips,
// colours, Font, Picture), its own methods, Move/ZOrder/SetFocus/Refresh, and
// Object (the component itself, for scripts written against an extender).
// Its events reach the scripts' handlers with an EventParameters collection.
#pragma once

#include "script/ControlObjects.h"
#include "script/components/HostedComponent.h"

namespace qm::script {

class ComponentObject : public ControlObject {
 public:
  explicit ComponentObject(HostedComponent* component);
  std::u16string typeName() const override;
  vbs::DispId findMember(std::u16string_view name) override;
  HostedComponent* component() const { return component_; }
  // The component was removed: every use from here on raises error 340.
  void detach() { component_ = nullptr; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;

 private:
  QPointer<HostedComponent> component_;
};

// The parameters of one event: Count, Item(index from 0, or name) and For
// Each; each parameter has Name and Value (the default member). Values a
// handler writes are kept, so the component can read them back.
class EventParametersObject : public HostObject {
 public:
  explicit EventParametersObject(EventParameterList parameters) : list_(std::move(parameters)) {}
  std::u16string typeName() const override { return u"EventParameters"; }
  std::unique_ptr<vbs::Enumerator> newEnum() override;
  EventParameterList& parameters() { return list_; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  EventParameterList list_;
};

}  // namespace qm::script
