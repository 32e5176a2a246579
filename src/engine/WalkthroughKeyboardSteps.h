// Walkthrough steps for playing by keys (the single presses are `key Tab`,
// `key Shift+Tab`, `key Enter`, `key Space`, `key Alt+Enter`):
//   hold KEY                  presses KEY and keeps it down (long enough for a
//                             held Space to outline the hotspots)
//   release KEY               lets KEY go
//   expect focus hotspot N | item N | question N | none
//                             what the focus ring is on
//   expect outlined "N|M"     the hotspots outlined now, by number, ascending
//   expect carrying "NAME"    the item picked up by Enter ("" for none)
//   expect windowed on|off    the game plays in a window, or full screen
#pragma once

#include <QStringList>
#include <functional>
#include <optional>

namespace qm::engine {

class Game;

// nullopt when the step is not one of these; else "" on success or the reason it failed.
std::optional<QString> runKeyboardStep(Game* game, const QStringList& words,
                                       const std::function<void(int)>& runEventsFor);
std::optional<QString> expectKeyboard(Game* game, const QStringList& words);

}  // namespace qm::engine
