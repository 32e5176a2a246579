#include "media/FfmpegDecoder.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"

#include <QFile>
#include <unistd.h>
#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "media/AudioFormat.h"
#include "media/FfmpegInput.h"

namespace qm::media {

namespace {

AVCodecContext* openCodec(AVStream* stream, QString* error) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) {
    if (error) *error = QStringLiteral("no decoder for %1").arg(QString::fromUtf8(avcodec_get_name(stream->codecpar->codec_id)));
    return nullptr;
  }
  AVCodecContext* ctx = avcodec_alloc_context3(codec);
  if (!ctx) return nullptr;
  if (avcodec_parameters_to_context(ctx, stream->codecpar) < 0) {
    avcodec_free_context(&ctx);
    return nullptr;
  }
  ctx->thread_count = 1;  // many players decode at once; one thread each keeps the machine calm
  ctx->pkt_timebase = stream->time_base;
  const int r = avcodec_open2(ctx, codec, nullptr);
  if (r < 0) {
    if (error) *error = QStringLiteral("cannot open the %1 decoder: %2").arg(QString::fromUtf8(codec->name), ffmpegErrorText(r));
    avcodec_free_context(&ctx);
    return nullptr;
  }
  return ctx;
}

}  // namespace

std::unique_ptr<FfmpegDecoder> FfmpegDecoder::open(const QString& path, QString* error) {
  std::unique_ptr<FfmpegDecoder> d(new FfmpegDecoder);
  if (!d->openFile(path, error)) return nullptr;
  return d;
}

FfmpegDecoder::~FfmpegDecoder() { closeFile(); }

void FfmpegDecoder::closeFile() {
  if (audio_) avcodec_free_context(&audio_);
  if (video_) avcodec_free_context(&video_);
  if (format_) avformat_close_input(&format_);
  if (frame_) av_frame_free(&frame_);
  if (packet_) av_packet_free(&packet_);
  if (swr_) swr_free(&swr_);
  if (sws_) {
    sws_freeContext(sws_);
    sws_ = nullptr;
  }
  audioIndex_ = videoIndex_ = -1;
}

bool FfmpegDecoder::openFile(const QString& path, QString* error) {
  path_ = path;
  const QString shown = platform::readableName(path);
  if (platform::isPlainFileAt(path) && ::access(platform::bytesOfName(path).constData(), R_OK) != 0) {
    if (error) *error = QStringLiteral("file not readable: %1").arg(shown);
    return false;
  }
  if (openMediaInput(path, &format_, error) < 0) return false;

  QString codecError;
  int a = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  int v = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (v >= 0 && (format_->streams[v]->disposition & AV_DISPOSITION_ATTACHED_PIC)) v = -1;  // cover art
  if (a >= 0 && (audio_ = openCodec(format_->streams[a], &codecError))) audioIndex_ = a;
  if (v >= 0 && format_->streams[v]->codecpar->width > 0 && (video_ = openCodec(format_->streams[v], &codecError)))
    videoIndex_ = v;
  if (audioIndex_ < 0 && videoIndex_ < 0) {
    if (error) {
      *error = codecError.isEmpty() ? QStringLiteral("no sound or video in %1").arg(shown)
                                    : QStringLiteral("cannot play %1: %2").arg(shown, codecError);
    }
    closeFile();
    return false;
  }
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    if (static_cast<int>(i) != audioIndex_ && static_cast<int>(i) != videoIndex_) format_->streams[i]->discard = AVDISCARD_ALL;
  }

  startOffset_ = format_->start_time != AV_NOPTS_VALUE ? static_cast<double>(format_->start_time) / AV_TIME_BASE : 0.0;
  if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0) {
    duration_ = static_cast<double>(format_->duration) / AV_TIME_BASE;
  } else {
    const int s = audioIndex_ >= 0 ? audioIndex_ : videoIndex_;
    const AVStream* st = format_->streams[s];
    duration_ = st->duration != AV_NOPTS_VALUE ? static_cast<double>(st->duration) * av_q2d(st->time_base) : 0.0;
  }
  if (videoIndex_ >= 0) {
    AVStream* st = format_->streams[videoIndex_];
    int w = st->codecpar->width;
    const int h = st->codecpar->height;
    const AVRational sar = av_guess_sample_aspect_ratio(format_, st, nullptr);
    if (sar.num > 0 && sar.den > 0 && sar.num != sar.den) w = static_cast<int>(std::lround(w * av_q2d(sar)));
    naturalSize_ = QSize(w, h);
    const AVRational fr = av_guess_frame_rate(format_, st, nullptr);
    if (fr.num > 0 && fr.den > 0) frameDuration_ = std::clamp(av_q2d(av_inv_q(fr)), 0.001, 1.0);
  }
  frame_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  swrDirty_ = true;
  draining_ = audioDrained_ = videoDrained_ = padded_ = false;
  nextAudioTime_ = audioEnd_ = videoEnd_ = 0.0;
  discardBefore_ = -1.0;
  return frame_ && packet_;
}

