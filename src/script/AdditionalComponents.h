// Components scripts add to the frame canvas at run time (Action.AddComponent):
// the list of added components, creating and removing them by name, their
// events forwarded to the event engine's procedures named component_event,
// and pausing them around transitions. One object per game window
// (game.components()). Components stay when the frame changes; a new game or
// the window's unloading removes them all.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "script/MultiColumnsList.h"
#include "script/components/HostedComponent.h"
#include "vbscript/Dispatch.h"

namespace qm::engine {
class Game;
}

namespace qm::script {

class ComponentObject;

// Holds one added control and receives its generic event.
class ComponentWithEventsClass {
 public:
  ComponentWithEventsClass();
  ~ComponentWithEventsClass();
  QPointer<HostedComponent> Component;
  vbs::Ref<ComponentObject> object;  // what scripts get from Component(name)
  void clear();
};

class AdditionalComponents {
 public:
  explicit AdditionalComponents(engine::Game& game);
  ~AdditionalComponents();
  AdditionalComponents(const AdditionalComponents&) = delete;
  AdditionalComponents& operator=(const AdditionalComponents&) = delete;

  // Rows: lower-cased name, forwarder index, bAppearDuringTransitions, bDisappearBeforeAlphablending.
  MultiColumnsList ComponentsList;
  // Entry 0 is never used; removed components leave an empty entry.
  std::vector<std::unique_ptr<ComponentWithEventsClass>> ComponentEventForwarders;
  // (component, event) pairs, lower-cased, from the event engine's procedure names.
  MultiColumnsList ComponentEventsList;

  void AddAdditionalComponent(const QString& sProgID, const QString& sComponentName, bool bAppearDuringTransitions,
                              bool bDisappearBeforeAlphablending);
  // The component's script object (Nothing when not found, after the message).
  vbs::Value GetComponentRef(const QString& sComponentName);
  void RemoveAdditionalComponent(const QString& sComponentName);
  // Whether a component of that identifier can be made; never shows a message.
  bool DoesProgIDExist(const QString& sProgID);
  // A row of the list has that name (any case).
  bool DoesComponentExist(const QString& sComponentName) const;
  void ResetComponents();
  void PauseComponents();
  void ResumeComponents();
  void BuildAllEventsList();

  // The transitions move components that appear during a transition onto the
  // moving pictures: each live component with its two flags, in list order.
  struct Placement {
    HostedComponent* control;
    bool appearDuringTransitions;
    bool disappearBeforeAlphablending;
  };
  std::vector<Placement> placements() const;

  // The window's dynamic control of that (lower-cased) name, or nullptr.
  HostedComponent* control(const QString& lowerName) const;

 private:
  void ComponentObjectEvent(ComponentWithEventsClass* forwarder, const QString& eventName,
                            EventParameterList& parameters);
  void lateBoundCall(const char16_t* method);
  void removeControl(const QString& lowerName);
  // The window's own controls and control arrays keep their names: a
  // component cannot take one ("Timer1", "area"), in any letter case.
  bool windowHasControlNamed(const QString& lowerName) const;

  engine::Game& game_;
  std::vector<QPointer<HostedComponent>> dynamicControls_;
};

}  // namespace qm::script
