// The welcome window's layout: which lines appear, where, and how tall the
// window becomes; the resolution offer and its caption; the Load button.
#include <QCheckBox>

#include "WelcomeFixture.h"
#include "startup/Settings.h"
#include "startup/frmWelcomeLabel.h"

namespace qm::testing {
namespace {

using startup::frmWelcome;

GeneralFields bareProject() {
  GeneralFields f;
  f.gameTitle = "Bare";
  f.versionText = "";
  f.authorName = "";
  f.authorEmail = "";
  f.authorWebSite = "";
  f.resolutionOffer = 0;
  return f;
}

GeneralFields fullProject() {
  GeneralFields f;
  f.gameTitle = "Full";
  f.versionText = "Version 2";
  f.authorName = "Ada Writer";
  f.authorEmail = "ada@example.org";
  f.authorWebSite = "www.example.org";
  f.resolutionOffer = 1;
  f.projectResolution = 1;
  return f;
}

class WelcomeLayout : public WelcomeTest {};

TEST_F(WelcomeLayout, ProjectWithoutInformationIsTitleButtonsAndLogoOnly) {
  GameFolderBuilder game;
  game.general(bareProject());
  auto w = load(game);
  ASSERT_TRUE(loaded);

  EXPECT_EQ(w->windowHeightTwips(), w->borderAllowanceTwips() + 3000 + 150);
  EXPECT_EQ(w->windowWidthTwips(), 4800);
  EXPECT_TRUE(shown(w->txtAdventureName));
  EXPECT_EQ(w->txtAdventureName->text(), "Bare");
  for (QWidget* hidden : std::initializer_list<QWidget*>{w->txtVersion, w->lblAuthor, w->txtAuthor, w->lblEmail,
                                                         w->txtEmail, w->lblHomepage, w->txtHomepage,
                                                         w->chkResolution, w->lblResolution}) {
    EXPECT_FALSE(shown(hidden)) << hidden->objectName().toStdString();
  }
  EXPECT_TRUE(shown(w->imgLogo));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(shown(w->lblButton[i])) << i;
  EXPECT_EQ(dialogs->count(), 0u);
}

TEST_F(WelcomeLayout, AllFourLinesAndTheOfferStackDownFrom3000) {
  GameFolderBuilder game;
  game.general(fullProject());
  auto w = load(game);
  ASSERT_TRUE(loaded);

  EXPECT_EQ(frmWelcome::twipsGeometry(w->txtVersion).y(), 3000);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->txtAuthor).y(), 3255);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->lblAuthor).y(), 3255);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->txtEmail).y(), 3510);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->lblEmail).y(), 3510);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->txtHomepage).y(), 3765);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->lblResolution).y(), 4020);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->chkResolution).y(), 4050);
  // Y ends at 3000 + 5 x 255 = 4275.
  EXPECT_EQ(w->windowHeightTwips(), w->borderAllowanceTwips() + 4425);

  EXPECT_EQ(w->txtVersion->text(), "Version 2");
  EXPECT_EQ(w->txtAuthor->text(), "Ada Writer");
  EXPECT_EQ(w->txtEmail->text(), "ada@example.org");
  EXPECT_EQ(w->txtHomepage->text(), "www.example.org");
  EXPECT_EQ(w->lblAuthor->text(), "Created By:");
  EXPECT_EQ(w->lblEmail->text(), "E-mail:");
  EXPECT_EQ(w->lblHomepage->text(), "Web site:");
  EXPECT_EQ(w->lblResolution->text(), "Change display resolution to 800x600.");
  EXPECT_TRUE(shown(w->chkResolution));
  EXPECT_TRUE(w->chkResolution->isChecked());
}

