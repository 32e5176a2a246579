// Walkthroughs in real time against the virtual clock (--fast): the demo game's
// walkthrough and a generated walkthrough of 200 clicks, each run by the player
// program both ways. Prints the times, the speed-up and whether every step gave
// the same result both ways.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

#include "support/FolderCopy.h"

namespace {

struct Timed {
  double seconds = 0;
  QStringList results;  // "ok"/"FAIL" and the line of every step
  bool finished = false;
};

// Runs the player on a fresh copy of the demo inside `scratch`.
Timed walk(const QTemporaryDir& scratch, const QString& steps, const QString& name, bool fast) {
  Timed t;
  const QString game = scratch.filePath(name);
  if (!qm::testing::copyFolderInto(QStringLiteral(QM_SOURCE_DIR "/demo"), game, scratch.path())) return t;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("SDL_AUDIODRIVER", "dummy");
  env.insert("QM_SETTINGS_FILE", scratch.filePath(name + ".ini"));
  QStringList args{"--walkthrough", steps, game};
  if (fast) args << "--fast";
  QProcess p;
  p.setProcessEnvironment(env);
  QElapsedTimer clock;
  clock.start();
  p.start(QStringLiteral(QM_BINARY_DIR "/quillmere"), args);
  t.finished = p.waitForFinished(600000);
  t.seconds = clock.nsecsElapsed() / 1e9;
  static const QRegularExpression stepLine(QStringLiteral("^(ok|FAIL) +line \\d+: (.*?)( -- .*)?$"));
  for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
    const auto m = stepLine.match(line);
    if (m.hasMatch()) t.results << m.captured(1) + ' ' + m.captured(2);
  }
  return t;
}

void compare(const QTemporaryDir& scratch, const char* title, const QString& steps, const QString& name) {
  const Timed real = walk(scratch, steps, name + "-real", false);
  const Timed fast = walk(scratch, steps, name + "-fast", true);
  const int failed = static_cast<int>(fast.results.filter(QRegularExpression("^FAIL")).size());
  std::printf("%-28s real time %7.2f s   --fast %6.2f s   %5.1fx   %lld steps, %s, %d failed\n", title, real.seconds,
              fast.seconds, fast.seconds > 0 ? real.seconds / fast.seconds : 0.0,
              static_cast<long long>(fast.results.size()),
              real.finished && fast.finished && real.results == fast.results ? "same results" : "RESULTS DIFFER",
              failed);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir scratch;
  if (!scratch.isValid()) return 1;

  compare(scratch, "demo walkthrough", QStringLiteral(QM_SOURCE_DIR "/demo/walkthrough.txt"), "demo");

  // 200 clicks: back and forth between the hall and the library, checking each arrival.
  QString clicks = QStringLiteral("start\n");
  for (int i = 0; i < 100; ++i) clicks += QStringLiteral("click 1\nexpect frame Library\nclick 1\nexpect frame Hall\n");
  const QString clicksFile = scratch.filePath(QStringLiteral("clicks.txt"));
  QFile f(clicksFile);
  if (!f.open(QIODevice::WriteOnly)) return 1;
  f.write(clicks.toUtf8());
  f.close();
  compare(scratch, "200 clicks", clicksFile, "clicks");
  return 0;
}
