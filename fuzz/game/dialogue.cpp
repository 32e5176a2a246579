// Feeds arbitrary bytes to the dialogue file reader: it must give questions or
// throw a VbError, never crash, loop or size anything by a damaged count.
// Seeds: fuzz/game/corpus/dialogue.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "platform/VbError.h"
#include "script/DialogueFile.h"
#include "startup/RecordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  qm::script::DialogueQuestions questions;
  try {
    qm::startup::RecordReader reader(bytes, QStringLiteral("fuzz.dlg"));
    qm::script::ReadDialogueQuestions(reader, questions);
  } catch (const qm::VbError&) {
  }
  // Every question and every listed id took bytes of the file.
  if (static_cast<size_t>(questions.count()) > size) __builtin_trap();
  for (const auto& q : questions.items)
    if (q.showList.size() + q.hideList.size() > size) __builtin_trap();
  return 0;
}
