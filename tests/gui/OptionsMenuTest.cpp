// The Options menu used with the mouse: each click on "Disable Transitions" or
// "Disable Real-Time Effects" switches once, shows its check mark, is stored,
// and changes what the player sees at once.
#include <QImage>

#include "RealWindowTest.h"
#include "engine/Game.h"
#include "engine/RipplingWater.h"
#include "engine/Transitions.h"
#include "startup/Project.h"
#include "startup/Settings.h"
#include "support/ActionRecords.h"
#include "support/FrameRecords.h"
#include "support/HotspotRecords.h"

namespace qm::testing {
namespace {

constexpr QRgb kBlue = qRgb(0, 0, 255);
// The water: (40, 100), 160 x 80 pixels of the picture, all of it water.
const QRect kWater(40, 100, 160, 80);

class OptionsMenuTest : public RealWindowTest {
 protected:
  // Windowed, 400 x 300. Hall: a detailed picture with rippling water, and a
  // door (hotspot 1, beside the water) that slides to the blue Den in 1.5 s;
  // Den's door, in the same place, slides back.
  static void pondGame(GameFolderBuilder& folder) {
    windowedGame(folder, "Hall", 400, 300);
    QImage pond(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) pond.setPixel(x, y, qRgb((x * 37) % 256, (y * 53) % 256, ((x + y) * 7) % 256));
    ASSERT_TRUE(pond.save(folder.path("Frames/pond.png")));
    FrameSpec hall, den;
    hall.backgroundType = 1;
    hall.background = "pond.png";
    den.background = QString::number(0xFF0000);
    folder.file("Frames/Hall.fme", frameFileBytes(hall));
    folder.file("Frames/Den.fme", frameFileBytes(den));
    folder.file("Frames/Hall.rwe", "\"x\",1,2,3,4,5,40,100,160,80,10,8\r\n");
    QImage mask(kWater.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    ASSERT_TRUE(mask.save(folder.path("Frames/Hall.rwm"), "BMP"));
    HotspotSpec door;
    door.x = 3750;  // 250..350 x 100..200 pixels: clear of the water
    ActionSpec there, back;
    there.goToFrame = back.goToFrame = 1;
    there.frameName = "Den";
    back.frameName = "Hall";
    there.useTransition = back.useTransition = 1;
    there.transitionNumber = back.transitionNumber = 1;
    there.transitionDurationMs = back.transitionDurationMs = 1500;
    folder.file("FramesData/Hall.fm2", hotspotFileBytes({door}));
    folder.file("FramesData/Hall.fm3", actionFileBytes({there}));
    folder.file("FramesData/Den.fm2", hotspotFileBytes({door}));
    folder.file("FramesData/Den.fm3", actionFileBytes({back}));
  }

  QString stored(const char* key) {
    return gui([&] { return startup::LoadSetting(QString::fromLatin1(key)); });
  }
  // The water as the screen shows it.
  QImage water(engine::Game* game) {
    return user().grab(QRect(pictureToScreen(game, kWater.topLeft()), kWater.size()));
  }
  // Whether the water on the screen moves (changes between two looks).
  bool waterMoves(engine::Game* game) {
    const QImage first = water(game);
    // Several ripple steps apart, however slowly they come.
    return waitUntil([&] { return water(game) != first; }, 3000);
  }
  bool inDen(engine::Game* game) {
    return gui([] { return startup::CurrentFrameName() == QLatin1String("Den"); }) &&
           user().grab(QRect(pictureToScreen(game, QPoint(20, 20)), QSize(1, 1))).pixel(0, 0) == kBlue;
  }
};

TEST_F(OptionsMenuTest, DisableTransitionsSwitchesOnEachClickIsStoredAndFramesChangeAtOnce) {
  GameFolderBuilder folder;
  pondGame(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    ASSERT_TRUE(clickMenu({"Options", "Disable Transitions"}));
    EXPECT_TRUE(waitUntil([&] { return gui([&] { return game->mnuDisableTransitions->checked(); }); }))
        << "the check mark stayed off";
    EXPECT_EQ(stored(startup::settings_keys::kDisableTransitions), "True");
    EXPECT_FALSE(gui([&] { return game->transitions().GetTransitionsStatus(); }));
    // Through the door: the Den is there without a slide.
    QWidget* door = gui([&]() -> QWidget* { return game->Area.item(1); });
    clickOn(door);
    ASSERT_TRUE(waitUntil([&] { return inDen(game); }));
    EXPECT_EQ(gui([&] { return game->transitions().lastPassCount(); }), 0);

    // Again: switched back on, stored, and the way back slides.
    ASSERT_TRUE(clickMenu({"Options", "Disable Transitions"}));
    EXPECT_TRUE(waitUntil([&] { return !gui([&] { return game->mnuDisableTransitions->checked(); }); }));
    EXPECT_EQ(stored(startup::settings_keys::kDisableTransitions), "False");
    EXPECT_TRUE(gui([&] { return game->transitions().GetTransitionsStatus(); }));
    door = gui([&]() -> QWidget* { return game->Area.item(1); });
    clickOn(door);
    ASSERT_TRUE(waitUntil([&] { return gui([] { return startup::CurrentFrameName() == QLatin1String("Hall"); }); }));
    EXPECT_TRUE(waitUntil([&] { return gui([&] { return game->transitions().lastPassCount() > 0; }); }));
  });
}

TEST_F(OptionsMenuTest, DisableRealTimeEffectsStopsTheWaterAtOnceIsStoredAndStartsItAgain) {
  GameFolderBuilder folder;
  pondGame(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    ASSERT_TRUE(waterMoves(game)) << "the pond's water should ripple on the screen";

    ASSERT_TRUE(clickMenu({"Options", "Disable Real-Time Effects"}));
    EXPECT_TRUE(waitUntil([&] { return gui([&] { return game->mnuDisableEffects->checked(); }); }))
        << "the check mark stayed off";
    EXPECT_EQ(stored(startup::settings_keys::kDisableEffects), "True");
    EXPECT_TRUE(waitUntil([&] { return !gui([&] { return game->TimerRipplingWater.enabled(); }); }));
    // The water stands still on the screen.
    EXPECT_TRUE(waitUntil([&] { return !waterMoves(game); }));

    ASSERT_TRUE(clickMenu({"Options", "Disable Real-Time Effects"}));
    EXPECT_TRUE(waitUntil([&] { return !gui([&] { return game->mnuDisableEffects->checked(); }); }));
    EXPECT_EQ(stored(startup::settings_keys::kDisableEffects), "False");
    EXPECT_TRUE(waitUntil([&] { return waterMoves(game); })) << "the water should ripple again";
  });
}

}  // namespace
}  // namespace qm::testing
