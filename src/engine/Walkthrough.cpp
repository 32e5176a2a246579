#include "engine/Walkthrough.h"

#include <QApplication>
#include <tuple>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/PaintedTexts.h"
#include "engine/ReadableTexts.h"
#include "logic/GameLogic.h"
#include "engine/WalkthroughDialogueSteps.h"
#include "engine/WalkthroughEffectSteps.h"
#include "engine/WalkthroughSoundSteps.h"
#include "engine/WalkthroughCdSteps.h"
#include "engine/WalkthroughKeyboardSteps.h"
#include "platform/Clock.h"
#include "platform/RecordingDialogService.h"
#include "platform/WaitWhile.h"
#include "startup/Project.h"

namespace qm::engine {

namespace {

std::optional<platform::MsgResult> buttonByName(const QString& name) {
  const QString n = name.toLower();
  if (n == "yes") return platform::MsgResult::Yes;
  if (n == "no") return platform::MsgResult::No;
  if (n == "ok") return platform::MsgResult::OK;
  if (n == "cancel") return platform::MsgResult::Cancel;
  if (n == "abort") return platform::MsgResult::Abort;
  if (n == "retry") return platform::MsgResult::Retry;
  if (n == "ignore") return platform::MsgResult::Ignore;
  return std::nullopt;
}

}  // namespace

std::optional<int> keyByName(const QString& name) {
  const QString n = name.toLower();
  static const std::pair<const char*, int> named[] = {
      {"esc", Qt::Key_Escape},     {"escape", Qt::Key_Escape}, {"enter", Qt::Key_Return},
      {"return", Qt::Key_Return},  {"space", Qt::Key_Space},   {"tab", Qt::Key_Tab},
      {"backspace", Qt::Key_Backspace}, {"delete", Qt::Key_Delete}, {"left", Qt::Key_Left},
      {"right", Qt::Key_Right},    {"up", Qt::Key_Up},         {"down", Qt::Key_Down},
      {"home", Qt::Key_Home},      {"end", Qt::Key_End},       {"pageup", Qt::Key_PageUp},
      {"pagedown", Qt::Key_PageDown}};
  for (const auto& [text, key] : named)
    if (n == QLatin1String(text)) return key;
  if (n.size() >= 2 && n[0] == 'f') {
    bool ok = false;
    const int f = n.mid(1).toInt(&ok);
    if (ok && f >= 1 && f <= 24) return Qt::Key_F1 + (f - 1);
  }
  if (n.size() == 1) {
    const QChar c = n[0].toUpper();
    if (c >= 'A' && c <= 'Z') return Qt::Key_A + (c.unicode() - 'A');
    if (c >= '0' && c <= '9') return Qt::Key_0 + (c.unicode() - '0');
  }
  return std::nullopt;
}

namespace {

std::optional<int> toInt(const QString& s) {
  bool ok = false;
  const int v = s.toInt(&ok);
  return ok ? std::optional<int>(v) : std::nullopt;
}

void sendPress(QWidget* target, QPointF local, Qt::MouseButton button) {
  QPointer<QWidget> guard(target);
  const QPointF global = target->mapToGlobal(local);
  QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  if (!guard) return;
  QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), button, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

}  // namespace

std::optional<QStringList> splitStepLine(const QString& line, QString* error) {
  const QString trimmed = line.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith('#')) return std::nullopt;
  QStringList words;
  int i = 0;
  const int n = trimmed.size();
  while (i < n) {
    while (i < n && trimmed[i].isSpace()) ++i;
    if (i >= n) break;
    QString word;
    if (trimmed[i] == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        const QChar c = trimmed[i];
        if (c == '\\' && i + 1 < n) {
          const QChar e = trimmed[i + 1];
          if (e == 'n') word += QStringLiteral("\r\n");
          else if (e == '"') word += '"';
          else if (e == '\\') word += '\\';
          else word += QString(c) + e;
          i += 2;
          continue;
        }
        if (c == '"') {
          closed = true;
          ++i;
          break;
        }
        word += c;
        ++i;
      }
      if (!closed) {
        if (error) *error = QStringLiteral("a quoted text is not closed");
        return QStringList();
      }
    } else {
      while (i < n && !trimmed[i].isSpace()) word += trimmed[i++];
    }
    words << word;
  }
  return words;
}

int countSteps(const QString& steps) {
  int n = 0;
  for (const QString& line : steps.split('\n')) {
    QString error;
    if (splitStepLine(line, &error)) ++n;
  }
  return n;
}

