// The requests a script leaves for its caller (frame to load, quit, load or
// save window) and the hotspot it runs for. Scripts only record requests; the
// caller that ran the script carries them out afterwards.
#pragma once

#include <QString>

namespace qm::engine {

struct VBScriptActionModule {
  QString sFrameToLoad;
  int iTransitionNumber = 0;
  double dTransitionDuration = 0;
  bool bStopGame = false;
  bool bPopupLoadGame = false;
  bool bPopupSaveGame = false;
  int iHotspotNumber = 0;

  void ResetModule() { *this = VBScriptActionModule{}; }
};

}  // namespace qm::engine
