// Saving and loading a game with 500 variables (450 integer, 50 variant), 50
// items and 20 frame-history entries, and the inventory bar's slide.
// Loading is timed without its fixed waits (1.8 s of pauses between its steps).
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "logic/GameLogic.h"
#include "logic/Inventory.h"
#include "logic/SavedGameFile.h"
#include "logic/SavedGames.h"
#include "platform/DialogService.h"
#include "platform/RecordingDialogService.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "support/ActionRecords.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/VariablesRecords.h"

using namespace qm;

namespace {

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename F>
std::vector<double> timeRuns(int runs, F&& f) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer t;
    t.start();
    f();
    ms.push_back(t.nsecsElapsed() / 1e6);
  }
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir dataHome;
  qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
  QApplication app(argc, argv);
  platform::RecordingDialogService dialogs;
  platform::setDialogs(&dialogs);

  testing::GameFolderBuilder folder;
  testing::GeneralFields g;
  g.initialFrame = "F0";
  g.windowedMode = true;
  g.inventorySwitch5 = false;
  folder.general(g);
  QStringList integers, variants;
  for (int i = 0; i < 450; ++i) integers << QString("Int%1").arg(i);
  for (int i = 0; i < 50; ++i) variants << QString("Var%1").arg(i);
  folder.file("Config/Variables", testing::variablesFileBytes(integers, variants));
  for (int f = 0; f < 21; ++f) folder.file(QString("Frames/F%1.fme").arg(f), testing::frameFileBytes({}));
  for (int i = 0; i < 5; ++i) {
    startup::RecordWriter obj;
    obj.str(QString("item%1.png").arg(i));
    folder.records(QString("Areas/item%1.obj").arg(i), obj);
    folder.picture(QString("Areas/item%1.png").arg(i), 32, 32, QColor::fromHsv(i * 60, 200, 200));
  }
  startup::InitializeProject(folder.root());
  auto game = std::make_unique<engine::Game>();
  game->ResetAll();
  game->StartNewGame();
  game->show();
  for (int f = 1; f <= 20; ++f) game->OpenFrame(QString("F%1").arg(f), false, 0, 0);
  auto* logic = &game->logic();
  for (int i = 0; i < 450; ++i) logic->ChangeVariableValue(QString("Int%1").arg(i), static_cast<int16_t>(i));
  for (int i = 0; i < 50; ++i)
    logic->ChangeVariableVariantValue(QString("Var%1").arg(i), i % 2 ? QVariant(i * 1.5) : QVariant(QString("text %1").arg(i)));
  for (int i = 0; i < 50; ++i) game->inventory().AddPickedObject(QString("item%1").arg(i % 5), true);

  auto& saves = game->savedGames();
  logic::SavedGames::setSkipFixedWaits(true);
  const QString path = saves.saveFolder() + "bench.sav";
  // The file alone (state gathered, written to a temporary file and renamed).
  const auto fileOnly = timeRuns(30, [&] {
    const QByteArray bytes = logic::writeSavedGame(saves.currentState());
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
  });
  // The whole SAVE: checks, replace question (answered OK), file, preview picture.
  const auto fullSave = timeRuns(20, [&] { saves.SaveGame("bench"); });
  // Of which the preview picture: the frame grabbed, scaled and encoded.
  const auto preview = timeRuns(20, [&] {
    QByteArray jpg;
    QBuffer buffer(&jpg);
    buffer.open(QIODevice::WriteOnly);
    game->display().framePicture().scaled(320, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(&buffer, "JPG", 85);
  });
  const auto entry = saves.findSavedGame("bench");
  if (!entry) {
    std::printf("the saved game is missing\n");
    return 1;
  }
  const auto load = timeRuns(10, [&] { saves.LoadGame(*entry); });
  const bool intact = game->state().ObjectsCount == 50 && game->FramesHistory.ListCount() == 20 &&
                      game->logic().GetVariableValue("Int449") == 449;

  // The slide: from hidden to shown, counting position updates.
  game->inventory().setMotion(logic::InventoryMotionKind::Hide);
  QElapsedTimer slide;
  slide.start();
  game->inventory().setMotion(logic::InventoryMotionKind::Show);
  const double slideMs = slide.nsecsElapsed() / 1e6;
  const int steps = game->inventory().lastSlideSteps();

  std::printf("save game file (500 variables, 50 items, 20 history): median %.2f ms (target 20)\n", median(fileOnly));
  std::printf("save with checks, replace and preview picture:          median %.2f ms\n", median(fullSave));
  std::printf("  of which the preview picture:                         median %.2f ms\n", median(preview));
  std::printf("load without the fixed waits:                           median %.2f ms (target 20)%s\n", median(load),
              intact ? "" : "  STATE NOT RESTORED");
  std::printf("inventory slide: %d position updates in %.0f ms (target >= 20 in about 300 ms)\n", steps, slideMs);
  game.reset();
  platform::setDialogs(nullptr);
  return 0;
}
