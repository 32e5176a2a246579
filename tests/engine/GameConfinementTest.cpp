// Hostile game folders: data files whose names climb out with "..\" and
// symbolic links that lead out. The player opens nothing outside the folder;
// each such file is a missing file with the usual message.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "GameFixture.h"
#include "engine/GameDisplay.h"
#include "startup/FrameHeader.h"

namespace qm::testing {
namespace {

class GameConfinementTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    ASSERT_TRUE(outside_.isValid());
    QImage green(40, 40, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(outside_.path() + "/secret.png"));
    FrameSpec evil;
    evil.background = QString::number(0x0000FF);  // red in Windows order
    frameBytes_ = frameFileBytes(evil);
    QFile f(outside_.path() + "/Evil.fme");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(frameBytes_);
  }
  GeneralFields fields(const QString& initialFrame = "Hall") {
    GeneralFields g;
    g.initialFrame = initialFrame;
    g.width = 100;
    g.height = 100;
    return g;
  }
  // From a project sub-folder (Frames, Areas ...) to the outside folder.
  QString climb(const QString& name) { return "..\\..\\" + QDir(outside_.path()).dirName() + "\\" + name; }
  QRgb pixel(int x, int y) { return game().display().framePicture().pixel(x, y); }

  QTemporaryDir outside_;
  QByteArray frameBytes_;
};

TEST_F(GameConfinementTest, AnInitialFrameOutsideTheFolderIsNotLoaded) {
  GameFolderBuilder folder;
  folder.general(fields(climb("Evil")));
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_NE(pixel(10, 10), qRgb(255, 0, 0));  // the frame outside was not read
  EXPECT_EQ(messagesContaining("could not be found"), 1u);
}

TEST_F(GameConfinementTest, AGoToFrameOutsideTheFolderIsNotLoaded) {
  GameFolderBuilder folder;
  folder.general(fields());
  frame(folder, "Hall", FrameSpec{});
  auto& g = startGame(folder);
  g.StartNewGame();
  g.OpenFrame(climb("Evil"), false, 0, 0);
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
  EXPECT_NE(pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(messagesContaining("could not be found"), 1u);
}

TEST_F(GameConfinementTest, BackgroundPictureOutsideIsAMissingFileNamedAsWritten) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.backgroundType = 1;
  s.background = climb("secret.png");
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_EQ(messagesContaining(startup::project().paths.frames + climb("secret.png")), 1u);
  EXPECT_NE(pixel(10, 10), qRgb(0, 255, 0));
}

TEST_F(GameConfinementTest, LinksThatLeadOutAreMissingFiles) {
  GameFolderBuilder folder;
  folder.general(fields());
  ASSERT_TRUE(QFile::link(outside_.path() + "/secret.png", folder.path("Frames/linked.png")));
  ASSERT_TRUE(QFile::link(outside_.path() + "/Evil.fme", folder.path("Frames/Linked.fme")));
  FrameSpec s;
  s.backgroundType = 1;
  s.background = "linked.png";
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_EQ(messagesContaining("linked.png"), 1u);
  EXPECT_NE(pixel(10, 10), qRgb(0, 255, 0));
  g.OpenFrame("Linked", false, 0, 0);
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
}

TEST_F(GameConfinementTest, SoundsAndVideoOutsideAreMissingFiles) {
  GameFolderBuilder folder;
  folder.general(fields());
  FrameSpec s;
  s.backgroundSound = climb("secret.png");
  s.secondSound = climb("secret.png");
  s.video = climb("secret.png");
  frame(folder, "Hall", s);
  auto& g = startGame(folder);
  g.StartNewGame();
  EXPECT_GE(messagesContaining(climb("secret.png")), 3u);
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
}

TEST_F(GameConfinementTest, TheHotspotCountOfAFrameOutsideIsNotRead) {
  QFile lks(outside_.path() + "/Evil.lks");
  ASSERT_TRUE(lks.open(QIODevice::WriteOnly));
  lks.write("5\r\n");
  lks.close();
  GameFolderBuilder folder;
  folder.general(fields());
  frame(folder, "Hall", FrameSpec{});
  startGame(folder);
  EXPECT_EQ(startup::ReadHotspotsCount(climb("Evil")), 0);
}

}  // namespace
}  // namespace qm::testing
