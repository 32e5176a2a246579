#include "support/DialogueRecords.h"

#include "startup/RecordWriter.h"

namespace qm::testing {

QByteArray dialogueFileBytes(const std::vector<QuestionSpec>& questions, int declaredCount) {
  startup::RecordWriter w;
  // Header: three fields, two strings, six fields the player does not use.
  w.integer(1).integer(0).integer(0).str("Talk").str("made by the dialogue wizard");
  for (int i = 0; i < 6; ++i) w.integer(0);
  w.endRecord();
  w.integer(declaredCount >= -32768 && declaredCount != -1 ? declaredCount : static_cast<int>(questions.size()));
  w.endRecord();
  for (const QuestionSpec& q : questions) {
    w.str(q.question).str(q.answer).str(q.script1).str(q.script2).str(q.script3).endRecord();
    w.integer(q.id).boolean(q.shown).boolean(q.endsDialogue);
    w.integer(q.hotspot1).integer(q.hotspot2).integer(q.hotspot3).endRecord();
    w.integer(static_cast<qint64>(q.showIds.size()));
    for (int id : q.showIds) w.integer(id);
    w.endRecord();
    w.integer(static_cast<qint64>(q.hideIds.size()));
    for (int id : q.hideIds) w.integer(id);
    w.endRecord();
    w.num(q.answerSeconds).integer(0).integer(0).integer(0).boolean(q.timedAnswer).str("").endRecord();
  }
  return w.bytes();
}

}  // namespace qm::testing
