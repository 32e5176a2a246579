// The font of the player's own interface around a game: the menu bar, its
// menus and the message and input boxes. Games are drawn in Arial, which this
// system provides as its metric twin Liberation Sans; the interface uses the
// same family so that the window looks like one piece.
#pragma once

#include <QFont>

namespace qm::platform {

// Liberation Sans (then Arial, then any sans serif) at the desktop's size
// times the interface scale (see InterfaceScale.h).
QFont InterfaceFont();
// The same at another scale (1 = the desktop's size).
QFont InterfaceFontAt(double scale);

}  // namespace qm::platform
