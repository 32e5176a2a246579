// A game folder is untrusted input: while a game runs, every file the player
// opens for it must lie inside the game's own folder, or inside a disc volume
// the player chose. "Inside" is decided on real paths: symbolic links resolved,
// "." and ".." gone, so neither "..\..\x" nor a link in the game folder leads
// out. A path outside is treated exactly like a missing file.
//
// With no allowed folder set (tools, most tests) nothing is confined.
#pragma once

#include <QString>
#include <QStringList>

namespace qm::platform {

// Replaces the allowed folders (the project folder when a game starts); an
// empty list lifts the confinement.
void setConfinementRoots(const QStringList& folders);
// One more allowed folder (a disc volume the player chose) and its removal.
void addConfinementRoot(const QString& folder);
void removeConfinementRoot(const QString& folder);
// The allowed folders, as real paths.
QStringList confinementRoots();

// The real path of a native path: the deepest existing part with every link
// resolved, followed by the rest of the path ("." and ".." applied). Absolute;
// relative paths start at the current directory.
QString realPathOf(const QString& nativePath);

// True when `realPath` is `realFolder` or lies below it (both real paths).
bool isInsideFolder(const QString& realPath, const QString& realFolder);

// True when no confinement is active, or when the real path of the native path
// (existing or about to be created) lies inside an allowed folder.
bool isInsideConfinement(const QString& nativePath);

// Restores the previous allowed folders when it goes out of scope.
class ScopedConfinement {
 public:
  explicit ScopedConfinement(const QStringList& folders);
  ~ScopedConfinement();
  ScopedConfinement(const ScopedConfinement&) = delete;
  ScopedConfinement& operator=(const ScopedConfinement&) = delete;

 private:
  QStringList previous_;
};

}  // namespace qm::platform
