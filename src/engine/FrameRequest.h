// A frame to open and the transition wanted on the way (Game::goToFrame).
#pragma once

#include <QString>

namespace qm::engine {

struct FrameRequest {
  QString frameName;
  bool withTransition = false;  // capture the old picture first and animate to the new one
  int transitionNumber = 0;
  double transitionSeconds = 0;
};

}  // namespace qm::engine
