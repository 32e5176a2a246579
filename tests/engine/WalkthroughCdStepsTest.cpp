// The walkthrough steps that answer the CD prompt: a folder picked with the
// prompt's "Choose folder…" line and OK (once per prompt, so a wrong CD and
// then the right one), and Cancel.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "distribution/RunFromCD.h"
#include "engine/Walkthrough.h"
#include "startup/MediaFiles.h"
#include "startup/RecordWriter.h"

namespace qm::testing {
namespace {

class WalkthroughCdStepsTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    mounts_.file("mounts", "");
    distribution::runFromCD().drives().setMountTable(mounts_.path("mounts"));
  }
  void TearDown() override {
    game_.reset();
    distribution::runFromCD().drives().setMountTable("/proc/self/mounts");
    distribution::runFromCD().clearIndex();
    GameFixture::TearDown();
  }
  // A game whose Hall picture is on CD 2; `right` holds it, `wrong` does not.
  QString play(const QString& steps) {
    GeneralFields g;
    g.initialFrame = "Hall";
    g.gameTitle = "Quest";
    g.width = 320;
    g.height = 240;
    folder_.general(g).file("RunFromCD.dat", "");
    FrameSpec hall;
    hall.backgroundType = 1;
    hall.background = "hall.bmp";
    frame(folder_, "Hall", hall);
    startup::RecordWriter index;
    index.str("").integer(0).integer(0).integer(2).str("").str("").str("hall.bmp").integer(2).integer(1);
    folder_.records("Config/CDContents", index);
    right_.picture(startup::GetStoredMediaFileName("Data/Quest/Frames/hall.bmp", false), 32, 24, Qt::blue);
    wrong_.folder("Data/Quest/Frames");
    withVariablesFile(folder_);
    startup::InitializeProject(folder_.root());
    QString output;
    QTextStream out(&output);
    engine::WalkthroughRunner runner(dialogs(), out, [this] { return game_.get(); });
    runner.setStartAction([this] {
      game_ = std::make_unique<engine::Game>();
      game_->ResetAll();
      game_->StartNewGame();
      game_->show();
      return QString();
    });
    runner.run(steps);
    return output;
  }
  GameFolderBuilder folder_, right_, wrong_, mounts_;
  std::unique_ptr<engine::Game> game_;
};

TEST_F(WalkthroughCdStepsTest, AWrongFolderThenTheRightOneAnswerTwoPrompts) {
  const QString output = play("cd \"" + wrong_.root() + "\"\ncd \"" + right_.root() +
                              "\"\nstart\nexpect message \"Please insert the CD#2\"\nexpect message \"File Not Found:\"\n"
                              "expect frame Hall\ncd \"/no/such/folder/anywhere\"\ncd\n");
  EXPECT_TRUE(output.contains("6 passed, 2 failed")) << output.toStdString();
  EXPECT_TRUE(output.contains("there is no folder /no/such/folder/anywhere")) << output.toStdString();
  EXPECT_TRUE(output.contains("cd needs a folder in quotes, or cancel")) << output.toStdString();
  EXPECT_FALSE(startup::GameStopped());
}

TEST_F(WalkthroughCdStepsTest, CancelStopsTheGame) {
  const QString output = play("cd cancel\nstart\nexpect message \"Please insert the CD#2\"\n");
  EXPECT_TRUE(output.contains("3 passed, 0 failed")) << output.toStdString();
  EXPECT_TRUE(startup::GameStopped());
}

}  // namespace
}  // namespace qm::testing