TEST_F(WelcomeLayout, MissingLinesCloseUpWithoutGaps) {
  GameFolderBuilder game;
  GeneralFields f = fullProject();
  f.versionText = "";
  f.authorName = "";
  f.resolutionOffer = 0;
  game.general(f);
  auto w = load(game);

  EXPECT_FALSE(shown(w->txtVersion));
  EXPECT_EQ(w->txtVersion->text(), "");
  EXPECT_EQ(frmWelcome::twipsGeometry(w->txtEmail).y(), 3000);
  EXPECT_EQ(frmWelcome::twipsGeometry(w->txtHomepage).y(), 3255);
  EXPECT_EQ(w->windowHeightTwips(), w->borderAllowanceTwips() + 3510 + 150);
}

TEST_F(WelcomeLayout, WindowIsCentredOnTheScreenWithItsFinalHeight) {
  GameFolderBuilder game;
  game.general(fullProject());
  auto w = load(game);
  EXPECT_EQ(w->windowLeftTwips(), 1920 * 15 / 2 - 4800 / 2);
  EXPECT_EQ(w->windowTopTwips(), 1080 * 15 / 2 - w->windowHeightTwips() / 2);
  EXPECT_EQ(w->pos(), QPoint(w->windowLeftTwips() / 15, w->windowTopTwips() / 15));
  EXPECT_EQ(w->height() * 15, w->windowHeightTwips());
}

TEST_F(WelcomeLayout, OfferIsHiddenWhenTheDisplayAlreadyHasTheProjectSize) {
  startup::setRealScreenSizeForTests(QSize(800, 600));
  GameFolderBuilder game;
  game.general(fullProject());
  auto w = load(game);
  EXPECT_FALSE(shown(w->chkResolution));
  EXPECT_FALSE(shown(w->lblResolution));
  EXPECT_EQ(w->windowHeightTwips(), w->borderAllowanceTwips() + 4020 + 150);
}

TEST_F(WelcomeLayout, OfferIsHiddenUnlessTheOfferFieldIsOne) {
  GameFolderBuilder game;
  GeneralFields f = fullProject();
  f.resolutionOffer = 2;
  game.general(f);
  auto w = load(game);
  EXPECT_FALSE(shown(w->lblResolution));
}

TEST_F(WelcomeLayout, OfferCaptionEndsWithTheProjectSize) {
  GameFolderBuilder game;
  GeneralFields f = fullProject();
  f.projectResolution = 2;
  game.general(f);
  auto w = load(game);
  EXPECT_EQ(w->lblResolution->text(), "Change display resolution to 1024x768.");
}

TEST(ResolutionOfferCaption, DropsTrailingDotAndOldSizeInEveryWriting) {
  using startup::frmWelcome;
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("Switch to 640 x 480.", 1), "Switch to 800x600.");
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("Switch to 640X480.", 1), "Switch to 800x600.");
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("Switch to 640*480", 2), "Switch to 1024x768.");
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("Switch to 640 * 480", 0), "Switch to 640x480.");
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("Change display resolution to", 1),
            "Change display resolution to 800x600.");
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("Go   ", 0), "Go 640x480.");
  // Too short to hold the size: only the dot goes.
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("640x480", 1), "640x480 800x600.");
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption(".", 1), ". 800x600.");
  // An unknown project resolution appends nothing.
  EXPECT_EQ(frmWelcome::ResolutionOfferCaption("Switch.", 7), "Switch");
}

TEST_F(WelcomeLayout, CustomOfferTextGetsTheProjectSize) {
  GameFolderBuilder game;
  game.general(fullProject());
  QStringList texts;
  for (int i = 1; i <= 7; ++i) texts << QString();
  texts[0] = "Start";
  texts[1] = "Load";
  texts[2] = "Exit";
  texts[6] = "Switch to 640 x 480.";
  game.texts(2, texts);
  auto w = load(game);
  EXPECT_EQ(w->lblResolution->text(), "Switch to 800x600.");
}

TEST_F(WelcomeLayout, NoLoadingRemovesLoadAndMovesExitUp) {
  GameFolderBuilder game;
  GeneralFields f = bareProject();
  f.noLoading = true;
  game.general(f);
  auto w = load(game);
  EXPECT_FALSE(shown(w->lblButton[1]));
  EXPECT_FALSE(shown(w->Img[1]));
  EXPECT_TRUE(shown(w->lblButton[2]));
  EXPECT_EQ(frmWelcome::twipsGeometry(w->lblButton[2]).y(), 1560);
}

