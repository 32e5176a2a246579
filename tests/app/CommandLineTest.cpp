// The player's command line as a new user meets it: what it prints and the
// exit status, run as a separate program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>

#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/VariablesRecords.h"

namespace qm::testing {
namespace {

struct PlayerRun {
  bool finished = false;
  bool crashed = false;
  int exitCode = -1;
  QString out;
  QString err;
};

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.isValid()); }

  // Runs the player headless with its settings in the scratch folder; `adjust`
  // changes the environment further.
  PlayerRun player(const QStringList& args, const std::function<void(QProcessEnvironment&)>& adjust = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("QM_SETTINGS_FILE", scratch_.filePath("settings.ini"));
    if (adjust) adjust(env);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QM_BINARY_DIR "/quillmere"), args);
    PlayerRun r;
    r.finished = process.waitForFinished(60000);
    if (!r.finished) process.kill();
    r.crashed = process.exitStatus() == QProcess::CrashExit;
    r.exitCode = process.exitCode();
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
  }
  QString scratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = scratch_.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  static QString demo() { return QStringLiteral(QM_SOURCE_DIR "/demo"); }
  // A small game with one frame, "Hall".
  void smallGame(GameFolderBuilder& game, const QString& initialFrame = "Hall") {
    GeneralFields g;
    g.initialFrame = initialFrame;
    g.width = 320;
    g.height = 240;
    game.general(g);
    game.file("Frames/Hall.fme", frameFileBytes(FrameSpec{}));
    game.file("Config/Variables", variablesFileBytes({"Score"}));
  }

  QTemporaryDir scratch_;
};

// An X display number nothing listens on.
QString unusedDisplay() {
  for (int n = 4711; n < 4800; ++n)
    if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) return QStringLiteral(":%1").arg(n);
  return {};
}

TEST_F(CommandLineTest, AnUnusableDisplayIsSaidInWordsWithExitStatusTwo) {
  const QString display = unusedDisplay();
  ASSERT_FALSE(display.isEmpty());
  const PlayerRun r = player({demo()}, [&](QProcessEnvironment& env) {
    env.remove("QT_QPA_PLATFORM");
    env.insert("DISPLAY", display);
  });
  ASSERT_TRUE(r.finished);
  EXPECT_FALSE(r.crashed) << r.err.toStdString();
  EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
  EXPECT_TRUE(r.err.startsWith("quillmere: no display found")) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(display));
  EXPECT_TRUE(r.err.contains("--walkthrough"));
  EXPECT_FALSE(r.err.contains("Reinstalling"));
}

TEST_F(CommandLineTest, NoDisplayAtAllIsSaidTheSameWay) {
  const PlayerRun r = player({demo()}, [](QProcessEnvironment& env) {
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
  });
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("no display found (DISPLAY is not set)")) << r.err.toStdString();
}

TEST_F(CommandLineTest, AFileGivenAsTheGameIsNeitherAFolderNorAnArchive) {
  const QString file = scratchFile("notes.txt", "hello\n");
  const PlayerRun r = player({file});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.err.contains(file + " is neither a game folder nor an archive")) << r.err.toStdString();
  EXPECT_FALSE(r.err.contains("no such"));
}

