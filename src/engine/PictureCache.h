// Decoded pictures, each file decoded once per game and shared by every control
// that shows it. Files are recognised by their content, not their extension.
#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <list>
#include <optional>

namespace qm::engine {

class PictureCache {
 public:
  static PictureCache& instance();

  // The decoded picture of a native file path; nullopt when the file is missing
  // or not a picture we can decode. A file that changed on disk is decoded again
  // (files are compared at most once a second, so a frame full of pictures
  // costs no disk look-ups).
  std::optional<QImage> load(const QString& nativePath);
  void clear();

  qint64 bytesInUse() const { return bytes_; }
  int decodeCount() const { return decodes_; }
  // Older pictures are dropped once the cache holds more than this.
  void setBudgetBytes(qint64 b) { budget_ = b; }

 private:
  struct Entry {
    QImage image;
    qint64 modified = 0;
    qint64 size = 0;
    qint64 checkedAt = 0;  // when the file on disk was last compared
    std::list<QString>::iterator lru;
  };
  void evict();
  QHash<QString, Entry> entries_;
  std::list<QString> order_;  // most recently used first
  qint64 bytes_ = 0;
  qint64 budget_ = 160LL * 1024 * 1024;
  int decodes_ = 0;
};

// What a control's Picture property gets from a file: an empty path clears the
// picture (and counts as success); a file that cannot be decoded leaves the
// picture empty and answers false. `source` is the path of a loaded picture.
struct ControlPicture {
  QImage image;
  QString source;
  bool loaded = false;
};
ControlPicture LoadControlPicture(const QString& nativePath);

}  // namespace qm::engine
