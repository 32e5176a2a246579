// How the game picture reaches the screen: scaled to a display mode or kept
// 1:1, centred on black, pixel for pixel at whole scales; where a picture
// pixel lands in the window; the start hint over a full-screen game.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "GameFixture.h"
#include "engine/GameDisplay.h"
#include "engine/StartHint.h"
#include "platform/InterfaceFont.h"
#include "platform/InterfaceScale.h"
#include "startup/Settings.h"
#include "startup/DisplayResolution.h"

namespace qm::testing {
namespace {

class GameDisplayTest : public GameFixture {
 protected:
  engine::Game& open(GeneralFields g = {}) { return startPlainHall(folder_, g); }
  // Where picture pixel (0, 0) of a full-screen game of that size lands in the window (kept 1:1).
  QPointF shownOrigin(int width, int height) {
    GeneralFields f;
    f.width = width;
    f.height = height;
    auto& g = open(f);
    g.show();
    runEvents(50);
    EXPECT_EQ(g.display().displayScale(), 1.0);
    return g.display().pictureToWindow(QPointF(0, 0));
  }
  static QRect workArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
  GameFolderBuilder folder_;
};

// A 200 x 100 picture of one-pixel checks in two colours, with a red column
// on the left and a blue row at the bottom, so every pixel and the picture's
// edges can be told apart in a grab of the window.
QImage checkPicture() {
  QImage image(200, 100, QImage::Format_RGB32);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      image.setPixel(x, y, (x + y) % 2 ? qRgb(250, 220, 40) : qRgb(20, 90, 60));
  for (int y = 0; y < 100; ++y) image.setPixel(0, y, qRgb(255, 0, 0));
  for (int x = 0; x < 200; ++x) image.setPixel(x, 99, qRgb(0, 0, 255));
  return image;
}

class DisplayModeTest : public GameDisplayTest {
 protected:
  void TearDown() override {
    startup::resetDisplaySettingsForTests();
    GameDisplayTest::TearDown();
  }
  // Full screen, the check picture as the frame's background, the window on screen.
  engine::Game& openChecks(bool windowed = false) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    checkPicture().save(&buffer, "PNG");
    folder_.file("Frames/checks.png", png);
    GeneralFields f;
    f.initialFrame = "Hall";
    f.width = 200;
    f.height = 100;
    f.windowedMode = windowed;
    folder_.general(f);
    FrameSpec spec;
    spec.backgroundType = 1;
    spec.background = "checks.png";
    frame(folder_, "Hall", spec);
    auto& g = startGame(folder_);
    g.StartNewGame();
    g.show();
    runEvents(50);
    return g;
  }
  // The window as it is on screen (hint and all).
  static QImage grabWindow(engine::Game& g) { return g.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // Every picture pixel fills a whole scale x scale block at origin in the grab.
  static ::testing::AssertionResult pixelSharp(const QImage& grab, QPoint origin, int scale) {
    const QImage picture = checkPicture();
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx) {
            const QPoint at = origin + QPoint(x * scale + dx, y * scale + dy);
            if (grab.pixel(at) != picture.pixel(x, y))
              return ::testing::AssertionFailure()
                     << "picture pixel (" << x << ", " << y << ") is " << std::hex << grab.pixel(at) << " at ("
                     << std::dec << at.x() << ", " << at.y() << "), not " << std::hex << picture.pixel(x, y);
          }
    return ::testing::AssertionSuccess();
  }
  static bool black(const QImage& grab, int x, int y) { return grab.pixel(x, y) == qRgb(0, 0, 0); }
};

TEST_F(DisplayModeTest, WithoutAModeSwitchThePictureKeepsItsOwnSizeCentredOnBlack) {
  auto& g = openChecks();
  const QImage shot = grabWindow(g);
  ASSERT_EQ(shot.size(), g.size());
  ASSERT_GT(shot.width(), 200);
  ASSERT_GT(shot.height(), 100);
  EXPECT_EQ(g.display().displayScale(), 1.0);
  const QPoint origin((shot.width() - 200) / 2, (shot.height() - 100) / 2);
  EXPECT_TRUE(pixelSharp(shot, origin, 1));
  // Black all round it.
  EXPECT_TRUE(black(shot, origin.x() - 1, origin.y() + 50));
  EXPECT_TRUE(black(shot, origin.x() + 200, origin.y() + 50));
  EXPECT_TRUE(black(shot, origin.x() + 100, origin.y() + 100));
  EXPECT_TRUE(black(shot, 0, shot.height() - 1));
  EXPECT_TRUE(black(shot, shot.width() - 1, shot.height() - 1));
}

TEST_F(DisplayModeTest, TheProjectsModeFillsTheScreenAtAWholeScalePixelForPixel) {
  auto& g = openChecks();
  const QSize screen = g.size();
  ASSERT_EQ(screen.width() % 2, 0);
  ASSERT_EQ(screen.height() % 2, 0);
  // The screen stands for a mode half its size: every pixel becomes two by two.
  startup::ApplyDisplaySettings(screen.width() / 2, screen.height() / 2, false);
  g.CenterWindowAndPictureBox();
  runEvents(50);
  EXPECT_EQ(g.display().displayScale(), 2.0);
  const QImage shot = grabWindow(g);
  ASSERT_EQ(shot.size(), screen);
  const QPoint origin((screen.width() - 400) / 2, (screen.height() - 200) / 2);
  EXPECT_TRUE(pixelSharp(shot, origin, 2));
  EXPECT_TRUE(black(shot, origin.x() - 1, origin.y() + 100));
  EXPECT_TRUE(black(shot, origin.x() + 400, origin.y() + 100));
  EXPECT_TRUE(black(shot, origin.x() + 200, origin.y() + 200));
  EXPECT_TRUE(black(shot, 0, screen.height() - 1));
}

// Frame captures and keyboard play find the picture on screen through this mapping.
TEST_F(DisplayModeTest, APicturePixelMapsToWhereTheScaleDrawsIt) {
  auto& g = openChecks();
  const QSize screen = g.size();
  startup::ApplyDisplaySettings(screen.width() / 2, screen.height() / 2, false);
  g.CenterWindowAndPictureBox();
  runEvents(50);
  ASSERT_EQ(g.display().displayScale(), 2.0);
  const QPointF origin((screen.width() - 400) / 2, (screen.height() - 200) / 2);
  EXPECT_EQ(g.display().pictureToWindow(QPointF(0, 0)), origin);
  EXPECT_EQ(g.display().pictureToWindow(QPointF(10, 5)), origin + QPointF(20, 10));
  EXPECT_EQ(g.display().pictureToWindow(QPointF(199, 99)), origin + QPointF(398, 198));
}

TEST_F(DisplayModeTest, AModeOfAnotherShapeKeepsTheAspectWithBlackBars) {
  auto& g = openChecks();
  const QSize screen = g.size();
  // A mode twice as wide as the screen is tall: the height has room to spare.
  const int modeWidth = screen.width() / 2;
  const int modeHeight = screen.width() / 4;
  startup::ApplyDisplaySettings(modeWidth, modeHeight, false);
  g.CenterWindowAndPictureBox();
  runEvents(50);
  const double scale = std::min(double(screen.width()) / modeWidth, double(screen.height()) / modeHeight);
  EXPECT_DOUBLE_EQ(g.display().displayScale(), scale);
  const QImage shot = grabWindow(g);
  const int shownWidth = qRound(200 * scale), shownHeight = qRound(100 * scale);
  const QPoint origin((screen.width() - shownWidth) / 2, (screen.height() - shownHeight) / 2);
  // The red left column and the blue bottom row land where the scale puts them.
  EXPECT_EQ(qRed(shot.pixel(origin.x(), origin.y() + shownHeight / 2)), 255);
  EXPECT_EQ(qBlue(shot.pixel(origin.x() + shownWidth / 2, origin.y() + shownHeight - 1)), 255);
  EXPECT_TRUE(black(shot, origin.x() - 2, origin.y() + shownHeight / 2));
  EXPECT_TRUE(black(shot, origin.x() + shownWidth / 2, origin.y() + shownHeight + 1));
  // Leaving the mode brings the picture back to its own size.
  startup::RestoreDisplaySettings();
  g.CenterWindowAndPictureBox();
  runEvents(50);
  EXPECT_EQ(g.display().displayScale(), 1.0);
  EXPECT_TRUE(pixelSharp(grabWindow(g), QPoint((screen.width() - 200) / 2, (screen.height() - 100) / 2), 1));
}

TEST_F(DisplayModeTest, AModeSwitchWhilePlayingRePlacesThePicture) {
  auto& g = openChecks();
  const QSize screen = g.size();
  ASSERT_NE(screen.width(), 640);
  startup::SwitchDisplayResolution(1);  // as a script's ChangeDisplayResolution 1 does
  runEvents(20);
  EXPECT_DOUBLE_EQ(g.display().displayScale(), std::min(screen.width() / 640.0, screen.height() / 480.0));
}

// A window stands on the real desktop: its scale comes from the work area, not from the mode.
TEST_F(DisplayModeTest, WindowedModeIgnoresTheModeSwitch) {
  GeneralFields f;
  f.windowedMode = true;
  f.width = 320;
  f.height = 200;
  startup::ApplyDisplaySettings(160, 100, false);
  auto& g = open(f);
  const QSize room = workArea().size();
  EXPECT_EQ(g.display().displayScale(), std::min(room.width() / 320, room.height() / 250));
}

// ---- Playing in a window ------------------------------------------------------------------

class WindowedPlayTest : public DisplayModeTest {
 protected:
  void SetUp() override {
    DisplayModeTest::SetUp();
    ASSERT_GE(workArea().width(), 600) << "the screen is too small for these tests";
    ASSERT_GE(workArea().height(), 450) << "the screen is too small for these tests";
  }
  // The check picture's game, played in a window, on screen.
  engine::Game& openWindowed() {
    return openChecks(true);
  }
  static int barHeight(engine::Game& g) { return g.display().menuBar()->isHidden() ? 0 : g.display().menuBar()->height(); }
  // Where the picture stands in the window: below the bar, centred in the room left.
  static QPoint pictureOrigin(engine::Game& g) { return g.display().pictureToWindow(QPointF(0, 0)).toPoint(); }
};

TEST_F(WindowedPlayTest, TheWindowOpensAtTheLargestWholeScaleThatFitsTheWorkArea) {
  auto& g = openWindowed();
  // 200 x 100 under the bar: three times fits the smallest screen these tests
  // run on; one more would not fit (the window's border is not known before
  // it is shown: a usual one is allowed for).
  const QSize room = workArea().size() - QSize(8, 32);
  const double scale = g.display().displayScale();
  const int expected = static_cast<int>(scale);
  ASSERT_EQ(scale, expected);
  EXPECT_GE(expected, 3);
  EXPECT_TRUE((expected + 1) * 200 > room.width() || (expected + 1) * 100 + barHeight(g) > room.height());
  EXPECT_EQ(g.width(), 200 * expected);
  EXPECT_NEAR(g.height(), 100 * expected + barHeight(g), 1);  // the bar's height before and after it is shown
  EXPECT_FALSE(g.display().menuBar()->isHidden());
  // Pixel for pixel at that scale, right under the bar, with no black around it.
  EXPECT_EQ(pictureOrigin(g), QPoint(0, barHeight(g)));
  EXPECT_TRUE(pixelSharp(grabWindow(g), pictureOrigin(g), expected));
  // In the middle of the work area.
  EXPECT_NEAR(g.frameGeometry().center().x(), workArea().center().x(), 2);
  EXPECT_NEAR(g.frameGeometry().center().y(), workArea().center().y(), 2);
}

TEST_F(WindowedPlayTest, AResizedWindowScalesThePictureWithItsAspectKept) {
  auto& g = openWindowed();
  g.resize(500, 420);
  runEvents(50);
  ASSERT_EQ(g.size(), QSize(500, 420));
  const int bar = barHeight(g);
  ASSERT_GT(bar, 0);
  const double scale = std::min(500 / 200.0, (420.0 - bar) / 100);
  EXPECT_DOUBLE_EQ(g.display().displayScale(), scale);
  EXPECT_GT(scale, 2.0);
  const QImage shot = grabWindow(g);
  const int shownWidth = qRound(200 * scale), shownHeight = qRound(100 * scale);
  const QPoint origin = pictureOrigin(g);
  EXPECT_EQ(origin, QPoint((500 - shownWidth) / 2, bar + (420 - bar - shownHeight) / 2));
  // The picture covers just that rectangle (smoothed, at this scale): inside
  // each edge it is painted, outside it is black.
  const QRect shown(origin, QSize(shownWidth, shownHeight));
  for (const QPoint& inside : {shown.topLeft(), shown.topRight(), shown.bottomLeft(), shown.bottomRight(), shown.center()})
    EXPECT_FALSE(black(shot, inside.x(), inside.y())) << inside.x() << "," << inside.y();
  // It fills the room one way (here across) and leaves black the other way.
  EXPECT_EQ(shownWidth, 500);
  ASSERT_LT(shown.bottom(), 418);
  EXPECT_TRUE(black(shot, shown.center().x(), shown.bottom() + 2));
  EXPECT_TRUE(black(shot, shown.center().x(), shown.top() - 2));
  // Made smaller than the picture, the picture shrinks with it.
  g.resize(150, 200);
  runEvents(50);
  EXPECT_DOUBLE_EQ(g.display().displayScale(), 150 / 200.0);
}

TEST_F(WindowedPlayTest, TheSizeThePlayerLeftIsKeptForTheGame) {
  auto& g = openWindowed();
  g.resize(450, 330);
  runEvents(50);
  // Alt+Enter twice: full screen and back, at the size it had.
  g.display().toggleWindowedPlay();
  runEvents(50);
  ASSERT_TRUE(g.display().fullScreen());
  g.display().toggleWindowedPlay();
  runEvents(50);
  EXPECT_EQ(g.size(), QSize(450, 330));
  EXPECT_EQ(startup::LoadSetting(startup::settings_keys::kWindowedSize), "450x330");
  // Closed and played again, the window comes back at that size.
  g.resize(420, 300);
  runEvents(50);
  g.close();
  EXPECT_EQ(startup::LoadSetting(startup::settings_keys::kWindowedSize), "420x300");
  auto& again = startGame(folder_);
  EXPECT_EQ(again.size(), QSize(420, 300));
}

TEST_F(WindowedPlayTest, AKeptSizeTooLargeForTheWorkAreaGivesTheWholeScale) {
  startup::SaveSetting(QString::fromLatin1(startup::settings_keys::kWindowedSize), "9000x9000");
  auto& g = openWindowed();
  EXPECT_EQ(g.display().displayScale(), std::round(g.display().displayScale()));
  EXPECT_LE(g.width(), workArea().width());
}

// ---- The player's own windows grow with the picture ---------------------------------------

class InterfaceScaleTest : public DisplayModeTest {
 protected:
  static double pointSize(const QFont& f) { return QFontInfo(f).pointSizeF(); }
  static double ownPointSize() { return pointSize(platform::InterfaceFontAt(1.0)); }
};

TEST_F(InterfaceScaleTest, AtTwiceTheSizeTheMenuBarAndItsMenusAreTwiceAsLarge) {
  auto& g = openChecks();
  g.input().KeyDown(27, 0);  // the menu bar
  runEvents(20);
  const int ownHeight = g.display().menuBar()->height();
  const int ownMenuWidth = g.mnuOptions->menu()->sizeHint().width();
  EXPECT_EQ(platform::InterfaceScale(), 1.0);
  const QSize screen = g.size();
  startup::ApplyDisplaySettings(screen.width() / 2, screen.height() / 2, false);
  g.CenterWindowAndPictureBox();
  g.input().KeyDown(27, 0);
  runEvents(50);
  ASSERT_EQ(g.display().displayScale(), 2.0);
  EXPECT_EQ(platform::InterfaceScale(), 2.0);
  EXPECT_NEAR(pointSize(g.display().menuBar()->font()), 2 * ownPointSize(), 0.6);
  // The style's fixed margins around the text stay as they are.
  EXPECT_GE(g.display().menuBar()->height(), 1.6 * ownHeight);
  // A menu takes the size of the moment it opens.
  QMenu* options = g.mnuOptions->menu();
  options->popup(g.mapToGlobal(QPoint(10, 40)));
  runEvents(20);
  EXPECT_NEAR(pointSize(options->font()), 2 * ownPointSize(), 0.6);
  EXPECT_GE(options->sizeHint().width(), 1.6 * ownMenuWidth);
  options->hide();
}

TEST_F(InterfaceScaleTest, TheGameWindowClosingBringsTheWindowsBackToTheirOwnSize) {
  auto& g = openChecks();
  const QSize screen = g.size();
  startup::ApplyDisplaySettings(screen.width() / 3, screen.height() / 3, false);
  g.CenterWindowAndPictureBox();
  runEvents(20);
  EXPECT_GT(platform::InterfaceScale(), 2.9);
  g.close();
  EXPECT_EQ(platform::InterfaceScale(), 1.0);
}

class StartHintTest : public GameDisplayTest {
 protected:
  void TearDown() override {
    engine::StartHint::setTimesForTests(5000, 1500);
    GameDisplayTest::TearDown();
  }
  static bool hintShown(engine::Game& g) { return !g.display().startHint()->isHidden(); }
};

TEST_F(StartHintTest, FullScreenShowsHowToReachTheMenuOutsideTheFramePicture) {
  FrameSpec spec;
  spec.background = QString::number(0x40A020);
  frame(folder_, "Hall", spec);
  GeneralFields f;
  f.initialFrame = "Hall";
  f.width = 200;
  f.height = 100;
  folder_.general(f);
  auto& g = startGame(folder_);
  g.StartNewGame();
  g.show();
  runEvents(30);
  ASSERT_TRUE(hintShown(g));
  EXPECT_EQ(g.display().startHint()->text(), QString::fromUtf8("Esc or right-click: menu \u00B7 Ctrl+Q: quit"));
  EXPECT_FALSE(g.PictureBox->isAncestorOf(g.display().startHint()));
  // The frame picture, as screenshots and captures take it, is the frame alone.
  const QImage picture = g.display().framePicture().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(picture.size(), QSize(200, 100));
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) ASSERT_EQ(picture.pixel(x, y), qRgb(0x20, 0xA0, 0x40)) << x << "," << y;
  // On screen, it is there.
  const QImage shot = g.grab().toImage();
  const QRect hint = g.display().startHint()->geometry();
  EXPECT_NE(shot.pixel(hint.center()), qRgb(0, 0, 0));
}

