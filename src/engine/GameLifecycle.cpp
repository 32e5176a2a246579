// The life of a game window: loading, reset for a new or resumed game, new
// game, quitting and unloading, and where the window and picture stand.
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QMenuBar>
#include <QScreen>
#include <cmath>

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "script/Plugins.h"
#include "script/ScriptHost.h"
#include "engine/Transitions.h"
#include "engine/StartHint.h"
#include "logic/Inventory.h"
#include "script/DialogueRunner.h"
#include "script/TimedEvents.h"
#include "media/MidiDecoder.h"
#include "platform/VbError.h"
#include "script/AdditionalComponents.h"
#include "startup/Activity.h"
#include "startup/DisplayResolution.h"
#include "startup/ErrorReport.h"
#include "startup/FileProcedures.h"
#include "startup/Messages.h"
#include "startup/Project.h"
#include "startup/Screen.h"
#include "startup/Settings.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

void Game::formLoad() {
  QWidget::move(0, 0);
  transitions().PrepareTransitions();
  auto replace = [](MenuItem* item, int text) {
    const QString t = startup::InterfaceText(text);
    if (!t.isEmpty()) item->setCaption(t);
  };
  replace(mnuLoadGame, 2);
  replace(mnuSaveGame, 8);
  replace(mnuExit, 12);
  replace(mnuOptions, 49);
  replace(mnuDisableTransitions, 50);
  replace(mnuDisableEffects, 51);

  startup::setInFrameMessageHooks({[this](const QString& text, bool noAutoHide) { ShowMessageInFrame(text, noAutoHide); },
                                   [this] { TimerMessageBox_Timer(); }});
  startup::setStopAllActivityHooks({[this] {
                                      state_.StopMovie = true;
                                      state_.TransitionSkip = true;
                                    },
                                    [this] {
                                      Timer1.setEnabled(false);
                                      TimerMessageBox.setEnabled(false);
                                      timedEvents().PauseTimedEvents();
                                      video().StopOneTimeVideoPlayer();
                                      soundChannels().ResetSoundChannels();
                                    }});
  startup::setStopGameHooks({[this] { proxy_->hide(); }, [this] { ShowMenus(); }});
}

void Game::ResetAll() {
  auto& proj = project();
  // The music synthesizer loads its soundfont in the background meanwhile.
  media::prepareMidiSynthesizer();
  try {
    // 1-2
    Timer1.setEnabled(false);
    Timer1.setInterval(0);
    TimerRipplingWater.setEnabled(false);
    timedEvents().ResetTimedEvents();
    dialogue().QuitDialogue();
    // 3-6
    logic().ClearVariables();
    components().ResetComponents();
    logic().ClearDisappear();
    state_.ObjectsCount = 0;
    PickedObject.UnloadAll();
    FramesHistory.Clear();
    // 7
    PictureBox->setBackColor(0);
    // 8-9
    scripts().VBScriptAction().setResolutionOnLoadGame(0);
    state_.ControlsReferenceMode = 0;
    soundChannels().ClearAudioState();
    state_.StopMovie = true;
    state_.TransitionSkip = true;
    PicRipplingWater->setEnabledVb(false);
    startup::SetGameStopped(false);
    proxy_->show();
    // 10
    if (QScreen* screen = QGuiApplication::primaryScreen()) state_.WorkArea = screen->availableGeometry();
    // 11-12
    CenterWindowAndPictureBox();
    BackImage->move(0, 0, proj.info.width * kTwipsPerPixel, proj.info.height * kTwipsPerPixel);
    BackImage->zOrder(1);
    // 13
    LabelMessageBox->setAutoSize(true);
    LabelMessageBox->hide();
    FrameMessageBox->hide();
    // 14-15
    ResetDefaultPointer();
    inventory().SetupInventoryBar();
    // 16: the Go-to-frame menu lists the project's frames.
    mnuFrameName.UnloadAll();
    const QStringList files = startup::ListFiles(proj.paths.frames, QStringLiteral("*.fme"));
    for (int i = 0; i < files.size(); ++i) {
      if (files[i].size() <= 4) continue;
      MenuItem& item = mnuFrameName.Load(i + 1);
      item.setVisible(true);
      item.setCaption(files[i].left(files[i].size() - 4));
    }
    // 17
    script::LoadPlugins();
    logic().LoadVariables();
    scripts().PrepareNewGame();
    // 18
    mnuDisableTransitions->setChecked(startup::LoadSettingBool(QString::fromLatin1(startup::settings_keys::kDisableTransitions), false));
    mnuDisableEffects->setChecked(startup::LoadSettingBool(QString::fromLatin1(startup::settings_keys::kDisableEffects), false));
    // 19
    soundChannels().ResetSoundChannels();
    // 20
    const double timeout = std::nearbyint(startup::ScriptTimeOutSetting());
    if (timeout != 0 && std::isfinite(timeout) && std::fabs(timeout) < 2e6)
      scripts().SetTimeout(static_cast<int>(timeout) * 1000);
  } catch (const VbError& e) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to initialize the program. ") + e.description);
  } catch (const ControlArrayError& e) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to initialize the program. ") + QString::fromStdString(e.what()));
  }
}