double FfmpegDecoder::streamTime(int streamIndex, long long pts) const {
  return static_cast<double>(pts) * av_q2d(format_->streams[streamIndex]->time_base) - startOffset_;
}

void FfmpegDecoder::setRate(double rate) {
  rate = std::clamp(rate, 0.1, 10.0);
  if (rate != rate_) {
    rate_ = rate;
    swrDirty_ = true;
  }
}

bool FfmpegDecoder::setupResampler() {
  if (swr_) swr_free(&swr_);
  swrOutRate_ = static_cast<int>(std::lround(kOutputRate / rate_));
  AVChannelLayout out = AV_CHANNEL_LAYOUT_STEREO;
  AVChannelLayout in;
  if (audio_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || audio_->ch_layout.nb_channels <= 0) {
    av_channel_layout_default(&in, std::max(audio_->ch_layout.nb_channels, 1));
  } else {
    av_channel_layout_copy(&in, &audio_->ch_layout);
  }
  const int r = swr_alloc_set_opts2(&swr_, &out, AV_SAMPLE_FMT_FLT, swrOutRate_, &in, audio_->sample_fmt,
                                    audio_->sample_rate, 0, nullptr);
  const bool mono = in.nb_channels == 1;
  av_channel_layout_uninit(&in);
  if (r >= 0 && mono) {
    // A mono sound plays at full level on both sides (not 3 dB down, as a centre speaker would be).
    const double matrix[2] = {1.0, 1.0};
    swr_set_matrix(swr_, matrix, 1);
  }
  if (r < 0 || swr_init(swr_) < 0) {
    if (swr_) swr_free(&swr_);
    error_ = QStringLiteral("cannot convert the sound of %1").arg(platform::readableName(path_));
    return false;
  }
  swrDirty_ = false;
  return true;
}

void FfmpegDecoder::appendSilence(DecodedChunk& chunk, double from, double seconds) {
  const long frames = std::lround(seconds * kOutputRate / rate_);
  if (frames <= 0) return;
  if (chunk.audio.empty()) chunk.audioTime = from;
  chunk.audio.resize(chunk.audio.size() + static_cast<size_t>(frames) * kOutputChannels, 0.0f);
  audioEnd_ = from + seconds;
}

void FfmpegDecoder::emitAudioFrame(AVFrame* frame, DecodedChunk& chunk) {
  if (frame->sample_rate <= 0 || frame->nb_samples <= 0) return;
  // The frame's own format may differ from the context's first guess (some codecs change mid-stream).
  audio_->sample_rate = frame->sample_rate;
  audio_->sample_fmt = static_cast<AVSampleFormat>(frame->format);
  if (frame->ch_layout.nb_channels > 0 && av_channel_layout_compare(&audio_->ch_layout, &frame->ch_layout) != 0) {
    av_channel_layout_uninit(&audio_->ch_layout);
    av_channel_layout_copy(&audio_->ch_layout, &frame->ch_layout);
    swrDirty_ = true;
  }
  if ((swrDirty_ || !swr_) && !setupResampler()) return;

  const double length = static_cast<double>(frame->nb_samples) / frame->sample_rate;
  double t = nextAudioTime_;
  if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
    const double pts = streamTime(audioIndex_, frame->best_effort_timestamp);
    if (std::fabs(pts - t) > 0.05) t = pts;  // trust the stream's time only when it clearly jumped
  }
  nextAudioTime_ = t + length;
  if (discardBefore_ >= 0.0 && t + length <= discardBefore_) return;

  const int maxOut = swr_get_out_samples(swr_, frame->nb_samples);
  if (maxOut <= 0) return;
  std::vector<float> out(static_cast<size_t>(maxOut) * kOutputChannels);
  uint8_t* outPtr[1] = {reinterpret_cast<uint8_t*>(out.data())};
  const int got = swr_convert(swr_, outPtr, maxOut, const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
  if (got <= 0) return;
  int skip = 0;
  if (discardBefore_ > t) {
    skip = std::clamp(static_cast<int>(std::lround((discardBefore_ - t) / rate_ * kOutputRate)), 0, got);
    t = discardBefore_;
  }
  discardBefore_ = -1.0;
  if (chunk.audio.empty()) chunk.audioTime = t;
  chunk.audio.insert(chunk.audio.end(), out.begin() + static_cast<long>(skip) * kOutputChannels,
                     out.begin() + static_cast<long>(got) * kOutputChannels);
  audioEnd_ = std::max(audioEnd_, t + static_cast<double>(got - skip) * rate_ / kOutputRate);
}

