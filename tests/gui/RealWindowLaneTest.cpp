// The lane itself: a click through the X server reaches a hotspot, the screen
// shows what the player painted, and a held key repeats as on a desktop.
#include <QImage>

#include "KeyCounter.h"
#include "RealWindowTest.h"
#include "engine/Game.h"
#include "support/ActionRecords.h"
#include "support/FrameRecords.h"
#include "support/HotspotRecords.h"

namespace qm::testing {
namespace {

constexpr QRgb kHallColour = qRgb(30, 120, 200);

// Windowed, one frame "Hall" (400 x 300, one colour) with one hotspot whose
// click shows a message in the frame.
void hallGame(GameFolderBuilder& folder) {
  windowedGame(folder, "Hall", 400, 300);
  folder.picture("Frames/hall.png", 400, 300, QColor(kHallColour));
  FrameSpec hall;
  hall.backgroundType = 1;
  hall.background = "hall.png";
  folder.file("Frames/Hall.fme", frameFileBytes(hall));
  HotspotSpec door;  // 100 x 100 pixels at (100, 100)
  folder.file("FramesData/Hall.fm2", hotspotFileBytes({door}));
  ActionSpec knock;
  knock.showMessage = true;
  knock.messageInFrame = true;
  knock.messageText = "Nobody answers.";
  folder.file("FramesData/Hall.fm3", actionFileBytes({knock}));
}

class RealWindowLaneTest : public RealWindowTest {};

TEST_F(RealWindowLaneTest, TheGameWindowIsOnScreenAndAClickOnAHotspotShowsItsMessage) {
  GameFolderBuilder folder;
  hallGame(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    // The frame's picture is what the screen shows in the middle of the picture.
    const QPoint middle = pictureToScreen(game, QPoint(300, 250));
    EXPECT_TRUE(waitUntil([&] { return user().grab(QRect(middle, QSize(1, 1))).pixel(0, 0) == kHallColour; }));
    EXPECT_FALSE(findVisible("Nobody answers."));

    QWidget* door = gui([&]() -> QWidget* { return game->Area.item(1); });
    ASSERT_TRUE(door);
    clickOn(door);
    QWidget* message = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (message = findVisible("Nobody answers.")) != nullptr; }))
        << (findVisibleContaining("Nobody") ? "shown with other text" : "not shown") << shownBoxes().toStdString();
    EXPECT_TRUE(onTop(message));
    // Painted: the panel's area no longer shows the bare frame.
    EXPECT_TRUE(waitUntil([&] {
      const QImage shot = grab(message);
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
          if (shot.pixel(x, y) != kHallColour) return true;
      return false;
    }));
  });
}

TEST_F(RealWindowLaneTest, AKeyHeldDownRepeatsAsOnADesktop) {
  GameFolderBuilder folder;
  hallGame(folder);
  play([&] {
    ASSERT_TRUE(startGame(folder));
    KeyCounter* counter = gui([] { return new KeyCounter(Qt::Key_A); });
    user().setAutoRepeat(200, 30);
    user().keyDown("a");
    EXPECT_TRUE(waitUntil([&] { return counter->presses >= 4; })) << "a held key should repeat";
    user().keyUp("a");
    const int held = counter->presses;
    user().tap("a");
    EXPECT_TRUE(waitUntil([&] { return counter->presses > held; })) << "a tap after the hold should arrive";
    gui([&] { delete counter; });
  });
}

}  // namespace
}  // namespace qm::testing
