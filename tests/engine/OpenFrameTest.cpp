// Opening frames: backgrounds, the frame timer, history, failures.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "engine/GameDisplay.h"
#include "engine/PictureCache.h"

namespace qm::testing {
namespace {

class OpenFrameTest : public GameFixture {
 protected:
  GeneralFields fields() {
    GeneralFields g;
    g.initialFrame = "Hall";
    g.width = 200;
    g.height = 100;
    return g;
  }
};

QRgb pixel(engine::Game& g, int x, int y) { return g.display().framePicture().pixel(x, y); }

TEST_F(OpenFrameTest, ColourBackgroundFillsThePicture) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.background = QString::number(0x0000FF);  // red in Windows order
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
  EXPECT_EQ(pixel(g, 10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(OpenFrameTest, PictureBackgroundIsDrawnOnceAtTheTopLeft) {
  GameFolderBuilder folder;
  folder.general(fields()).picture("Frames/small.png", 50, 40, Qt::green);
  FrameSpec s;
  s.backgroundType = 1;
  s.background = "SMALL.PNG";
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_EQ(pixel(g, 10, 10), qRgb(0, 255, 0));
  EXPECT_EQ(pixel(g, 60, 10), qRgb(0, 0, 0));  // black outside the picture
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(OpenFrameTest, TiledBackgroundCoversThePictureBothEndsIncluded) {
  GameFolderBuilder folder;
  folder.general(fields()).picture("Frames/tile.png", 100, 30, Qt::blue);
  FrameSpec s;
  s.backgroundType = 1;
  s.background = "tile.png";
  s.tile = true;
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_EQ(pixel(g, 199, 99), qRgb(0, 0, 255));
  EXPECT_EQ(pixel(g, 150, 95), qRgb(0, 0, 255));
}

TEST_F(OpenFrameTest, MissingPictureWarnsAndTheFrameStillOpens) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.backgroundType = 1;
  s.background = "gone.jpg";
  s.timerOn = true;
  s.timerSeconds = "5";
  s.timerTarget = "Hall";
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_EQ(messagesContaining("gone.jpg"), 1u);
  EXPECT_TRUE(g.Timer1.enabled());  // the opening went on to the end
}

TEST_F(OpenFrameTest, MissingFrameReportsTheBrokenLinkAndChangesNothing) {
  GameFolderBuilder folder;
  folder.general(fields());
  frame(folder, "Hall", FrameSpec{});
  auto& g = startGame(folder);
  g.StartNewGame();
  g.OpenFrame("Nowhere", false, 0, 0);
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.contains(
      "A program link is broken. The frame named \"Nowhere\" could not be found. Verify that the 'Initial Frame' exists"));
  g.OpenFrame("", false, 0, 0);
  EXPECT_TRUE(lastBox().text.contains(" A program link is broken."));
}

TEST_F(OpenFrameTest, MalformedFrameFileReportsAndTheGameGoesOn) {
  GameFolderBuilder folder;
  folder.general(fields());
  frame(folder, "Hall", FrameSpec{});
  folder.file("Frames/Bad.fme", "\"x\",\"y\"\r\n");
  auto& g = startGame(folder);
  g.StartNewGame();
  g.OpenFrame("Bad", false, 0, 0);
  ASSERT_GE(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.contains("Unable to load the frame called 'Bad'"));
  // The description follows the text directly, on the same line.
  const QString text = lastBox().text;
  const QString help = "is linked to an existing frame. ";
  ASSERT_GE(text.indexOf(help), 0) << text.toStdString();
  const QString description = text.mid(text.indexOf(help) + help.size());
  EXPECT_FALSE(description.isEmpty());
  EXPECT_FALSE(description.startsWith("\r\n")) << text.toStdString();
  g.OpenFrame("Hall", false, 0, 0);
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
}

TEST_F(OpenFrameTest, OutlandishNumbersAreReportedNotObeyed) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.background = "1E+30";
  frame(folder, "Hall", s);
  FrameSpec t;
  t.timerOn = true;
  t.timerSeconds = "1E+12";
  t.timerTarget = "Hall";
  frame(folder, "Slow", t);
  TextBoxSpec far;
  far.left = 1e300;
  far.top = -1e300;
  folder.file("FramesData/Slow.fm1", textFileBytes({far}));
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_EQ(messagesContaining("Unable to load the frame called 'Hall'"), 1u);
  g.OpenFrame("Slow", false, 0, 0);
  EXPECT_EQ(messagesContaining("Unable to load timer duration."), 1u);
  EXPECT_EQ(g.Text.Count(), 2);
  EXPECT_EQ(startup::CurrentFrameName(), "Slow");
}

TEST_F(OpenFrameTest, FrameTimerIntervalComesFromSecondsRounded) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.timerOn = true;
  s.timerSeconds = "2.5";
  s.timerTarget = "Next";
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_TRUE(g.Timer1.enabled());
  EXPECT_EQ(g.Timer1.interval(), 2500);
  EXPECT_EQ(g.Timer1.tag(), "Next");
}

TEST_F(OpenFrameTest, FrameTimerMovesToItsTarget) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.timerOn = true;
  s.timerSeconds = "0.05";
  s.timerTarget = "Next";
  frame(folder, "Hall", s);
  frame(folder, "Next", FrameSpec{});
  auto& g = startGame(folder);
  g.StartNewGame();
  runEvents(300);
  EXPECT_EQ(startup::CurrentFrameName(), "Next");
  EXPECT_FALSE(g.Timer1.enabled());
  EXPECT_EQ(g.FramesHistory.items(), QStringList({"Hall", "Next"}));
}

