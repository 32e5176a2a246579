#include "engine/PaintedTexts.h"

#include <QEvent>
#include <QWidget>

#include "engine/ReadableTexts.h"

namespace qm::engine {

PaintedTexts::PaintedTexts(Game& game, QWidget* screen) : QObject(screen), game_(game) {
  screen->installEventFilter(this);
}

bool PaintedTexts::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Paint) log_.notePicture(readableTexts(game_));
  return false;
}

}  // namespace qm::engine