QString printable(const QString& text) {
  auto hex = [](uint value, int digits) {
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
  };
  QString out;
  out.reserve(text.size());
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == '\r') {
      out += QLatin1String("\\r");
    } else if (c == '\n') {
      out += QLatin1String("\\n");
    } else if (c == '\t') {
      out += QLatin1String("\\t");
    } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      const char32_t code = QChar::surrogateToUcs4(c, text[i + 1]);
      if (QChar::isPrint(code)) {
        out += c;
        out += text[i + 1];
      } else {
        out += QStringLiteral("\\U") + hex(code, 8);
      }
      ++i;
    } else if (c == ' ' || (c.isPrint() && c.category() != QChar::Separator_Line &&
                            c.category() != QChar::Separator_Paragraph)) {
      out += c;
    } else if (c.unicode() < 0x100) {
      out += QStringLiteral("\\x") + hex(c.unicode(), 2);
    } else {
      out += QStringLiteral("\\u") + hex(c.unicode(), 4);
    }
  }
  return out;
}

WalkthroughRunner::WalkthroughRunner(platform::RecordingDialogService& dialogs, QTextStream& out,
                                     std::function<Game*()> game)
    : dialogs_(dialogs), out_(out), game_(std::move(game)) {}

Game* WalkthroughRunner::game() const { return game_ ? game_() : nullptr; }

void WalkthroughRunner::runEventsFor(int ms) {
  // On the virtual clock this moves time on by exactly `ms`, from one due timer
  // to the next, with events run in between.
  auto deleteLeftovers = [] {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
  };
  const qint64 until = platform::Clock::instance().nsecs() + static_cast<qint64>(ms) * 1'000'000;
  QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  deleteLeftovers();
  platform::waitUntil(until, deleteLeftovers, {.napMs = 1});
}

int WalkthroughRunner::run(const QString& steps) {
  const QStringList lines = steps.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    if (line.endsWith('\r')) line.chop(1);
    QString error;
    const auto words = splitStepLine(line, &error);
    if (!words) continue;
    const QString shown = line.trimmed();
    QString reason = error;
    bool looksOnly = false;
    if (reason.isEmpty()) {
      if (words->isEmpty()) continue;
      if (observer_) observer_(i + 1, shown);
      reason = runStep(*words, looksOnly);
    }
    if (reason.isEmpty()) {
      ++passed_;
      out_ << "ok    line " << (i + 1) << ": " << printable(shown);
      // An error report never passes silently.
      const QStringList reports = looksOnly ? QStringList() : errorReportsOfLastStep();
      if (!reports.isEmpty())
        out_ << " -- ok, but showed: \"" << printable(reports.join(QStringLiteral("\" / \""))) << "\"";
      out_ << "\n";
    } else {
      ++failed_;
      out_ << "FAIL  line " << (i + 1) << ": " << printable(shown) << " -- " << printable(reason) << "\n";
    }
    out_.flush();
  }
  out_ << passed_ << " passed, " << failed_ << " failed\n";
  out_.flush();
  return failed_;
}

