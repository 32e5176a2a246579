// The question-and-answer dialogue of a frame, as the dialogue wizard stores
// it in FramesData\<frame>.dlg: a header, the number of questions, then one
// block per question.
//
//   file     = header(11 fields) count:int16 question{count}
//   question = text answer script1 script2 script3 id:int16 shown:bool
//              ends:bool hotspot1..3:int16 showCount:int16 showId{showCount}
//              hideCount:int16 hideId{hideCount} answerSeconds:double
//              unused(3) timedAnswer:bool unused(1)
//
// In the scripts a vertical bar stands for a double quote.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace qm::startup {
class RecordReader;
}

namespace qm::script {

struct DialogueQuestion {
  QString question;       // shown in the list
  QString answer;         // "" = none
  QString script1;        // run first
  QString script2;        // run second
  QString script3;        // run after the answer
  int16_t id = 0;         // how show and hide lists name this question
  bool initiallyShown = false;
  bool endsDialogue = false;
  int16_t hotspot1 = 0, hotspot2 = 0, hotspot3 = 0;  // hotspot actions to perform; 0 = none
  std::vector<int16_t> showList;
  std::vector<int16_t> hideList;
  double answerSeconds = 0;
  bool timedAnswer = false;  // the answer goes by itself after answerSeconds
  // Run-time state.
  bool shown = false;
  bool asked = false;
};

// Entry 0 is not used; questions are 1..count.
struct DialogueQuestions {
  std::vector<DialogueQuestion> items{1};
  int count() const { return static_cast<int>(items.size()) - 1; }
  void clear() { items.assign(1, DialogueQuestion{}); }
};

// Reads the whole dialogue into `out` (cleared first), every question starting
// shown as the file says and not asked. Failures throw VbError; the questions
// read before the failure stay, each shown as its file says, and the one being
// read is left out. Counts are trusted only as far as the file goes: a block
// or list is read entry by entry until the count or the end of the file.
void ReadDialogueQuestions(startup::RecordReader& reader, DialogueQuestions& out);

// A script as stored (vertical bars) to run (double quotes).
QString DecodeDialogueScript(const QString& stored);

}  // namespace qm::script
