// The game window as scripts see it: its VB properties (declared with the
// window's property table), Move, ZOrder, Refresh, Image, every control by its
// name, and Controls, the collection of all its controls with Count.
#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "script/ControlObjects.h"

namespace qm::engine {
class Game;
}

namespace qm::script {

// A named thing a window object hands out (a control or a control array).
using NamedObjectFactory = std::function<vbs::Value()>;
using NamedObjects = std::vector<std::pair<QString, NamedObjectFactory>>;

class WindowObject : public ControlObject {
 public:
  WindowObject(engine::Game& game, NamedObjects controls);
  std::u16string typeName() const override { return u"Game"; }
  // One of the window's own controls or control arrays has that name (any case).
  bool hasControlNamed(const QString& name) const;
  vbs::DispId findMember(std::u16string_view name) override;
  bool hasDefaultMember() const override { return false; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  bool hasFixedMember(vbs::DispId id) const override;
  QImage paintedImage() const override;

 private:
  engine::Game& game_;
  std::shared_ptr<NamedObjects> controls_;
};

// Every control of the window, one entry per loaded element of each control
// array, in the window's order: Item(n) from 0, Item("name"), Count, For Each.
class ControlsCollection : public HostObject {
 public:
  explicit ControlsCollection(std::shared_ptr<NamedObjects> controls) : controls_(std::move(controls)) {}
  std::u16string typeName() const override { return u"Object"; }
  std::unique_ptr<vbs::Enumerator> newEnum() override;
  // The controls as they are now (arrays gain and lose elements).
  std::vector<vbs::Value> all() const;

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  std::shared_ptr<NamedObjects> controls_;
};

}  // namespace qm::script
