// quillmere --media-info FILE: what the media layer sees in a sound or video file.
#include <cstdio>

#include "app/Commands.h"
#include "media/MediaProbe.h"

namespace qm::app {

int runMediaInfo(int, char**, const Args& args) {
  if (args.size() != 1) {
    std::fputs("quillmere: --media-info needs exactly one FILE\n", stderr);
    return 2;
  }
  QString error;
  const auto info = media::probeMedia(QString::fromLocal8Bit(args[0].c_str()), &error);
  if (!info) {
    std::fprintf(stderr, "quillmere: %s\n", error.toLocal8Bit().constData());
    return 1;
  }
  std::printf("format: %s\n", info->format.toUtf8().constData());
  std::printf("duration: %.3f\n", info->duration);
  if (info->channels > 0) {
    std::printf("audio: %d %s, %d Hz, %s\n", info->channels, info->channels == 1 ? "channel" : "channels", info->sampleRate,
                info->audioCodec.toUtf8().constData());
  } else {
    std::printf("audio: none\n");
  }
  if (info->video.isValid()) {
    std::printf("video: %dx%d, %s\n", info->video.width(), info->video.height(), info->videoCodec.toUtf8().constData());
    if (info->frames >= 0) std::printf("frames: %lld\n", info->frames);
    else std::printf("frames: unknown\n");
  } else {
    std::printf("video: none\n");
    std::printf("frames: none\n");
  }
  return 0;
}

}  // namespace qm::app