TEST_F(WelcomeLayout, EmptyLoadTextRemovesLoadAndMovesExitUp) {
  GameFolderBuilder game;
  game.general(bareProject());
  game.texts(2, {"Begin", "", "Quit"});
  auto w = load(game);
  EXPECT_FALSE(shown(w->lblButton[1]));
  EXPECT_EQ(w->lblButton[0]->text(), "Begin");
  EXPECT_EQ(w->lblButton[2]->text(), "Quit");
  EXPECT_EQ(frmWelcome::twipsGeometry(w->lblButton[2]).y(), 1560);
}

TEST_F(WelcomeLayout, ButtonsCarryTheInterfaceTextsOfTheWording) {
  GameFolderBuilder game;
  game.general(bareProject());
  game.texts(1);
  auto w = load(game);
  EXPECT_EQ(w->lblButton[0]->text(), "Start New Game");
  EXPECT_EQ(w->lblButton[1]->text(), "Load Game...");
  EXPECT_EQ(w->lblButton[2]->text(), "Exit");
  EXPECT_EQ(frmWelcome::twipsGeometry(w->lblButton[2]).y(), 2040);
}

TEST_F(WelcomeLayout, HideLogoHidesIt) {
  GameFolderBuilder game;
  GeneralFields f = bareProject();
  f.hideLogo = true;
  game.general(f);
  auto w = load(game);
  EXPECT_FALSE(shown(w->imgLogo));
}

TEST_F(WelcomeLayout, LoadStoresTheProjectFolderUnderPath) {
  GameFolderBuilder game;
  GeneralFields f = bareProject();
  f.projectName = "PathGame";
  game.general(f);
  auto w = load(game);
  EXPECT_EQ(platform::SettingsStore::instance().get("PathGame", "Path"), startup::project().paths.project);
  EXPECT_FALSE(startup::project().paths.project.isEmpty());
}

TEST_F(WelcomeLayout, MissingProjectInformationEndsTheProgram) {
  GameFolderBuilder game;  // no Config/General
  auto w = load(game);
  EXPECT_FALSE(loaded);
  ASSERT_GE(dialogs->count(), 1u);
  EXPECT_TRUE(dialogs->last().text.startsWith("The following file is missing:"));
}

TEST_F(WelcomeLayout, LargeFontsDeclinedEndsTheProgram) {
  startup::setSystemFontPixelHeightForTests(17);
  GameFolderBuilder game;
  game.general(bareProject());
  dialogs->queueAnswer(platform::MsgResult::No);
  auto w = load(game);
  EXPECT_FALSE(loaded);
  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_EQ(dialogs->last().title, "!!!");
}

TEST_F(WelcomeLayout, ResolutionCheckBoxRemembersItsStateAcrossStarts) {
  GameFolderBuilder game;
  game.general(fullProject());
  {
    auto w = load(game);
    ASSERT_TRUE(w->chkResolution->isChecked());
    w->lblResolution->click();
    EXPECT_FALSE(w->chkResolution->isChecked());
    EXPECT_EQ(startup::LoadSetting("ChangeResolution"), "0");
  }
  startup::resetProjectForTests();
  auto again = load(game);
  EXPECT_FALSE(again->chkResolution->isChecked());
  again->lblResolution->click();
  EXPECT_TRUE(again->chkResolution->isChecked());
  EXPECT_EQ(startup::LoadSetting("ChangeResolution"), "1");
}

TEST_F(WelcomeLayout, LogoVariantFollowsTheSelectors) {
  GameFolderBuilder game;
  game.general(bareProject());
  auto w = load(game);
  EXPECT_EQ(w->logoVariant(), 0);
  EXPECT_EQ(w->imgLogo->pixmap().toImage(), w->imgLogos[0].toImage());
}

}  // namespace
}  // namespace qm::testing
