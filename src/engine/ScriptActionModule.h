// The requests a script leaves for its caller (frame to load, quit, load or
// save window) and the hotspot it runs for. Scripts only record requests; the
// caller that ran the script carries them out afterwards.
#pragma once

#include <QString>

#include "engine/FrameRequest.h"

namespace qm::engine {

struct VBScriptActionModule {
  QString sFrameToLoad;
  int iTransitionNumber = 0;
  double dTransitionDuration = 0;
  bool bStopGame = false;
  bool bPopupLoadGame = false;
  bool bPopupSaveGame = false;
  int iHotspotNumber = 0;

  // Clears the requests; the transition number goes back to 1 and the hotspot
  // number stays (the caller sets it before the hotspot's own code runs).
  void ResetModule() {
    sFrameToLoad.clear();
    iTransitionNumber = 1;
    dTransitionDuration = 0;
    bStopGame = false;
    bPopupLoadGame = false;
    bPopupSaveGame = false;
  }

  // The requested frame; a duration other than 0 asks for a transition.
  FrameRequest frameRequest() const {
    return {sFrameToLoad, dTransitionDuration != 0, iTransitionNumber, dTransitionDuration};
  }
};

}  // namespace qm::engine
