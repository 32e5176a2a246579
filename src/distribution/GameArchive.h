// Games played straight from the archive they were downloaded as. The archive
// is unpacked once into the user's cache folder,
// $XDG_CACHE_HOME/quillmere/archives/<name>-<hash>/, and played from there as
// a read-only game (its saves go to the user's data folder). It is unpacked
// into a temporary folder inside the cache and renamed when complete, so a
// folder under its final name is always whole and is reused on the next run;
// a refused or damaged archive leaves nothing behind.
#pragma once

#include <QString>

#include "distribution/ArchiveReader.h"

namespace qm::distribution {

struct ArchivedGame {
  QString folder;  // the game folder inside the unpacked archive (native path); empty on failure
  QString error;   // why the archive cannot be played
};

// $XDG_CACHE_HOME/quillmere/archives (~/.cache/... when unset), no trailing slash.
QString archiveCacheFolder();

// Unpacks the archive at `archivePath` (a native path) into `cacheFolder`,
// unless it is there already, and finds the game in it.
ArchivedGame openGameArchive(const QString& archivePath, const QString& cacheFolder = archiveCacheFolder(),
                             const ArchiveLimits& limits = {});

// The shallowest folder under `root` (itself included) that holds the project
// information file Config/General, in any letter case; empty when none does.
QString findGameFolder(const QString& root);

// Whether a game folder lies in the archive cache (and is therefore played read-only).
bool isUnpackedArchiveFolder(const QString& folder, const QString& cacheFolder = archiveCacheFolder());

}  // namespace qm::distribution
