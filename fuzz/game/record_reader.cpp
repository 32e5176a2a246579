// Feeds arbitrary bytes to the record reader: every typed read, the peeks and
// the untyped reads must either give a value or throw a VbError, never crash
// or loop.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "platform/VbError.h"
#include "startup/RecordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the order of reads, the rest is the file.
  const uint8_t plan = data[0];
  QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  qm::startup::RecordReader in(bytes, QStringLiteral("fuzz"));
  int steps = 0;
  while (!in.atEnd() && steps++ < 100000) {
    const qsizetype before = in.position();
    try {
      switch ((plan + steps) % 9) {
        case 0: in.readString(); break;
        case 1: in.readInt16(); break;
        case 2: in.readInt32(); break;
        case 3: in.readDouble(); break;
        case 4: in.readBool(); break;
        case 5: (void)in.readAny().text; break;
        case 6: in.atRecordEnd(); in.skip(); break;
        case 7: in.skipRecord(); break;
        default: in.skip(2); break;
      }
    } catch (const qm::VbError&) {
      // A conversion error still consumed the field; reading past the end stops.
      if (in.position() == before) break;
    }
    if (in.position() < before) __builtin_trap();
  }
  return 0;
}
