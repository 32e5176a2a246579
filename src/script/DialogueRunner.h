// The question-and-answer dialogue of a frame: reads the frame's dialogue
// file, lists the shown questions on the dialogue panel (fmeDialogue, one
// lblDialogue label per question) at the bottom of the frame picture, and
// carries out a pick: scripts, hotspot actions, the answer and its wait, the
// end of the talk, and the questions it shows or hides.
//
// A dialogue starts when a frame that has one opens and no dialogue is active;
// it lives on across frames opened by its own picks, and ends with a question
// that ends it, when no question is left, by a hotspot action that changes
// frame, a script's QuitDialogue, or a game reset. Questions are picked with
// the mouse, the keys 1-9, or the arrow keys and Enter.
#pragma once

#include <QString>
#include <QStringList>

#include "script/DialogueFile.h"

namespace qm::engine {
class Game;
}

namespace qm::script {

class DialogueRunner {
 public:
  explicit DialogueRunner(engine::Game& game);

  // Reads the current frame's dialogue (empty when the frame has none). A
  // file that cannot be read keeps the questions read before the failure and
  // is reported; the dialogue is then not active.
  void LoadDialogue();
  // Lists the shown questions on the panel, or ends the dialogue when none is.
  void RuntimeDisplayQuestions();
  // Carries out the pick of label Index of lblDialogue.
  void RuntimeQuestionClick(int Index);
  // Hides the panel; no dialogue is active any more.
  void QuitDialogue();

  // A frame has opened: its dialogue starts, unless one is running already.
  void StartFrameDialogue(const QString& frameName);

  bool DialogueActive() const { return active_; }
  // The frame where the running dialogue started ("" when none runs); a
  // saved game resumes there.
  QString DialogueFrameName() const { return frameName_; }
  const DialogueQuestions& questions() const { return questions_; }

  // The captions on the panel, top to bottom; empty when the panel is hidden.
  QStringList shownQuestionTexts() const;
  // Keys while the panel shows: 1-9 pick that question, Up and Down move the
  // highlight, Enter picks the highlighted one. True when the key was used.
  bool handleKey(int qtKey);

 private:
  void setUpTemplate();
  void hover(int Index);
  int labelCount() const;
  void performHotspot(int hotspot);
  void runScript(const QString& code);
  void waitForAnswer(const DialogueQuestion& q);
  void applyShowAndHideLists(const DialogueQuestion& q);

  engine::Game& game_;
  DialogueQuestions questions_;
  bool active_ = false;
  QString frameName_;
  int highlighted_ = 0;   // label chosen with the arrow keys; 0 = none
  unsigned epoch_ = 0;    // counts loads and ends: a pick notices that its dialogue is gone
};

}  // namespace qm::script
