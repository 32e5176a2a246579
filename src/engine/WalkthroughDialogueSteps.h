// Walkthrough steps for dialogues:
//   choose N                  pick the N-th question on the dialogue panel
//   expect questions "A|B"    the questions listed, top to bottom ("" = panel hidden)
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace qm::engine {

class Game;

// nullopt when the step is not a dialogue step; else "" (passed) or the reason it failed.
std::optional<QString> runDialogueStep(Game* game, const QStringList& words,
                                       const std::function<void(int ms)>& letEventsRun);
std::optional<QString> expectDialogue(Game* game, const QStringList& words);

}  // namespace qm::engine
