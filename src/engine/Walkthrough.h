// Plays a game from a plain-text list of steps and checks what happens: the
// walkthrough runner game authors use to test their games, and how whole games
// are tested here. One step per line; "#" starts a comment line.
//
//   start                    press Start on the welcome window
//   click N / rightclick N   press on hotspot N (its picture, or its animated box)
//   clickat X Y              left press at pixel (X, Y) of the frame picture
//   key NAME                 Esc, F9, Ctrl+S, Enter, A ...
//   wait SECONDS             let timers and events run
//   answer BUTTON            Yes, No, OK, Cancel, Abort, Retry, Ignore for the next question
//   input "TEXT"             text for the next input box
//   run "CODE"               runs script code as the debug menu's command does
//   expect frame NAME
//   expect var NAME VALUE
//   expect visible N / expect hidden N
//   expect message "TEXT"    shown during the last step that is not an expect or a
//                            screenshot, and readable on a picture painted during it
//                            (boxes always are)
//   expect onscreen "TEXT"   readable now: message panel, message box of the last
//                            step, dialogue question or text box, nothing in front
//   expect nomessage
//   expect water on|off      the frame's rippling water runs or not
//   expect channel N "FILE" [VOLUME] / expect playing "FILE" [VOLUME] / expect stopped "FILE"
//   screenshot FILE          the frame picture as a PNG file (only looks, as an expect does)
//   drag, save, load, menu, expect items/file/nofile: see WalkthroughGameSteps.cpp
//   choose N, expect questions "A|B"   dialogues (WalkthroughDialogueSteps.h)
//   cd "PATH" / cd cancel    answer the next CD prompt (WalkthroughCdSteps.h)
//   hold KEY, release KEY, expect focus/outlined/carrying/windowed: keyboard
//                            play (WalkthroughKeyboardSteps.h)
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

#include "engine/WalkthroughBoxLimit.h"

namespace qm::platform {
class RecordingDialogService;
}

namespace qm::engine {

class Game;

// Splits a step line into words; "..." is one word, with \" a double quote,
// \n a line break (CR LF) and \\ a backslash. nullopt for blank and comment
// lines; an unterminated quote sets *error.
std::optional<QStringList> splitStepLine(const QString& line, QString* error);

// The Qt key of a key name: Esc, Enter, Space, Tab, F1..F24, A..Z, 0..9, the arrows ...
std::optional<int> keyByName(const QString& name);

// The number of step lines in a text (blank and comment lines do not count).
int countSteps(const QString& steps);

// Text made fit for one report line: line breaks, tabs and other characters
// that do not print become \r, \n, \t, \xHH or \uHHHH.
QString printable(const QString& text);

// Steps kept in files of their own; each answers nullopt for a verb (or an
// expectation) that is not theirs, else "" or the reason the step failed.
// Inventory, saved games, menu and files (WalkthroughGameSteps.cpp):
std::optional<QString> runGameStateStep(Game* game, const QStringList& words,
                                        const std::function<void(int)>& runEventsFor);
std::optional<QString> expectGameState(Game* game, const QStringList& words);

class WalkthroughRunner {
 public:
  // `game` says where the game window is now: none before "start", and
  // another one after a saved game is loaded from the welcome window.
  WalkthroughRunner(platform::RecordingDialogService& dialogs, QTextStream& out, std::function<Game*()> game);

  // How "start" starts the game; returns "" on success or the reason it failed.
  void setStartAction(std::function<QString()> start) { start_ = std::move(start); }
  // Told the line number and text of each step just before it runs.
  void setStepObserver(std::function<void(int, const QString&)> observer) { observer_ = std::move(observer); }

  // Runs every step of the text; prints one line per step and the summary.
  // Returns the number of failed steps.
  int run(const QString& steps);

  int passed() const { return passed_; }
  int failed() const { return failed_; }

 private:
  // "" when the step passed, else the reason.
  // looksOnly: the step only looked (an expectation or a screenshot).
  QString runStep(const QStringList& words, bool& looksOnly);
  QString start();
  QString screenshot(const QStringList& words);
  QString expectMessage(Game* game, const QStringList& words) const;
  QString expectOnScreen(Game* game, const QStringList& words) const;
  // The standard error reports (and other critical boxes titled like them)
  // shown during the last step that did not only look.
  QStringList errorReportsOfLastStep() const;
  QString click(int hotspot, bool right);
  QString clickAt(int x, int y);
  QString key(const QString& name);
  QString expect(const QStringList& words);
  Game* game() const;
  void runEventsFor(int milliseconds);

  platform::RecordingDialogService& dialogs_;
  WalkthroughBoxLimit boxLimit_{dialogs_};
  QTextStream& out_;
  std::function<Game*()> game_;
  std::function<QString()> start_;
  std::function<void(int, const QString&)> observer_;
  int passed_ = 0, failed_ = 0;
  // Where the messages of the last step that was not an expect begin and end.
  std::size_t dialogsFrom_ = 0, dialogsTo_ = 0;
  int inFrameFrom_ = 0, inFrameTo_ = 0;
  // The pictures painted on the screen during that step.
  qint64 picturesFrom_ = 0, picturesTo_ = 0;
  bool started_ = false;
};

}  // namespace qm::engine
