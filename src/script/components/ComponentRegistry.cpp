#include "script/components/ComponentRegistry.h"

#include "script/components/HostedComponent.h"

namespace qm::script {

namespace {

const ComponentKind* findKind(const QString& progId) {
  for (auto family : {formsComponentKinds(), mediaPlayerComponentKinds(), commonControlsComponentKinds()})
    for (const ComponentKind& k : family)
      if (progId.compare(QLatin1String(k.progId), Qt::CaseInsensitive) == 0) return &k;
  return nullptr;
}

}  // namespace

HostedComponent* CreateComponent(const QString& progId, const QString& name, QWidget* canvas) {
  const ComponentKind* kind = findKind(progId);
  return kind ? kind->make(name, canvas) : nullptr;
}

bool IsProvidedComponent(const QString& progId) { return findKind(progId) != nullptr; }

QStringList ProvidedComponentIdentifiers() {
  QStringList ids;
  for (auto family : {formsComponentKinds(), mediaPlayerComponentKinds(), commonControlsComponentKinds()})
    for (const ComponentKind& k : family) ids << QLatin1String(k.progId);
  return ids;
}

}  // namespace qm::script
