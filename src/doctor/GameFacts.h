// What the doctor's readers learn from a game folder, for the checks to use:
// the frames, the declared variables, and every file, frame, variable and
// piece of script the data files name, each with the place that names it.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "distribution/CdIndex.h"
#include "doctor/Finding.h"
#include "startup/ProjectInformation.h"
#include "startup/ProjectPaths.h"

namespace qm::doctor {

// What kind of file a name stands for, which decides how it is probed.
enum class MediaKind {
  Picture,          // still pictures: backgrounds, hotspot and item pictures
  AnimatedPicture,  // animated hotspot pictures
  Pointer,          // mouse pointers and icons (.ico/.cur, or a picture)
  Sound,            // sounds and music
  Video,
  Other,            // only its presence matters (ripple masks, ...)
};

struct NamedFile {
  Place at;
  QString path;  // the game path the player opens (folder + name as written)
  QString name;  // the name as the data file writes it
  MediaKind kind = MediaKind::Other;
};

// A frame name the game may go to.
struct FrameReference {
  Place at;
  QString fromFrame;  // the frame whose file or script names it ("" for the start-up)
  QString target;
  bool fromScript = false;
  bool leadsThere = true;  // false: the name is only mentioned (the saved frame of a resume entry)
};

// A variable name used by a condition or an action.
struct VariableReference {
  Place at;
  QString name;
};

// Script code to compile. The code is compiled the way the player runs it:
// wrapped in a procedure of its own unless `whole` (the global procedures,
// plugins' global code).
struct ScriptPiece {
  Place at;           // at.line: the file line where the code starts (0: unknown)
  QString fromFrame;  // the frame the code runs in ("" for game-wide code)
  QString code;
  bool whole = false;
};

struct GameFacts {
  QString folder;  // the game folder as given
  startup::ProjectPaths paths;
  startup::ProjectInformation info;
  bool informationRead = false;

  // Every frame: its name as the Frames folder spells it, by lower-case name.
  QHash<QString, QString> frames;
  QStringList frameOrder;  // frame names in folder order

  bool variablesRead = false;
  QStringList integerVariables;  // as declared, plugins' names included
  QStringList variantVariables;

  bool allowCreateObject = false;  // AllowCreateObject = 1 in Config/More

  bool hasCdIndex = false;
  distribution::CdIndex cdIndex;

  std::vector<NamedFile> files;
  std::vector<FrameReference> frameReferences;
  std::vector<VariableReference> variableReferences;
  std::vector<ScriptPiece> scripts;
  std::vector<VariableReference> itemReferences;  // item names (each needs Areas/<name>.obj)

  int filesRead = 0;  // data files read

  // The path of a game file relative to the folder, for places.
  QString relative(const QString& path) const;
  bool hasFrame(const QString& name) const { return frames.contains(name.toLower()); }
};

}  // namespace qm::doctor
