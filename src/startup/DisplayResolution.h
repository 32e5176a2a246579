// Display resolution: the project's screen size, "switched" to without touching
// the real display.
//
// A game is designed for 640x480, 800x600 or 1024x768 and used to change the
// monitor's mode to that size. Here the real mode never changes: switching
// selects a virtual display mode. While one is active, DesktopWidth/Height
// report it, and the game window covers the real screen and shows the project
// picture scaled to fit it (aspect kept, black bars). Restoring drops the
// virtual mode again.
#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <functional>
#include <optional>

namespace qm::startup {

// Installs this support into the start-up (recording the settings, the
// large-fonts test) and into the screen size every window sees.
void InstallDisplayResolution();

// Stores the initial display settings (real desktop size and refresh rate).
void RecordDisplaySettings();

// Width and height of the desktop in pixels: the virtual mode while one is
// active, the real screen otherwise.
int DesktopWidth();
int DesktopHeight();

// True when the initial desktop size equals the project resolution
// (0: 640x480, 1: 800x600, 2: 1024x768).
bool IsProjectResolutionActive();
bool IsProjectResolutionActive(int16_t projectResolution);

// Switches to the coded size (1: 640x480, 2: 800x600, 3: 1024x768); does
// nothing for other codes or when the desktop already has the target width.
void SwitchDisplayResolution(int16_t code);

// Makes width x height the display mode. restore = true goes back to the
// initial settings (refresh rate included). An impossible size shows the
// "mode not supported" report and changes nothing.
void ApplyDisplaySettings(int width, int height, bool restore);

// Puts the initial settings back when the desktop differs from them (on exit).
void RestoreDisplaySettings();

// The large-fonts test: true when the system font is at most 16 pixels high.
bool HasSmallFonts();

// --- For the game window ---------------------------------------------------

// The virtual mode the game window must honour, or nullopt when the real
// desktop is in force.
std::optional<QSize> VirtualDisplayMode();
// The real screen size in pixels (primary screen).
QSize RealScreenSize();
// How much the virtual mode is enlarged on the real screen: it is scaled to
// fit, aspect kept (1 when no virtual mode is active).
double VirtualModeScale();
// Where the virtual mode's picture lands on the real screen: scaled by
// VirtualModeScale() and centred; the rest of the screen is black bars. The
// whole real screen when no virtual mode is active.
QRect VirtualModeViewport();
// Refresh rate kept from start-up, and the one of the current mode.
int InitialRefreshRate();
int CurrentRefreshRate();

// Called after a switch: the game window re-places its window and picture
// (its CenterWindowAndPictureBox).
void setCenterGameWindowHook(std::function<void()> hook);
// Called on every mode change, after the hook above; returns an id for removal.
int addDisplayModeListener(std::function<void()> listener);
void removeDisplayModeListener(int id);

// --- For tests -------------------------------------------------------------

// Pretends the real screen has this size (nullopt: ask the screen again).
void setRealScreenSizeForTests(std::optional<QSize> size);
// Pretends the system font has this pixel height (nullopt: measure it).
void setSystemFontPixelHeightForTests(std::optional<int> pixels);
// Forgets the recorded settings and any virtual mode; clears the hooks.
void resetDisplaySettingsForTests();
// How many times the display mode was changed since the last reset.
int displayModeChangeCount();

}  // namespace qm::startup