void Game::StartNewGame() {
  project().frame.name = project().info.initialFrame;
  scripts().ExecuteOnLoadVBScript();
  OpenFrame(project().frame.name, false, 0, 0);
  // Full screen has no border and no menu bar: say once how to reach them.
  if (fullScreen_ && !GameStopped()) startHint_->offer(!project().info.noMenuBar);
}

void Game::StartUnloading() {
  state_.StopMovie = true;
  state_.TransitionSkip = true;
  startup::SetGameStopped(true);
  TimerRipplingWater.setEnabled(false);
  TimerUnloadMe.setInterval(500);
  startup::BeginBusy(this);
  TimerUnloadMe.setEnabled(true);
}

void Game::closeEvent(QCloseEvent* event) {
  event->accept();
  if (unloading_) return;
  startup::SetGameStopped(true);
  unloadWindow();
}

void Game::unloadWindow() {
  if (unloading_) return;
  unloading_ = true;
  startHint_->hide();
  hide();
  QCoreApplication::processEvents();
  project().running = false;
  startup::StopAllActivity();
  components().ResetComponents();
  for (int i = AniGif.UBound(); i >= 1; --i) {
    try {
      if (AniGif.exists(i)) AniGif.Unload(i);
    } catch (const ControlArrayError&) {
    }
  }
  startup::RestoreDisplaySettings();
  unloading_ = false;
  if (onUnloaded) {
    onUnloaded();
  } else if (project().info.startAtOnce) {
    QCoreApplication::quit();
  }
}

void Game::CenterWindowAndPictureBox() {
  const auto& info = project().info;
  PictureBox->move(0, 0, info.width * kTwipsPerPixel, info.height * kTwipsPerPixel);
  scene_->setSceneRect(0, 0, info.width, info.height);
  if (windowedPlay()) {
    fullScreen_ = false;
    setWindowState(Qt::WindowNoState);
    ShowMenus();
    setWindowTitle(info.gameTitle + QStringLiteral(" "));
    const int menuHeight = menuBar_->isVisible() || !menuBar_->isHidden() ? menuBar_->sizeHint().height() : 0;
    resize(info.width, info.height + menuHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect s = screen->geometry();
      QWidget::move(s.width() / 2 - frameGeometry().width() / 2, s.height() / 2 - frameGeometry().height() / 2);
    }
  } else {
    fullScreen_ = true;
    setWindowState(Qt::WindowNoState);
    HideMenus();
    setWindowTitle(info.gameTitle + QStringLiteral(" "));
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
  }
  layoutPicture();
}

// Windowed: the menu bar on top and the picture 1:1 below it. Full screen, the
// window covers the real screen and the picture is centred on black. With a
// display mode switched to (the welcome window's "Change display resolution"
// box), the screen stands for that mode: the mode is scaled to fill it, aspect
// kept, so the picture grows with it; without one the picture keeps its own
// size, as it looked on a larger desktop. A whole-number scale is drawn
// pixel for pixel, without smoothing.
void Game::layoutPicture() {
  if (!view_) return;
  const auto& info = project().info;
  const int pw = std::max<int>(1, info.width);
  const int ph = std::max<int>(1, info.height);
  const bool barShown = !menuBar_->isHidden();
  QRect area = rect();
  if (barShown) {
    const int h = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), h);
    if (!fullScreen_) area.setTop(h);
    menuBar_->raise();
  }
  double scale = 1.0;
  const auto mode = startup::VirtualDisplayMode();
  if (fullScreen_ && mode && !mode->isEmpty() && !area.isEmpty())
    scale = std::min(static_cast<double>(area.width()) / mode->width(),
                     static_cast<double>(area.height()) / mode->height());
  scale_ = scale;
  const bool wholeScale = std::fabs(scale - std::round(scale)) < 1e-9;
  view_->setRenderHint(QPainter::SmoothPixmapTransform, !wholeScale);
  view_->resetTransform();
  view_->scale(scale, scale);
  view_->setSceneRect(0, 0, pw, ph);
  view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The view is exactly the picture, on whole pixels: centred on each axis
  // where it fits, else from the edge (never above or left of it).
  const int shownWidth = static_cast<int>(std::lround(pw * scale));
  const int shownHeight = static_cast<int>(std::lround(ph * scale));
  QRect place = area;
  if (shownWidth <= area.width()) {
    place.setLeft(area.left() + (area.width() - shownWidth) / 2);
    place.setWidth(shownWidth);
  }
  if (shownHeight <= area.height()) {
    place.setTop(area.top() + (area.height() - shownHeight) / 2);
    place.setHeight(shownHeight);
  }
  view_->setGeometry(place);
  if (barShown) menuBar_->raise();
  placeStartHint();
}

QPointF Game::pictureToWindow(QPointF p) const {
  const QPoint inView = view_->mapFromScene(p);
  return view_->mapTo(this, inView);
}

QImage Game::framePicture() { return PictureBox->snapshot(); }

}  // namespace qm::engine
