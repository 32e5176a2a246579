#pragma once
// Maps the Windows-style paths scripts use ("C:\Game\Save.txt", "..\x", any
// letter case) to native paths, optionally confined to one folder.
#include <filesystem>
#include <string>
#include <vector>

namespace qm::vbs::rt {

class ScriptPaths {
public:
    // `root` (UTF-8): the folder scripts are confined to; empty = no confinement.
    explicit ScriptPaths(const std::string& root);

    // Native path for a script path. Existing components are matched ignoring
    // case. Raises 70 (permission denied) for paths outside the root, by their
    // text or by their real path (links followed), and 76 for an empty path.
    std::filesystem::path resolve(const std::u16string& scriptPath) const;
    // True when the real path (links followed; for a file still to be created,
    // that of its existing parents) lies inside the root, or nothing is confined.
    bool contains(const std::filesystem::path& native) const;
    // The path as scripts see it.
    std::u16string display(const std::filesystem::path& native) const;
    const std::filesystem::path& base() const { return base_; }
    // The folders files are opened in (platform/GameFileOpen.h): the root, or
    // none when nothing is confined.
    std::vector<std::string> roots() const;
    bool confined() const { return confined_; }

private:
    std::filesystem::path base_;
    bool confined_ = false;
};

// String-only path helpers (no file access), as the file-system object gives them.
std::u16string pathFileName(const std::u16string& path);
std::u16string pathBaseName(const std::u16string& path);
std::u16string pathExtension(const std::u16string& path);
std::u16string pathParent(const std::u16string& path);
std::u16string pathDrive(const std::u16string& path);
std::u16string pathJoin(const std::u16string& path, const std::u16string& name);

} // namespace qm::vbs::rt
