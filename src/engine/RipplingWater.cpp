#include "engine/RipplingWater.h"

#include <QImageReader>
#include <QPainter>

#include "engine/Game.h"
#include "engine/RippleEffectFile.h"
#include "platform/Clock.h"
#include "platform/FileResolver.h"
#include "platform/NativeImage.h"
#include "platform/VbError.h"
#include "platform/WaitWhile.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"
#include "startup/Screen.h"
#include "startup/Settings.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

namespace {

constexpr int kTickMs = 30;
constexpr int kStepWaitMs = 5000;
// How the wave pattern looks beyond what the file sets.
constexpr int kWaveTrains = 4;
constexpr double kWaveAngle = 90.0;

}  // namespace

Effects::Effects(Game& game) : game_(game) {
  game_.TimerRipplingWater.onTimer = [this] { TimerRipplingWater_Timer(); };
  // Clicks on the water reach the frame below it.
  game_.PicRipplingWater->setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool Effects::disabled() const { return game_.mnuDisableEffects->checked(); }

bool Effects::GetEffectsStatus() const { return !disabled(); }

bool Effects::LoadWaveEffectIfAny(const QString& sFrameName) {
  RippleActive = false;
  RippleReverse = false;
  const QString base = project().paths.frames + sFrameName;
  const auto rwe = platform::resolveExisting(base + QStringLiteral(".rwe"));
  const auto rwm = platform::resolveExisting(base + QStringLiteral(".rwm"));
  if (!rwe || !rwm || !platform::fileExists(*rwe) || !platform::fileExists(*rwm)) return false;
  try {
    const RippleEffectFile e = parseRippleEffectFile(platform::readWholeFile(*rwe), *rwe);
    RippleParameter = e.parameter;
    RippleSpeed = e.speed;
    RippleReverse = e.reverse;
    const int w = e.width, h = e.height;
    game_.PicRipplingWater->move(e.left * kTwipsPerPixel, e.top * kTwipsPerPixel, w * kTwipsPerPixel,
                                 h * kTwipsPerPixel);
    for (PictureBoxControl* box : {game_.PicOriginal, game_.PicMasked, game_.PicMask})
      box->move(e.left * kTwipsPerPixel, e.top * kTwipsPerPixel, w * kTwipsPerPixel, h * kTwipsPerPixel);

    // A mask that cannot be read leaves the frame without water, silently.
    QImage mask = platform::readImageFile(*rwm);
    if (mask.isNull()) return false;
    // The mask covers the rectangle whatever its own size.
    if (mask.size() != QSize(w, h)) mask = mask.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    mask_ = mask.convertToFormat(QImage::Format_RGB32);

    // The rectangle of the background picture (the frame's controls are not part of it).
    original_ = QImage(w, h, QImage::Format_RGB32);
    if (original_.isNull()) throw VbError::of(7);
    original_.fill(Qt::black);
    {
      QPainter p(&original_);
      p.translate(-e.left, -e.top);
      game_.PictureBox->paintOwnLayers(p, QRect(e.left, e.top, w, h));
    }
    // Dry pixels as they are, water white: original OR NOT mask.
    masked_ = original_;
    for (int y = 0; y < h; ++y) {
      auto* out = reinterpret_cast<QRgb*>(masked_.scanLine(y));
      const auto* m = reinterpret_cast<const QRgb*>(mask_.constScanLine(y));
      for (int x = 0; x < w; ++x) out[x] = 0xFF000000u | (out[x] | ~m[x]);
    }
    water_ = original_;
    water_.detach();
    game_.PicOriginal->setPictureImage(original_);
    game_.PicMasked->setPictureImage(masked_);
    game_.PicMask->setPictureImage(mask_);

    renderer_.restartClock();
    drawStep(w, h);
    RippleActive = true;
    game_.PicRipplingWater->setVisibleVb(true);
    game_.TimerRipplingWater.setInterval(kTickMs);
    return true;
  } catch (const std::exception& e) {
    game_.TimerRipplingWater.setEnabled(false);
    if (!GameStopped())
      startup::ShowStandardErrorReport(QStringLiteral(" Error initializing the Rippling Water effect. "), VbError::describe(e));
    return false;
  }
}

void Effects::drawStep(int w, int h) {
  // The box lets go of the last step so that drawing does not copy it.
  game_.PicRipplingWater->clearPicture();
  const float phase = media::WaveRenderer::phaseFor(RippleSpeed, RippleReverse, renderer_.elapsed());
  renderer_.wave(water_, original_, w, h, media::WaveShape{RippleParameter, kWaveTrains, kWaveAngle}, phase);
  media::WaveRenderer::fastMask(water_, masked_, mask_, w, h);
  game_.PicRipplingWater->setPictureImage(water_);
}

void Effects::TimerRipplingWater_Timer() {
  if (GameStopped()) {
    game_.TimerRipplingWater.setEnabled(false);
    return;
  }
  try {
    if (game_.TimerRipplingWater.enabled() && RippleActive) {
      RippleRendered = false;
      const int w = game_.PicRipplingWater->QWidget::width();
      const int h = game_.PicRipplingWater->QWidget::height();
      drawStep(w, h);
      // Each step ends with the window's pointer back to the default one.
      startup::ResetFormPointer(&game_);
    }
    if (!RippleActive) game_.TimerRipplingWater.setEnabled(false);
  } catch (const std::exception& e) {
    RippleActive = false;
    game_.TimerRipplingWater.setEnabled(false);
    startup::ShowStandardErrorReport(QStringLiteral(" Error rendering rippling water. "), VbError::describe(e));
  }
  RippleRendered = true;
}

void Effects::waitForStep() {
  const qint64 deadline = platform::Clock::instance().nsecs() + kStepWaitMs * 1'000'000LL;
  platform::waitUntil(deadline, [this] { return !RippleRendered; }, {.napMs = 1});
}

void Effects::StopRipplingWater() {
  if (game_.TimerRipplingWater.enabled()) {
    game_.TimerRipplingWater.setEnabled(false);
    waitForStep();
  }
  RippleActive = false;
  game_.PicRipplingWater->setVisibleVb(false);
  game_.PicRipplingWater->clearPicture();
}

void Effects::StartRipplingWater() {
  if (disabled() || !RippleActive) return;
  renderer_.restartClock();
  game_.TimerRipplingWater.setEnabled(true);
}

void Effects::EnableOrDisableEffects() {
  MenuItem& item = *game_.mnuDisableEffects;
  item.setChecked(!item.checked());
  startup::SaveSetting(QString::fromLatin1(startup::settings_keys::kDisableEffects),
                       item.checked() ? QStringLiteral("True") : QStringLiteral("False"));
  if (item.checked()) {
    StopRipplingWater();
    return;
  }
  const FrameFile& f = game_.state().CurrentFrameFile;
  if (f.backgroundType == 1 && !f.tile) LoadWaveEffectIfAny(startup::CurrentFrameName());
  StartRipplingWater();
}

}  // namespace qm::engine
