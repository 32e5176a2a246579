// Walkthrough steps about the picture effects:
//   expect water on|off     the frame's rippling water runs (is shown and moving) or not
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qm::engine {

class Game;

// The result of an "expect" step of this file ("" passed, else the reason);
// nullopt when the step is not one of these.
std::optional<QString> expectEffectStep(Game* game, const QStringList& words);

}  // namespace qm::engine