TEST_F(CommandLineTest, HelpListsTheKeysForPlaying) {
  const PlayerRun r = player({"--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* key : {"Esc or right click", "Ctrl+Q", "Ctrl+S", "F9 F10 F11 F12"})
    EXPECT_TRUE(r.out.contains(key)) << key;
}

// The keys of the README's table of keys ("Key or mouse"), as names: "Esc",
// "Ctrl+Q", "Shift+Tab", ..., and "Space held" for a key the table lists held.
QStringList readmeKeys() {
  QFile readme(QStringLiteral(QM_SOURCE_DIR "/README.md"));
  if (!readme.open(QIODevice::ReadOnly)) return {};
  const QStringList lines = QString::fromUtf8(readme.readAll()).split('\n');
  const auto header = std::find_if(lines.begin(), lines.end(),
                                   [](const QString& l) { return l.startsWith("| Key or mouse |"); });
  if (header == lines.end()) return {};
  static const QRegularExpression key(
      R"((?:(?:Ctrl|Alt|Shift)\+)+(?:Tab|Enter|Space|Esc|[A-Z]\b|F\d{1,2})|\b(?:F\d{1,2}|Esc|Tab|Enter|Space)\b|(?:left|right) click)");
  QStringList keys;
  for (auto l = header + 2; l != lines.end() && l->startsWith('|'); ++l) {
    const QString cell = l->section('|', 1, 1);
    for (auto m = key.globalMatch(cell); m.hasNext();) {
      const QString name = m.next().captured();
      keys << (cell.contains(QLatin1String("held")) ? name + QStringLiteral(" held") : name);
    }
  }
  return keys;
}

TEST_F(CommandLineTest, HelpAndTheManPageListEveryKeyTheReadmeLists) {
  const QStringList keys = readmeKeys();
  // The table is found and read: it has these at least.
  for (const char* known : {"Esc", "Ctrl+Q", "Tab", "Shift+Tab", "Alt+Enter", "Space held"})
    ASSERT_TRUE(keys.contains(known)) << known << " in " << keys.join(", ").toStdString();
  const PlayerRun r = player({"--help"});
  ASSERT_EQ(r.exitCode, 0);
  for (const QString& k : keys) EXPECT_TRUE(r.out.contains(k)) << "--help does not list " << k.toStdString();

  // The man page is written from --help: it lists them too.
  const QString page = QStringLiteral(QM_BINARY_DIR "/packaging/quillmere.1.gz");
  if (!QFile::exists(page)) GTEST_SKIP() << "no man page built (help2man is missing)";
  QProcess gunzip;
  gunzip.start(QStringLiteral("gzip"), {"-dc", page});
  ASSERT_TRUE(gunzip.waitForFinished(30000) && gunzip.exitCode() == 0);
  const QString roff = QString::fromUtf8(gunzip.readAllStandardOutput());
  for (const QString& k : keys) EXPECT_TRUE(roff.contains(k)) << "the man page does not list " << k.toStdString();
}

TEST_F(CommandLineTest, AStepsFileWithoutStepsIsAnError) {
  for (const QByteArray& text : {QByteArray(), QByteArray("\n# only a comment\n   \n")}) {
    const QString steps = scratchFile("steps.txt", text);
    const PlayerRun r = player({"--walkthrough", steps, demo()});
    EXPECT_EQ(r.exitCode, 2) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("no steps")) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("passed"));
  }
}

TEST_F(CommandLineTest, StartFailsOnAGameThatCannotOpenItsFirstFrame) {
  GameFolderBuilder game;
  smallGame(game, "Missing");
  const QString steps = scratchFile("steps.txt", "start\nexpect frame Hall\n");
  const PlayerRun r = player({"--walkthrough", steps, game.root()});
  EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("FAIL  line 1: start -- the game did not start; it showed: \"")) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("The frame named \"Missing\" could not be found")) << r.out.toStdString();
  EXPECT_FALSE(r.out.contains("Unable to load variables")) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("0 passed, 2 failed"));
}

TEST_F(CommandLineTest, HeadlessRunsKeepTheErrorOutputForThePlayersOwnMessages) {
  GameFolderBuilder game;
  smallGame(game);
  const QString steps = scratchFile("steps.txt", "start\nexpect frame Hall\nkey Esc\nkey Esc\n");
  const PlayerRun r = player({"--walkthrough", steps, game.root()}, [](QProcessEnvironment& env) {
    env.remove("XDG_RUNTIME_DIR");
  });
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
  EXPECT_FALSE(r.out.contains("but showed")) << r.out.toStdString();
  EXPECT_FALSE(r.err.contains("XDG_RUNTIME_DIR")) << r.err.toStdString();
  EXPECT_FALSE(r.err.contains("does not support")) << r.err.toStdString();
}

}  // namespace
}  // namespace qm::testing
