#include "engine/PaintedTextLog.h"

namespace qm::engine {

void PaintedTextLog::notePicture(const QStringList& readable) {
  ++pictures_;
  QHash<QString, Span*> open;
  for (const QString& text : readable) {
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

bool PaintedTextLog::readableBetween(const QString& text, qint64 after, qint64 upTo) const {
  for (const Span& s : spans_)
    if (s.text == text && s.last > after && s.first <= upTo) return true;
  return false;
}

}  // namespace qm::engine
