#include "startup/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

namespace qm::startup {

namespace {

// Links and dot segments resolved where the folder exists, so that a program
// reached through a link to the build folder still counts as the build's own.
QString canonicalOrClean(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
}

}  // namespace

InstallLayout BuiltInLayout() {
  return InstallLayout{QStringLiteral(QM_BUILD_PROGRAM_DIR), QStringLiteral(QM_SOURCE_DATA_DIR),
                       QStringLiteral(QM_DATA_FROM_PROGRAM)};
}

QString DataFolder(const QString& executableFolder, const InstallLayout& layout) {
  if (executableFolder.isEmpty()) return {};
  const QString program = canonicalOrClean(executableFolder);
  if (!layout.buildFolder.isEmpty() && program == canonicalOrClean(layout.buildFolder))
    return QDir::cleanPath(layout.sourceDataFolder);
  return QDir::cleanPath(program + QLatin1Char('/') + layout.dataFromProgram);
}

QString BundledDemoFolder(const QString& executableFolder, const InstallLayout& layout) {
  const QString data = DataFolder(executableFolder, layout);
  if (data.isEmpty()) return {};
  return data + QStringLiteral("/demo");
}

}  // namespace qm::startup
