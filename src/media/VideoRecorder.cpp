#include "media/VideoRecorder.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "media/AudioFormat.h"
#include "media/AudioMixer.h"
#include "media/FfmpegInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace qm::media {

namespace {

// Pictures waiting for the worker: half a second of them, so that a slow moment
// of the encoder (or of the machine) is absorbed, but never a growing backlog.
constexpr std::size_t kMaxQueuedPictures = 12;
// Sound waiting for the worker, at most this many seconds.
constexpr std::size_t kMaxQueuedAudioSamples = 10 * kOutputRate * kOutputChannels;

// The video encoder for the container: H.264 through libx264 when the build
// has it, else the container's own default (MPEG-4 part 2 for .mp4).
const AVCodec* videoEncoderFor(const AVOutputFormat* format) {
  if (avformat_query_codec(format, AV_CODEC_ID_H264, FF_COMPLIANCE_NORMAL) == 1)
    if (const AVCodec* x264 = avcodec_find_encoder_by_name("libx264")) return x264;
  if (format->video_codec != AV_CODEC_ID_NONE)
    if (const AVCodec* c = avcodec_find_encoder(format->video_codec)) return c;
  return avcodec_find_encoder(AV_CODEC_ID_MPEG4);
}

const AVCodec* audioEncoderFor(const AVOutputFormat* format) {
  if (avformat_query_codec(format, AV_CODEC_ID_AAC, FF_COMPLIANCE_NORMAL) == 1)
    if (const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC)) return aac;
  if (format->audio_codec != AV_CODEC_ID_NONE) return avcodec_find_encoder(format->audio_codec);
  return nullptr;
}

}  // namespace

struct VideoRecorder::Impl {
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVStream* videoStream = nullptr;
  AVCodecContext* audio = nullptr;
  AVStream* audioStream = nullptr;
  SwsContext* scaler = nullptr;
  AVFrame* picture = nullptr;
  AVFrame* sound = nullptr;
  AVPacket* packet = nullptr;
  int fps = 25;
  QString description;  // the encoders, e.g. "libx264 + aac"
  bool headerWritten = false;
  bool running = false;

  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable room;  // the worker took the queued pictures
  VideoRecorder::Pacing pacing = VideoRecorder::Pacing::RealTime;
  std::deque<std::pair<QImage, long long>> pictures;
  std::vector<float> samples;  // interleaved stereo, not yet encoded
  bool stopping = false;
  long long endSlot = 0;       // set with stopping: the slots the file holds
  std::thread worker;
  long long lastIndex = -1;    // user-interface thread
  long long audioPts = 0;      // worker
  long long lastEncoded = -1;  // worker: the slot of the last picture sent to the encoder
  QString writeError;          // worker, read after it ended
  std::atomic<long long> written{0};
  std::atomic<long long> dropped{0};
  std::atomic<long long> held{0};

  ~Impl() { close(); }

  void close() {
    if (video) avcodec_free_context(&video);
    if (audio) avcodec_free_context(&audio);
    if (picture) av_frame_free(&picture);
    if (sound) av_frame_free(&sound);
    if (packet) av_packet_free(&packet);
    if (scaler) sws_freeContext(scaler), scaler = nullptr;
    if (format) {
      if (!(format->oformat->flags & AVFMT_NOFILE) && format->pb) avio_closep(&format->pb);
      avformat_free_context(format);
      format = nullptr;
    }
  }

