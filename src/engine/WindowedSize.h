// The sizes of a game played in a window. The window opens at the largest
// whole-number scale of the picture that fits the desktop's work area, with the
// menu bar (which grows with the picture) above it; the player may resize it,
// and the picture then fills what room there is, aspect kept. The size the
// player left it at is kept per game as text "WIDTHxHEIGHT".
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

namespace qm::engine {

// How tall the menu bar is when the interface is drawn at a scale (0 without a bar).
using BarHeightAt = std::function<int(double scale)>;

// The largest whole-number scale, 1 at least, at which the picture and the bar
// above it fit into room.
int LargestWholeScale(QSize picture, QSize room, const BarHeightAt& barHeightAt);

// The inner size of the window at a whole-number scale: the picture at that
// scale and the bar above it.
QSize WindowAtScale(QSize picture, int scale, const BarHeightAt& barHeightAt);

// How large the interface (and so the bar) is drawn in a window of that inner
// size: the scale at which picture and bar together fill it, taken as the
// whole number when it is within a few hundredths of one.
double InterfaceScaleInWindow(QSize picture, QSize inner, int barHeightAtOne);

// The picture's scale in the room under the bar: as large as fits, aspect kept.
double PictureScaleIn(QSize picture, QSize room);

// The kept size: "640x480" -> 640 x 480; nullopt for anything else.
std::optional<QSize> ParseWindowSize(const QString& text);
QString WindowSizeText(QSize size);

}  // namespace qm::engine