QString WalkthroughRunner::runStep(const QStringList& w, bool& looksOnly) {
  const QString verb = w[0].toLower();
  // Expectations and screenshots only look: what the last game step showed
  // stays that step's, for the expectations after them.
  looksOnly = verb == QLatin1String("expect") || verb == QLatin1String("screenshot");
  if (verb == QLatin1String("expect")) return expect(w);
  if (verb == QLatin1String("screenshot")) return screenshot(w);

  // Every other step opens a new window for "expect message"; only its boxes
  // are kept. Those the game showed while it loaded, before the first step,
  // are kept for the first "start", which answers for them.
  boxLimit_.beginStep(started_);
  dialogsFrom_ = dialogs_.count();
  Game* const before = game();
  inFrameFrom_ = before ? before->state().InFrameMessagesShown.size() : 0;
  picturesFrom_ = before ? before->display().paintedTexts().picturesPainted() : 0;
  auto closeWindow = [&](const QString& result) {
    dialogsTo_ = dialogs_.count();
    if (boxLimit_.overflowed() && result.isEmpty()) return QStringLiteral("message box loop");
    Game* const after = game();
    inFrameTo_ = after ? after->state().InFrameMessagesShown.size() : 0;
    picturesTo_ = after ? after->display().paintedTexts().picturesPainted() : 0;
    if (after != before || inFrameTo_ < inFrameFrom_) {  // a new game window started meanwhile
      inFrameFrom_ = 0;
      picturesFrom_ = 0;
    }
    return result;
  };

  if (verb == QLatin1String("start")) {
    if (w.size() != 1) return closeWindow(QStringLiteral("start takes no arguments"));
    // The first start also answers for what the start-up showed before any step.
    if (!started_) dialogsFrom_ = 0;
    started_ = true;
    return closeWindow(start());
  }
  if (verb == QLatin1String("click") || verb == QLatin1String("rightclick")) {
    if (w.size() != 2 || !toInt(w[1])) return closeWindow(verb + QStringLiteral(" needs a hotspot number"));
    return closeWindow(click(*toInt(w[1]), verb == QLatin1String("rightclick")));
  }
  if (verb == QLatin1String("clickat")) {
    if (w.size() != 3 || !toInt(w[1]) || !toInt(w[2])) return closeWindow(QStringLiteral("clickat needs X and Y"));
    return closeWindow(clickAt(*toInt(w[1]), *toInt(w[2])));
  }
  if (verb == QLatin1String("key")) {
    if (w.size() != 2) return closeWindow(QStringLiteral("key needs one key name"));
    return closeWindow(key(w[1]));
  }
  if (verb == QLatin1String("wait")) {
    bool ok = false;
    const double seconds = w.size() == 2 ? w[1].toDouble(&ok) : 0;
    if (!ok || seconds < 0 || seconds > 3600) return closeWindow(QStringLiteral("wait needs a number of seconds"));
    runEventsFor(static_cast<int>(seconds * 1000));
    return closeWindow(QString());
  }
  if (verb == QLatin1String("answer")) {
    const auto b = w.size() == 2 ? buttonByName(w[1]) : std::nullopt;
    if (!b) return closeWindow(QStringLiteral("answer needs Yes, No, OK, Cancel, Abort, Retry or Ignore"));
    dialogs_.queueAnswer(*b);
    return closeWindow(QString());
  }
  if (verb == QLatin1String("input")) {
    if (w.size() != 2) return closeWindow(QStringLiteral("input needs one quoted text"));
    dialogs_.queueText(w[1]);
    return closeWindow(QString());
  }
  if (verb == QLatin1String("run")) {
    if (w.size() != 2) return closeWindow(QStringLiteral("run needs one quoted piece of code"));
    if (!game() || !game()->isVisible()) return closeWindow(QStringLiteral("the game has not started"));
    std::ignore = game()->logic().ExecuteVBScriptAndConsequences(w[1], true);
    runEventsFor(20);
    return closeWindow(QString());
  }
  if (auto r = runGameStateStep(game(), w, [this](int ms) { runEventsFor(ms); })) return closeWindow(*r);
  if (auto r = runDialogueStep(game(), w, [this](int ms) { runEventsFor(ms); })) return closeWindow(*r);
  if (const auto cd = runCdStep(w, dialogs_)) return closeWindow(*cd);
  if (auto r = runKeyboardStep(game(), w, [this](int ms) { runEventsFor(ms); })) return closeWindow(*r);
  return closeWindow(QStringLiteral("unknown step '") + w[0] + QStringLiteral("'"));
}

QString WalkthroughRunner::screenshot(const QStringList& w) {
  if (w.size() != 2) return QStringLiteral("screenshot needs a file name");
  if (!game()) return QStringLiteral("the game has not started");
  const QImage picture = game()->display().framePicture();
  if (!picture.save(w[1], "PNG")) return QStringLiteral("cannot write ") + w[1];
  return {};
}

QString WalkthroughRunner::start() {
  Game* g = game();
  if (!g || !g->isVisible()) {  // else the game started at once
    if (!start_) return QStringLiteral("there is no welcome window to start from");
    inFrameFrom_ = 0;
    const QString r = start_();
    runEventsFor(20);
    if (!r.isEmpty()) return r;
    g = game();
  }
  // A game is running once its window is up and its first frame opened.
  if (g && g->isVisible() && g->FramesHistory.ListCount() > 0) return {};
  QStringList texts;
  const auto& shown = dialogs_.shown();
  for (std::size_t i = dialogsFrom_; i < shown.size(); ++i) texts << shown[i].text;
  if (texts.isEmpty()) return QStringLiteral("the game did not start: no frame was opened");
  return QStringLiteral("the game did not start; it showed: \"") + texts.join(QStringLiteral("\" / \"")) +
         QStringLiteral("\"");
}

