// Feeds arbitrary bytes to the frame file reader and to the icon and cursor
// decoder: each must give a result or throw a VbError, never crash or loop.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "platform/IconFile.h"
#include "engine/FrameFile.h"
#include "platform/VbError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const qm::engine::FrameFile f = qm::engine::parseFrameFile(bytes, QStringLiteral("fuzz.fme"));
    // Every sound record takes at least one byte of the file: a record of no
    // fields ends the block.
    if (f.soundRecords.size() > static_cast<std::size_t>(size)) __builtin_trap();
    if (f.soundFieldsPerRecord == 0 && !f.soundRecords.empty()) __builtin_trap();
  } catch (const qm::VbError&) {
  }
  (void)qm::platform::decodeIconFile(bytes);
  return 0;
}
