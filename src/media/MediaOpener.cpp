#include "media/MediaOpener.h"

#include <QFile>

#include "media/FfmpegDecoder.h"
#include "media/MidiDecoder.h"
#include "media/MidiFile.h"
#include "media/Soundfont.h"
#include "platform/FileConfinement.h"
#include "platform/NativeFile.h"

namespace qm::media {

MediaKind detectMediaKind(const QString& path) {
  QFile f;
  if (!platform::isInsideConfinement(path) || !platform::openForReading(f, path)) return MediaKind::Missing;
  return looksLikeMidi(f.read(16)) ? MediaKind::Midi : MediaKind::Other;
}

std::unique_ptr<Decoder> openDecoder(const QString& path, QString* error) {
  if (path.isEmpty()) {
    if (error) *error = QStringLiteral("no file name");
    return nullptr;
  }
  switch (detectMediaKind(path)) {
    case MediaKind::Midi: {
      if (findSoundfont().isEmpty()) {
        if (error) {
          *error = QStringLiteral("cannot play MIDI music: no General MIDI soundfont found (install timgm6mb-soundfont or set %1)")
                       .arg(QString::fromLatin1(kSoundfontVariable));
        }
        return nullptr;
      }
      return MidiDecoder::open(path, error);
    }
    case MediaKind::Missing:
    case MediaKind::Other:
      return FfmpegDecoder::open(path, error);
  }
  return nullptr;
}

}  // namespace qm::media
