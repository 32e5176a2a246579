// Feeds arbitrary bytes to the saved-game reader: it must give the fields or
// throw a VbError, never crash or loop; a file it reads whole writes back to
// bytes that read the same.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "logic/SavedGameFile.h"
#include "platform/VbError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString failure;
  const qm::logic::SavedGameData d = qm::logic::readSavedGame(bytes, &failure);
  (void)qm::logic::savedGameFrame(bytes);
  if (!failure.isNull()) return 0;
  try {
    const QByteArray again = qm::logic::writeSavedGame(d);
    const qm::logic::SavedGameData back = qm::logic::readSavedGame(again);
    // Names with a double quote cannot be written; everything else must come back.
    if (!d.resumeFrame.contains('"') && back.resumeFrame != d.resumeFrame) std::abort();
    if (back.integers.size() != d.integers.size() || back.items.size() != d.items.size()) std::abort();
  } catch (const qm::VbError&) {
  }
  return 0;
}
