// The texts a player could read on the pictures actually painted on the
// screen. Each paint of the game's view is one picture, numbered from 1; the
// texts readable on it (ReadableTexts.h) are kept as spans of picture numbers,
// so that a walkthrough can tell a message the player saw from one that was
// shown and hidden, or covered, before the screen was painted again.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <deque>

namespace qm::engine {

class Game;

class PaintedTexts : public QObject {
 public:
  // Counts the paints of `screen` (the view's viewport).
  PaintedTexts(Game& game, QWidget* screen);

  // Pictures painted so far.
  qint64 picturesPainted() const { return pictures_; }
  // `text` was readable on a picture numbered after `after`, up to `upTo`.
  bool readableBetween(const QString& text, qint64 after, qint64 upTo) const;

  // One picture: what is readable now.
  void notePicture();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Span {
    QString text;
    qint64 first = 0, last = 0;
  };
  // The oldest spans go first; a long game keeps the recent ones.
  static constexpr std::size_t kMaxSpans = 2000;

  Game& game_;
  std::deque<Span> spans_;
  // The spans of the texts readable on the last picture (a deque keeps its
  // elements in place as it grows at the back and shrinks at the front).
  QHash<QString, Span*> open_;
  qint64 pictures_ = 0;
};

}  // namespace qm::engine
