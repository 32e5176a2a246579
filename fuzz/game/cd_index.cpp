// Feeds arbitrary bytes to the CD index reader as a CDContents file: it must
// give an index whose entries all pass the skip rules, or throw a VbError;
// never crash or loop. Seeds: fuzz/game/corpus/cd_index.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "distribution/CdIndex.h"
#include "platform/VbError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const qm::distribution::CdIndex index = qm::distribution::ReadCdIndex(bytes);
    for (const auto& e : index.entries) {
      const bool kept = !e.name.isEmpty() && e.cdNumber >= 1 && e.cdNumber <= index.cdCount && e.type != "0";
      if (!kept) std::abort();
    }
  } catch (const qm::VbError&) {
  }
  return 0;
}
