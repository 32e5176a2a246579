// A small game folder that is clean, with any of a list of faults planted in
// it: one of each kind the doctor must find.
#pragma once

#include <vector>

namespace qm::testing {

class GameFolderBuilder;

enum class Fault {
  UnparsableHotspot,   // Study.fm2: a quoted word where hotspot 1's left edge is (field 11)
  MissingSound,        // Hall.fme: a background sound that is not there
  UndecodablePicture,  // oakdoor.bmp holds no picture
  UndecodableSound,    // Theme.wav, the music of Hall's hotspot 2, holds no sound
  UnknownTimerFrame,   // Study's frame timer goes to "Hal"
  UnknownScriptFrame,  // Study's hotspot script: GoToFrame "Garden", 1, 0
  UnknownResumeFrame,  // Config/Resume sends Study to "Cellar"
  UndeclaredVariable,  // Hall hotspot 2's condition names "HasKye"
  VariableCase,        // Hall action 2 changes "haskey" (declared "HasKey")
  DialogueSyntax,      // Study.dlg question 1's second script: "If Score Then" without End If
  ProcedureSyntax,     // Config/Procedures code line 2 (file line 5): "x = (1"
  WrongArgumentCount,  // Hall action 1's script: AddItem "Key"
  UnknownObject,       // Study's start-up code: CreateObject("Word.Application")
  UnknownComponent,    // Hall action 2's script: AddComponent "Acme.Widget.1", ...
  UnreachableFrame,    // Attic: no way leads there
  UnknownItem,         // Hall action 2 gives "Lamp", which has no Lamp.obj
};

// Every fault, in the order above.
std::vector<Fault> allFaults();

void buildPlantedGame(GameFolderBuilder& game, const std::vector<Fault>& faults);

}  // namespace qm::testing
