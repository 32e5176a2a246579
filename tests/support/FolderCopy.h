// Copies a folder tree (a game) into a scratch folder, for tests and benchmarks
// that let a game write beside its files.
#pragma once

#include <QString>

namespace qm::testing {

// Copies every file under `source` to the same place under `target`, which
// must lie inside `scratchRoot` (a temporary folder the caller made); false
// when it does not or a file cannot be copied.
bool copyFolderInto(const QString& source, const QString& target, const QString& scratchRoot);

}  // namespace qm::testing
