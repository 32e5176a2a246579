// Loading a 40-question dialogue from its file and listing it on the panel,
// as a frame opening does. Prints the median in milliseconds (target < 5 ms).
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchGame.h"
#include "logic/GameLogic.h"
#include "script/DialogueRunner.h"
#include "support/DialogueRecords.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/VariablesRecords.h"

using namespace qm;
using namespace qm::testing;

int main(int argc, char** argv) {
  bench::BenchEnvironment env(argc, argv);
  auto& dialogs = env.dialogs;

  GameFolderBuilder folder;
  GeneralFields g = bench::hallGame();
  g.width = 800;
  g.height = 600;
  folder.general(g);
  folder.file("Config/Variables", variablesFileBytes({"x"}));
  folder.file("Frames/Hall.fme", frameFileBytes({}));
  std::vector<QuestionSpec> questions;
  for (int i = 1; i <= 40; ++i) {
    QuestionSpec q;
    q.question = QStringLiteral("Question number %1: what do you know about the lighthouse and its keeper?").arg(i);
    q.answer = QStringLiteral("An answer of some length for question %1.").arg(i);
    q.script1 = "x = |a|";
    q.id = i;
    q.showIds = {static_cast<int>(i % 40 + 1)};
    q.hideIds = {i};
    questions.push_back(q);
  }
  folder.file("FramesData/Hall.dlg", dialogueFileBytes(questions));
  const auto started = bench::startGame(folder.root());
  engine::Game& game = *started;
  script::DialogueRunner& talk = game.dialogue();

  const int warmup = 10, runs = 200;
  std::vector<double> ms;
  for (int i = 0; i < warmup + runs; ++i) {
    talk.QuitDialogue();
    QElapsedTimer t;
    t.start();
    talk.LoadDialogue();
    talk.RuntimeDisplayQuestions();
    const double elapsed = static_cast<double>(t.nsecsElapsed()) / 1e6;
    if (i >= warmup) ms.push_back(elapsed);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("loading and listing a 40-question dialogue (800x600 project)\n");
  std::printf("median %.3f ms, p90 %.3f ms, min %.3f ms over %d runs (target < 5 ms)\n", ms[ms.size() / 2],
              ms[ms.size() * 9 / 10], ms.front(), runs);
  if (dialogs->count() > 0) std::printf("message: %s\n", qPrintable(dialogs->last().text));
  std::printf("check: %lld questions listed, messages shown: %zu\n",
              static_cast<long long>(talk.shownQuestionTexts().size()), dialogs->count());
  return 0;
}