QStringList WalkthroughRunner::errorReportsOfLastStep() const {
  QStringList texts;
  const auto& shown = dialogs_.shown();
  const QString reportTitle = startup::InterfaceText(29);
  for (std::size_t i = dialogsFrom_; i < dialogsTo_ && i < shown.size(); ++i) {
    const auto& box = shown[i];
    if (box.kind == platform::RecordingDialogService::Kind::Message && box.icon == platform::MsgIcon::Critical &&
        box.title == reportTitle)
      texts << box.text;
  }
  return texts;
}

QString WalkthroughRunner::click(int n, bool right) {
  Game* g = game();
  if (!g || !g->isVisible()) return QStringLiteral("the game is not running");
  ImageControl* area = n > 0 ? g->Area.item(n) : nullptr;
  if (!area) return QStringLiteral("the frame has no hotspot ") + QString::number(n);
  QWidget* target = area;
  if (area->whatsThisHelpId() > 0 && g->AniGifBox.exists(area->whatsThisHelpId()))
    target = g->AniGifBox.item(area->whatsThisHelpId());
  if (target->isHidden()) return QStringLiteral("hotspot ") + QString::number(n) + QStringLiteral(" is hidden");
  sendPress(target, QPointF(target->width() / 2.0, target->height() / 2.0), right ? Qt::RightButton : Qt::LeftButton);
  runEventsFor(20);
  return {};
}

QString WalkthroughRunner::clickAt(int x, int y) {
  Game* g = game();
  if (!g || !g->isVisible()) return QStringLiteral("the game is not running");
  QWidget* box = g->PictureBox;
  if (x < 0 || y < 0 || x >= box->width() || y >= box->height())
    return QStringLiteral("(") + QString::number(x) + ", " + QString::number(y) + QStringLiteral(") is outside the frame picture");
  QWidget* target = box->childAt(x, y);
  if (!target) target = box;
  sendPress(target, target->mapFrom(box, QPointF(x, y)), Qt::LeftButton);
  runEventsFor(20);
  return {};
}

QString WalkthroughRunner::key(const QString& name) {
  Game* g = game();
  if (!g || !g->isVisible()) return QStringLiteral("the game is not running");
  Qt::KeyboardModifiers mods;
  QStringList parts = name.split('+');
  const QString keyName = parts.takeLast();
  for (const QString& m : parts) {
    const QString l = m.toLower();
    if (l == "ctrl" || l == "control") mods |= Qt::ControlModifier;
    else if (l == "shift") mods |= Qt::ShiftModifier;
    else if (l == "alt") mods |= Qt::AltModifier;
    else return QStringLiteral("unknown modifier '") + m + QStringLiteral("'");
  }
  const auto k = keyByName(keyName);
  if (!k) return QStringLiteral("unknown key '") + keyName + QStringLiteral("'");
  QKeyEvent press(QEvent::KeyPress, *k, mods);
  QApplication::sendEvent(g, &press);
  QKeyEvent release(QEvent::KeyRelease, *k, mods);
  if (game() == g) QApplication::sendEvent(g, &release);
  runEventsFor(20);
  return {};
}

