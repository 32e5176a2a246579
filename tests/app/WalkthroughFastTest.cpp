// Walkthroughs at machine speed: the same steps give the same report on every
// run, down to the step at which a sound ends, a timer moves on or a timed
// event fires; scripts see game time; and a recording made that way is as long
// as the game time played.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <optional>

#include "support/FolderCopy.h"

namespace qm::testing {
namespace {

struct WalkRun {
  int exitCode = -1;
  QString out;
};

class WalkthroughFastTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.isValid()); }

  // A fresh copy of the demo game inside the scratch folder (walkthroughs save games beside it).
  QString demoCopy(const QString& name) {
    const QString target = scratch_.filePath(name);
    EXPECT_TRUE(copyFolderInto(QStringLiteral(QM_SOURCE_DIR "/demo"), target, scratch_.path()));
    return target;
  }
  QString stepsFile(const QString& steps) {
    const QString path = scratch_.filePath(QStringLiteral("steps.txt"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(steps.toUtf8());
    return path;
  }
  WalkRun walk(const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("QM_SETTINGS_FILE", scratch_.filePath("settings.ini"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QM_BINARY_DIR "/quillmere"), QStringList{"--walkthrough"} + args);
    WalkRun r;
    if (!process.waitForFinished(120000)) process.kill();
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    return r;
  }

  QTemporaryDir scratch_;
};

// Probes every 50 ms of the demo: the lines that pass and fail show to the
// step when the bell ends, the garden's timer moves on to the sunset and the
// study's clock (a timed event) chimes.
QString probes() {
  // The key, the lamp in the library, the garden; its bell rings at once.
  QString s = QStringLiteral("start\nclick 2\nclick 1\nexpect frame Library\nclick 2\nclick 1\nexpect frame Hall\n"
                             "click 3\nexpect frame Garden\nclick 2\n");
  for (int i = 0; i < 50; ++i)
    s += QStringLiteral("wait 0.05\nexpect playing \"bell.wav\"\nexpect frame Garden\n");
  s += QStringLiteral("wait 3\nclickat 320 300\nexpect frame Hall\nclick 1\nexpect frame Library\nclick 5\n"
                      "expect frame Study\n");
  for (int i = 0; i < 80; ++i) s += QStringLiteral("wait 0.05\nexpect onscreen \"Dong! The clock chimes.\"\n");
  return s;
}

TEST_F(WalkthroughFastTest, TheSameStepsGiveTheSameReportOnEveryRun) {
  const QString steps = stepsFile(probes());
  const WalkRun first = walk({steps, demoCopy("first"), "--fast"});
  const WalkRun second = walk({steps, demoCopy("second"), "--fast"});
  ASSERT_FALSE(first.out.isEmpty());
  ASSERT_EQ(first.out, second.out);
  const QStringList lines = first.out.split('\n');
  // How often a probe's result flips between ok and FAIL.
  auto flips = [&](const QString& probe) {
    int n = 0;
    std::optional<bool> last;
    for (const QString& line : lines) {
      if (!line.endsWith(probe) && !line.contains(probe + QStringLiteral(" --"))) continue;
      const bool ok = line.startsWith(QStringLiteral("ok"));
      if (last && *last != ok) ++n;
      last = ok;
    }
    return n;
  };
  // The way there passes; each change is seen once, at one step.
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(lines[i].startsWith(QStringLiteral("ok"))) << lines[i].toStdString();
  EXPECT_EQ(flips(QStringLiteral("expect playing \"bell.wav\"")), 1) << first.out.toStdString();
  EXPECT_EQ(flips(QStringLiteral("expect frame Garden")), 1);
  EXPECT_TRUE(first.out.contains(QStringLiteral("ok    line 167: expect frame Study")));
  // The chime's text shows by the clock from its first chime on.
  EXPECT_EQ(flips(QStringLiteral("expect onscreen \"Dong! The clock chimes.\"")), 1);
}

TEST_F(WalkthroughFastTest, ScriptsReadTheTimeOfDayOnTheGameClock) {
  // The game variable keeps the start (milliseconds, within 30 s) from one step to the next.
  const QString steps = stepsFile(
      "start\nrun \"DoorUses = Int(Timer * 1000) Mod 30000\"\nwait 2.5\n"
      "run \"Gone = ((Int(Timer * 1000) Mod 30000) - DoorUses + 30000) Mod 30000\\n"
      "If Abs(Gone - 2520) < 50 Then DoorUses = 1 Else DoorUses = 2\"\n"
      "expect var DoorUses 1\n");
  const WalkRun r = walk({steps, demoCopy("timer"), "--fast"});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
}

TEST_F(WalkthroughFastTest, ARecordingLastsTheGameTimePlayed) {
  const QString video = scratch_.filePath(QStringLiteral("fast.mkv"));
  const WalkRun r = walk({stepsFile("start\nclick 2\nwait 3\n"), demoCopy("rec"), "--record", video, "--fast"});
  ASSERT_EQ(r.exitCode, 0) << r.out.toStdString();
  // 3.12 s of game time after the start (the click's pause and the wait) at 25 pictures
  // a second, none missed: no picture is late on a clock that waits for the game.
  EXPECT_TRUE(r.out.contains(QStringLiteral(" 0 dropped, 0 held while the game did not let events run ("))) << r.out.toStdString();
  QProcess info;
  info.start(QStringLiteral(QM_BINARY_DIR "/quillmere"), {"--media-info", video});
  ASSERT_TRUE(info.waitForFinished(30000));
  const QString text = QString::fromUtf8(info.readAllStandardOutput());
  const auto at = text.indexOf(QStringLiteral("duration: "));
  ASSERT_GE(at, 0) << text.toStdString();
  const double seconds = text.mid(at + 10, text.indexOf('\n', at) - at - 10).toDouble();
  EXPECT_NEAR(seconds, 3.2, 0.25) << text.toStdString();
}

TEST_F(WalkthroughFastTest, ARecordingWritesEveryPictureOfGameTime) {
  // Eight seconds of game time pass far faster than the encoder takes them in:
  // the run waits for it, so no picture is lost.
  const QString video = scratch_.filePath(QStringLiteral("every.mkv"));
  const WalkRun r = walk({stepsFile("start\nwait 8\n"), demoCopy("every"), "--record", video, "--fast"});
  ASSERT_EQ(r.exitCode, 0) << r.out.toStdString();
  static const QRegularExpression line(QStringLiteral("recording: (\\d+) frames written, (\\d+) dropped, (\\d+) held"));
  const auto m = line.match(r.out);
  ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
  EXPECT_EQ(m.captured(2).toInt(), 0) << r.out.toStdString();
  EXPECT_EQ(m.captured(3).toInt(), 0) << r.out.toStdString();
  // 8 s and the start's settling, at 25 pictures a second.
  EXPECT_GE(m.captured(1).toInt(), 200);
  EXPECT_LE(m.captured(1).toInt(), 215);
}

}  // namespace
}  // namespace qm::testing
