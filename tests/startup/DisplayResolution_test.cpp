// Display modes: switching selects a virtual mode that callers see, the real
// desktop comes back on restore, and the large-fonts test.
#include "WelcomeFixture.h"
#include "platform/VbError.h"
#include "startup/Screen.h"

namespace qm::testing {
namespace {

using namespace qm::startup;

class DisplayModes : public WelcomeTest {
 protected:
  void useScreen(int width, int height) {
    setRealScreenSizeForTests(QSize(width, height));
    RecordDisplaySettings();
  }
};

TEST_F(DisplayModes, SwitchSelectsAVirtualModeThatDesktopSizeReports) {
  useScreen(1920, 1080);
  int centred = 0;
  setCenterGameWindowHook([&] { ++centred; });

  SwitchDisplayResolution(2);

  ASSERT_TRUE(VirtualDisplayMode().has_value());
  EXPECT_EQ(*VirtualDisplayMode(), QSize(800, 600));
  EXPECT_EQ(DesktopWidth(), 800);
  EXPECT_EQ(DesktopHeight(), 600);
  EXPECT_EQ(RealScreenSize(), QSize(1920, 1080));
  EXPECT_EQ(centred, 1);
  EXPECT_EQ(displayModeChangeCount(), 1);
  EXPECT_EQ(dialogs->count(), 0u);
}

TEST_F(DisplayModes, ScreenSizeInTwipsFollowsTheVirtualMode) {
  useScreen(1920, 1080);
  InstallDisplayResolution();
  EXPECT_EQ(ScreenWidthTwips(), 1920 * 15);
  SwitchDisplayResolution(3);
  EXPECT_EQ(ScreenWidthTwips(), 1024 * 15);
  EXPECT_EQ(ScreenHeightTwips(), 768 * 15);
  RestoreDisplaySettings();
  EXPECT_EQ(ScreenHeightTwips(), 1080 * 15);
}

TEST_F(DisplayModes, RestoreBringsBackTheRealDesktop) {
  useScreen(1920, 1080);
  int heard = 0;
  addDisplayModeListener([&] { ++heard; });
  SwitchDisplayResolution(1);
  ASSERT_EQ(DesktopWidth(), 640);

  RestoreDisplaySettings();

  EXPECT_FALSE(VirtualDisplayMode().has_value());
  EXPECT_EQ(DesktopWidth(), 1920);
  EXPECT_EQ(DesktopHeight(), 1080);
  EXPECT_EQ(CurrentRefreshRate(), InitialRefreshRate());
  EXPECT_EQ(heard, 2);
}

TEST_F(DisplayModes, RestoreWithoutASwitchChangesNothing) {
  useScreen(1920, 1080);
  RestoreDisplaySettings();
  EXPECT_EQ(displayModeChangeCount(), 0);
}

TEST_F(DisplayModes, SwitchToTheCurrentWidthDoesNothing) {
  useScreen(640, 480);
  EXPECT_TRUE(IsProjectResolutionActive(0));
  SwitchDisplayResolution(1);
  EXPECT_EQ(displayModeChangeCount(), 0);
}

TEST_F(DisplayModes, OnlyTheWidthDecidesWhetherToSwitch) {
  useScreen(800, 700);
  EXPECT_FALSE(IsProjectResolutionActive(1));
  SwitchDisplayResolution(2);
  EXPECT_EQ(displayModeChangeCount(), 0);
  EXPECT_EQ(DesktopHeight(), 700);
}

TEST_F(DisplayModes, ProjectResolutionIsComparedWithTheInitialDesktop) {
  useScreen(1024, 768);
  EXPECT_TRUE(IsProjectResolutionActive(2));
  EXPECT_FALSE(IsProjectResolutionActive(1));
  EXPECT_FALSE(IsProjectResolutionActive(3));
  // A later switch does not change what the desktop was at start.
  SwitchDisplayResolution(1);
  EXPECT_TRUE(IsProjectResolutionActive(2));
  EXPECT_FALSE(IsProjectResolutionActive(0));
}

TEST_F(DisplayModes, WithoutStartUpTheRealDesktopCountsAsInitial) {
  setRealScreenSizeForTests(QSize(800, 600));
  EXPECT_TRUE(IsProjectResolutionActive(1));
  setRealScreenSizeForTests(QSize(1280, 1024));
  resetDisplaySettingsForTests();
  SwitchDisplayResolution(1);
  RestoreDisplaySettings();
  EXPECT_EQ(DesktopWidth(), 1280);
  EXPECT_FALSE(VirtualDisplayMode().has_value());
}

TEST_F(DisplayModes, VirtualModeFillsTheRealScreenWithBlackBars) {
  useScreen(1920, 1080);
  EXPECT_EQ(VirtualModeViewport(), QRect(0, 0, 1920, 1080));
  EXPECT_DOUBLE_EQ(VirtualModeScale(), 1.0);
  SwitchDisplayResolution(2);  // 800x600: bars left and right
  EXPECT_DOUBLE_EQ(VirtualModeScale(), 1.8);
  EXPECT_EQ(VirtualModeViewport(), QRect(240, 0, 1440, 1080));

  resetDisplaySettingsForTests();
  useScreen(1280, 1024);
  SwitchDisplayResolution(3);  // 1024x768: bars above and below
  EXPECT_DOUBLE_EQ(VirtualModeScale(), 1.25);
  EXPECT_EQ(VirtualModeViewport(), QRect(0, 32, 1280, 960));
}

TEST_F(DisplayModes, UnknownCodesDoNothing) {
  useScreen(1920, 1080);
  for (int16_t code : {int16_t(0), int16_t(4), int16_t(-1)}) SwitchDisplayResolution(code);
  EXPECT_EQ(displayModeChangeCount(), 0);
}

TEST_F(DisplayModes, ImpossibleModeIsReportedAndChangesNothing) {
  useScreen(1920, 1080);
  ApplyDisplaySettings(0, 600, false);
  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_TRUE(dialogs->last().text.endsWith(" Unable to change display resolution. Mode not supported."))
      << dialogs->last().text.toStdString();
  EXPECT_EQ(dialogs->last().icon, platform::MsgIcon::Critical);
  EXPECT_FALSE(VirtualDisplayMode().has_value());
}

TEST_F(DisplayModes, AFailureDuringTheSwitchIsReportedWithItsDescription) {
  useScreen(1920, 1080);
  setCenterGameWindowHook([] { throw VbError(5, "Invalid procedure call or argument"); });
  SwitchDisplayResolution(2);
  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_TRUE(dialogs->last().text.endsWith(" Error changing display resolution. Invalid procedure call or argument"))
      << dialogs->last().text.toStdString();
}

TEST_F(DisplayModes, ApplyingTheRealSizeLeavesVirtualModeOff) {
  useScreen(1920, 1080);
  ApplyDisplaySettings(800, 600, false);
  ASSERT_TRUE(VirtualDisplayMode().has_value());
  ApplyDisplaySettings(1920, 1080, false);
  EXPECT_FALSE(VirtualDisplayMode().has_value());
}

TEST_F(DisplayModes, SixteenPixelFontsAreSmallSeventeenAreLarge) {
  setSystemFontPixelHeightForTests(16);
  EXPECT_TRUE(HasSmallFonts());
  setSystemFontPixelHeightForTests(17);
  EXPECT_FALSE(HasSmallFonts());
  setSystemFontPixelHeightForTests(std::nullopt);
  const QFont font = QGuiApplication::font();
  EXPECT_EQ(HasSmallFonts(), QFontInfo(font).pixelSize() <= 16);
}

}  // namespace
}  // namespace qm::testing
