// Starting a media control with the report its failure gets.
#pragma once

#include <functional>

namespace qm::startup {

// Runs the control's Play operation; a failure (any exception) shows the
// "Unable to play video file." report and gives false.
bool PlayMediaControl(const std::function<void()>& play);

}  // namespace qm::startup
