// The stall meter: plays the demo game's walkthrough in real time and prints the
// ten steps that held the event loop longest: how long it went without running
// (wall clock), and the ten whose longest hold used the most processor time (on a
// busy machine the wall clock also counts the time others had the processor).
// Waits the game asks for let events run and do not count. Target: none over
// 16.7 ms, one picture at 60 pictures a second.
//
//   bench_game_stall_meter [STEPS_FILE]
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/FolderCopy.h"

namespace {

struct Stall {
  double wallMs = 0;
  double cpuMs = 0;
  QString step;
};

void printWorst(std::vector<Stall> stalls, const char* title, double Stall::*by) {
  std::sort(stalls.begin(), stalls.end(), [by](const Stall& a, const Stall& b) { return a.*by > b.*by; });
  int over = 0;
  for (const Stall& s : stalls)
    if (s.*by > 16.7) ++over;
  std::printf("%s (steps over 16.7 ms: %d, target 0):\n", title, over);
  for (size_t i = 0; i < stalls.size() && i < 10; ++i)
    std::printf("  %7.1f ms wall  %6.1f ms processor  %s\n", stalls[i].wallMs, stalls[i].cpuMs,
                stalls[i].step.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir scratch;
  if (!scratch.isValid()) return 1;
  const QString steps = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QM_SOURCE_DIR "/demo/walkthrough.txt");
  const QString game = scratch.filePath(QStringLiteral("demo"));
  if (!qm::testing::copyFolderInto(QStringLiteral(QM_SOURCE_DIR "/demo"), game, scratch.path())) return 1;

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("SDL_AUDIODRIVER", "dummy");
  env.insert("QM_SETTINGS_FILE", scratch.filePath(QStringLiteral("settings.ini")));
  env.insert("QM_STALL_METER", "1");
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(QM_BINARY_DIR "/quillmere"), {"--walkthrough", steps, game});
  if (!p.waitForFinished(600000)) {
    std::fprintf(stderr, "the walkthrough did not finish\n");
    return 1;
  }
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression stallLine(QStringLiteral("^stall ([0-9.]+) ms, processor ([0-9.]+) ms, (.*)$"));
  std::vector<Stall> stalls;
  for (const QString& line : QString::fromUtf8(p.readAllStandardError()).split('\n')) {
    const auto m = stallLine.match(line);
    if (m.hasMatch()) stalls.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
  }
  static const QRegularExpression summary(QStringLiteral("^\\d+ passed, \\d+ failed$"), QRegularExpression::MultilineOption);
  const auto m = summary.match(out);
  std::printf("event loop held up in the demo walkthrough, real time (%s)\n",
              m.hasMatch() ? m.captured(0).toUtf8().constData() : "no summary");
  printWorst(stalls, "longest holds, wall clock", &Stall::wallMs);
  printWorst(stalls, "most processor time in one hold", &Stall::cpuMs);
  return 0;
}
