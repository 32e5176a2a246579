// Fuzz target: a media file of any content, opened by content and decoded (sound
// and pictures) for a bounded number of steps.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "media/MediaOpener.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/input.223");
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  QString error;
  auto decoder = qm::media::openDecoder(path, &error);
  if (!decoder) return 0;
  qm::media::DecodedChunk chunk;
  for (int i = 0; i < 200; ++i) {
    chunk.clear();
    if (!decoder->decode(chunk)) break;
  }
  decoder->seek(0.0);
  chunk.clear();
  decoder->decode(chunk);
  return 0;
}
