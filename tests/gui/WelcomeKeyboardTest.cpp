// The welcome window without a mouse: it has the keys as soon as it shows,
// Tab and Shift+Tab move a visible focus over Start, Load and Exit, Enter or
// Space presses the focused button, Esc is Exit.
#include <QApplication>
#include <QImage>

#include "RealWindowTest.h"
#include "engine/Game.h"
#include "engine/GameWindowLauncher.h"
#include "startup/Project.h"
#include "startup/frmWelcome.h"
#include "startup/frmWelcomeLabel.h"
#include "support/FrameRecords.h"

namespace qm::testing {
namespace {

class WelcomeKeyboardTest : public RealWindowTest {
 protected:
  static void smallGame(GameFolderBuilder& folder) {
    windowedGame(folder, "Hall", 320, 240);
    FrameSpec hall;
    hall.background = QString::number(0x00FF00);
    folder.file("Frames/Hall.fme", frameFileBytes(hall));
  }

  // The welcome window once it is on screen and takes the keys.
  startup::frmWelcome* openForKeys(const GameFolderBuilder& folder) {
    startup::frmWelcome* welcome = openWelcome(folder);
    if (!welcome) return nullptr;
    if (!waitUntil([&] { return gui([&] { return welcome->isActiveWindow(); }); })) {
      ADD_FAILURE() << "the welcome window never took the keys";
      return nullptr;
    }
    return welcome;
  }
  // Which of Start (0), Load (1) and Exit (2) has the focus; -1 for none.
  int focusedButton(startup::frmWelcome* welcome) {
    return gui([&] {
      QWidget* focus = QApplication::focusWidget();
      for (int i = 0; i < 3; ++i)
        if (focus && (focus == welcome->lblButton[i] || focus == welcome->Img[i])) return i;
      return -1;
    });
  }
  bool focusComesTo(startup::frmWelcome* welcome, int button) {
    return waitUntil([&] { return focusedButton(welcome) == button; });
  }
  // The button as the screen shows it.
  QImage looks(startup::frmWelcome* welcome, int button) {
    return grab(gui([&]() -> QWidget* { return welcome->lblButton[button]; }));
  }
  bool gameStarted() {
    return gui([] {
      engine::Game* game = engine::launchedGameWindow();
      return game && game->isVisible() && startup::CurrentFrameName() == QLatin1String("Hall");
    });
  }
};

TEST_F(WelcomeKeyboardTest, TabAndShiftTabMoveAVisibleFocusOverTheButtonsStartingAtStart) {
  GameFolderBuilder folder;
  smallGame(folder);
  play([&] {
    startup::frmWelcome* welcome = openForKeys(folder);
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(focusComesTo(welcome, 0)) << "Start should have the focus first";
    // Wait for the focus frame to be painted, then see it move.
    QImage startFocused;
    ASSERT_TRUE(waitUntil([&] {
      startFocused = looks(welcome, 0);
      return startFocused == looks(welcome, 0);
    }));
    const QImage loadPlain = looks(welcome, 1);
    user().tap("Tab");
    ASSERT_TRUE(focusComesTo(welcome, 1));
    EXPECT_TRUE(waitUntil([&] { return looks(welcome, 0) != startFocused && looks(welcome, 1) != loadPlain; }))
        << "the focus does not show on the screen";
    user().tap("Tab");
    EXPECT_TRUE(focusComesTo(welcome, 2));
    user().tap("Tab");
    EXPECT_TRUE(focusComesTo(welcome, 0)) << "Tab on Exit goes round to Start";
    user().tap("Tab", {"Shift_L"});
    EXPECT_TRUE(focusComesTo(welcome, 2)) << "Shift+Tab on Start goes round to Exit";
    user().tap("Tab", {"Shift_L"});
    EXPECT_TRUE(focusComesTo(welcome, 1));
    // The frame shows on Load now, as it showed on Start.
    EXPECT_TRUE(waitUntil([&] { return looks(welcome, 0) != startFocused && looks(welcome, 1) != loadPlain; }));
  });
}

TEST_F(WelcomeKeyboardTest, EnterPressesTheFocusedButtonStartFirst) {
  GameFolderBuilder folder;
  smallGame(folder);
  play([&] {
    startup::frmWelcome* welcome = openForKeys(folder);
    ASSERT_TRUE(welcome);
    user().tap("Return");
    EXPECT_TRUE(waitUntil([&] { return gameStarted(); })) << "Enter did not press Start";
    EXPECT_FALSE(gui([&] { return welcome->isVisible(); }));
  });
}

TEST_F(WelcomeKeyboardTest, SpacePressesTheFocusedButton) {
  GameFolderBuilder folder;
  smallGame(folder);
  play([&] {
    startup::frmWelcome* welcome = openForKeys(folder);
    ASSERT_TRUE(welcome);
    user().tap("Tab");
    user().tap("Tab", {"Shift_L"});
    ASSERT_TRUE(focusComesTo(welcome, 0));
    user().tap("space");
    EXPECT_TRUE(waitUntil([&] { return gameStarted(); })) << "Space did not press Start";
  });
}

TEST_F(WelcomeKeyboardTest, EscIsExitWhereverTheFocusIs) {
  GameFolderBuilder folder;
  smallGame(folder);
  play([&] {
    startup::frmWelcome* welcome = openForKeys(folder);
    ASSERT_TRUE(welcome);
    bool* unloaded = gui([&] {
      auto* flag = new bool(false);
      QObject::connect(welcome, &startup::frmWelcome::unloaded, welcome, [flag] { *flag = true; });
      return flag;
    });
    user().tap("Tab");
    ASSERT_TRUE(focusComesTo(welcome, 1));
    user().tap("Escape");
    EXPECT_TRUE(waitUntil([&] { return gui([&] { return *unloaded && !welcome->isVisible(); }); }))
        << "Esc did not end the welcome window";
    EXPECT_FALSE(gameStarted());
    gui([&] { delete unloaded; });
  });
}

}  // namespace
}  // namespace qm::testing
