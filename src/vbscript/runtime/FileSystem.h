#pragma once
// Scripting.FileSystemObject with its File, Folder, Files, Folders and
// TextStream objects. Paths go through ScriptPaths, so a host can confine
// scripts to one folder (HostServices::fileSystemRoot).
#include "vbscript/Builtins.h"
#include "vbscript/Dispatch.h"

namespace qm::vbs::rt {

Dispatch* newFileSystemObject(BuiltinContext& ctx);

} // namespace qm::vbs::rt
