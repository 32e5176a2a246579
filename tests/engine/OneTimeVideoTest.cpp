// The one-time video: played once over the frame picture, ended by its own end
// or removed at once; a file that cannot play is reported and the game goes on.
#include <gtest/gtest.h>

#include <QProcess>

#include "GameFixture.h"

namespace qm::testing {
namespace {

class OneTimeVideoTest : public GameFixture {
 protected:
  engine::Game& start(GameFolderBuilder& folder) {
    GeneralFields g;
    g.initialFrame = "Hall";
    g.width = 200;
    g.height = 100;
    folder.general(g);
    frame(folder, "Hall", FrameSpec{});
    return startGame(folder);
  }
  static bool ffmpeg(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y", "-nostdin"} + args);
    return p.waitForFinished(30000) && p.exitCode() == 0;
  }
  static bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
  }
};

TEST_F(OneTimeVideoTest, PlaysOnceAtItsNaturalSizeAndEnds) {
  GameFolderBuilder folder;
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "testsrc=s=40x30:r=10:d=0.5", "-f", "lavfi", "-i",
                      "sine=frequency=500:duration=0.5", "-c:v", "mjpeg", "-shortest", "-f", "avi",
                      folder.path("Frames/intro.avi")}));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("INTRO.AVI", false, 10, 20, 0, 0);
  auto* p = g.OneTimeVideoPlayer;
  EXPECT_EQ(boxCount(), 0u) << (boxCount() ? dialogs().last().text.toStdString() : "");
  EXPECT_TRUE(p->isVisible() || !p->isHidden());
  EXPECT_EQ(p->left(), 150);
  EXPECT_EQ(p->top(), 300);
  EXPECT_EQ(p->width(), 40 * 15);
  EXPECT_EQ(p->volume(), -1200);
  EXPECT_FALSE(g.video().starting());
  EXPECT_TRUE(waitFor([&] { return g.video().OneTimeVideoPlaying(); }, 2000));
  EXPECT_TRUE(waitFor([&] { return !g.video().OneTimeVideoPlaying(); }, 5000)) << "never ended";
  g.video().StopOneTimeVideoPlayer();
  EXPECT_TRUE(p->isHidden());
  EXPECT_TRUE(p->fileName().isEmpty());
}

TEST_F(OneTimeVideoTest, StretchedAndStoppedEarly) {
  GameFolderBuilder folder;
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "sine=frequency=500:duration=3", "-f", "wav",
                      folder.path("Frames/long.wav")}));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("long.wav", true, 0, 0, 50, 40);
  EXPECT_EQ(g.OneTimeVideoPlayer->width(), 750);
  EXPECT_EQ(g.OneTimeVideoPlayer->height(), 600);
  ASSERT_TRUE(waitFor([&] { return g.video().OneTimeVideoPlaying(); }, 2000));
  g.video().StopOneTimeVideoPlayer();
  EXPECT_FALSE(g.video().OneTimeVideoPlaying());
  EXPECT_TRUE(g.OneTimeVideoPlayer->isHidden());
}

TEST_F(OneTimeVideoTest, UnplayableFileIsReportedOnce) {
  GameFolderBuilder folder;
  folder.file("Frames/bad.avi", QByteArray(2000, 'z'));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("bad.avi", false, 0, 0, 0, 0);
  EXPECT_EQ(messagesContaining("Error while attempting to play the following video file: \"bad.avi\". "), 1u);
  EXPECT_FALSE(g.video().OneTimeVideoPlaying());
}

}  // namespace
}  // namespace qm::testing
