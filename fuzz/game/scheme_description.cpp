// Feeds arbitrary bytes to the welcome-screen scheme reader as the contents of
// a Scheme.txt: it must give a description, never throw, crash or spin on a
// huge picture count.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "startup/SchemeDescription.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const qm::startup::SchemeDescription d = qm::startup::ParseSchemeDescription(bytes);
  if (d.pictures.size() > static_cast<size_t>(qm::startup::kSchemePictureSlots)) __builtin_trap();
  if (d.backColour) (void)qm::startup::ColourFromStored(*d.backColour);
  return 0;
}
