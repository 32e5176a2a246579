#include "media/MediaProbe.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "media/AudioFormat.h"
#include "media/FfmpegInput.h"
#include "media/MidiFile.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"

namespace qm::media {

namespace {

std::optional<MediaInfo> probeMidi(const QString& path, QString* error) {
  const auto bytes = platform::readFileAt(path);
  if (!bytes) {
    if (error) *error = QStringLiteral("file not readable: %1").arg(platform::readableName(path));
    return std::nullopt;
  }
  QString why;
  auto song = parseMidi(*bytes, &why);
  if (!song) {
    if (error) *error = QStringLiteral("%1: %2").arg(why, platform::readableName(path));
    return std::nullopt;
  }
  MediaInfo info;
  info.format = song->wrappedInRiff ? QStringLiteral("rmi") : QStringLiteral("midi");
  info.duration = song->lastEventTime;
  info.channels = kOutputChannels;
  info.sampleRate = kOutputRate;
  info.audioCodec = QStringLiteral("General MIDI synthesizer");
  return info;
}

}  // namespace

std::optional<MediaInfo> probeMedia(const QString& path, QString* error) {
  if (!platform::isPlainFileAt(path)) {
    if (error) *error = QStringLiteral("file not found: %1").arg(platform::readableName(path));
    return std::nullopt;
  }
  {
    QFile f;
    if (!platform::openForReading(f, path)) {
      if (error) *error = QStringLiteral("file not readable: %1").arg(platform::readableName(path));
      return std::nullopt;
    }
    if (looksLikeMidi(f.read(16))) return probeMidi(path, error);
  }

  AVFormatContext* fmt = nullptr;
  if (openMediaInput(path, &fmt, error) < 0) return std::nullopt;
  struct Closer {
    AVFormatContext*& f;
    ~Closer() { avformat_close_input(&f); }
  } closer{fmt};
  MediaInfo info;
  info.format = QString::fromUtf8(fmt->iformat->name);
  const int a = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  int v = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (v >= 0 && ((fmt->streams[v]->disposition & AV_DISPOSITION_ATTACHED_PIC) || fmt->streams[v]->codecpar->width <= 0)) v = -1;
  if (a < 0 && v < 0) {
    if (error) *error = QStringLiteral("no sound or video in %1").arg(platform::readableName(path));
    return std::nullopt;
  }
  if (a >= 0) {
    const AVCodecParameters* par = fmt->streams[a]->codecpar;
    info.channels = par->ch_layout.nb_channels;
    info.sampleRate = par->sample_rate;
    info.audioCodec = QString::fromUtf8(avcodec_get_name(par->codec_id));
  }
  if (fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0) info.duration = static_cast<double>(fmt->duration) / AV_TIME_BASE;
  if (v >= 0) {
    AVStream* st = fmt->streams[v];
    int w = st->codecpar->width;
    const AVRational sar = av_guess_sample_aspect_ratio(fmt, st, nullptr);
    if (sar.num > 0 && sar.den > 0 && sar.num != sar.den) w = static_cast<int>(std::lround(w * av_q2d(sar)));
    info.video = QSize(w, st->codecpar->height);
    info.videoCodec = QString::fromUtf8(avcodec_get_name(st->codecpar->codec_id));
    const bool guessedLength = fmt->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
    if (st->nb_frames > 0 && !guessedLength) {
      info.frames = st->nb_frames;
    } else {
      // Not in the headers: count the pictures' packets (no decoding).
      for (unsigned i = 0; i < fmt->nb_streams; ++i) fmt->streams[i]->discard = static_cast<int>(i) == v ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
      AVPacket* pkt = av_packet_alloc();
      long long count = 0;
      double end = 0.0;
      const double start = fmt->start_time != AV_NOPTS_VALUE ? static_cast<double>(fmt->start_time) / AV_TIME_BASE : 0.0;
      while (pkt && av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == v) {
          ++count;
          if (pkt->pts != AV_NOPTS_VALUE) {
            end = std::max(end, static_cast<double>(pkt->pts + std::max<int64_t>(pkt->duration, 0)) * av_q2d(st->time_base) - start);
          }
        }
        av_packet_unref(pkt);
      }
      av_packet_free(&pkt);
      info.frames = count;
      if (guessedLength || info.duration <= 0.0) {
        // A raw stream's length guessed from its bit rate is no good: count its pictures instead.
        const AVRational fr = av_guess_frame_rate(fmt, st, nullptr);
        info.duration = std::max(end, fr.num > 0 ? static_cast<double>(count) * fr.den / fr.num : 0.0);
      }
    }
  }
  return info;
}

}  // namespace qm::media
