// Which game folder the player runs.
#pragma once

#include <QString>

namespace qm::startup {

struct GameFolderChoice {
  QString folder;   // absolute, without a trailing slash; empty when none could be chosen
  QString error;    // why none could be chosen (a folder given on the command line that is not one)
};

// A folder given on the command line; else the executable's own folder when it
// holds Config/General (any letter case); else the bundled demo folder.
GameFolderChoice ChooseGameFolder(const QString& commandLineFolder, const QString& executableFolder,
                                  const QString& demoFolder);

// The folder of the running executable (read from /proc/self/exe, so it works
// before any QCoreApplication exists).
QString ExecutableFolder();

}  // namespace qm::startup
