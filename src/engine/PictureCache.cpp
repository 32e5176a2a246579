#include "engine/PictureCache.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>

#include "engine/CursorFile.h"
#include "platform/FileConfinement.h"
#include "platform/IconFile.h"
#include "platform/NativeFile.h"

namespace qm::engine {

PictureCache& PictureCache::instance() {
  static PictureCache cache;
  return cache;
}

std::optional<QImage> PictureCache::load(const QString& nativePath) {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  const qint64 now = clock.elapsed();
  if (!platform::isInsideConfinement(nativePath)) return std::nullopt;
  if (auto hit = entries_.find(nativePath); hit != entries_.end() && now - hit->checkedAt < 1000) {
    order_.splice(order_.begin(), order_, hit->lru);
    return hit->image;
  }
  // By the path's bytes: the file may be named in a code page, not in UTF-8.
  const auto info = platform::stampOf(nativePath);
  if (!info) return std::nullopt;
  const qint64 modified = info->modified.toMSecsSinceEpoch();
  auto it = entries_.find(nativePath);
  if (it != entries_.end()) {
    if (it->modified == modified && it->size == info->size) {
      it->checkedAt = now;
      order_.splice(order_.begin(), order_, it->lru);
      return it->image;
    }
    bytes_ -= it->image.sizeInBytes();
    order_.erase(it->lru);
    entries_.erase(it);
  }
  const auto read = platform::readFileAt(nativePath);
  if (!read) return std::nullopt;
  const QByteArray& bytes = *read;
  QImage image;
  {
    QBuffer buffer(const_cast<QByteArray*>(&bytes));
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    image = reader.read();
  }
  if (image.isNull()) {
    // Icons and cursors double as pictures.
    if (auto icon = platform::decodeIconImage(bytes)) image = *icon;
  }
  ++decodes_;
  if (image.isNull()) return std::nullopt;
  if (image.format() != QImage::Format_ARGB32_Premultiplied && image.hasAlphaChannel())
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  else if (!image.hasAlphaChannel() && image.format() != QImage::Format_RGB32)
    image = image.convertToFormat(QImage::Format_RGB32);
  order_.push_front(nativePath);
  entries_.insert(nativePath, Entry{image, modified, info->size, now, order_.begin()});
  bytes_ += image.sizeInBytes();
  evict();
  return image;
}

void PictureCache::evict() {
  while (bytes_ > budget_ && order_.size() > 1) {
    const QString victim = order_.back();
    order_.pop_back();
    auto it = entries_.find(victim);
    if (it != entries_.end()) {
      bytes_ -= it->image.sizeInBytes();
      entries_.erase(it);
    }
  }
}

void PictureCache::clear() {
  entries_.clear();
  order_.clear();
  bytes_ = 0;
}

ControlPicture LoadControlPicture(const QString& nativePath) {
  if (nativePath.isEmpty()) return {QImage(), QString(), true};
  auto img = PictureCache::instance().load(nativePath);
  if (!img) return {};
  return {*img, nativePath, true};
}

}  // namespace qm::engine
