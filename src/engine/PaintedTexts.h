// The texts a player could read on the pictures actually painted on the
// screen. Each paint of the game's view is one picture; the texts readable on
// it (ReadableTexts.h) go to a PaintedTextLog, so that a walkthrough can tell
// a message the player saw from one that was shown and hidden, or covered,
// before the screen was painted again.
#pragma once

#include <QObject>

#include "engine/PaintedTextLog.h"

namespace qm::engine {

class Game;

class PaintedTexts : public QObject {
 public:
  // Counts the paints of `screen` (the view's viewport).
  PaintedTexts(Game& game, QWidget* screen);

  // Pictures painted so far.
  qint64 picturesPainted() const { return log_.pictures(); }
  // `text` was readable on a picture numbered after `after`, up to `upTo`.
  bool readableBetween(const QString& text, qint64 after, qint64 upTo) const {
    return log_.readableBetween(text, after, upTo);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Game& game_;
  PaintedTextLog log_;
};

}  // namespace qm::engine
