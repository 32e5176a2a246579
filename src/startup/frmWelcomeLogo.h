// The four variants of the product logo shown on the welcome window, drawn at
// run time: dark or light ink (for light or dark welcome screens), plain or on
// a badge.
#pragma once

#include <QPixmap>

namespace qm::startup {

// Logo size in pixels.
constexpr int kLogoWidth = 120;
constexpr int kLogoHeight = 96;

// variant: 0 dark ink, 1 light ink, 2 dark ink on a badge, 3 light ink on a badge.
QPixmap DrawProductLogo(int variant);

}  // namespace qm::startup
