#pragma once
// The file-system object's Drive and Drives objects. Scripts see one fixed
// drive, "C:", whose root is the native root folder (or, when scripts are
// confined, the folder they are confined to).
#include <filesystem>
#include <functional>
#include <string>

#include "vbscript/Value.h"

namespace qm::vbs::rt {

struct DriveSource {
    std::filesystem::path root;       // native folder behind "C:\"
    std::function<Value()> rootFolder; // makes the Folder object for the root
};

// True for the drive specifications GetDrive accepts for our drive:
// "C", "c:", "C:\" (any case).
bool isOurDriveSpec(const std::u16string& spec);

Value newDrive(DriveSource source);
Value newDriveList(DriveSource source);

} // namespace qm::vbs::rt
