#include "startup/ProjectPaths.h"

#include <QDir>

namespace qm::startup {

ProjectPaths computeProjectPaths(const QString& folder) {
  QString root = folder;
  root.replace(u'\\', u'/');
  if (root.isEmpty()) root = QDir::currentPath();
  if (!QDir::isAbsolutePath(root)) root = QDir::current().absoluteFilePath(root);
  if (!root.endsWith(u'/')) root += u'/';

  ProjectPaths p;
  p.project = root;
  p.framesData = root + QStringLiteral("FramesData/");
  p.frames = root + QStringLiteral("Frames/");
  p.areas = root + QStringLiteral("Areas/");
  p.icons = root + QStringLiteral("Icons/");
  p.config = root + QStringLiteral("Config/");
  p.temp = root + QStringLiteral("Temp/");
  p.schemes = root + QStringLiteral("Schemes/");
  p.inventory = root + QStringLiteral("Inventory/");
  p.external = root + QStringLiteral("External/");
  p.plugins = root + QStringLiteral("CPData/");
  return p;
}

QString pathByNumber(const ProjectPaths& paths, int iPath) {
  switch (iPath) {
    case 0:
    case 1: return paths.project;
    case 3: return paths.config;
    case 4: return paths.areas;
    case 5: return paths.frames;
    case 6: return paths.framesData;
    case 7: return paths.icons;
    default: return paths.external;
  }
}

QString inProjectFolder(const ProjectPaths& paths, const QString& path) {
  if (path.isEmpty() || path.startsWith(u'/') || path.startsWith(u'\\')) return path;
  if (path.size() >= 2 && path[1] == u':') return path;  // "C:\...": a drive names no folder here
  return paths.project + path;
}

}  // namespace qm::startup
