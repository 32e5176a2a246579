// The one way files are opened for a game. A game folder comes from strangers,
// and another program may change it while the player runs, so what was checked
// must be what is used:
//
// - The folder holding the file is found by its real path, which must lie in
//   one of the allowed folders; it is then opened from the allowed folder one
//   name at a time without following any link (openat2 with RESOLVE_BENEATH
//   where the kernel has it, else openat with O_NOFOLLOW), so a name swapped
//   for a link after the check is refused, never followed out.
// - The file itself is opened relative to that folder, never through a link
//   (a link that leads inside is followed once, by its real path, and checked
//   like any name), without blocking, and kept only when the opened file is a
//   regular file: pipes, devices and sockets are never used.
// - A file is written only when it has one name: a hard link to a file
//   elsewhere is never written through.
//
// With no allowed folder (tools, most tests), nothing is confined, but pipes
// and devices are still refused.
//
// Standard C++ and POSIX only: the script engine opens its files here too.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qm::platform {

enum class OpenFor {
  Reading,
  Writing,     // created when missing, emptied once it checked
  Appending,   // created when missing, written at its end
  CreatingNew  // refused when anything of that name exists
};

// The file at a native path (bytes) opened for a game, or -1 with errno set:
// ENOENT / ENOTDIR when it (or its folder) is missing, EACCES when it lies
// outside every folder in `realRoots` or is not a regular file, ELOOP when the
// name is (or became) a link, EMLINK when a file to write has other names.
// `realRoots` are real paths without a trailing '/'; empty: not confined.
int openGameFile(const std::string& nativePath, OpenFor how, const std::vector<std::string>& realRoots,
                 mode_t mode = 0666);

// The folder (O_PATH descriptor) for creating, renaming or removing entries in
// it, found and opened as above; -1 with errno set.
int openGameFolder(const std::string& nativeFolder, const std::vector<std::string>& realRoots);

// Writes the whole file beside its target, in a fresh file of a unique name
// created there (never an existing entry), and renames it over the target, so
// a failure half-way never damages a good file. The target keeps its
// permissions; a link inside the allowed folders is written through (its real
// file is replaced). `beforeRename` runs between the two steps (tests use it to
// model a crash). False with errno set on failure; the fresh file is gone.
bool replaceGameFile(const std::string& nativePath, const std::string& bytes, const std::vector<std::string>& realRoots,
                     const std::function<void()>& beforeRename = {});

// True when `realPath` is `realFolder` or lies below it (both real paths).
bool isBeneath(const std::string& realPath, const std::string& realFolder);

// Tests: runs after a name was checked and before it is opened, with the
// native path, so a test can swap the name for a link at the worst moment.
void setBetweenCheckAndOpenHookForTests(std::function<void(const std::string&)> hook);
// Tests: false makes every open walk the names one at a time, as on kernels
// without openat2.
void setKernelBeneathLookupForTests(bool use);

}  // namespace qm::platform
