// The project folder and its sub-folders: native paths ending in '/',
// computed once at start-up. File paths are formed by plain concatenation
// (folder + name + extension); names may carry backslashes and any letter case,
// since every open goes through the case-insensitive resolver.
#pragma once

#include <QString>

namespace qm::startup {

struct ProjectPaths {
  QString project;     // the game's folder
  QString frames;      // Frames/
  QString framesData;  // FramesData/
  QString areas;       // Areas/
  QString icons;       // Icons/
  QString config;      // Config/
  QString external;    // External/
  QString plugins;     // CPData/
  QString schemes;     // Schemes/
  QString inventory;   // Inventory/
  QString temp;        // Temp/
};

// The paths of a game in the given folder. The folder path gets one '/' at its
// end unless it already has one (a root folder).
ProjectPaths computeProjectPaths(const QString& folder);

// The folder a script's GetPath(iPath) names: 0 and 1 the project folder,
// 3 Config, 4 Areas, 5 Frames, 6 FramesData, 7 Icons, any other External.
QString pathByNumber(const ProjectPaths& paths, int iPath);

// A path a script names, as the game's working folder sees it: the game ran
// with its own folder as the current folder, so a relative name
// ("External\notes.ini", "shot.bmp") lies in the project folder, whatever
// folder the player was started from. Paths from the root, with a drive, or
// empty are left as they are.
QString inProjectFolder(const ProjectPaths& paths, const QString& path);

}  // namespace qm::startup
