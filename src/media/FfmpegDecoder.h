// Sound and video files through FFmpeg: every container and codec FFmpeg knows,
// detected from the content (the name's extension plays no part).
#pragma once

#include <QString>
#include <memory>

#include "media/Decoder.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;
struct SwsContext;

namespace qm::media {

class FfmpegDecoder final : public Decoder {
 public:
  // Opens the file and its decoders; nullptr with a description when it cannot be played.
  static std::unique_ptr<FfmpegDecoder> open(const QString& path, QString* error);
  ~FfmpegDecoder() override;

  bool decode(DecodedChunk& chunk) override;
  bool seek(double seconds) override;
  void setRate(double rate) override;
  QString errorString() const override { return error_; }
  bool hasVideo() const override { return videoIndex_ >= 0; }
  bool hasAudio() const { return audioIndex_ >= 0; }
  QSize naturalSize() const override { return naturalSize_; }
  double duration() const override { return duration_; }

 private:
  FfmpegDecoder() = default;
  bool openFile(const QString& path, QString* error);
  void closeFile();
  bool setupResampler();
  void emitAudioFrame(AVFrame* frame, DecodedChunk& chunk);
  void emitVideoFrame(AVFrame* frame, DecodedChunk& chunk);
  void appendSilence(DecodedChunk& chunk, double from, double seconds);
  bool receiveFrom(AVCodecContext* ctx, bool isAudio, DecodedChunk& chunk);
  double streamTime(int streamIndex, long long pts) const;

  QString path_;
  QString error_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* audio_ = nullptr;
  AVCodecContext* video_ = nullptr;
  int audioIndex_ = -1;
  int videoIndex_ = -1;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwrContext* swr_ = nullptr;
  SwsContext* sws_ = nullptr;
  double rate_ = 1.0;
  int swrOutRate_ = 0;
  bool swrDirty_ = true;
  QSize naturalSize_;
  double duration_ = 0.0;
  double startOffset_ = 0.0;      // container start time, so media time begins at 0
  double nextAudioTime_ = 0.0;    // media time after the last decoded sound
  double audioEnd_ = 0.0;         // media time covered by the sound emitted so far
  double videoEnd_ = 0.0;         // end of the last picture emitted
  double frameDuration_ = 0.04;   // typical picture duration
  double discardBefore_ = -1.0;   // after a seek: drop what lies before this time
  bool draining_ = false;
  bool audioDrained_ = false;
  bool videoDrained_ = false;
  bool padded_ = false;
};

}  // namespace qm::media
