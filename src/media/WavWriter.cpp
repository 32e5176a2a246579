#include "media/WavWriter.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "media/AudioFormat.h"

namespace qm::media {

namespace {

void put16(unsigned char* p, std::uint16_t v) {
  p[0] = static_cast<unsigned char>(v & 0xff);
  p[1] = static_cast<unsigned char>(v >> 8);
}

void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xff);
}

void makeHeader(unsigned char* h, std::uint64_t frames) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(frames * 4, 0xFFFFFFF0u - 36));
  std::memcpy(h, "RIFF", 4);
  put32(h + 4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(h + 16, 16);
  put16(h + 20, 1);  // PCM
  put16(h + 22, kOutputChannels);
  put32(h + 24, kOutputRate);
  put32(h + 28, kOutputRate * kOutputChannels * 2);
  put16(h + 32, kOutputChannels * 2);
  put16(h + 34, 16);
  std::memcpy(h + 36, "data", 4);
  put32(h + 40, dataBytes);
}

}  // namespace

WavWriter::~WavWriter() { close(); }

bool WavWriter::open(const std::string& path, std::string* error) {
  close();
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    if (error) *error = "cannot write '" + path + "': " + std::strerror(errno);
    return false;
  }
  frames_ = 0;
  failed_ = false;
  unsigned char header[44];
  makeHeader(header, 0);
  if (std::fwrite(header, 1, sizeof header, file_) != sizeof header) failed_ = true;
  return true;
}

void WavWriter::write(const float* samples, int frames) {
  if (!file_ || frames <= 0) return;
  std::vector<std::int16_t> pcm(static_cast<size_t>(frames) * kOutputChannels);
  for (size_t i = 0; i < pcm.size(); ++i) {
    const float s = std::clamp(samples[i], -1.0f, 1.0f);
    pcm[i] = static_cast<std::int16_t>(std::lrint(s * 32767.0f));
  }
  // WAV is little-endian, as is every machine this runs on.
  if (std::fwrite(pcm.data(), sizeof(std::int16_t), pcm.size(), file_) != pcm.size()) failed_ = true;
  frames_ += static_cast<std::uint64_t>(frames);
}

bool WavWriter::close() {
  if (!file_) return !failed_;
  unsigned char header[44];
  makeHeader(header, frames_);
  if (std::fseek(file_, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, file_) != sizeof header) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace qm::media
