#include "engine/GameDisplay.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <cmath>

#include "engine/Game.h"
#include "engine/GameInput.h"
#include "engine/PaintedTexts.h"
#include "engine/StartHint.h"
#include "engine/WindowedSize.h"
#include "platform/InterfaceFont.h"
#include "platform/InterfaceScale.h"
#include "startup/DisplayResolution.h"
#include "startup/Project.h"
#include "startup/Settings.h"

namespace qm::engine {

using startup::project;

namespace {

// Lets the window see what happens around the game picture: presses on the
// black bars and every key, wherever the focus is.
class ViewFilter : public QObject {
 public:
  explicit ViewFilter(Game* g) : QObject(g), game_(g) {}
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  Game* game_;
};

bool ViewFilter::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    game_->input().keyPressed(*static_cast<QKeyEvent*>(e));
    return true;
  }
  if (e->type() == QEvent::KeyRelease) {
    game_->input().keyReleased(*static_cast<QKeyEvent*>(e));
    return true;
  }
  if (e->type() == QEvent::MouseButtonPress && watched != game_->PictureBox) {
    auto* view = qobject_cast<QGraphicsView*>(watched->parent());
    auto* me = static_cast<QMouseEvent*>(e);
    if (view && !view->itemAt(me->position().toPoint())) {
      game_->input().mousePressed(*me);
      return true;
    }
  }
  return false;
}

}  // namespace

GameDisplay::GameDisplay(Game& game) : game_(game) {
  scene_ = new QGraphicsScene(&game);
  proxy_ = scene_->addWidget(game.PictureBox);
  view_ = new QGraphicsView(scene_, &game);
  view_->setFrameShape(QFrame::NoFrame);
  view_->setBackgroundBrush(Qt::black);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setFocusPolicy(Qt::NoFocus);
  view_->setMouseTracking(true);
  auto* filter = new ViewFilter(&game);
  view_->viewport()->installEventFilter(filter);
  view_->installEventFilter(filter);
  game.PictureBox->installEventFilter(filter);
  paintedTexts_ = new PaintedTexts(game, view_->viewport());

  // Over the view, never inside the picture.
  startHint_ = new StartHint(&game);

  menuBar_ = new QMenuBar(&game);
  menuBar_->setNativeMenuBar(false);
  menuBar_->setAutoFillBackground(true);
  menuBar_->setFont(platform::InterfaceFontAt(1.0));
}

// The proxy owns the picture: it goes first, while the window and its other
// parts still exist. The scene, view, bar and hint are the window's children.
// Without a game picture the player's windows are drawn at their own size.
GameDisplay::~GameDisplay() {
  delete proxy_;
  platform::SetInterfaceScale(1.0);
}

bool GameDisplay::windowedPlay() const {
  const QString projectName = project().info.projectName;
  if (!windowed_ || windowedFor_ != projectName) {
    windowedFor_ = projectName;
    windowed_ = startup::LoadSettingBool(QString::fromLatin1(startup::settings_keys::kWindowedPlay),
                                         project().info.windowedMode);
  }
  return *windowed_;
}

void GameDisplay::toggleWindowedPlay() {
  rememberWindowSize();
  const bool windowed = !windowedPlay();
  windowed_ = windowed;  // also when the settings cannot keep it
  startup::SaveSetting(QString::fromLatin1(startup::settings_keys::kWindowedPlay),
                       windowed ? QStringLiteral("True") : QStringLiteral("False"));
  game_.CenterWindowAndPictureBox();
}

