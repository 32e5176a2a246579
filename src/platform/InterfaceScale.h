// How large the player's own windows are drawn around a game: the menu bar
// and its menus, the message and input boxes, the save, load and CD windows.
// They grow with the game picture, so that at twice the size a menu reads as
// large next to the picture as it did at one; they stay the toolkit's
// standard widgets, drawn with a larger font and the style's sizes scaled.
#pragma once

#include <QSize>

class QWidget;

namespace qm::platform {

// The factor: 1 while no game picture is shown larger than its own size;
// never below 1 (a picture made smaller leaves the windows readable).
double InterfaceScale();
// Set by the game window whenever it lays its picture out; 1 when it closes.
void SetInterfaceScale(double scale);

// A size of the interface at the factor (rounded to whole pixels).
int InterfacePixels(int pixels);
QSize InterfaceSize(QSize size);

// Gives a window of the player (and every child it has by then: call it once
// the window is built) the interface font, and a style whose margins, frames
// and icons follow the factor of the moment; the widgets size themselves to both.
void ScaleInterfaceWindow(QWidget& window);

}  // namespace qm::platform
