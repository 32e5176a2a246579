#include "engine/Game.h"

#include "script/AdditionalComponents.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "distribution/RunFromCD.h"
#include "engine/GameDisplay.h"
#include "engine/KeyboardPlay.h"
#include "engine/RipplingWater.h"
#include "engine/controls/VbColor.h"
#include "engine/Transitions.h"
#include "logic/GameLogic.h"
#include "logic/Inventory.h"
#include "logic/SavedGames.h"
#include "platform/KeyRepeats.h"
#include "script/DialogueRunner.h"
#include "script/ScriptHost.h"
#include "script/TimedEvents.h"
#include "startup/Activity.h"
#include "startup/DisplayResolution.h"
#include "startup/Messages.h"
#include "startup/Screen.h"

namespace qm::engine {

namespace {
// The window whose handlers the shared procedures (messages, stopping, the CD
// prompt) call: the newest. An older window going away leaves them alone.
const Game* hooksOwner = nullptr;
}  // namespace

Game::Game(QWidget* parent) : QWidget(parent) {
  hooksOwner = this;
  setWindowTitle(QStringLiteral(" "));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFocusPolicy(Qt::StrongFocus);
  // A held key is one press (Space and Enter of keyboard play count on it).
  platform::markKeyRepeats();
  createControls();
  keyboardPlay_ = std::make_unique<KeyboardPlay>(*this);
  soundChannels_ = std::make_unique<SoundChannels>(*this);
  inventory_ = std::make_unique<logic::Inventory>(*this);
  savedGames_ = std::make_unique<logic::SavedGames>(*this);
  timedEvents_ = std::make_unique<script::TimedEvents>(*this);
  dialogue_ = std::make_unique<script::DialogueRunner>(*this);
  createMenus();
  transitions_ = std::make_unique<Transitions>(*this);
  effects_ = std::make_unique<Effects>(*this);
  components_ = std::make_unique<script::AdditionalComponents>(*this);
  logic_ = std::make_unique<logic::GameLogic>(*this);
  // The object model reaches every control and menu item: made once they exist.
  scripts_ = std::make_unique<script::ScriptHost>(*this);
  formLoad();
  // A display mode switched to while the game runs (a script's
  // ChangeDisplayResolution) changes how the picture fills the screen.
  startup::setCenterGameWindowHook([this] { CenterWindowAndPictureBox(); });
}

Game::~Game() {
  // Scripts let go of the controls while every control still exists.
  scripts_.reset();
  // Nothing may reach this window once it is gone.
  if (hooksOwner == this) {
    hooksOwner = nullptr;
    startup::setInFrameMessageHooks({});
    startup::setStopAllActivityHooks({});
    startup::setStopGameHooks({});
    startup::setCenterGameWindowHook({});
    distribution::runFromCD().setGameTimers({});
  }
  // Control arrays free their elements before the widgets they live in go.
  Area.UnloadAll();
  Text.UnloadAll();
  display_.reset();
}

void Game::createControls() {
  PictureBox = new PictureBoxControl(QStringLiteral("PictureBox"), -1, nullptr);
  PictureBox->setBackColor(0);
  PictureBox->setMouseTracking(true);
  PictureBox->onMouseDown = [this](int b, int, double, double) { input().BackgroundMouseDown(b); };

  BackImage = new ImageControl(QStringLiteral("BackImage"), -1, PictureBox);
  BackImage->setStretch(true);
  BackImage->onMouseDown = [this](int b, int, double, double) { input().BackgroundMouseDown(b); };
  BackImage->onMouseMove = [this](int, int, double, double) { inventory().setMotion(logic::InventoryMotionKind::Hide); };

  ImageTile = new ImageControl(QStringLiteral("ImageTile"), -1, PictureBox);
  ImageTile->hide();

  Area.init([this](int i) { return new ImageControl(QStringLiteral("Area"), i, PictureBox); },
            [this](ImageControl& c, int i) {
              if (i == 0) return;
              c.onMouseDown = [this, i](int b, int s, double x, double y) { logic().AreaMouseDown(i, b, s, x, y); };
              c.onMouseMove = [this, i](int b, int s, double x, double y) { logic().AreaMouseMove(i, b, s, x, y); };
            });
  Text.init([this](int i) { return new LabelControl(QStringLiteral("Text"), i, PictureBox); },
            [this](LabelControl& c, int i) {
              if (i == 0) return;
              c.onMouseDown = [this](int b, int, double, double) { input().BackgroundMouseDown(b); };
              c.onMouseMove = [this](int, int, double, double) {
                inventory().setMotion(logic::InventoryMotionKind::Hide);
              };
            });
  Text.templ().setAutoSize(true);
  Text.templ().setBackStyle(0);

  AniGifBox.init([this](int i) { return new PictureBoxControl(QStringLiteral("AniGifBox"), i, PictureBox); },
                 [this](PictureBoxControl& c, int i) {
                   if (i == 0) return;
                   c.onMouseDown = [this, i](int b, int s, double x, double y) {
                     logic().AniGifBoxMouseDown(i, b, s, x, y);
                   };
                   c.onMouseMove = [this, i](int b, int s, double x, double y) {
                     logic().AniGifBoxMouseMove(i, b, s, x, y);
                   };
                 });
  AniGif.init([this](int i) {
    QWidget* box = AniGifBox.exists(i) ? static_cast<QWidget*>(AniGifBox.item(i)) : PictureBox;
    return new AnimatedPictureControl(QStringLiteral("AniGif"), i, box);
  });
  VideoPlayer.init([this](int i) { return new MediaPlayerControl(QStringLiteral("VideoPlayer"), i, PictureBox); });
  MPlayer.init([this](int i) { return new MediaPlayerControl(QStringLiteral("MPlayer"), i, this); });
  for (int i = 1; i <= 7; ++i) MPlayer.Load(i);
  OneTimeVideoPlayer = new MediaPlayerControl(QStringLiteral("OneTimeVideoPlayer"), -1, PictureBox);
  OneTimeVideoPlayer->hide();
  CustomMediaPlayer = new MediaPlayerControl(QStringLiteral("CustomMediaPlayer"), -1, PictureBox);
  CustomMediaPlayer->hide();
  fmeVideoContainer = new PanelControl(QStringLiteral("fmeVideoContainer"), -1, PictureBox);
  fmeVideoContainer->hide();

  // The bar holds its background picture and the items.
  Inventory1 = new PanelControl(QStringLiteral("Inventory1"), -1, PictureBox);
  Inventory1->hide();
  Inventory_Background = new ImageControl(QStringLiteral("Inventory_Background"), -1, Inventory1);
  Inventory_Background->hide();
  PickedObject.init([this](int i) { return new ImageControl(QStringLiteral("PickedObject"), i, Inventory1); });
  Inventory2 = new PictureBoxControl(QStringLiteral("Inventory2"), -1, PictureBox);
  Inventory2->hide();

  fmeDialogue = new PanelControl(QStringLiteral("fmeDialogue"), -1, PictureBox);
  fmeDialogue->hide();
  lblDialogue.init([this](int i) { return new LabelControl(QStringLiteral("lblDialogue"), i, fmeDialogue); });

  // The message panel: dark, as wide as the picture, at its bottom edge.
  FrameMessageBox = new PanelControl(QStringLiteral("FrameMessageBox"), -1, PictureBox);
  FrameMessageBox->setBackColor(0x202020);
  FrameMessageBox->setBorderStyle(0);
  FrameMessageBox->hide();
  LabelMessageBox = new LabelControl(QStringLiteral("LabelMessageBox"), -1, FrameMessageBox);
  LabelMessageBox->setForeColor(0xFFFFFF);
  LabelMessageBox->setBackStyle(0);
  LabelMessageBox->setFontName(QStringLiteral("Arial"));
  LabelMessageBox->setFontSize(12);
  LabelMessageBox->setFontBold(true);
  LabelMessageBox->setAlignment(2);
  LabelMessageBox->setWordWrap(true);
  LabelMessageBox->setAutoSize(true);
  LabelMessageBox->hide();
  FrameMessageBox->onMouseDown = [this](int, int, double, double) { TimerMessageBox_Timer(); };
  LabelMessageBox->onMouseDown = [this](int, int, double, double) { TimerMessageBox_Timer(); };
  auto panelMove = [this](int, int, double, double) {
    inventory().setMotion(logic::InventoryMotionKind::Hide);
  };
  FrameMessageBox->onMouseMove = panelMove;
  LabelMessageBox->onMouseMove = panelMove;
  TimerMessageBox.onTimer = [this] { TimerMessageBox_Timer(); };

  PicRipplingWater = new PictureBoxControl(QStringLiteral("PicRipplingWater"), -1, PictureBox);
  PicRipplingWater->hide();
  PicOriginal = new PictureBoxControl(QStringLiteral("PicOriginal"), -1, this);
  PicOriginal->hide();
  PicMasked = new PictureBoxControl(QStringLiteral("PicMasked"), -1, this);
  PicMasked->hide();
  PicMask = new PictureBoxControl(QStringLiteral("PicMask"), -1, this);
  PicMask->hide();
  picStart = new PictureBoxControl(QStringLiteral("picStart"), -1, PictureBox);
  picStart->hide();
  picEnd = new PictureBoxControl(QStringLiteral("picEnd"), -1, PictureBox);
  picEnd->hide();
  picWhere = new PictureBoxControl(QStringLiteral("picWhere"), -1, PictureBox);
  picWhere->hide();
  picWhere->onMouseDown = [this](int b, int, double, double) { input().MenuMouseDown(b); };

  ImgBox.init([this](int i) { return new ImageControl(QStringLiteral("ImgBox"), i, PictureBox); });
  PicBox.init([this](int i) { return new PictureBoxControl(QStringLiteral("PicBox"), i, PictureBox); });
  fmeContainer1.init([this](int i) { return new PanelControl(QStringLiteral("fmeContainer1"), i, PictureBox); });

  TimedEvent.init([this](int i) { return new TimerControl(QStringLiteral("TimedEvent"), i, this); },
                 [this](TimerControl& t, int i) { t.onTimer = [this, i] { timedEvents().TimedEvent_Timer(i); }; });
  TimerObject.init([this](int i) { return new TimerControl(QStringLiteral("TimerObject"), i, this); });
  Timer1.onTimer = [this] { Timer1_Timer(); };
  TimerUnloadMe.onTimer = [this] {
    startup::EndBusy(this);
    TimerUnloadMe.setEnabled(false);
    unloadWindow();
  };

  // The game picture lives in a scene so that full screen can scale it.
  display_ = std::make_unique<GameDisplay>(*this);
}

// Around the picture the window shows its back colour, black unless a script
// chose another (its menu bar keeps the usual colours).
void Game::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colorFromVb(windowProperties().backColor()));
}

void Game::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  display().layout();
}

// On activation every media player shows and hides its controls once, which
// makes players repaint correctly.
void Game::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  auto refresh = [](MediaPlayerControl* p) {
    if (!p) return;
    p->setShowControls(true);
    p->setShowControls(false);
  };
  refresh(CustomMediaPlayer);
  refresh(OneTimeVideoPlayer);
  for (int i : VideoPlayer.indices()) refresh(VideoPlayer.item(i));
  for (int i : MPlayer.indices()) refresh(MPlayer.item(i));
}

void Game::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  display().layout();
  setFocus();
}

void Game::keyPressEvent(QKeyEvent* event) { input().keyPressed(*event); }

void Game::keyReleaseEvent(QKeyEvent* event) { input().keyReleased(*event); }

void Game::mousePressEvent(QMouseEvent* event) { input().mousePressed(*event); }

}  // namespace qm::engine