void FfmpegDecoder::emitVideoFrame(AVFrame* frame, DecodedChunk& chunk) {
  double t = videoEnd_;
  if (frame->best_effort_timestamp != AV_NOPTS_VALUE) t = streamTime(videoIndex_, frame->best_effort_timestamp);
  double length = frameDuration_;
  if (frame->pkt_duration > 0) length = static_cast<double>(frame->pkt_duration) * av_q2d(format_->streams[videoIndex_]->time_base);
  if (discardBefore_ >= 0.0 && t + length <= discardBefore_) return;
  if (audioIndex_ < 0) discardBefore_ = -1.0;
  t = std::max(t, 0.0);

  const int w = frame->width;
  const int h = frame->height;
  if (w <= 0 || h <= 0) return;
  sws_ = sws_getCachedContext(sws_, w, h, static_cast<AVPixelFormat>(frame->format), w, h, AV_PIX_FMT_BGRA,
                              SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!sws_) return;
  QImage image(w, h, QImage::Format_RGB32);
  if (image.isNull()) return;
  uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
  int dstStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
  sws_scale(sws_, frame->data, frame->linesize, 0, h, dst, dstStride);
  chunk.pictures.push_back({t, std::move(image)});

  if (audioIndex_ < 0) {
    // A silent video still runs on the sound clock: pad the sound with silence up to the picture's end.
    if (t + length > audioEnd_) appendSilence(chunk, audioEnd_, t + length - audioEnd_);
  }
  videoEnd_ = std::max(videoEnd_, t + length);
}

bool FfmpegDecoder::receiveFrom(AVCodecContext* ctx, bool isAudio, DecodedChunk& chunk) {
  bool got = false;
  for (;;) {
    const int r = avcodec_receive_frame(ctx, frame_);
    if (r == AVERROR(EAGAIN)) break;
    if (r < 0) {  // end of stream, or a fatal decoder error
      if (isAudio) audioDrained_ = true; else videoDrained_ = true;
      break;
    }
    if (isAudio) emitAudioFrame(frame_, chunk); else emitVideoFrame(frame_, chunk);
    av_frame_unref(frame_);
    got = true;
  }
  return got;
}

bool FfmpegDecoder::decode(DecodedChunk& chunk) {
  if (!format_) return false;
  int budget = 4096;  // packets per call; a file of nothing but unusable packets still returns
  while (chunk.empty()) {
    if (draining_) {
      if (audio_ && !audioDrained_) receiveFrom(audio_, true, chunk);
      if (video_ && !videoDrained_) receiveFrom(video_, false, chunk);
      if (!chunk.empty()) return true;
      if ((!audio_ || audioDrained_) && (!video_ || videoDrained_)) {
        if (!padded_ && audioIndex_ >= 0 && videoIndex_ >= 0 && videoEnd_ > audioEnd_ + 0.001) {
          // The pictures last longer than the sound: the clock needs sound to the last picture's end.
          padded_ = true;
          appendSilence(chunk, audioEnd_, videoEnd_ - audioEnd_);
          return !chunk.empty();
        }
        return false;
      }
      continue;
    }
    if (--budget <= 0) return !chunk.empty();
    const int r = av_read_frame(format_, packet_);
    if (r < 0) {
      draining_ = true;
      if (audio_) avcodec_send_packet(audio_, nullptr);
      if (video_) avcodec_send_packet(video_, nullptr);
      continue;
    }
    if (packet_->stream_index == audioIndex_ && audio_) {
      if (avcodec_send_packet(audio_, packet_) == AVERROR(EAGAIN)) {
        receiveFrom(audio_, true, chunk);
        avcodec_send_packet(audio_, packet_);
      }
      receiveFrom(audio_, true, chunk);
    } else if (packet_->stream_index == videoIndex_ && video_) {
      if (avcodec_send_packet(video_, packet_) == AVERROR(EAGAIN)) {
        receiveFrom(video_, false, chunk);
        avcodec_send_packet(video_, packet_);
      }
      receiveFrom(video_, false, chunk);
    }
    av_packet_unref(packet_);
  }
  return true;
}

bool FfmpegDecoder::seek(double seconds) {
  if (!format_) return false;
  seconds = std::max(0.0, seconds);
  const auto ts = static_cast<int64_t>((seconds + startOffset_) * AV_TIME_BASE);
  int r = avformat_seek_file(format_, -1, INT64_MIN, ts, ts, 0);
  if (r < 0) r = av_seek_frame(format_, -1, ts, AVSEEK_FLAG_BACKWARD);
  if (r < 0) {
    // Some raw streams cannot seek: open the file again and skip ahead.
    const double rate = rate_;
    closeFile();
    QString ignored;
    if (!openFile(path_, &ignored)) {
      error_ = ignored;
      return false;
    }
    rate_ = rate;
  } else {
    if (audio_) avcodec_flush_buffers(audio_);
    if (video_) avcodec_flush_buffers(video_);
  }
  swrDirty_ = true;
  draining_ = audioDrained_ = videoDrained_ = padded_ = false;
  nextAudioTime_ = audioEnd_ = videoEnd_ = seconds;
  discardBefore_ = seconds;
  return true;
}

}  // namespace qm::media
