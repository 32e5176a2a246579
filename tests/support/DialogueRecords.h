#pragma once
// Writes dialogue files (".dlg") for tests: one QuestionSpec per question.

#include <QByteArray>
#include <QString>
#include <vector>

namespace qm::testing {

struct QuestionSpec {
  QString question;
  QString answer;
  QString script1, script2, script3;  // written as given ("|" for quotes)
  int id = 0;
  bool shown = true;
  bool endsDialogue = false;
  int hotspot1 = 0, hotspot2 = 0, hotspot3 = 0;
  std::vector<int> showIds, hideIds;
  double answerSeconds = 0;
  bool timedAnswer = false;
};

// The whole file; `declaredCount` replaces the question count when given.
QByteArray dialogueFileBytes(const std::vector<QuestionSpec>& questions, int declaredCount = -1);

}  // namespace qm::testing
