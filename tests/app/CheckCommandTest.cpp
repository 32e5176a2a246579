// quillmere --check as an author runs it: the report, the summary line and
// the exit status (0 clean, 1 errors, 2 not a game), without a display.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"

namespace qm::testing {
namespace {

struct CheckRun {
  int exitCode = -1;
  bool crashed = false;
  QString out, err;
};

CheckRun check(const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // No display at all: the doctor needs none.
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(QM_BINARY_DIR "/quillmere"), QStringList{"--check"} + args);
  CheckRun r;
  if (!process.waitForFinished(60000)) process.kill();
  r.crashed = process.exitStatus() == QProcess::CrashExit;
  r.exitCode = process.exitCode();
  r.out = QString::fromUtf8(process.readAllStandardOutput());
  r.err = QString::fromUtf8(process.readAllStandardError());
  return r;
}

TEST(CheckCommandTest, TheDemoIsCleanAndExitsZero) {
  const CheckRun r = check({QStringLiteral(QM_SOURCE_DIR "/demo")});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(QRegularExpression("^0 errors, 0 warnings, 0 notes in [0-9]+ files\n$"))) << r.out.toStdString();
}

TEST(CheckCommandTest, AGameWithErrorsExitsOneAndJsonIsOneDocument) {
  GameFolderBuilder game;
  GeneralFields general;
  general.initialFrame = "Hall";
  game.general(general);
  FrameSpec hall;
  hall.timerOn = true;
  hall.timerTarget = "Nowhere";
  game.file("Frames/Hall.fme", frameFileBytes(hall));
  const CheckRun text = check({game.root()});
  EXPECT_EQ(text.exitCode, 1);
  EXPECT_TRUE(text.out.contains("Frames/Hall.fme:1: frame timer: error: the frame \"Nowhere\" names no frame"))
      << text.out.toStdString();
  EXPECT_TRUE(text.out.endsWith("1 errors, 0 warnings, 0 notes in 2 files\n")) << text.out.toStdString();

  const CheckRun json = check({game.root(), "--json"});
  EXPECT_EQ(json.exitCode, 1);
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(json.out.toUtf8(), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
  EXPECT_EQ(doc.object().value("errors").toInt(), 1);
}

TEST(CheckCommandTest, AFolderThatIsNotAGameExitsTwo) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  for (const QString& folder : {empty.path(), empty.path() + "/missing"}) {
    const CheckRun r = check({folder});
    EXPECT_EQ(r.exitCode, 2) << folder.toStdString();
    EXPECT_FALSE(r.crashed);
    EXPECT_TRUE(r.err.startsWith("quillmere: --check: ")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
  EXPECT_EQ(check({}).exitCode, 2);
}

}  // namespace
}  // namespace qm::testing
