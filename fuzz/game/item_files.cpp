// Feeds arbitrary bytes to the item files' readers (".obj" icon names and
// ".drg" combinations): each gives its fields or throws a VbError.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "logic/ItemFiles.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    qm::startup::RecordReader obj(bytes, QStringLiteral("fuzz.obj"));
    (void)qm::logic::readItemIconName(obj);
  } catch (const qm::VbError&) {
  }
  try {
    qm::startup::RecordReader drg(bytes, QStringLiteral("fuzz.drg"));
    (void)qm::logic::readCombinationHead(drg);
    (void)qm::logic::readCombinationScript(drg);
  } catch (const qm::VbError&) {
  }
  return 0;
}
