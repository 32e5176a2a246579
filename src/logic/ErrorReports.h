#pragma once
// The game logic's error messages: the standard error report with the
// operation's own text, shown only while the game is not stopping.

#include <QString>

namespace qm::logic {

void reportStandardError(const QString& specificText, const QString& description = {});

}  // namespace qm::logic
