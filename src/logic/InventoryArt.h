// The inventory's own pictures, drawn in code: the bar's colour, the button
// that opens the bar, and the icon of an item whose own icon cannot be shown.
// All are 32 x 32 pixels and read well on light and dark frames alike.
#pragma once

#include <QImage>

namespace qm::logic {

// The bar's back colour, as a VB colour value (&HBBGGRR).
int inventoryBarColor();
QImage builtInInventoryButton();
QImage missingItemIcon();

}  // namespace qm::logic
