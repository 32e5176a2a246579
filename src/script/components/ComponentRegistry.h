// The components the player provides, by the identifiers games create them
// with ("Forms.CommandButton.1", "WMPlayer.OCX", ...). Identifiers are matched
// without regard to case, as the system's class registry matches them.
#pragma once

#include <QString>
#include <QStringList>
#include <span>

class QWidget;

namespace qm::script {

class HostedComponent;

struct ComponentKind {
  const char* progId;
  HostedComponent* (*make)(const QString& name, QWidget* canvas);
};

// The kinds of each family (FormsControls.cpp, MediaPlayerComponents.cpp, CommonControls.cpp).
std::span<const ComponentKind> formsComponentKinds();
std::span<const ComponentKind> mediaPlayerComponentKinds();
std::span<const ComponentKind> commonControlsComponentKinds();

// A new component of that kind named `name` inside canvas, hidden; nullptr when
// the player provides no component under that identifier.
HostedComponent* CreateComponent(const QString& progId, const QString& name, QWidget* canvas);
bool IsProvidedComponent(const QString& progId);
// Every identifier, in the order of the families above.
QStringList ProvidedComponentIdentifiers();

}  // namespace qm::script
