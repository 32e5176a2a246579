// Screen size and small window helpers shared by the windows of the player.
#pragma once

#include <QSize>
#include <functional>

class QWidget;

namespace qm::startup {

// 15 twips make one pixel.
constexpr int kTwipsPerPixel = 15;

// The screen size in twips (pixels of the display mode times 15). The
// display-resolution support installs a provider for its virtual mode.
int ScreenWidthTwips();
int ScreenHeightTwips();
void setScreenSizeProvider(std::function<QSize()> provider);

// Hourglass pointer and disabled window / normal pointer and enabled window.
void BeginBusy(QWidget* form);
void EndBusy(QWidget* form);
// The window's own pointer back to the default one (its controls keep theirs).
void ResetFormPointer(QWidget* form);

// The value, or 0 when it is negative.
template <typename T>
T ClampToZero(T value) { return value < T{} ? T{} : value; }

// Copies the size of one control to another.
void CopyControlSize(const QWidget* source, QWidget* target);

}  // namespace qm::startup