QString WalkthroughRunner::expect(const QStringList& w) {
  if (w.size() < 2) return QStringLiteral("expect what?");
  const QString what = w[1].toLower();
  Game* g = game();
  if (auto effect = expectEffectStep(g, w)) return *effect;
  if (what == QLatin1String("frame")) {
    if (w.size() != 3) return QStringLiteral("expect frame needs a frame name");
    const QString current = startup::CurrentFrameName();
    if (current == w[2]) return {};
    return QStringLiteral("the current frame is '") + current + QStringLiteral("'");
  }
  if (what == QLatin1String("var")) {
    if (w.size() != 4) return QStringLiteral("expect var needs a name and a value");
    if (!g) return QStringLiteral("the game has not started");
    const auto value = g->logic().VariableValueText(w[2]);
    if (!value) return QStringLiteral("there is no variable named '") + w[2] + QStringLiteral("'");
    if (*value == w[3]) return {};
    return QStringLiteral("its value is ") + *value;
  }
  if (what == QLatin1String("visible") || what == QLatin1String("hidden")) {
    if (w.size() != 3 || !toInt(w[2])) return QStringLiteral("expect ") + what + QStringLiteral(" needs a hotspot number");
    if (!g) return QStringLiteral("the game has not started");
    const int n = *toInt(w[2]);
    ImageControl* area = n > 0 ? g->Area.item(n) : nullptr;
    if (!area) return QStringLiteral("the frame has no hotspot ") + QString::number(n);
    bool shown = area->visible();
    if (area->whatsThisHelpId() > 0 && g->AniGifBox.exists(area->whatsThisHelpId()))
      shown = g->AniGifBox.item(area->whatsThisHelpId())->visible();
    const bool wantShown = what == QLatin1String("visible");
    if (shown == wantShown) return {};
    return QStringLiteral("hotspot ") + QString::number(n) + (shown ? QStringLiteral(" is shown") : QStringLiteral(" is hidden"));
  }
  if (what == QLatin1String("message") || what == QLatin1String("nomessage")) return expectMessage(g, w);
  if (what == QLatin1String("onscreen")) return expectOnScreen(g, w);
  if (auto sound = expectSound(g, w)) return *sound;
  if (auto r = expectGameState(game(), w)) return *r;
  if (auto r = expectDialogue(g, w)) return *r;
  if (auto r = expectKeyboard(g, w)) return *r;
  return QStringLiteral("unknown expectation '") + w[1] + QStringLiteral("'");
}

}  // namespace qm::engine

namespace qm::engine {

QString WalkthroughRunner::expectMessage(Game* g, const QStringList& w) const {
  const bool none = w[1].toLower() == QLatin1String("nomessage");
  // Message boxes wait for an answer: the player has seen them. A text in the
  // message panel counts when it could be read on a picture painted during the
  // step, not when it was shown and then hidden or covered before the screen
  // was painted again.
  QStringList seen, unseen;
  const auto& shown = dialogs_.shown();
  for (std::size_t i = dialogsFrom_; i < dialogsTo_ && i < shown.size(); ++i) seen << shown[i].text;
  if (g) {
    const PaintedTexts& painted = g->display().paintedTexts();
    const QStringList& inFrame = g->state().InFrameMessagesShown;
    for (int i = inFrameFrom_; i < inFrameTo_ && i < inFrame.size(); ++i)
      (painted.readableBetween(inFrame[i], picturesFrom_, picturesTo_) ? seen : unseen) << inFrame[i];
  }
  if (none) {
    if (seen.isEmpty() && unseen.isEmpty()) return {};
    return QStringLiteral("shown: \"") + (seen.isEmpty() ? unseen : seen).first() + QStringLiteral("\"");
  }
  if (w.size() != 3) return QStringLiteral("expect message needs one quoted text");
  for (const QString& t : seen)
    if (t.contains(w[2])) return {};
  for (const QString& t : unseen)
    if (t.contains(w[2]))
      return QStringLiteral("\"") + t +
             QStringLiteral("\" was put in the message panel, but no picture painted during the step showed it "
                            "(it was hidden or covered before the screen was painted)");
  if (seen.isEmpty()) return QStringLiteral("no message was shown");
  return QStringLiteral("shown instead: \"") + seen.join(QStringLiteral("\" / \"")) + QStringLiteral("\"");
}

QString WalkthroughRunner::expectOnScreen(Game* g, const QStringList& w) const {
  if (w.size() != 3) return QStringLiteral("expect onscreen needs one quoted text");
  if (!g || !g->isVisible()) return QStringLiteral("the game is not running");
  // A message box of the last step stayed on the screen until it was answered.
  const auto& boxes = dialogs_.shown();
  for (std::size_t i = dialogsFrom_; i < dialogsTo_ && i < boxes.size(); ++i)
    if (boxes[i].text.contains(w[2])) return {};
  const auto texts = shownTexts(*g);
  for (const ReadableText& t : texts)
    if (t.coveredBy.isEmpty() && t.text.contains(w[2])) return {};
  for (const ReadableText& t : texts)
    if (t.text.contains(w[2]))
      return QStringLiteral("\"") + t.text + QStringLiteral("\" (") + t.where + QStringLiteral(") is covered by ") +
             t.coveredBy;
  QStringList readable;
  for (const ReadableText& t : texts)
    if (t.coveredBy.isEmpty()) readable << t.text;
  if (readable.isEmpty()) return QStringLiteral("nothing is readable on the picture");
  return QStringLiteral("readable now: \"") + readable.join(QStringLiteral("\" / \"")) + QStringLiteral("\"");
}

}  // namespace qm::engine
