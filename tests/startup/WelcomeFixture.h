// Shared set-up of the welcome-window tests: a Qt application, recorded
// dialogs and shell opens, a private settings file, a pretend 1920x1080 screen
// and a launcher that records what the welcome window asks of the game window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"
#include "platform/RecordingDialogService.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "startup/DisplayResolution.h"
#include "startup/GameLauncher.h"
#include "startup/Project.h"
#include "startup/frmWelcome.h"

namespace qm::testing {

// Records the calls of the welcome window, with whether the welcome window was
// visible at that moment.
class RecordingLauncher : public startup::GameLauncher {
 public:
  explicit RecordingLauncher(const QWidget* welcome = nullptr) : welcome_(welcome) {}
  void watch(const QWidget* welcome) { welcome_ = welcome; }

  void LoadGameWindow() override { note("LoadGameWindow"); }
  void ResetAll() override { note("ResetAll"); }
  void StartNewGame() override {
    note("StartNewGame");
    if (failInStartNewGame) failInStartNewGame();
  }
  void ShowGameWindow() override { note("ShowGameWindow"); }
  void ShowLoadGameWindow() override {
    note("ShowLoadGameWindow");
    topmostDuringLoad = welcomeTopmost ? welcomeTopmost() : false;
  }

  QStringList calls;
  std::function<void()> failInStartNewGame;
  std::function<bool()> welcomeTopmost;
  bool topmostDuringLoad = true;

 private:
  void note(const char* name) {
    QString entry = QString::fromLatin1(name);
    if (welcome_) entry += welcome_->isVisible() ? QStringLiteral("(welcome shown)") : QStringLiteral("(welcome hidden)");
    calls << entry;
  }
  const QWidget* welcome_ = nullptr;
};

// The application of the test program, made once and never destroyed: Qt's
// input devices (made by key and mouse events) are its children and cannot be
// deleted safely while static objects are being torn down at exit.
inline void ensureLastingApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "tests_startup";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

class WelcomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensureLastingApplication();
    ensureQtApplication();
    startup::resetProjectForTests();
    startup::resetDisplaySettingsForTests();
    startup::setRealScreenSizeForTests(QSize(1920, 1080));
    startup::setSystemFontPixelHeightForTests(12);
    ASSERT_TRUE(settingsDir_.isValid());
    platform::SettingsStore::instance().setFileForTests(settingsDir_.filePath("settings.ini"));
    platform::setShellOpenHookForTests([this](const QString& target) {
      opened << target;
      return true;
    });
    startup::setGameLauncher(nullptr);
  }

  void TearDown() override {
    startup::setGameLauncher(nullptr);
    platform::setShellOpenHookForTests({});
    platform::SettingsStore::instance().setFileForTests({});
    startup::setRealScreenSizeForTests(std::nullopt);
    startup::setSystemFontPixelHeightForTests(std::nullopt);
    startup::resetDisplaySettingsForTests();
    startup::resetProjectForTests();
  }

  // A welcome window loaded on the game.
  std::unique_ptr<startup::frmWelcome> load(const GameFolderBuilder& game) {
    auto welcome = std::make_unique<startup::frmWelcome>();
    loaded = welcome->Load(game.root());
    return welcome;
  }

  platform::ScopedRecordingDialogs dialogs;
  QStringList opened;
  bool loaded = false;

 private:
  QTemporaryDir settingsDir_;
};

// Visible as the window sets it (the window itself is not on screen in tests).
inline bool shown(const QWidget* control) { return !control->isHidden(); }

}  // namespace qm::testing
