#include "script/AdditionalComponents.h"

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "platform/VbError.h"
#include "script/ScriptHost.h"
#include "script/ScriptValues.h"
#include "script/components/ComponentObject.h"
#include "script/components/ComponentRegistry.h"
#include "startup/ErrorReport.h"

namespace qm::script {

namespace vb = qm::vbs;

namespace {

void report(const QString& specific) { startup::ShowStandardErrorReport(specific); }

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

int forwarderIndexOf(const MultiColumnsList::Row& row) { return MultiColumnsList::column(row, 2).toInt(); }
QString nameOf(const MultiColumnsList::Row& row) { return MultiColumnsList::column(row, 1).toString(); }

}  // namespace

ComponentWithEventsClass::ComponentWithEventsClass() = default;
ComponentWithEventsClass::~ComponentWithEventsClass() { clear(); }

void ComponentWithEventsClass::clear() {
  if (Component) Component->onObjectEvent = nullptr;
  Component = nullptr;
  if (object) object->detach();
  object = vb::Ref<ComponentObject>();
}

AdditionalComponents::AdditionalComponents(engine::Game& game) : game_(game) {
  ComponentEventForwarders.resize(1);
}

AdditionalComponents::~AdditionalComponents() = default;

bool AdditionalComponents::windowHasControlNamed(const QString& lowerName) const {
  return game_.scripts().isWindowControlName(lowerName);
}

HostedComponent* AdditionalComponents::control(const QString& lowerName) const {
  for (const auto& c : dynamicControls_)
    if (c && c->vbName() == lowerName) return c.data();
  return nullptr;
}

void AdditionalComponents::AddAdditionalComponent(const QString& sProgID, const QString& sComponentName,
                                                  bool bAppearDuringTransitions, bool bDisappearBeforeAlphablending) {
  const QString name = sComponentName.toLower();
  if (DoesComponentExist(name)) {
    report(QStringLiteral(" A component named ") + quoted(sComponentName) +
           QStringLiteral(" already exists. Please use a different name."));
    return;
  }
  if (name.contains(QLatin1Char(' '))) {
    report(QStringLiteral(" The component name must not contain spaces or other special characters."));
    return;
  }
  // The row and its forwarder stay even when making the control fails.
  const int index = static_cast<int>(ComponentEventForwarders.size());
  ComponentEventForwarders.push_back(std::make_unique<ComponentWithEventsClass>());
  ComponentsList.Add({name, index, bAppearDuringTransitions, bDisappearBeforeAlphablending});
  ComponentWithEventsClass* forwarder = ComponentEventForwarders.back().get();
  try {
    if (control(name) || windowHasControlNamed(name))
      throw VbError(727, QStringLiteral("There is already a control with the name '") + name + "'");
    HostedComponent* c = CreateComponent(sProgID, name, game_.PictureBox);
    if (!c) throw VbError::of(429);
    dynamicControls_.emplace_back(c);
    forwarder->Component = c;
    forwarder->object = vb::Ref<ComponentObject>(new ComponentObject(c));
    c->onObjectEvent = [this, forwarder](const QString& eventName, EventParameterList& parameters) {
      ComponentObjectEvent(forwarder, eventName, parameters);
    };
  } catch (...) {
    report(QStringLiteral(" Error in Game.AddAdditionalComponent. The component is probably not installed properly.  ") +
           describeCurrentException());
  }
}

vb::Value AdditionalComponents::GetComponentRef(const QString& sComponentName) {
  try {
    const QString name = sComponentName.toLower();
    int index = -1;
    for (const auto& row : ComponentsList)
      if (nameOf(row) == name) index = forwarderIndexOf(row);  // the last match
    if (index < 0) {
      report(QStringLiteral(" The component named ") + quoted(sComponentName) + QStringLiteral(" could not be found."));
      return vb::Value::nothing();
    }
    // A row whose control could not be made (or is gone) holds no object: that
    // is reported like any other failure here.
    if (index >= static_cast<int>(ComponentEventForwarders.size()) || !ComponentEventForwarders[index])
      throw VbError::of(91);  // Object variable not set
    ComponentWithEventsClass& f = *ComponentEventForwarders[index];
    if (!f.Component || !f.object) throw VbError::of(91);  // Object variable not set
    return vb::Value(f.object.get());
  } catch (...) {
    report(QStringLiteral(" Error in Game.GetComponentRef\". ") + describeCurrentException());
    return vb::Value::nothing();
  }
}

void AdditionalComponents::removeControl(const QString& lowerName) {
  for (auto it = dynamicControls_.begin(); it != dynamicControls_.end(); ++it) {
    if (!*it || (*it)->vbName() != lowerName) continue;
    HostedComponent* c = it->data();
    dynamicControls_.erase(it);
    c->onObjectEvent = nullptr;
    c->hide();
    // Later: the control may be the one whose event is running this.
    c->deleteLater();
    return;
  }
}

void AdditionalComponents::RemoveAdditionalComponent(const QString& sComponentName) {
  try {
    const QString name = sComponentName.toLower();
    long found = 0;
    for (long i = 1; i <= ComponentsList.Count() && !found; ++i)
      if (nameOf(ComponentsList.Item(i)) == name) found = i;  // the first match
    if (!found) {
      report(QStringLiteral(" The component named ") + quoted(sComponentName) +
             QStringLiteral(" could not be removed because it could not be found."));
      return;
    }
    // A row whose control could not be made has no control to remove.
    removeControl(name);
    const int index = forwarderIndexOf(ComponentsList.Item(found));
    if (index > 0 && index < static_cast<int>(ComponentEventForwarders.size()) && ComponentEventForwarders[index]) {
      ComponentEventForwarders[index]->clear();
      ComponentEventForwarders[index].reset();
    }
    ComponentsList.Remove(found);
  } catch (...) {
    report(QStringLiteral(" Error in Game.RemoveAdditionalComponent. ") + describeCurrentException());
  }
}

bool AdditionalComponents::DoesProgIDExist(const QString& sProgID) {
  try {
    HostedComponent* probe = CreateComponent(sProgID, QStringLiteral("ProgIDTestComponent"), game_.PictureBox);
    if (!probe) return false;
    delete probe;
    return true;
  } catch (...) {
    return false;
  }
}

bool AdditionalComponents::DoesComponentExist(const QString& sComponentName) const {
  const QString name = sComponentName.toLower();
  for (const auto& row : ComponentsList)
    if (nameOf(row).toLower() == name) return true;
  return false;
}

void AdditionalComponents::ResetComponents() {
  try {
    for (long i = ComponentsList.Count(); i >= 1; --i) {
      removeControl(nameOf(ComponentsList.Item(i)));
      ComponentsList.Remove(i);
    }
    for (size_t i = ComponentEventForwarders.size(); i-- > 1;) {
      if (ComponentEventForwarders[i]) ComponentEventForwarders[i]->clear();
      ComponentEventForwarders[i].reset();
    }
    ComponentEventForwarders.resize(1);
    // Controls left without a row (none in practice) go too.
    for (auto& c : dynamicControls_)
      if (c) {
        c->onObjectEvent = nullptr;
        c->hide();
        c->deleteLater();
      }
    dynamicControls_.clear();
  } catch (...) {
    report(QStringLiteral("Error in \"ResetComponents\". ") + describeCurrentException());
  }
}

void AdditionalComponents::lateBoundCall(const char16_t* method) {
  for (const auto& row : ComponentsList) {
    try {
      const int index = forwarderIndexOf(row);
      if (index <= 0 || index >= static_cast<int>(ComponentEventForwarders.size())) continue;
      const auto& f = ComponentEventForwarders[index];
      if (!f || !f->object || !f->Component) continue;
      const vb::DispId id = f->object->findMember(method);
      if (id == vb::DispIdUnknown) continue;  // nothing to pause on this kind
      f->object->invoke(id, vb::InvokeKind::Method, {});
    } catch (...) {
      // A component that fails here is left as it is.
    }
  }
}

void AdditionalComponents::PauseComponents() { lateBoundCall(u"PauseComponent"); }
void AdditionalComponents::ResumeComponents() { lateBoundCall(u"ResumeComponent"); }

void AdditionalComponents::BuildAllEventsList() {
  try {
    ComponentEventsList.Clear();
    for (const auto& p : game_.scripts().ScriptControl2.procedures()) {
      const QString name = toQ(p.name);
      const int cut = name.indexOf(QLatin1Char('_'));
      if (cut < 0) continue;
      ComponentEventsList.Add({name.left(cut).toLower(), name.mid(cut + 1).toLower()});
    }
  } catch (...) {
    report(QStringLiteral(" Error in BuildAllEventsList. ") + describeCurrentException());
  }
}

void AdditionalComponents::ComponentObjectEvent(ComponentWithEventsClass* forwarder, const QString& eventName,
                                                EventParameterList& parameters) {
  if (!forwarder->Component || eventName.isEmpty()) return;
  const QString component = forwarder->Component->vbName().toLower();
  const QString event = eventName.toLower();
  try {
    for (const auto& pair : ComponentEventsList) {
      if (MultiColumnsList::column(pair, 1).toString() != component ||
          MultiColumnsList::column(pair, 2).toString() != event)
        continue;
      ScriptHost& host = game_.scripts();
      host.VBScriptAction().ResetModule();
      vb::Ref<EventParametersObject> info(new EventParametersObject(parameters));
      const vb::Value argument(info.get());
      host.ScriptControl2.run(toU16(component + QLatin1Char('_') + event), std::span<const vb::Value>(&argument, 1));
      parameters = info->parameters();
      game_.logic().ExecuteConsequences();
      break;
    }
  } catch (...) {
    report(QStringLiteral("Error in Component_ObjectEvent. ") + describeCurrentException());
  }
}

std::vector<AdditionalComponents::Placement> AdditionalComponents::placements() const {
  std::vector<Placement> out;
  for (const auto& row : ComponentsList) {
    const int index = forwarderIndexOf(row);
    if (index <= 0 || index >= static_cast<int>(ComponentEventForwarders.size())) continue;
    const auto& f = ComponentEventForwarders[index];
    if (!f || !f->Component) continue;
    out.push_back({f->Component.data(), MultiColumnsList::column(row, 3).toBool(),
                   MultiColumnsList::column(row, 4).toBool()});
  }
  return out;
}

}  // namespace qm::script
