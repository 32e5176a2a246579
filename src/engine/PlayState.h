// The state of the game being played that is no control of the window: the
// flags with which handlers end running waits, the requests the last script
// left, the frame shown and its file, the sound-channel table and a few
// counts. Plain data without widgets; the parts of the player reach it
// through game.state().
#pragma once

#include <QRect>
#include <QStringList>

#include "engine/FrameFile.h"
#include "engine/ScriptActionModule.h"
#include "engine/SoundChannelTable.h"

namespace qm::engine {

struct PlayState {
  // ---- Flags that end running waits (a click, Esc or quitting sets them) ------
  bool StopMovie = false;          // asks a running video or wait to end
  bool TransitionSkip = false;     // asks a running transition to finish at once
  bool TransitionRunning = false;  // a transition is drawing

  // ---- What the last script asked its caller to do -----------------------------
  VBScriptActionModule VBScriptAction;

  // ---- The frame shown -------------------------------------------------------------
  FrameFile CurrentFrameFile;      // its frame file
  int MergedTextIndex = 1;         // first text box taken over from a merged frame
  int ControlsReferenceMode = 0;   // 0 undecided, 1 usual, 2 scripts may reach every control
  // The seven sound channels: what each plays or is about to play.
  SoundChannelTable channelTable;

  // ---- The player's hand -------------------------------------------------------------
  // A top menu of the bar has just been opened: a right click must not hide the bar.
  bool MenuOpened = false;
  // The last click, pixels of the frame picture (scripts read it with GetClickPositionX/Y).
  int ClickPositionX = 0;
  int ClickPositionY = 0;

  // ---- The rest of the game ---------------------------------------------------------
  int ObjectsCount = 0;            // inventory items held
  QRect WorkArea;                  // desktop work area, pixels
  // Every text shown in the in-frame message panel, oldest first (walkthroughs read it).
  QStringList InFrameMessagesShown;
};

}  // namespace qm::engine
