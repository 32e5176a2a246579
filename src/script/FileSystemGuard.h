// The file-system object scripts get when the game allows CreateObject: it
// reads anywhere in the game folder, but creates, changes, moves and deletes
// files only inside the game's External folder. Every object it hands out
// (files, folders, collections) keeps to the same rule. Both rules hold for
// real paths: a symbolic link never leads a script out of the game folder, nor
// lets it change files outside External.
#pragma once

#include <QString>

#include "vbscript/Dispatch.h"
#include "vbscript/Value.h"

namespace qm::script {

// Wraps the engine's file-system object; writableFolder is a native or game
// path of the one folder where changes are allowed.
vbs::Value GuardFileSystemObject(const vbs::Value& fileSystemObject, const QString& writableFolder);

}  // namespace qm::script