  // Sends one frame (nullptr flushes) and writes the packets that come out.
  void encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame) {
    int rc = avcodec_send_frame(encoder, frame);
    if (rc < 0) {
      if (writeError.isEmpty()) writeError = QStringLiteral("encoding failed: ") + ffmpegErrorText(rc);
      return;
    }
    while ((rc = avcodec_receive_packet(encoder, packet)) >= 0) {
      av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
      packet->stream_index = stream->index;
      const int w = av_interleaved_write_frame(format, packet);
      if (w < 0 && writeError.isEmpty()) writeError = QStringLiteral("writing failed: ") + ffmpegErrorText(w);
    }
  }

  // The slots before `index` that have no picture of their own show the last one.
  void holdUntil(long long index) {
    if (lastEncoded < 0) return;
    for (long long slot = lastEncoded + 1; slot < index; ++slot) {
      picture->pts = slot;
      encode(video, videoStream, picture);
      written.fetch_add(1, std::memory_order_relaxed);
    }
  }

  void encodePicture(const QImage& image, long long index) {
    holdUntil(index);
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    scaler = sws_getCachedContext(scaler, rgb.width(), rgb.height(), AV_PIX_FMT_RGB32, video->width, video->height,
                                  AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler || av_frame_make_writable(picture) < 0) return;
    const uint8_t* src[1] = {rgb.constBits()};
    const int stride[1] = {static_cast<int>(rgb.bytesPerLine())};
    sws_scale(scaler, src, stride, 0, rgb.height(), picture->data, picture->linesize);
    picture->pts = index;
    encode(video, videoStream, picture);
    lastEncoded = index;
    written.fetch_add(1, std::memory_order_relaxed);
  }

  // One encoder frame of sound from the front of `chunk` (padded with silence).
  void encodeSound(const float* interleaved, int frames) {
    if (!audio || av_frame_make_writable(sound) < 0) return;
    auto* left = reinterpret_cast<float*>(sound->data[0]);
    auto* right = reinterpret_cast<float*>(sound->data[1]);
    for (int i = 0; i < sound->nb_samples; ++i) {
      left[i] = i < frames ? interleaved[2 * i] : 0.0f;
      right[i] = i < frames ? interleaved[2 * i + 1] : 0.0f;
    }
    sound->pts = audioPts;
    audioPts += sound->nb_samples;
    encode(audio, audioStream, sound);
  }

  void work() {
    const std::size_t chunk = audio ? static_cast<std::size_t>(audio->frame_size) * kOutputChannels : 0;
    for (;;) {
      std::deque<std::pair<QImage, long long>> todoPictures;
      std::vector<float> todoSound;
      bool last = false;
      {
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return stopping || !pictures.empty() || (chunk && samples.size() >= chunk); });
        todoPictures.swap(pictures);
        room.notify_all();
        const std::size_t take = chunk ? (stopping ? samples.size() : samples.size() / chunk * chunk) : 0;
        todoSound.assign(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(take));
        samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(take));
        last = stopping;
      }
      for (std::size_t at = 0; chunk && at < todoSound.size(); at += chunk)
        encodeSound(todoSound.data() + at,
                    static_cast<int>(std::min(chunk, todoSound.size() - at) / kOutputChannels));
      for (const auto& [image, index] : todoPictures) encodePicture(image, index);
      if (last) {
        holdUntil(endSlot);  // up to the last slot offered, even when its picture was dropped
        break;
      }
    }
    encode(video, videoStream, nullptr);
    if (audio) encode(audio, audioStream, nullptr);
    const int rc = av_write_trailer(format);
    if (rc < 0 && writeError.isEmpty()) writeError = QStringLiteral("finishing the file failed: ") + ffmpegErrorText(rc);
  }

  bool open(const QString& path, QSize size, QString* error) {
    auto fail = [&](const QString& why) {
      if (error) *error = why;
      close();
      return false;
    };
    // The encoders' statistics are not for the player's output; failures are reported here.
    av_log_set_level(AV_LOG_QUIET);
    const QByteArray file = path.toLocal8Bit();
    if (avformat_alloc_output_context2(&format, nullptr, nullptr, file.constData()) < 0 || !format)
      return fail(QStringLiteral("no video container is known for the extension of ") + path);

    const AVCodec* videoCodec = videoEncoderFor(format->oformat);
    if (!videoCodec) return fail(QStringLiteral("this FFmpeg build has no video encoder for ") + path);
    video = avcodec_alloc_context3(videoCodec);
    video->width = (size.width() + 1) & ~1;  // 4:2:0 pictures have even sides
    video->height = (size.height() + 1) & ~1;
    video->time_base = AVRational{1, fps};
    video->framerate = AVRational{fps, 1};
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->gop_size = fps * 2;
    if (videoCodec->id == AV_CODEC_ID_H264) {
      // Fast enough to keep up on a small machine, while the game runs beside it.
      av_opt_set(video->priv_data, "preset", "veryfast", 0);
      av_opt_set(video->priv_data, "tune", "zerolatency", 0);
      av_opt_set(video->priv_data, "crf", "23", 0);
    } else {
      video->bit_rate = 2'000'000;
    }
    if (format->oformat->flags & AVFMT_GLOBALHEADER) video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int rc = avcodec_open2(video, videoCodec, nullptr);
    if (rc < 0) return fail(QStringLiteral("cannot open the video encoder: ") + ffmpegErrorText(rc));
    videoStream = avformat_new_stream(format, nullptr);
    avcodec_parameters_from_context(videoStream->codecpar, video);
    videoStream->time_base = video->time_base;

    if (const AVCodec* audioCodec = audioEncoderFor(format->oformat)) {
      audio = avcodec_alloc_context3(audioCodec);
      audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
      audio->sample_rate = kOutputRate;
      av_channel_layout_default(&audio->ch_layout, kOutputChannels);
      audio->bit_rate = 128'000;
      audio->time_base = AVRational{1, kOutputRate};
      if (format->oformat->flags & AVFMT_GLOBALHEADER) audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      rc = avcodec_open2(audio, audioCodec, nullptr);
      if (rc < 0) return fail(QStringLiteral("cannot open the audio encoder: ") + ffmpegErrorText(rc));
      audioStream = avformat_new_stream(format, nullptr);
      avcodec_parameters_from_context(audioStream->codecpar, audio);
      audioStream->time_base = audio->time_base;
      sound = av_frame_alloc();
      sound->format = audio->sample_fmt;
      sound->sample_rate = audio->sample_rate;
      av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
      sound->nb_samples = audio->frame_size > 0 ? audio->frame_size : 1024;
      if (av_frame_get_buffer(sound, 0) < 0) return fail(QStringLiteral("out of memory"));
    }

    description = QString::fromLatin1(videoCodec->name);
    if (audio) description += QStringLiteral(" + ") + QString::fromLatin1(audio->codec->name);
    picture = av_frame_alloc();
    picture->format = video->pix_fmt;
    picture->width = video->width;
    picture->height = video->height;
    if (av_frame_get_buffer(picture, 0) < 0) return fail(QStringLiteral("out of memory"));
    packet = av_packet_alloc();

    if (!(format->oformat->flags & AVFMT_NOFILE)) {
      rc = avio_open(&format->pb, file.constData(), AVIO_FLAG_WRITE);
      if (rc < 0) return fail(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + ffmpegErrorText(rc));
    }
    rc = avformat_write_header(format, nullptr);
    if (rc < 0) return fail(QStringLiteral("cannot start the video file: ") + ffmpegErrorText(rc));
    headerWritten = true;
    return true;
  }
};