void GameDisplay::rememberWindowSize() {
  if (fullScreen_ || !game_.isVisible()) return;
  if (game_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  startup::SaveSetting(QString::fromLatin1(startup::settings_keys::kWindowedSize), WindowSizeText(game_.size()));
}

void GameDisplay::showPicture(bool shown) { proxy_->setVisible(shown); }

void GameDisplay::setSurround(const QColor& colour) { view_->setBackgroundBrush(colour); }

void GameDisplay::menusChanged() {
  bool any = false;
  for (MenuItem* top : {game_.mnuExit, game_.mnuOptions, game_.mnuLoadGame, game_.mnuSaveGame, game_.mnuDebug})
    any = any || top->visible();
  menuBar_->setVisible(any);
  layout();
}

void GameDisplay::placeWindowAndPicture() {
  const auto& info = project().info;
  game_.PictureBox->move(0, 0, info.width * kTwipsPerPixel, info.height * kTwipsPerPixel);
  scene_->setSceneRect(0, 0, info.width, info.height);
  if (windowedPlay()) {
    fullScreen_ = false;
    game_.setWindowState(Qt::WindowNoState);
    game_.ShowMenus();
    game_.setWindowTitle(info.gameTitle + QStringLiteral(" "));
    const QRect work = workArea();
    const QSize inner = windowedInnerSize(work.size() - frameAllowance());
    game_.resize(inner);
    // Centred with the frame it has now (none before it is first shown).
    const QSize outer = inner + (game_.frameGeometry().size() - game_.geometry().size());
    game_.move(work.left() + (work.width() - outer.width()) / 2, work.top() + (work.height() - outer.height()) / 2);
  } else {
    fullScreen_ = true;
    game_.setWindowState(Qt::WindowNoState);
    game_.HideMenus();
    game_.setWindowTitle(info.gameTitle + QStringLiteral(" "));
    if (QScreen* screen = QGuiApplication::primaryScreen()) game_.setGeometry(screen->geometry());
    game_.setWindowState(Qt::WindowFullScreen);
  }
  layout();
}

QRect GameDisplay::workArea() const {
  const QScreen* screen = game_.screen() ? game_.screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
}

// What the window manager adds around the inner area. Known once the window
// has been on screen with its frame; before that (and just out of full screen,
// which has none), room for a usual title bar and border.
QSize GameDisplay::frameAllowance() const {
  if (game_.isVisible() && game_.windowState() == Qt::WindowNoState) {
    const QSize known = game_.frameGeometry().size() - game_.geometry().size();
    if (known.width() > 0 && known.height() > 0) return known;
  }
  return {8, 32};
}

// The size the player left the window at, when it still fits; else the
// largest whole-number scale that does.
QSize GameDisplay::windowedInnerSize(QSize room) {
  const auto& info = project().info;
  const QSize picture(std::max<int>(1, info.width), std::max<int>(1, info.height));
  const auto kept = ParseWindowSize(startup::LoadSetting(QString::fromLatin1(startup::settings_keys::kWindowedSize)));
  if (kept && kept->width() <= room.width() && kept->height() <= room.height()) return *kept;
  const BarHeightAt bar = [this](double scale) { return menuBarHeightAt(scale); };
  return WindowAtScale(picture, LargestWholeScale(picture, room, bar), bar);
}

int GameDisplay::menuBarHeightAt(double scale) {
  if (menuBar_->isHidden()) return 0;
  const double now = platform::InterfaceScale();
  platform::SetInterfaceScale(scale);
  platform::ScaleInterfaceWindow(*menuBar_);
  const int height = menuBar_->sizeHint().height();
  platform::SetInterfaceScale(now);
  return height;
}

// Windowed: the menu bar on top and the picture below it, as large as the
// window lets it be, aspect kept. Full screen, the window covers the real
// screen and the picture is centred on black. With a display mode switched to
// (the welcome window's "Change display resolution" box), the screen stands
// for that mode: the mode is scaled to fill it, aspect kept, so the picture
// grows with it; without one the picture keeps its own size, as it looked on a
// larger desktop. A whole-number scale is drawn pixel for pixel, without
// smoothing. The player's own windows (the menu bar first) grow with the picture.
void GameDisplay::layout() {
  const auto& info = project().info;
  const int pw = std::max<int>(1, info.width);
  const int ph = std::max<int>(1, info.height);
  const QSize picture(pw, ph);
  const bool barShown = !menuBar_->isHidden();
  QRect area = game_.rect();
  double scale = 1.0;
  if (fullScreen_) {
    const auto mode = startup::VirtualDisplayMode();
    if (mode && !mode->isEmpty() && !area.isEmpty())
      scale = std::min(static_cast<double>(area.width()) / mode->width(),
                       static_cast<double>(area.height()) / mode->height());
    platform::SetInterfaceScale(scale);
  } else {
    platform::SetInterfaceScale(InterfaceScaleInWindow(picture, area.size(), menuBarHeightAt(1.0)));
  }
  if (barShown) {
    const int h = menuBarHeightAt(platform::InterfaceScale());
    menuBar_->setGeometry(0, 0, game_.width(), h);
    if (!fullScreen_) area.setTop(h);
    menuBar_->raise();
  }
  if (!fullScreen_) scale = PictureScaleIn(picture, area.size());
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
  startHint_->place();
}

QPointF GameDisplay::pictureToWindow(QPointF p) const {
  const QPoint inView = view_->mapFromScene(p);
  return view_->mapTo(&game_, inView);
}

QImage GameDisplay::framePicture() const { return game_.PictureBox->snapshot(); }

}  // namespace qm::engine
