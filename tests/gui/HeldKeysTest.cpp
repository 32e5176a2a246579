// Keys held down on a real keyboard: the X server repeats them, and a held
// Space or Enter still counts as one press, in the game and on the welcome window.
#include <QImage>

#include "KeyCounter.h"
#include "RealWindowTest.h"
#include "engine/Game.h"
#include "engine/KeyboardPlay.h"
#include "logic/GameLogic.h"
#include "startup/Project.h"
#include "support/ActionRecords.h"
#include "support/FrameRecords.h"
#include "support/HotspotRecords.h"

namespace qm::testing {
namespace {

// How many of the keyboard's repeats make a hold long past the first repeat.
constexpr int kRepeatsOfALongHold = 20;

class HeldKeysTest : public RealWindowTest {
 protected:
  // Windowed, 400 x 300, grey Hall: hotspot 1 a door (100..200 x 100..200
  // pixels) to the Garden, hotspot 2 a bell (250..350 x 100..200) whose every
  // click adds one to Rings.
  static void doorAndBell(GameFolderBuilder& folder) {
    windowedGame(folder, "Hall", 400, 300, {"Rings"});
    FrameSpec hall, garden;
    hall.background = QString::number(0x808080);
    garden.background = QString::number(0x00FF00);
    folder.file("Frames/Hall.fme", frameFileBytes(hall));
    folder.file("Frames/Garden.fme", frameFileBytes(garden));
    HotspotSpec door, bell;
    bell.x = 3750;
    ActionSpec go, ring;
    go.goToFrame = 1;
    go.frameName = "Garden";
    ring.runScript = true;
    ring.script = "Rings = Rings + 1";
    folder.file("FramesData/Hall.fm2", hotspotFileBytes({door, bell}));
    folder.file("FramesData/Hall.fm3", actionFileBytes({go, ring}));
  }

  void SetUp() override {
    RealWindowTest::SetUp();
    // A desktop's usual keyboard: the first repeat after 0.6 s, then 25 a second.
    realScreenUser().setAutoRepeat(600, 40);
  }

  // Tabs until the ring is on the hotspot.
  bool focusHotspot(engine::Game* game, int n) {
    for (int tabs = 0; tabs < 5; ++tabs) {
      user().tap("Tab");
      const bool there = waitUntil([&] {
        return gui([&] {
          const auto f = game->keyboardPlay().focused();
          return f.has_value();
        });
      });
      if (!there) return false;
      if (gui([&] { return game->keyboardPlay().focused()->index == n; })) return true;
    }
    return false;
  }

  // Holds the key until the toolkit has seen it repeat many times, then lets go.
  void holdLong(KeyCounter* counter, const char* key) {
    user().keyDown(key);
    EXPECT_TRUE(waitUntil([&] { return counter->repeats >= kRepeatsOfALongHold; }))
        << "the held key did not repeat: " << counter->repeats;
    user().keyUp(key);
  }

  QString frame() {
    return gui([] { return startup::CurrentFrameName(); });
  }
  QString rings(engine::Game* game) {
    return gui([&] { return game->logic().VariableValueText(QStringLiteral("Rings")).value_or("?"); });
  }
};

TEST_F(HeldKeysTest, SpaceHeldOnAFocusedDoorOutlinesAndNeverGoesThrough) {
  GameFolderBuilder folder;
  doorAndBell(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    ASSERT_TRUE(focusHotspot(game, 1));
    KeyCounter* counter = gui([] { return new KeyCounter(Qt::Key_Space); });
    user().keyDown("space");
    // The outlines come, on the screen too.
    EXPECT_TRUE(waitUntil([&] { return gui([&] { return game->keyboardPlay().outlining(); }); }));
    EXPECT_TRUE(waitUntil([&] {
      const QImage door = user().grab(QRect(pictureToScreen(game, QPoint(99, 99)), QSize(103, 103)));
      for (int y = 0; y < door.height(); ++y)
        for (int x = 0; x < door.width(); ++x)
          if (door.pixel(x, y) == engine::kOutlineColour) return true;
      return false;
    })) << "no outline painted on the screen";
    EXPECT_TRUE(waitUntil([&] { return counter->repeats >= kRepeatsOfALongHold; }))
        << "the held key did not repeat: " << counter->repeats;
    EXPECT_EQ(frame(), "Hall") << "a held Space went through the door";
    user().keyUp("space");
    EXPECT_TRUE(waitUntil([&] { return !gui([&] { return game->keyboardPlay().outlining(); }); }));
    EXPECT_EQ(frame(), "Hall") << "letting go of a held Space went through the door";
    EXPECT_EQ(counter->firstPresses(), 1);
    // A short press still clicks.
    user().tap("space");
    EXPECT_TRUE(waitUntil([&] { return frame() == "Garden"; }));
    gui([&] { delete counter; });
  });
}

TEST_F(HeldKeysTest, EnterHeldOnAFocusedHotspotClicksItOnce) {
  GameFolderBuilder folder;
  doorAndBell(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    ASSERT_TRUE(focusHotspot(game, 2));
    KeyCounter* counter = gui([] { return new KeyCounter(Qt::Key_Return); });
    holdLong(counter, "Return");
    // Then Space taps the bell once more: once that is done, so is all the holding did.
    user().tap("space");
    EXPECT_TRUE(waitUntil([&] { return rings(game) != "0" && rings(game) != "1"; }));
    EXPECT_EQ(rings(game), "2") << "the held Enter rang more than once";
    gui([&] { delete counter; });
  });
}

}  // namespace
}  // namespace qm::testing
