// What the welcome window does: Start, Load and Exit, start at once, the
// mail, web and logo links, Esc and dragging the borderless window.
#include <QCheckBox>
#include <QKeyEvent>
#include <QInputDevice>
#include <QMouseEvent>
#include <QPointingDevice>

#include "WelcomeFixture.h"
#include "platform/VbError.h"
#include "startup/Messages.h"
#include "startup/frmWelcomeLabel.h"

namespace qm::testing {
namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

GeneralFields offeringProject() {
  GeneralFields f;
  f.projectName = "ActionGame";
  f.gameTitle = "Action Game";
  f.authorEmail = "ada@example.org";
  f.authorWebSite = "www.example.org";
  f.resolutionOffer = 1;
  f.projectResolution = 1;
  return f;
}

// Input devices of our own for the synthesized events. Without one, Qt makes
// its primary devices children of the application, and the test program's
// static application then fails to delete them at exit.
const QPointingDevice* testMouse() {
  static const auto* device =
      new QPointingDevice(QStringLiteral("test mouse"), 9001, QInputDevice::DeviceType::Mouse,
                          QPointingDevice::PointerType::Generic, QInputDevice::Capability::Position, 1, 3);
  return device;
}
const QInputDevice* testKeyboard() {
  static const auto* device = new QInputDevice(QStringLiteral("test keyboard"), 9002, QInputDevice::DeviceType::Keyboard);
  return device;
}

QMouseEvent mouseEvent(QEvent::Type type, QPoint local, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons) {
  return QMouseEvent(type, QPointF(local), QPointF(local), QPointF(global), button, buttons, Qt::NoModifier,
                     testMouse());
}

class WelcomeActions : public WelcomeTest {
 protected:
  RecordingLauncher launcher;
};

TEST_F(WelcomeActions, StartSwitchesTheDisplayThenStartsTheGameWithTheWelcomeHidden) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();
  launcher.watch(w.get());
  startup::setGameLauncher(&launcher);

  w->lblButton[0]->click();

  EXPECT_EQ(launcher.calls, QStringList({"LoadGameWindow(welcome hidden)", "ResetAll(welcome hidden)",
                                         "StartNewGame(welcome hidden)", "ShowGameWindow(welcome hidden)"}));
  ASSERT_TRUE(startup::VirtualDisplayMode().has_value());
  EXPECT_EQ(*startup::VirtualDisplayMode(), QSize(800, 600));
  EXPECT_EQ(startup::DesktopWidth(), 800);
  EXPECT_EQ(dialogs->count(), 0u);
}

TEST_F(WelcomeActions, StartWithoutTheOfferTicketKeepsTheDisplay) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();
  launcher.watch(w.get());
  startup::setGameLauncher(&launcher);
  w->chkResolution->setChecked(false);

  w->ClickButton(0);

  // The welcome window stays up until the game window has been reset.
  EXPECT_EQ(launcher.calls.first(), "LoadGameWindow(welcome shown)");
  EXPECT_EQ(launcher.calls.at(2), "StartNewGame(welcome hidden)");
  EXPECT_FALSE(startup::VirtualDisplayMode().has_value());
  EXPECT_EQ(startup::displayModeChangeCount(), 0);
}

TEST_F(WelcomeActions, StartNeverSwitchesWhenTheDisplayHasTheProjectSize) {
  startup::setRealScreenSizeForTests(QSize(800, 600));
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  startup::setGameLauncher(&launcher);
  w->ClickButton(0);
  EXPECT_EQ(launcher.calls.size(), 4);
  EXPECT_EQ(startup::displayModeChangeCount(), 0);
}

TEST_F(WelcomeActions, StartAtOnceNeverShowsTheWelcomeAndNeverSwitches) {
  GameFolderBuilder game;
  GeneralFields f = offeringProject();
  f.startAtOnce = true;
  game.general(f);
  platform::SettingsStore::instance().set("ActionGame", "ChangeResolution", "1");
  startup::setGameLauncher(&launcher);

  auto w = std::make_unique<startup::frmWelcome>();
  launcher.watch(w.get());
  ASSERT_TRUE(w->Load(game.root()));

  EXPECT_FALSE(w->shouldShow());
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(launcher.calls, QStringList({"LoadGameWindow(welcome hidden)", "ResetAll(welcome hidden)",
                                         "StartNewGame(welcome hidden)", "ShowGameWindow(welcome hidden)"}));
  EXPECT_EQ(startup::displayModeChangeCount(), 0);
  // The layout is never done.
  EXPECT_EQ(w->txtAdventureName->text(), "");
}

