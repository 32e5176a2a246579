// Where the player finds its own files: the bundled demo game and the rest of
// its data. Installed, they live under the prefix the program was installed to
// (PREFIX/bin/quillmere reads PREFIX/share/quillmere); run from the build
// folder, the program reads them from the source tree.
#pragma once

#include <QString>

namespace qm::startup {

struct InstallLayout {
  QString buildFolder;         // the folder the build writes the program to
  QString sourceDataFolder;    // holds the demo game in the source tree
  QString dataFromProgram;     // the data folder, relative to the installed program's folder
};

// The layout this program was built with.
InstallLayout BuiltInLayout();

// The folder of the player's own files for a program running from
// executableFolder: the source tree only when that is the build folder,
// else the prefix-relative data folder (which may be missing).
QString DataFolder(const QString& executableFolder, const InstallLayout& layout = BuiltInLayout());

// The bundled demo game: DataFolder()/demo.
QString BundledDemoFolder(const QString& executableFolder, const InstallLayout& layout = BuiltInLayout());

}  // namespace qm::startup
