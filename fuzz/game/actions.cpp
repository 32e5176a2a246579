// Feeds arbitrary bytes to the action-file lookups and the action reader.
#include <cstddef>
#include <cstdint>

#include "logic/ActionRecord.h"
#include "logic/FrameDataFiles.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"

namespace {
struct CountingEffects : qm::logic::ActionEffects {
  int calls = 0;
  void changeVariable(const QString&, int16_t) override { ++calls; }
  void disappear() override { ++calls; }
  void stopMusic() override { ++calls; }
  void stopSampledAudio() override { ++calls; }
  void setFadeDuration(double) override { ++calls; }
  void storeChannelRecord(int, const qm::logic::SoundChannelRecord&) override { ++calls; }
};

template <typename Seek>
void readWith(const QByteArray& bytes, Seek seek) {
  qm::startup::RecordReader reader(bytes);
  CountingEffects effects;
  try {
    if (!seek(reader)) return;
    qm::logic::ActionRecord record;
    qm::logic::readActionFields(reader, record, &effects);
  } catch (const qm::VbError&) {
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  for (int n : {1, 2, 5}) readWith(bytes, [n](auto& r) { return qm::logic::seekClickAction(r, n); });
  readWith(bytes, [](auto& r) { return qm::logic::seekDropAction(r, qm::logic::dropActionKey(1, "Key")); });
  readWith(bytes, [](auto& r) { return qm::logic::seekLegacySoundRecord(r, 1); });
  return 0;
}
