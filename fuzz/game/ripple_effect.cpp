// Feeds arbitrary bytes to the rippling-water file reader: it must give a
// rectangle that fits the boxes or throw a VbError, never crash or loop.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "engine/RippleEffectFile.h"
#include "platform/VbError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const qm::engine::RippleEffectFile e = qm::engine::parseRippleEffectFile(bytes, QStringLiteral("fuzz.rwe"));
    if (e.width <= 0 || e.height <= 0 || e.width > 2184 || e.height > 2184 || e.left < -2184 || e.left > 2184)
      __builtin_trap();
  } catch (const qm::VbError&) {
  }
  return 0;
}
