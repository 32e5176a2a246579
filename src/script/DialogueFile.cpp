#include "script/DialogueFile.h"

#include "platform/VbError.h"
#include "startup/RecordReader.h"

namespace qm::script {

namespace {

// A negative count sizes no array: the language reports it as a bad subscript.
int16_t readCount(startup::RecordReader& reader) {
  const int16_t n = reader.readInt16();
  if (n < 0) throw VbError::of(9);
  return n;
}

std::vector<int16_t> readIdList(startup::RecordReader& reader) {
  const int16_t n = readCount(reader);
  std::vector<int16_t> ids;
  // Each id takes at least two bytes of the file: a damaged count cannot
  // reserve more than the file could hold.
  ids.reserve(static_cast<size_t>(std::min<qsizetype>(n, reader.size() / 2)));
  for (int16_t i = 0; i < n; ++i) ids.push_back(reader.readInt16());
  return ids;
}

DialogueQuestion readQuestion(startup::RecordReader& reader) {
  DialogueQuestion q;
  q.question = reader.readString();
  q.answer = reader.readString();
  q.script1 = DecodeDialogueScript(reader.readString());
  q.script2 = DecodeDialogueScript(reader.readString());
  q.script3 = DecodeDialogueScript(reader.readString());
  q.id = reader.readInt16();
  q.initiallyShown = reader.readBool();
  q.endsDialogue = reader.readBool();
  q.hotspot1 = reader.readInt16();
  q.hotspot2 = reader.readInt16();
  q.hotspot3 = reader.readInt16();
  q.showList = readIdList(reader);
  q.hideList = readIdList(reader);
  q.answerSeconds = reader.readDouble();
  reader.skip(3);
  q.timedAnswer = reader.readBool();
  reader.skip(1);
  q.shown = q.initiallyShown;
  return q;
}

}  // namespace

QString DecodeDialogueScript(const QString& stored) {
  QString code = stored;
  code.replace(QChar(124), QChar('"'));
  return code;
}

void ReadDialogueQuestions(startup::RecordReader& reader, DialogueQuestions& out) {
  out.clear();
  reader.skip(3);
  reader.readString();
  reader.readString();
  reader.skip(6);
  const int16_t n = readCount(reader);
  for (int16_t i = 1; i <= n; ++i) out.items.push_back(readQuestion(reader));
}

}  // namespace qm::script
