#include "startup/DisplayResolution.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <exception>
#include <map>

#include "platform/VbError.h"
#include "startup/ErrorReport.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "startup/Screen.h"

namespace qm::startup {

namespace {

// The largest side a mode may have; beyond it no picture could be drawn.
constexpr int kLargestModeSide = 16384;
// A system font above this many pixels means "large fonts".
constexpr int kSmallFontLimit = 16;

struct DisplayState {
  bool recorded = false;
  int initialWidth = 0;
  int initialHeight = 0;
  int initialRefreshRate = 0;
  std::optional<QSize> virtualMode;
  int currentRefreshRate = 0;
  int changeCount = 0;
  std::optional<QSize> fakeScreen;
  std::optional<int> fakeFontPixels;
  std::function<void()> centerHook;
  std::map<int, std::function<void()>> listeners;
  int nextListenerId = 1;
};

DisplayState& state() {
  static DisplayState s;
  return s;
}

int screenRefreshRate() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? qRound(screen->refreshRate()) : 0;
}

// Callers that never ran the start-up (a tool, a test) still get the real
// desktop as the initial settings, taken the first time they are needed.
void ensureRecorded() {
  if (!state().recorded && !state().virtualMode) RecordDisplaySettings();
}

void notifyListeners() {
  // Copy: a listener may remove itself.
  const auto listeners = state().listeners;
  for (const auto& [id, listener] : listeners) {
    if (listener) listener();
  }
}

}  // namespace

QSize RealScreenSize() {
  const DisplayState& s = state();
  if (s.fakeScreen) return *s.fakeScreen;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize();
}

double VirtualModeScale() {
  const auto mode = state().virtualMode;
  const QSize real = RealScreenSize();
  if (!mode || mode->isEmpty() || real.isEmpty()) return 1.0;
  return std::min(static_cast<double>(real.width()) / mode->width(),
                  static_cast<double>(real.height()) / mode->height());
}

QRect VirtualModeViewport() {
  const auto mode = state().virtualMode;
  const QSize real = RealScreenSize();
  if (!mode) return QRect(QPoint(0, 0), real);
  const double scale = VirtualModeScale();
  const int width = qRound(mode->width() * scale);
  const int height = qRound(mode->height() * scale);
  return {(real.width() - width) / 2, (real.height() - height) / 2, width, height};
}

void InstallDisplayResolution() {
  StartupHooks& hooks = startupHooks();
  hooks.recordDisplaySettings = [] { RecordDisplaySettings(); };
  hooks.displayUsesLargeFonts = [] { return !HasSmallFonts(); };
  setScreenSizeProvider([] { return QSize(DesktopWidth(), DesktopHeight()); });
}

void RecordDisplaySettings() {
  DisplayState& s = state();
  s.initialWidth = DesktopWidth();
  s.initialHeight = DesktopHeight();
  s.initialRefreshRate = screenRefreshRate();
  s.currentRefreshRate = s.initialRefreshRate;
  s.recorded = true;
}

int DesktopWidth() {
  const DisplayState& s = state();
  return s.virtualMode ? s.virtualMode->width() : RealScreenSize().width();
}

int DesktopHeight() {
  const DisplayState& s = state();
  return s.virtualMode ? s.virtualMode->height() : RealScreenSize().height();
}

bool IsProjectResolutionActive() { return IsProjectResolutionActive(project().info.projectResolution); }

bool IsProjectResolutionActive(int16_t projectResolution) {
  ensureRecorded();
  const DisplayState& s = state();
  switch (projectResolution) {
    case 0: return s.initialWidth == 640 && s.initialHeight == 480;
    case 1: return s.initialWidth == 800 && s.initialHeight == 600;
    case 2: return s.initialWidth == 1024 && s.initialHeight == 768;
    default: return false;
  }
}

void SwitchDisplayResolution(int16_t code) {
  int width = 0;
  int height = 0;
  switch (code) {
    case 1: width = 640; height = 480; break;
    case 2: width = 800; height = 600; break;
    case 3: width = 1024; height = 768; break;
    default: return;
  }
  ensureRecorded();
  try {
    // Only the width is compared: an 800-wide desktop of any height counts as 800x600.
    if (DesktopWidth() == width) return;
    ApplyDisplaySettings(width, height, false);
    QCoreApplication::processEvents();
    // The real monitor needed a second to settle after a mode change; a virtual
    // mode is there at once, so the game goes straight on.
    if (state().centerHook) state().centerHook();
  } catch (const std::exception& e) {
    ShowStandardErrorReport(QStringLiteral(" Error changing display resolution. ") + VbError::describe(e));
  }
}

void ApplyDisplaySettings(int width, int height, bool restore) {
  DisplayState& s = state();
  if (width <= 0 || height <= 0 || width > kLargestModeSide || height > kLargestModeSide) {
    ShowStandardErrorReport(QStringLiteral(" Unable to change display resolution. Mode not supported."));
    return;
  }
  QCoreApplication::processEvents();
  const QSize real = RealScreenSize();
  if (QSize(width, height) == real) {
    s.virtualMode.reset();
  } else {
    s.virtualMode = QSize(width, height);
  }
  // Restoring brings the initial refresh rate back; a virtual mode keeps the
  // rate of the real screen, which it never changes.
  s.currentRefreshRate = restore ? s.initialRefreshRate : screenRefreshRate();
  ++s.changeCount;
  // The game window re-places itself only after a switch; listeners hear of every change.
  notifyListeners();
  QCoreApplication::processEvents();
}

void RestoreDisplaySettings() {
  DisplayState& s = state();
  if (!s.recorded) {
    if (s.virtualMode) {
      s.virtualMode.reset();
      ++s.changeCount;
      notifyListeners();
    }
    return;
  }
  if (DesktopWidth() != s.initialWidth || DesktopHeight() != s.initialHeight) {
    ApplyDisplaySettings(s.initialWidth, s.initialHeight, true);
  }
}

bool HasSmallFonts() {
  const DisplayState& s = state();
  int pixels = 0;
  if (s.fakeFontPixels) {
    pixels = *s.fakeFontPixels;
  } else {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    pixels = QFontInfo(QGuiApplication::font()).pixelSize();
  }
  return pixels <= kSmallFontLimit;
}

std::optional<QSize> VirtualDisplayMode() { return state().virtualMode; }

int InitialRefreshRate() { return state().initialRefreshRate; }

int CurrentRefreshRate() { return state().currentRefreshRate; }

void setCenterGameWindowHook(std::function<void()> hook) { state().centerHook = std::move(hook); }

int addDisplayModeListener(std::function<void()> listener) {
  DisplayState& s = state();
  const int id = s.nextListenerId++;
  s.listeners[id] = std::move(listener);
  return id;
}

void removeDisplayModeListener(int id) { state().listeners.erase(id); }

void setRealScreenSizeForTests(std::optional<QSize> size) { state().fakeScreen = size; }

void setSystemFontPixelHeightForTests(std::optional<int> pixels) { state().fakeFontPixels = pixels; }

void resetDisplaySettingsForTests() {
  DisplayState& s = state();
  s.recorded = false;
  s.initialWidth = 0;
  s.initialHeight = 0;
  s.initialRefreshRate = 0;
  s.currentRefreshRate = 0;
  s.virtualMode.reset();
  s.changeCount = 0;
  s.centerHook = nullptr;
  s.listeners.clear();
}

int displayModeChangeCount() { return state().changeCount; }

}  // namespace qm::startup