TEST_F(OpenFrameTest, FrameTimerGoesBackToTheLastVisitedFrame) {
  GameFolderBuilder folder;
  folder.general(fields());
  frame(folder, "Hall", FrameSpec{});
  FrameSpec back;
  back.timerOn = true;
  back.timerSeconds = "0.05";
  back.timerTarget = "[Last Visited Frame]";
  frame(folder, "Room", back);
  auto& g = startGame(folder);
  g.StartNewGame();
  g.OpenFrame("Room", false, 0, 0);
  runEvents(300);
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
  EXPECT_EQ(g.FramesHistory.items(), QStringList({"Hall"}));
}

TEST_F(OpenFrameTest, FrameTimerToAMissingFrameReportsOnce) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.timerOn = true;
  s.timerSeconds = "0.02";
  s.timerTarget = "Nowhere";
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  runEvents(250);
  EXPECT_EQ(messagesContaining("Nowhere"), 1u);
}

TEST_F(OpenFrameTest, QuitTimerStartsUnloading) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.timerOn = true;
  s.timerSeconds = "0.02";
  s.timerTarget = "[QUIT]";
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  bool unloaded = false;
  QObject::connect(&g, &engine::Game::unloaded, [&] { unloaded = true; });
  g.StartNewGame();
  runEvents(100);
  EXPECT_TRUE(startup::GameStopped());
  runEvents(700);
  EXPECT_TRUE(unloaded);
}

TEST_F(OpenFrameTest, EachPictureFileIsDecodedOncePerGame) {
  GameFolderBuilder folder;
  folder.general(fields()).picture("Frames/a.png", 20, 20, Qt::red);
  FrameSpec s;
  s.backgroundType = 1;
  s.background = "a.png";
  frame(folder, "Hall", s);
  frame(folder, "Room", s);
  auto& g = startGame(folder);
  engine::PictureCache::instance().clear();
  const int before = engine::PictureCache::instance().decodeCount();
  g.StartNewGame();
  g.OpenFrame("Room", false, 0, 0);
  g.OpenFrame("Hall", false, 0, 0);
  EXPECT_EQ(engine::PictureCache::instance().decodeCount() - before, 1);
}

}  // namespace
}  // namespace qm::testing
