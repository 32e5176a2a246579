// Fuzz target: the MIDI file reader (plain and RIFF-wrapped files).
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "media/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  qm::media::looksLikeMidi(bytes);
  QString error;
  if (auto song = qm::media::parseMidi(bytes, &error)) {
    double last = -1.0;
    for (const auto& e : song->events) {
      if (e.seconds < last) __builtin_trap();  // events must come in time order
      last = e.seconds;
    }
  }
  return 0;
}
