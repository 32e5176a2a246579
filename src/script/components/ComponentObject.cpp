#include "script/components/ComponentObject.h"

#include <array>

namespace qm::script {

namespace vb = qm::vbs;

namespace {

bool isWrite(vb::InvokeKind kind) { return kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet; }

constexpr vb::DispId kObjectMember = 500;
constexpr vb::DispId kFirstMethod = 600;  // below the ids of the property table (1000 on)

// One parameter; it reads and writes its entry of the event's list by position.
class EventParameterObject : public HostObject {
 public:
  EventParameterObject(vb::Ref<EventParametersObject> owner, size_t index) : owner_(std::move(owner)), index_(index) {}
  std::u16string typeName() const override { return u"EventParameter"; }

 protected:
  std::span<const vb::MemberEntry> members() const override {
    static constexpr vb::MemberEntry kMembers[] = {{u"Value", vb::DispIdValue}, {u"Name", 1}};
    return kMembers;
  }
  vb::Value call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) override {
    EventParameter* parameter_ = &owner_->parameters().at(index_);
    if (id == 1) {
      if (isWrite(kind)) raiseText(383, QStringLiteral("'Name' property is read-only"));
      return vb::Value(toU16(parameter_->name));
    }
    if (id != vb::DispIdValue) vb::raise(vb::err::NoSuchMember);
    if (isWrite(kind)) {
      vb::checkArgCount(args, 1, 1);
      parameter_->value = args[0].deref();
      return {};
    }
    vb::checkArgCount(args, 0, 0);
    return parameter_->value;
  }

 private:
  vb::Ref<EventParametersObject> owner_;  // keeps the list alive
  size_t index_;
};

}  // namespace

// ---- ComponentObject ------------------------------------------------------------

ComponentObject::ComponentObject(HostedComponent* component)
    : ControlObject(component, component), component_(component) {}

std::u16string ComponentObject::typeName() const {
  return component_ ? toU16(component_->typeName()) : std::u16string(u"Object");
}

vb::DispId ComponentObject::findMember(std::u16string_view name) {
  if (vb::findInTable(std::array{vb::MemberEntry{u"Object", kObjectMember}}, name) != vb::DispIdUnknown)
    return kObjectMember;
  if (component_) {
    const auto methods = component_->methods();
    for (size_t i = 0; i < methods.size(); ++i)
      if (vb::findInTable(std::array{vb::MemberEntry{methods[i].name, 0}}, name) == 0)
        return kFirstMethod + static_cast<vb::DispId>(i);
  }
  return ControlObject::findMember(name);
}

vb::Value ComponentObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (!component_) raiseText(340, QStringLiteral("The component no longer exists"));
  if (id == kObjectMember) {
    if (isWrite(kind)) raiseText(383, QStringLiteral("'Object' property is read-only"));
    return vb::Value(this);
  }
  const auto methods = component_->methods();
  if (id >= kFirstMethod && id < kFirstMethod + static_cast<vb::DispId>(methods.size()))
    return methods[static_cast<size_t>(id - kFirstMethod)].call(*component_, kind, args);
  if (id == vb::DispIdValue) {
    const vb::DispId target = ControlObject::findMember(toU16(component_->defaultMember()));
    if (target == vb::DispIdUnknown || target == vb::DispIdValue) vb::raise(vb::err::NoSuchMember);
    return call(target, kind, args);
  }
  return ControlObject::call(id, kind, args);
}

// ---- EventParametersObject ----------------------------------------------------------

std::span<const vb::MemberEntry> EventParametersObject::members() const {
  static constexpr vb::MemberEntry kMembers[] = {{u"Item", vb::DispIdValue}, {u"Count", 1}};
  return kMembers;
}

vb::Value EventParametersObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (isWrite(kind)) raiseText(383, QStringLiteral("Property is read-only"));
  EventParameterList& l = list_;
  if (id == 1) {
    vb::checkArgCount(args, 0, 0);
    return vb::Value(static_cast<int32_t>(l.size()));
  }
  if (id != vb::DispIdValue) vb::raise(vb::err::NoSuchMember);
  vb::checkArgCount(args, 1, 1);
  const vb::Value& key = args[0].deref();
  if (key.isString()) {
    const QString name = toQ(vb::toString(key));
    for (size_t i = 0; i < l.size(); ++i)
      if (l[i].name.compare(name, Qt::CaseInsensitive) == 0) return vb::Value(new EventParameterObject(this, i));
    vb::raise(vb::err::SubscriptOutOfRange);
  }
  const int32_t i = vb::toInt32(key);
  if (i < 0 || static_cast<size_t>(i) >= l.size()) vb::raise(vb::err::SubscriptOutOfRange);
  return vb::Value(new EventParameterObject(this, static_cast<size_t>(i)));
}

std::unique_ptr<vb::Enumerator> EventParametersObject::newEnum() {
  std::vector<vb::Value> items;
  for (size_t i = 0; i < list_.size(); ++i) items.emplace_back(new EventParameterObject(this, i));
  return std::make_unique<vb::ValueListEnumerator>(std::move(items));
}

}  // namespace qm::script
