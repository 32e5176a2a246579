// The in-frame message panel, the frame timer, the visited-frames history, the
// last click position and the mouse pointers.
#include <QApplication>
#include <cmath>

#include "engine/Game.h"
#include "logic/Inventory.h"
#include "engine/CursorFile.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/MediaFiles.h"
#include "startup/Messages.h"
#include "startup/Project.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

namespace {
// The history keeps the last twenty frames.
constexpr int kHistoryLimit = 20;
// The panel is this much taller than its text.
constexpr int kPanelExtraTwips = 525;
}  // namespace

void Game::ShowMessageInFrame(const QString& text, bool noAutoHide) {
  if (text.toLower() == QLatin1String("[hide]")) {
    TimerMessageBox_Timer();
    return;
  }
  state_.InFrameMessagesShown << text;
  const double pictureWidth = PictureBox->width();
  const double pictureHeight = PictureBox->height();
  const double margin = 8 * kTwipsPerPixel;
  LabelMessageBox->setAutoSize(false);
  LabelMessageBox->setWordWrap(true);
  LabelMessageBox->setWidth(std::max(1.0 * kTwipsPerPixel, pictureWidth - 2 * margin));
  LabelMessageBox->setAutoSize(true);
  LabelMessageBox->setCaption(text);
  const double labelHeight = LabelMessageBox->height();
  FrameMessageBox->move(0, pictureHeight - (labelHeight + kPanelExtraTwips), pictureWidth,
                        labelHeight + kPanelExtraTwips);
  LabelMessageBox->move(margin, kPanelExtraTwips / 2.0, pictureWidth - 2 * margin, labelHeight);
  LabelMessageBox->setVisibleVb(true);
  FrameMessageBox->setVisibleVb(true);
  FrameMessageBox->zOrder(0);
  if (!noAutoHide) {
    TimerMessageBox.setEnabled(false);
    TimerMessageBox.setInterval(startup::InFrameMessageHideIntervalMs(text));
    TimerMessageBox.setEnabled(true);
  } else {
    // A message that should stay is not hidden by an earlier message's timer.
    TimerMessageBox.setEnabled(false);
  }
}

void Game::TimerMessageBox_Timer() {
  FrameMessageBox->setVisibleVb(false);
  LabelMessageBox->setVisibleVb(false);
  TimerMessageBox.setEnabled(false);
  TimerMessageBox.setInterval(0);
}

void Game::FramesHistoryAdd(const QString& frameName) {
  if (FramesHistory.ListCount() > 0 && FramesHistory.List(FramesHistory.ListCount() - 1) == frameName) return;
  FramesHistory.AddItem(frameName);
  while (FramesHistory.ListCount() > kHistoryLimit) FramesHistory.RemoveItem(0);
}

void Game::SaveClickPos(double sglLeft, double sglTop) {
  auto toPixels = [](double twips) {
    const double v = std::nearbyint(static_cast<float>(twips) / 15.0f);
    return static_cast<int>(std::clamp(v, -32768.0, 32767.0));
  };
  state_.ClickPositionX = toPixels(sglLeft);
  state_.ClickPositionY = toPixels(sglTop);
}

void Game::Timer1_Timer() {
  if (inventory().moving()) {
    Timer1.setInterval(1000);
    return;
  }
  if (GameStopped()) {
    Timer1.setEnabled(false);
    return;
  }
  try {
    soundChannels().AudioFadeStep(1);
    const QString tag = Timer1.tag();
    const QString lower = tag.toLower();
    QString target;
    if (lower.isEmpty()) return;
    if (lower == QLatin1String("[quit]")) {
      StartUnloading();
      return;
    }
    if (lower == QLatin1String("[last visited frame]")) {
      if (FramesHistory.ListCount() <= 1) return;
      FramesHistory.RemoveItem(FramesHistory.ListCount() - 1);
      target = FramesHistory.List(FramesHistory.ListCount() - 1);
    } else {
      target = tag;
    }
    // The new frame arms its own timer; a target that cannot be opened must
    // not bring the same error back on every tick.
    Timer1.setEnabled(false);
    const FrameFile& f = state_.CurrentFrameFile;
    goToFrame({target, f.timerWithTransition, f.timerTransitionNumber, f.timerTransitionDuration / 1000.0});
  } catch (const VbError&) {
  } catch (const ControlArrayError&) {
  }
}

void Game::SetScreenPointerArrow() {
  // The custom pointer shows the icon the last ResetDefaultPointer found.
  QCursor cursor(Qt::ArrowCursor);
  if (!isDefaultPointer(project().info.defaultMousePointer) && !screenPointerIcon_.isEmpty()) {
    if (auto c = loadCursorFile(screenPointerIcon_)) cursor = *c;
  }
  if (screenPointerSet_) {
    QApplication::changeOverrideCursor(cursor);
  } else {
    QApplication::setOverrideCursor(cursor);
    screenPointerSet_ = true;
  }
}

void Game::SetScreenPointerDefault() {
  if (screenPointerSet_) {
    QApplication::restoreOverrideCursor();
    screenPointerSet_ = false;
  }
}

void Game::ResetDefaultPointer() {
  VbControl* controls[] = {PictureBox,      BackImage,         &Area.templ(), &AniGifBox.templ(),
                           &Text.templ(),   FrameMessageBox,   LabelMessageBox, &PickedObject.templ(),
                           Inventory1,      Inventory2,        Inventory_Background, picWhere,
                           PicRipplingWater};
  for (VbControl* c : controls) ApplyDefaultCursor(*c);
  screenPointerIcon_ = DefaultCursorIcon();
  SetScreenPointerDefault();
}

}  // namespace qm::engine