VideoRecorder::VideoRecorder() : d_(std::make_unique<Impl>()) {}

VideoRecorder::~VideoRecorder() {
  QString ignored;
  finish(&ignored);
}

bool VideoRecorder::start(const QString& path, QSize size, int fps, QString* error, Pacing pacing) {
  if (d_->running) {
    if (error) *error = QStringLiteral("already recording");
    return false;
  }
  if (size.width() < 2 || size.height() < 2 || size.width() > 8192 || size.height() > 8192 || fps < 1 || fps > 120) {
    if (error) *error = QStringLiteral("picture size or rate out of range");
    return false;
  }
  d_->fps = fps;
  d_->pacing = pacing;
  if (!d_->open(path, size, error)) return false;
  d_->running = true;
  d_->worker = std::thread([impl = d_.get()] { impl->work(); });
  if (d_->audio) {
    auto& mixer = AudioMixer::instance();
    mixer.setTap([impl = d_.get()](const float* mix, int frames) {
      std::lock_guard lock(impl->mutex);
      if (impl->stopping || impl->samples.size() >= kMaxQueuedAudioSamples) return;
      impl->samples.insert(impl->samples.end(), mix, mix + static_cast<std::size_t>(frames) * kOutputChannels);
      impl->wake.notify_one();
    });
    // The mixer runs from now on, so that the sound track keeps time with the pictures.
    mixer.ensureOutput();
  }
  return true;
}

bool VideoRecorder::addFrame(const QImage& picture, long long index) {
  if (!d_->running || index <= d_->lastIndex || picture.isNull()) return false;
  d_->lastIndex = index;
  {
    std::unique_lock lock(d_->mutex);
    if (d_->pacing == Pacing::WaitForEncoder)
      d_->room.wait(lock, [&] { return d_->pictures.size() < kMaxQueuedPictures; });
    if (d_->pictures.size() >= kMaxQueuedPictures) {
      d_->dropped.fetch_add(1, std::memory_order_relaxed);
      return false;
    }
    d_->pictures.emplace_back(picture, index);
  }
  d_->wake.notify_one();
  return true;
}

void VideoRecorder::countHeld(long long count) {
  if (count > 0) d_->held.fetch_add(count, std::memory_order_relaxed);
}

bool VideoRecorder::finish(QString* error) {
  if (!d_->running) return true;
  AudioMixer::instance().setTap({});
  {
    std::lock_guard lock(d_->mutex);
    d_->stopping = true;
    d_->endSlot = d_->lastIndex + 1;
  }
  d_->wake.notify_one();
  d_->worker.join();
  d_->running = false;
  const QString why = d_->writeError;
  d_->close();
  if (!why.isEmpty() && error) *error = why;
  return why.isEmpty();
}

long long VideoRecorder::framesWritten() const { return d_->written.load(); }
long long VideoRecorder::framesDropped() const { return d_->dropped.load(); }
long long VideoRecorder::framesHeld() const { return d_->held.load(); }

QString VideoRecorder::codecDescription() const { return d_->description; }

}  // namespace qm::media
