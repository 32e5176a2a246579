// The texts readable on each picture painted on the screen, numbered from 1,
// kept as spans of picture numbers: a text readable on pictures 4 to 9 is one
// span. The oldest spans are dropped once there are many, so a long game
// keeps the recent ones.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>

namespace qm::engine {

class PaintedTextLog {
 public:
  static constexpr std::size_t kMaxSpans = 2000;

  // One more picture, on which these texts could be read.
  void notePicture(const QStringList& readable);
  // Pictures noted so far.
  qint64 pictures() const { return pictures_; }
  // `text` was readable on a picture numbered after `after`, up to `upTo`.
  bool readableBetween(const QString& text, qint64 after, qint64 upTo) const;
  std::size_t spanCount() const { return spans_.size(); }

 private:
  struct Span {
    QString text;
    qint64 first = 0, last = 0;
  };
  std::deque<Span> spans_;
  // The spans of the texts readable on the last picture (a deque keeps its
  // elements in place as it grows at the back and shrinks at the front).
  QHash<QString, Span*> open_;
  qint64 pictures_ = 0;
};

}  // namespace qm::engine
