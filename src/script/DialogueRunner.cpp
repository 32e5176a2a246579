#include "script/DialogueRunner.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "script/ScriptHost.h"
#include "script/ScriptValues.h"
#include "startup/ErrorReport.h"
#include "startup/Messages.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"
#include "startup/Waiting.h"

namespace qm::script {

using startup::GameStopped;

namespace {

// The panel's layout, in twips like every position of the game window.
constexpr double kFirstTop = 300;     // above the first question
constexpr double kLeft = 360;         // left of every question (and right margin)
constexpr double kGap = 90;           // between two questions
constexpr double kBottomSpace = 300;  // below the last question

// Question colours (the language's RGB values: red in the low byte).
constexpr int kFresh = 0xC8C8C8;         // RGB(200,200,200), not asked yet
constexpr int kFreshHover = 0xFFFFFF;    // white
constexpr int kAsked = 0x787878;         // RGB(120,120,120)
constexpr int kAskedHover = 0xE6E6E6;    // RGB(230,230,230)

// A clear font that grows with the project's picture: 12 points at 480 lines,
// never below 10 nor above 24.
double questionPointSize(int projectHeight) {
  return std::clamp(std::round(projectHeight / 40.0), 10.0, 24.0);
}

}  // namespace

DialogueRunner::DialogueRunner(engine::Game& game) : game_(game) { setUpTemplate(); }

void DialogueRunner::setUpTemplate() {
  engine::PanelControl& panel = *game_.fmeDialogue;
  panel.setBackColor(0x000000);
  panel.setBorderStyle(0);
  panel.onMouseMove = [this](int, int, double, double) { hover(0); };
  engine::LabelControl& label = game_.lblDialogue.templ();
  label.setCaption(QStringLiteral("Question 0"));
  label.setBackStyle(0);
  label.setFontName(QStringLiteral("Arial"));
  label.setFontBold(true);
  label.setForeColor(kFresh);
  label.setMousePointer(engine::kPointerArrow);
}

void DialogueRunner::StartFrameDialogue(const QString& frameName) {
  const auto& paths = startup::project().paths;
  if (active_ || !platform::fileExists(paths.framesData + frameName + QStringLiteral(".dlg"))) return;
  LoadDialogue();
  RuntimeDisplayQuestions();
}

void DialogueRunner::LoadDialogue() {
  const QString frame = startup::CurrentFrameName();
  const QString path = startup::project().paths.framesData + frame + QStringLiteral(".dlg");
  ++epoch_;
  highlighted_ = 0;
  if (!platform::fileExists(path)) {
    questions_.clear();
    return;
  }
  try {
    startup::RecordReader reader = startup::RecordReader::fromFile(path);
    ReadDialogueQuestions(reader, questions_);
  } catch (...) {
    platform::messageBox(QStringLiteral("Error loading the dialogue.\r\n\r\n") + describeCurrentException(),
                         platform::MsgButtons::OK, platform::MsgIcon::Critical, QStringLiteral("Error"));
    return;
  }
  active_ = true;
  frameName_ = frame;
}

void DialogueRunner::RuntimeDisplayQuestions() {
  try {
    game_.lblDialogue.UnloadAll();
    highlighted_ = 0;
    engine::PanelControl& panel = *game_.fmeDialogue;
    const double canvasWidth = game_.PictureBox->width();
    const double canvasHeight = game_.PictureBox->height();
    const double textWidth = std::max(double(engine::kTwipsPerPixel), canvasWidth - 2 * kLeft);
    const double points = questionPointSize(startup::project().info.height);
    double y = kFirstTop;
    int placed = 0;
    for (int i = 1; i <= questions_.count(); ++i) {
      const DialogueQuestion& q = questions_.items[i];
      if (!q.shown) continue;
      const int k = ++placed;
      engine::LabelControl& label = game_.lblDialogue.Load(k);
      // Long questions wrap within the panel; the label grows downwards.
      label.setFontSize(points);
      label.setAutoSize(false);
      label.setWordWrap(true);
      label.setWidth(textWidth);
      label.setAutoSize(true);
      label.setCaption(q.question);
      label.setTag(QString::number(i));
      label.move(kLeft, y);
      label.setForeColor(q.asked ? kAsked : kFresh);
      label.onMouseMove = [this, k](int, int, double, double) { hover(k); };
      label.onClick = [this, k] { RuntimeQuestionClick(k); };
      label.setVisibleVb(true);
      y += label.height() + kGap;
    }
    if (placed == 0) {
      QuitDialogue();
      return;
    }
    const double panelHeight = y + kBottomSpace;
    panel.move(0, canvasHeight - panelHeight, canvasWidth, panelHeight);
    panel.setVisibleVb(true);
    panel.zOrder(0);
  } catch (...) {
    startup::ShowStandardErrorReport(QStringLiteral(" Error in RuntimeDisplayQuestions. ") + describeCurrentException());
  }
}

void DialogueRunner::RuntimeQuestionClick(int Index) {
  try {
    engine::LabelControl* label = game_.lblDialogue.item(Index);
    if (!label || Index == 0) throw engine::ControlArrayError(340, "Control array element '" + std::to_string(Index) + "' doesn't exist");
    bool ok = false;
    const int i = label->tag().toInt(&ok);
    if (!ok || i < 1 || i > questions_.count()) throw VbError::of(9);
    // The pick works on its own copy: scripts and hotspot actions may load
    // another dialogue meanwhile.
    questions_.items[i].asked = true;
    const DialogueQuestion q = questions_.items[i];
    const unsigned epoch = epoch_;
    game_.fmeDialogue->setVisibleVb(false);
    highlighted_ = 0;

    runScript(q.script1);
    performHotspot(q.hotspot1);
    runScript(q.script2);
    performHotspot(q.hotspot2);

    waitForAnswer(q);
    if (GameStopped()) return;
    if (q.endsDialogue) QuitDialogue();
    if (GameStopped()) return;
    runScript(q.script3);
    performHotspot(q.hotspot3);
    if (GameStopped() || q.endsDialogue) return;
    // Ended by a script meanwhile, or replaced by another frame's dialogue:
    // the old lists do not apply and the panel stays as it is.
    if (epoch != epoch_) return;
    applyShowAndHideLists(q);
    RuntimeDisplayQuestions();
  } catch (...) {
    startup::ShowStandardErrorReport(QStringLiteral(" Error in RuntimeQuestionClick. ") + describeCurrentException());
  }
}

// Hotspot numbers outside the current frame's hotspots are ignored. The
// action keeps the dialogue open even when it changes frame.
void DialogueRunner::performHotspot(int hotspot) {
  if (hotspot <= 0 || hotspot > startup::project().frame.hotspotCount) return;
  game_.logic().MakeActionAndConsequences(hotspot, 0, true);
}

// A question's script; one that fails has had its message and the dialogue goes on.
void DialogueRunner::runScript(const QString& code) {
  if (!code.isEmpty()) std::ignore = game_.logic().ExecuteVBScriptAndConsequences(code, true);
}

void DialogueRunner::waitForAnswer(const DialogueQuestion& q) {
  if (q.answer.isEmpty()) {
    if (q.timedAnswer) startup::WaitSeconds(q.answerSeconds, false);
    return;
  }
  if (q.timedAnswer) {
    startup::ShowMessage(q.answer, true, true);
    startup::WaitSeconds(q.answerSeconds, false);
    if (!GameStopped()) game_.TimerMessageBox_Timer();
    return;
  }
  // The player reads it until he closes it or it hides itself.
  startup::ShowMessage(q.answer, true, false);
  while (game_.FrameMessageBox->visible() && !GameStopped()) {
    QCoreApplication::processEvents();
    QThread::msleep(2);
  }
}

// Show and hide lists name questions by id; only the first question with an
// id is affected, and an id no question has changes nothing.
void DialogueRunner::applyShowAndHideLists(const DialogueQuestion& q) {
  auto firstWithId = [this](int16_t id) -> DialogueQuestion* {
    for (int i = 1; i <= questions_.count(); ++i)
      if (questions_.items[i].id == id) return &questions_.items[i];
    return nullptr;
  };
  for (int16_t id : q.showList)
    if (DialogueQuestion* other = firstWithId(id)) other->shown = true;
  for (int16_t id : q.hideList)
    if (DialogueQuestion* other = firstWithId(id)) other->shown = false;
}

void DialogueRunner::QuitDialogue() {
  game_.fmeDialogue->setVisibleVb(false);
  active_ = false;
  frameName_.clear();
  highlighted_ = 0;
  ++epoch_;
}

int DialogueRunner::labelCount() const { return game_.lblDialogue.UBound(); }

void DialogueRunner::hover(int Index) {
  for (int j = 1; j <= labelCount(); ++j) {
    engine::LabelControl* label = game_.lblDialogue.item(j);
    if (!label) continue;
    const int c = label->foreColor();
    if (j == Index) {
      if (c == kFresh) label->setForeColor(kFreshHover);
      else if (c == kAsked) label->setForeColor(kAskedHover);
    } else {
      if (c == kFreshHover) label->setForeColor(kFresh);
      else if (c == kAskedHover) label->setForeColor(kAsked);
    }
  }
}

QStringList DialogueRunner::shownQuestionTexts() const {
  QStringList texts;
  if (!game_.fmeDialogue->visible()) return texts;
  for (int j = 1; j <= labelCount(); ++j)
    if (engine::LabelControl* label = game_.lblDialogue.item(j)) texts << label->caption();
  return texts;
}

bool DialogueRunner::handleKey(int qtKey) {
  if (!game_.fmeDialogue->visible() || labelCount() == 0) return false;
  int pick = 0;
  if (qtKey >= Qt::Key_1 && qtKey <= Qt::Key_9) {
    pick = qtKey - Qt::Key_0;
    if (pick > labelCount()) return true;
  } else if (qtKey == Qt::Key_Down || qtKey == Qt::Key_Up) {
    const int n = labelCount();
    if (highlighted_ == 0) highlighted_ = qtKey == Qt::Key_Down ? 1 : n;
    else highlighted_ = (highlighted_ - 1 + (qtKey == Qt::Key_Down ? 1 : n - 1)) % n + 1;
    hover(highlighted_);
    return true;
  } else if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
    if (highlighted_ == 0) return false;
    pick = highlighted_;
  } else {
    return false;
  }
  RuntimeQuestionClick(pick);
  return true;
}

}  // namespace qm::script
