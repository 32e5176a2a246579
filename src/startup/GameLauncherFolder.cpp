#include "startup/GameLauncherFolder.h"

#include <QDir>
#include <QFileInfo>

#include "platform/FileResolver.h"
#include "platform/NativeFile.h"

namespace qm::startup {

namespace {

QString cleanAbsolute(const QString& folder) {
  return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool holdsProjectInformation(const QString& folder) {
  if (folder.isEmpty()) return false;
  return platform::fileExists(folder + "/Config/General");
}

}  // namespace

GameFolderChoice ChooseGameFolder(const QString& commandLineFolder, const QString& executableFolder,
                                  const QString& demoFolder) {
  GameFolderChoice choice;
  if (!commandLineFolder.isEmpty()) {
    const auto resolved = platform::resolveExisting(commandLineFolder);
    if (!resolved) {
      choice.error = QStringLiteral("no such game folder: %1").arg(commandLineFolder);
      return choice;
    }
    if (!platform::isFolderAt(*resolved)) {
      choice.error = QStringLiteral("not a folder: %1 (give the game's project folder, the one that holds Config)")
                         .arg(commandLineFolder);
      return choice;
    }
    choice.folder = cleanAbsolute(*resolved);
    return choice;
  }
  if (holdsProjectInformation(executableFolder)) {
    choice.folder = cleanAbsolute(executableFolder);
    return choice;
  }
  if (!demoFolder.isEmpty() && QFileInfo(demoFolder).isDir()) {
    choice.folder = cleanAbsolute(demoFolder);
    return choice;
  }
  choice.error = QStringLiteral("no game folder given, and the bundled demo game is missing (%1)").arg(demoFolder);
  return choice;
}

QString ExecutableFolder() {
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  const QString target = exe.symLinkTarget();
  if (target.isEmpty()) return {};
  return QFileInfo(target).absolutePath();
}

}  // namespace qm::startup
