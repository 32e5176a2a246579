#pragma once
// Scripting.FileSystemObject with its File, Folder, Files, Folders and
// TextStream objects. Paths go through ScriptPaths, so a host can confine
// scripts to one folder (HostServices::fileSystemRoot).
#include <filesystem>
#include <optional>
#include <string>

#include "vbscript/Builtins.h"
#include "vbscript/Dispatch.h"

namespace qm::vbs::rt {

Dispatch* newFileSystemObject(BuiltinContext& ctx);

// For hosts that add rules of their own, the native paths the objects act on
// (names on disk are bytes; scripts see them as text, see DiskNames.h):
// the path a file-system object makes of a script's path, raising as its
// members do (nullopt for another object) ...
std::optional<std::filesystem::path> nativePathFor(Dispatch& fileSystemObject, const std::u16string& scriptPath);
// ... and the path of one of its File or Folder objects (nullopt for another object).
std::optional<std::filesystem::path> nativePathOf(Dispatch& item);

} // namespace qm::vbs::rt
