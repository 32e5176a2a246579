#include "engine/PaintedTexts.h"

#include <QEvent>
#include <QWidget>

#include "engine/ReadableTexts.h"

namespace qm::engine {

PaintedTexts::PaintedTexts(Game& game, QWidget* screen) : QObject(screen), game_(game) {
  screen->installEventFilter(this);
}

bool PaintedTexts::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Paint) notePicture();
  return false;
}

void PaintedTexts::notePicture() {
  ++pictures_;
  QHash<QString, Span*> open;
  for (const QString& text : readableTexts(game_)) {
    if (open.contains(text)) continue;
    // A text readable on the picture before goes on in its span.
    Span* span = open_.value(text);
    if (span) {
      span->last = pictures_;
    } else {
      spans_.push_back({text, pictures_, pictures_});
      span = &spans_.back();
    }
    open.insert(text, span);
  }
  while (spans_.size() > kMaxSpans) {
    if (open.value(spans_.front().text) == &spans_.front()) open.remove(spans_.front().text);
    spans_.pop_front();
  }
  open_ = std::move(open);
}

bool PaintedTexts::readableBetween(const QString& text, qint64 after, qint64 upTo) const {
  for (const Span& s : spans_)
    if (s.text == text && s.last > after && s.first <= upTo) return true;
  return false;
}

}  // namespace qm::engine
