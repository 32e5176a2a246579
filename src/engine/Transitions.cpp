#include "engine/Transitions.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

#include "engine/Game.h"
#include "engine/KeyboardPlay.h"
#include "engine/SoundChannels.h"
#include "media/TransitionPass.h"
#include "platform/Clock.h"
#include "platform/VbError.h"
#include "platform/WaitWhile.h"
#include "script/AdditionalComponents.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"
#include "startup/Settings.h"

namespace qm::engine {

using startup::GameStopped;

namespace {

// Each pass lets window events run and then naps this long: passes closer
// together than a display refresh would not be seen.
constexpr int kPassNapMs = 10;

}  // namespace

Transitions::Transitions(Game& game) : game_(game), riders_(game) {}

bool Transitions::disabled() const { return game_.mnuDisableTransitions->checked(); }

void Transitions::PrepareTransitions() {
  riders_.putBack();
  for (PictureBoxControl* box : {game_.picWhere, game_.picStart, game_.picEnd}) {
    box->hide();
    box->clearPicture();
    box->setBackColor(0);
  }
  pending_ = false;
  game_.keyboardPlay().setCovered(false);
}

void Transitions::uncover() {
  for (PictureBoxControl* box : {game_.picWhere, game_.picStart, game_.picEnd}) {
    box->setVisibleVb(false);
    box->clearPicture();
  }
  pass_ = QImage();
  riders_.putBack();
  game_.keyboardPlay().setCovered(false);
}

void Transitions::AbandonTransition() noexcept {
  if (!pending_) return;
  pending_ = false;
  try {
    uncover();
    // A game that is stopping starts its components afresh, if it starts again.
    if (!GameStopped()) game_.components().ResumeComponents();
  } catch (...) {
    // Called on the way out of a frame opening: nothing may escape. The boxes
    // are hidden before anything else is tried.
  }
}

void Transitions::TransitionStep1(int iTransNumber) {
  if (GameStopped() || disabled()) return;
  pending_ = true;
  // The keyboard's outlines are no part of the old picture, nor of the cover.
  game_.keyboardPlay().setCovered(true);
  // Components that play (media players) hold still while the picture changes;
  // TransitionStep2 lets them go on.
  game_.components().PauseComponents();
  try {
    PictureBoxControl& frame = *game_.PictureBox;
    // picWhere lies exactly over the frame picture; picStart and picEnd are
    // work pictures of the frame's size.
    game_.picWhere->move(0, 0, frame.width(), frame.height());
    game_.picStart->move(0, 0, frame.width(), frame.height());
    game_.picEnd->move(0, 0, frame.width(), frame.height());
    const media::TransitionKind kind = media::transitionKind(iTransNumber);
    riders_.liftBeforeCapture(kind);
    CaptureActualFrame(*game_.picStart);
    if (kind == media::TransitionKind::None) return;
    riders_.liftAfterCapture(kind);
    riders_.follow(kind, 0);
    // Every animated transition covers the frame with the old picture while
    // the new frame loads underneath.
    game_.picWhere->setPictureImage(game_.picStart->image());
    game_.picWhere->zOrder(0);
    game_.picWhere->setVisibleVb(true);
    game_.picWhere->repaint();
  } catch (const std::exception& e) {
    if (!GameStopped())
      startup::ShowStandardErrorReport(QStringLiteral(" Error in \"TransitionStep1\". "), VbError::describe(e));
  }
}

void Transitions::TransitionStep2(int iTransNumber, double dTransitionDuration) {
  if (GameStopped() || disabled()) {
    // The frame change goes on without its animation, or not at all: the real
    // frame shows (a transition switched off while the frame loaded covered it).
    AbandonTransition();
    riders_.putBack();
    // No transition drives the fades of this frame change: the fade timer does.
    if (!GameStopped()) game_.soundChannels().EnableAudioFade();
    return;
  }
  pending_ = false;
  const bool timerWasOn = game_.Timer1.enabled();
  try {
    if (game_.TimerMessageBox.enabled()) game_.TimerMessageBox_Timer();
    game_.Timer1.setEnabled(false);

    CaptureCurrentFrame(*game_.picEnd);
    RenderTransition(iTransNumber, dTransitionDuration);

    // Animated pictures start again from their first image, as the new picture showed them.
    for (int i : game_.Area.indices()) {
      const ImageControl* area = game_.Area.item(i);
      const int link = area && i != 0 ? area->whatsThisHelpId() : 0;
      if (link <= 0 || !game_.AniGifBox.exists(link) || !game_.AniGifBox[link].visible()) continue;
      if (!game_.AniGif.exists(link)) continue;
      game_.AniGif[link].stop();
      game_.AniGif[link].play();
    }
  } catch (const std::exception& e) {
    if (!GameStopped())
      startup::ShowStandardErrorReport(QStringLiteral(" Error in \"TransitionStep2\". "), VbError::describe(e));
  }
  // Even after a failure the new frame shows and its timer runs.
  if (timerWasOn && !GameStopped()) game_.Timer1.setEnabled(true);
  uncover();
  game_.components().ResumeComponents();
}

void Transitions::showPass(int iTransNumber, double fraction) {
  const QSize size(game_.picWhere->QWidget::width(), game_.picWhere->QWidget::height());
  // picWhere lets go of the last pass first, so drawing does not copy it.
  game_.picWhere->clearPicture();
  if (pass_.size() != size || pass_.format() != media::kTransitionFormat)
    pass_ = QImage(size, media::kTransitionFormat);
  if (pass_.isNull()) throw VbError::of(7);
  media::drawTransitionPass(pass_, game_.picStart->image(), game_.picEnd->image(),
                            media::transitionKind(iTransNumber), fraction);
  game_.picWhere->setPictureImage(pass_);
  riders_.follow(media::transitionKind(iTransNumber), fraction);
  ++passes_;
}

void Transitions::RenderTransition(int iTransNumber, double dTransitionDuration) {
  passes_ = 0;
  const bool animated = media::transitionKind(iTransNumber) != media::TransitionKind::None &&
                        std::isfinite(dTransitionDuration) && dTransitionDuration > 0;
  try {
    if (animated) {
      game_.state().TransitionRunning = true;
      game_.state().TransitionSkip = false;
      game_.picWhere->zOrder(0);
      game_.picWhere->setVisibleVb(true);
      platform::ElapsedClock clock;
      clock.start();
      double elapsed = 0;
      while (elapsed <= dTransitionDuration) {
        elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const double fraction = std::min(1.0, elapsed / dTransitionDuration);
        showPass(iTransNumber, fraction);
        game_.soundChannels().AudioFadeStep(fraction);
        if (onPass) onPass(fraction);
        QCoreApplication::processEvents();
        if (game_.state().TransitionSkip) {
          game_.state().TransitionRunning = false;
          game_.state().TransitionSkip = false;
          break;
        }
        platform::napFor(kPassNapMs);
      }
    }
  } catch (const std::exception& e) {
    if (!AlphaBlendWarningShown) {
      AlphaBlendWarningShown = true;
      startup::ShowStandardErrorReport(
          QStringLiteral(" Error rendering the full-screen alphablending transitions. Make sure that the file "
                         "'Msimg32.dll' is in your Windows\\System directory. This message will not reappear "
                         "until you restart the program. "),
          VbError::describe(e));
    }
  }
  game_.picStart->setVisibleVb(false);
  game_.picEnd->setVisibleVb(false);
  game_.state().TransitionRunning = false;
  game_.soundChannels().AudioFadeStep(1);
}

void Transitions::EnableOrDisableTransitions() {
  MenuItem& item = *game_.mnuDisableTransitions;
  item.setChecked(!item.checked());
  startup::SaveSetting(QString::fromLatin1(startup::settings_keys::kDisableTransitions),
                       item.checked() ? QStringLiteral("True") : QStringLiteral("False"));
}

bool Transitions::GetTransitionsStatus() const { return !disabled(); }

}  // namespace qm::engine
