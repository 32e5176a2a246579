// What a media file holds, without playing it: container, length, sound and picture
// formats, and the number of video pictures.
#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace qm::media {

struct MediaInfo {
  QString format;        // container as detected from the content: "wav", "mp3", "asf", "midi", "rmi", ...
  double duration = 0.0; // seconds (for MIDI: up to the last event)
  int channels = 0;      // 0 when there is no sound
  int sampleRate = 0;
  QString audioCodec;
  QSize video;           // natural size; invalid when there is no video
  QString videoCodec;
  long long frames = -1; // video pictures; -1 when unknown or no video
};

std::optional<MediaInfo> probeMedia(const QString& path, QString* error);

}  // namespace qm::media
