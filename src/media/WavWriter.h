// Writes 16-bit PCM stereo WAV files at the output rate, a block at a time; the
// header's sizes are filled in when the file is closed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qm::media {

class WavWriter {
 public:
  WavWriter() = default;
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // Creates (or truncates) the file; false with a description in `error` when it cannot.
  bool open(const std::string& path, std::string* error);
  bool isOpen() const { return file_ != nullptr; }
  // Takes interleaved stereo float samples (-1..1; louder ones are clipped).
  void write(const float* samples, int frames);
  // Completes the header and closes; false when the disk refused a write.
  bool close();
  std::uint64_t framesWritten() const { return frames_; }

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t frames_ = 0;
  bool failed_ = false;
};

}  // namespace qm::media
