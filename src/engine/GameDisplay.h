// How the game picture reaches the screen. The picture (the window's
// PictureBox, project size) lives in a graphics scene shown by a view, so that
// it can be scaled; the menu bar sits on top of the window; the start
// hint floats over a full-screen game. Full screen or a window is the player's
// last Alt+Enter choice for this game, else the project's windowed-mode option.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QMenuBar;
class QGraphicsScene;
class QGraphicsView;
class QGraphicsProxyWidget;

namespace qm::engine {

class Game;
class PaintedTexts;
class StartHint;

class GameDisplay {
 public:
  // Puts the game's PictureBox into a scene and view on the window, and makes
  // the window's menu bar and start hint.
  explicit GameDisplay(Game& game);
  // Takes the picture (and every control on it) away with the scene's proxy.
  ~GameDisplay();
  GameDisplay(const GameDisplay&) = delete;
  GameDisplay& operator=(const GameDisplay&) = delete;

  QMenuBar* menuBar() const { return menuBar_; }
  // The note over a full-screen game at its start (how to reach the menu and quit).
  StartHint* startHint() const { return startHint_; }

  // The game plays in a window (the player's Alt+Enter choice, else the project's option).
  bool windowedPlay() const;
  // Alt+Enter: the other way, kept in the per-game settings, applied at once.
  void toggleWindowedPlay();
  // Keeps the window's size for this game, while it plays in a normal window
  // on screen (on leaving windowed play and on closing).
  void rememberWindowSize();
  // The window covers the screen (set by placeWindowAndPicture).
  bool fullScreen() const { return fullScreen_; }

  // Sizes the picture to the project and the window to the way of playing:
  // windowed, the window takes the size the player left it at, else the
  // largest whole-number scale of the picture that fits the work area, and
  // stands in the middle of the work area; full screen, the window covers the screen.
  void placeWindowAndPicture();
  // The top menu items changed: the bar shows while one of them does.
  void menusChanged();
  // Lays the menu bar and the picture out in the window as it is now.
  void layout();
  // The picture is shown, or hidden while the game is stopped.
  void showPicture(bool shown);
  // The colour around the picture (the window's back colour).
  void setSurround(const QColor& colour);

  // How many screen pixels one picture pixel covers (the player's own windows
  // grow with it: see platform/InterfaceScale.h).
  double displayScale() const { return scale_; }
  // The texts readable on each picture painted on the screen.
  const PaintedTexts& paintedTexts() const { return *paintedTexts_; }
  // The game picture as the player sees it (project size).
  QImage framePicture() const;
  // Pixel (x, y) of the game picture in window coordinates (for scaled full screen).
  QPointF pictureToWindow(QPointF picturePixel) const;

 private:
  QRect workArea() const;
  QSize frameAllowance() const;
  QSize windowedInnerSize(QSize room);
  // The bar's height with its font at that interface scale (which it keeps).
  int menuBarHeightAt(double scale);

  Game& game_;
  QGraphicsScene* scene_ = nullptr;
  QGraphicsView* view_ = nullptr;
  QGraphicsProxyWidget* proxy_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  StartHint* startHint_ = nullptr;
  PaintedTexts* paintedTexts_ = nullptr;
  double scale_ = 1.0;
  bool fullScreen_ = false;
  // The windowed choice, read once per game: the menus ask on every click.
  mutable QString windowedFor_;
  mutable std::optional<bool> windowed_;
};

}  // namespace qm::engine