TEST_F(StartHintTest, WindowedModeNeedsNoHint) {
  GeneralFields f;
  f.windowedMode = true;
  auto& g = open(f);
  EXPECT_FALSE(hintShown(g));
}

TEST_F(StartHintTest, TheHintFadesAway) {
  engine::StartHint::setTimesForTests(20, 20);
  auto& g = open();
  ASSERT_TRUE(hintShown(g));
  runEvents(300);
  EXPECT_FALSE(hintShown(g));
  EXPECT_FALSE(engine::StartHint::menuKnown());  // fading is not finding the menu
}

TEST_F(StartHintTest, OnceTheMenuWasOpenedTheHintIsNotShownAgain) {
  auto& g = open();
  ASSERT_TRUE(hintShown(g));
  g.input().KeyDown(27, 0);
  EXPECT_FALSE(hintShown(g));
  EXPECT_TRUE(engine::StartHint::menuKnown());
  g.input().KeyDown(27, 0);
  g.StartNewGame();
  EXPECT_FALSE(hintShown(g));
}

TEST_F(StartHintTest, ARightClickFindsTheMenuToo) {
  auto& g = open();
  g.input().BackgroundMouseDown(engine::kRightButton);
  EXPECT_FALSE(hintShown(g));
  EXPECT_TRUE(engine::StartHint::menuKnown());
}

TEST_F(StartHintTest, AGameWithoutAMenuBarOnlyMentionsQuitting) {
  GeneralFields f;
  f.noMenuBar = true;
  auto& g = open(f);
  ASSERT_TRUE(hintShown(g));
  EXPECT_EQ(g.display().startHint()->text(), "Ctrl+Q: quit");
  g.input().KeyDown(27, 0);  // no menu to show: the hint stays
  EXPECT_TRUE(hintShown(g));
}

TEST_F(GameDisplayTest, PictureLargerThanTheScreenStaysOneToOneAtTheTopLeft) {
  const QPointF origin = shownOrigin(3000, 2000);
  EXPECT_NEAR(origin.x(), 0, 1);
  EXPECT_NEAR(origin.y(), 0, 1);
}

TEST_F(GameDisplayTest, PictureTallerThanTheScreenIsStillCentredAcross) {
  const QPointF origin = shownOrigin(100, 4000);
  EXPECT_NEAR(origin.x(), game().width() / 2 - 50, 1);
  EXPECT_NEAR(origin.y(), 0, 1);
}

}  // namespace
}  // namespace qm::testing