TEST_F(WelcomeActions, AFailingGameWindowShowsTheReportAndKeepsTheWelcome) {
  GameFolderBuilder game;
  GeneralFields f = offeringProject();
  f.resolutionOffer = 0;
  game.general(f);
  auto w = load(game);
  w->show();
  launcher.failInStartNewGame = [] { throw VbError(53, "File not found"); };
  startup::setGameLauncher(&launcher);

  w->ClickButton(0);

  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_EQ(dialogs->last().icon, MsgIcon::Critical);
  EXPECT_EQ(dialogs->last().title, "Error");
  EXPECT_TRUE(dialogs->last().text.endsWith(
      " Error loading the main program window. Try restarting the program. File not found"))
      << dialogs->last().text.toStdString();
  EXPECT_TRUE(w->isVisible());
}

TEST_F(WelcomeActions, AGameThatCannotStartAtOnceEndsTheProgramAfterTheReport) {
  GameFolderBuilder game;
  GeneralFields f = offeringProject();
  f.startAtOnce = true;
  game.general(f);
  launcher.failInStartNewGame = [] { throw VbError(53, "File not found"); };
  startup::setGameLauncher(&launcher);
  auto w = std::make_unique<startup::frmWelcome>();
  int unloaded = 0;
  QObject::connect(w.get(), &startup::frmWelcome::unloaded, [&] { ++unloaded; });

  EXPECT_FALSE(w->Load(game.root()));

  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_EQ(dialogs->last().icon, MsgIcon::Critical);
  EXPECT_EQ(unloaded, 1);
}

TEST_F(WelcomeActions, WithoutAGameWindowStartSaysSoAndChangesNothing) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();

  w->ClickButton(0);

  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_TRUE(dialogs->last().text.contains("no game window")) << dialogs->last().text.toStdString();
  EXPECT_EQ(dialogs->last().title, "Action Game");
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(startup::displayModeChangeCount(), 0);
}

TEST_F(WelcomeActions, LoadOpensTheLoadWindowOutOfTopmostState) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();
  EXPECT_TRUE(w->isTopmost());
  startup::frmWelcome* raw = w.get();
  launcher.welcomeTopmost = [raw] { return raw->isTopmost(); };
  startup::setGameLauncher(&launcher);

  w->Img[1]->click();  // the picture button does what the text button does

  EXPECT_EQ(launcher.calls, QStringList({"ShowLoadGameWindow"}));
  EXPECT_FALSE(launcher.topmostDuringLoad);
  EXPECT_TRUE(w->isTopmost());
}

TEST_F(WelcomeActions, ExitAndEscapeUnloadTheWindow) {
  GameFolderBuilder game;
  game.general(offeringProject());
  {
    auto w = load(game);
    w->show();
    int unloaded = 0;
    QObject::connect(w.get(), &startup::frmWelcome::unloaded, [&] { ++unloaded; });
    w->lblButton[2]->click();
    EXPECT_EQ(unloaded, 1);
  }
  startup::resetProjectForTests();
  auto w = load(game);
  w->show();
  int unloaded = 0;
  QObject::connect(w.get(), &startup::frmWelcome::unloaded, [&] { ++unloaded; });
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 0, 0, 0, QString(), false, 1, testKeyboard());
  QCoreApplication::sendEvent(w.get(), &esc);
  EXPECT_EQ(unloaded, 1);
}

TEST_F(WelcomeActions, MailLinkAsksThenOpensTheMailClient) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();
  dialogs->queueAnswer(MsgResult::Yes);

  w->txtEmail->click();

  ASSERT_EQ(dialogs->count(), 1u);
  const auto& box = dialogs->last();
  EXPECT_EQ(box.text,
            "Do you want to open the default mail client to send an e-mail to: ada@example.org ?");
  EXPECT_EQ(box.title, "Action Game");
  EXPECT_EQ(box.icon, MsgIcon::Question);
  EXPECT_EQ(box.buttons, MsgButtons::YesNo);
  EXPECT_EQ(opened, QStringList({"mailto:ada@example.org"}));
  EXPECT_FALSE(w->isTopmost());
}

