// The game doctor over a large generated game: 300 frames, 5,000 hotspots
// (each with a picture, a condition and an action that runs a script and
// goes to another frame), a dialogue in every tenth frame. Prints the time of
// a whole check (the target is under 2 s).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "doctor/Doctor.h"
#include "doctor/Reports.h"
#include "support/ActionRecords.h"
#include "support/DialogueRecords.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/HotspotRecords.h"
#include "support/VariablesRecords.h"

using namespace qm;
using namespace qm::testing;

namespace {

constexpr int kFrames = 300;
constexpr int kHotspots = 5000;

QString frameName(int i) { return QStringLiteral("Frame%1").arg(i); }

void generate(GameFolderBuilder& game) {
  GeneralFields general;
  general.projectName = "Large";
  general.initialFrame = frameName(0);
  game.general(general);
  QStringList variables;
  for (int v = 0; v < 200; ++v) variables << QStringLiteral("Flag%1").arg(v);
  game.file("Config/Variables", variablesFileBytes(variables, QStringList{"Score"}));
  game.file("Config/Procedures", "'\r\n'\r\n'\r\nSub Count(n)\r\n  Score = Score + n\r\nEnd Sub\r\n");
  for (int p = 0; p < 20; ++p) game.picture(QStringLiteral("Areas/thing%1.png").arg(p), 32, 32, Qt::green);
  game.picture("Frames/room.jpg", 640, 480, Qt::gray);
  int hotspot = 0;
  for (int f = 0; f < kFrames; ++f) {
    const int count = kHotspots / kFrames + (f < kHotspots % kFrames ? 1 : 0);
    FrameSpec frame;
    frame.backgroundType = 1;
    frame.background = "room.jpg";
    frame.runFrameProcedure = true;
    frame.frameProcedure = QStringLiteral("Count %1").arg(f);
    game.file(QStringLiteral("Frames/%1.fme").arg(frameName(f)), frameFileBytes(frame));
    game.file(QStringLiteral("Frames/%1.lks").arg(frameName(f)), QByteArray::number(count) + "\r\n");
    std::vector<HotspotSpec> spots;
    std::vector<ActionSpec> actions;
    for (int h = 0; h < count; ++h, ++hotspot) {
      HotspotSpec s;
      s.hasPicture = true;
      s.pictureFile = QStringLiteral("thing%1.png").arg(hotspot % 20);
      s.useConditions = 1;
      s.mustBeTrue = {QStringLiteral("Flag%1").arg(hotspot % 200)};
      spots.push_back(s);
      ActionSpec a;
      a.variableChangeOn = 1;
      a.variableName = QStringLiteral("Flag%1").arg((hotspot + 1) % 200);
      a.setToOne = true;
      a.goToFrame = 1;
      a.frameName = frameName((f + 1 + h) % kFrames);
      a.runScript = true;
      a.script = QStringLiteral("If Score > %1 Then\r\n  Count 1\r\nElse\r\n  Message |Not yet %1|\r\nEnd If").arg(hotspot);
      actions.push_back(a);
    }
    game.file(QStringLiteral("FramesData/%1.fm2").arg(frameName(f)), hotspotFileBytes(spots));
    game.file(QStringLiteral("FramesData/%1.fm3").arg(frameName(f)), actionFileBytes(actions));
    if (f % 10 == 0) {
      std::vector<QuestionSpec> questions;
      for (int q = 1; q <= 5; ++q) {
        QuestionSpec question;
        question.question = QStringLiteral("Question %1?").arg(q);
        question.id = q;
        question.script1 = QStringLiteral("Count %1").arg(q);
        questions.push_back(question);
      }
      game.file(QStringLiteral("FramesData/%1.dlg").arg(frameName(f)), dialogueFileBytes(questions));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  GameFolderBuilder game;
  generate(game);
  std::vector<double> times;
  doctor::CheckResult last;
  for (int run = 0; run < 3; ++run) {
    QElapsedTimer t;
    t.start();
    last = doctor::checkGameFolder(game.root());
    times.push_back(t.nsecsElapsed() / 1e6);
  }
  std::sort(times.begin(), times.end());
  std::printf("doctor check, %d frames, %d hotspots: %.0f ms (median of 3; best %.0f ms; target < 2000 ms)\n",
              kFrames, kHotspots, times[1], times[0]);
  std::printf("%s", doctor::summaryLine(last).toUtf8().constData());
  std::printf("\n");
  return 0;
}
