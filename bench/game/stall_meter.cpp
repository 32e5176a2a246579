// The stall meter: plays the demo game's walkthrough in real time and prints, for
// the ten steps that held the event loop longest, how long it went without
// running (wall clock, and the processor time the thread used meanwhile). Waits
// the game asks for let events run and do not count. Target: none over 16.7 ms,
// one picture at 60 pictures a second.
//
//   bench_game_stall_meter [STEPS_FILE]
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

#include "support/FolderCopy.h"

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
  const QStringList stalls =
      QString::fromUtf8(p.readAllStandardError()).split('\n').filter(QRegularExpression(QStringLiteral("^stall ")));
  static const QRegularExpression summary(QStringLiteral("^\\d+ passed, \\d+ failed$"), QRegularExpression::MultilineOption);
  const auto m = summary.match(out);
  std::printf("event loop held up, worst ten steps of the walkthrough (real time; %s):\n",
              m.hasMatch() ? m.captured(0).toUtf8().constData() : "no summary");
  int over = 0;
  static const QRegularExpression ms(QStringLiteral("^stall ([0-9.]+) ms"));
  for (const QString& line : stalls) {
    std::printf("  %s\n", line.mid(6).toUtf8().constData());
    if (ms.match(line).captured(1).toDouble() > 16.7) ++over;
  }
  std::printf("  steps over 16.7 ms: %d (target 0)\n", over);
  return 0;
}