TEST_F(WelcomeActions, DecliningALinkOpensNothingAndPutsTheWindowInFrontAgain) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();
  dialogs->queueAnswer(MsgResult::No);
  dialogs->queueAnswer(MsgResult::No);
  dialogs->queueAnswer(MsgResult::No);

  w->txtEmail->click();
  w->txtHomepage->click();
  w->imgLogo->click();

  EXPECT_EQ(dialogs->count(), 3u);
  EXPECT_TRUE(opened.isEmpty());
  EXPECT_TRUE(w->isTopmost());
}

TEST_F(WelcomeActions, WebLinkAsksThenOpensTheSite) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  dialogs->queueAnswer(MsgResult::Yes);

  w->txtHomepage->click();

  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_EQ(dialogs->last().text,
            "Do you want to visit www.example.org ? (You must be connected to the Internet)");
  EXPECT_EQ(dialogs->last().title, "Action Game");
  EXPECT_EQ(dialogs->last().icon, MsgIcon::Question);
  EXPECT_EQ(dialogs->last().buttons, MsgButtons::YesNo);
  // A bare host name gets the web's scheme so that the desktop opens it in a browser.
  EXPECT_EQ(opened, QStringList({"http://www.example.org"}));
}

TEST_F(WelcomeActions, LogoOffersTheProductWebSite) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  dialogs->queueAnswer(MsgResult::Yes);

  w->imgLogo->click();

  ASSERT_EQ(dialogs->count(), 1u);
  const QString site = QString::fromUtf8(startup::kProductWebSite);
  EXPECT_EQ(dialogs->last().text, "For details and downloads, visit: " + site +
                                      "\r\n\r\nDo you want to visit it now? (You must be connected to the Internet)");
  EXPECT_EQ(dialogs->last().title, "Quillmere");
  EXPECT_EQ(dialogs->last().icon, MsgIcon::Information);
  EXPECT_EQ(dialogs->last().buttons, MsgButtons::YesNo);
  EXPECT_EQ(opened, QStringList({site}));
}

TEST_F(WelcomeActions, DraggingTheTitleMovesTheWindow) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();
  const QPoint start = w->pos();
  const QPoint grab = w->txtAdventureName->mapToGlobal(QPoint(5, 5));

  QMouseEvent press = mouseEvent(QEvent::MouseButtonPress, {5, 5}, grab, Qt::LeftButton, Qt::LeftButton);
  QCoreApplication::sendEvent(w->txtAdventureName, &press);
  QMouseEvent move = mouseEvent(QEvent::MouseMove, {5, 5}, grab + QPoint(40, 25), Qt::NoButton, Qt::LeftButton);
  QCoreApplication::sendEvent(w.get(), &move);
  QMouseEvent release =
      mouseEvent(QEvent::MouseButtonRelease, {5, 5}, grab + QPoint(40, 25), Qt::LeftButton, Qt::NoButton);
  QCoreApplication::sendEvent(w.get(), &release);

  EXPECT_EQ(w->pos(), start + QPoint(40, 25));
}

TEST_F(WelcomeActions, PressingAButtonDoesNotDragTheWindow) {
  GameFolderBuilder game;
  game.general(offeringProject());
  auto w = load(game);
  w->show();
  const QPoint start = w->pos();
  const QPoint grab = w->txtEmail->mapToGlobal(QPoint(2, 2));
  QMouseEvent press = mouseEvent(QEvent::MouseButtonPress, {2, 2}, grab, Qt::RightButton, Qt::RightButton);
  QCoreApplication::sendEvent(w->txtEmail, &press);
  QMouseEvent move = mouseEvent(QEvent::MouseMove, {2, 2}, grab + QPoint(30, 30), Qt::NoButton, Qt::LeftButton);
  QCoreApplication::sendEvent(w.get(), &move);
  EXPECT_EQ(w->pos(), start);
}

}  // namespace
}  // namespace qm::testing

namespace qm::testing {
namespace {

TEST_F(WelcomeTest, TheGameWindowFindsTheWelcomeWindowToComeBackTo) {
  EXPECT_EQ(startup::frmWelcome::instance(), nullptr);
  {
    startup::frmWelcome welcome;
    EXPECT_EQ(startup::frmWelcome::instance(), &welcome);
    int unloaded = 0;
    QObject::connect(&welcome, &startup::frmWelcome::unloaded, [&] { ++unloaded; });
    startup::frmWelcome::instance()->Unload();
    startup::frmWelcome::instance()->Unload();
    EXPECT_EQ(unloaded, 1);
  }
  EXPECT_EQ(startup::frmWelcome::instance(), nullptr);
}

}  // namespace
}  // namespace qm::testing
