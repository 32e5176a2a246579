// The fixture of the real-window tests: the player's own windows on a private
// X server, used by a person who clicks, types and looks at the screen.
//
// A test runs its steps with play(): the steps run on a thread of their own,
// the person's, while the application thread runs the player's event loop, so
// modal windows (message boxes, the load window) open and wait for the person
// exactly as they do for a player. From the person's thread:
//   - user() clicks and types through the X server and grabs its pixels;
//   - gui(f) runs f on the application thread and returns its result, to look
//     at widgets or to start something (never to press or click: that is the
//     person's job);
//   - waitUntil(condition) waits, with a generous timeout, for what the screen
//     or the widgets should come to show. Nothing waits a fixed time.
//
//   TEST_F(MyTest, Something) {
//     GameFolderBuilder folder;  ...
//     play([&] {
//       engine::Game* game = startGame(folder);
//       clickMenu({"Options", "Disable Transitions"});
//       EXPECT_TRUE(waitUntil([&] { return gui([&] { return ...; }); }));
//     });
//   }
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMetaObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <type_traits>

#include "ScreenUser.h"
#include "support/GameFolderBuilder.h"

class QWidget;
class QMenuBar;

namespace qm::engine {
class Game;
}
namespace qm::startup {
class frmWelcome;
}

namespace qm::testing {

// How long a wait for the screen may take before it counts as a failure:
// generous, so that a loaded machine is slow but never wrong.
inline constexpr int kScreenPatienceMs = 30000;

class RealWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the steps on the person's thread while this thread runs the event
  // loop; returns once they have ended and every window they left open is closed.
  void play(const std::function<void()>& steps);

  ScreenUser& user();

  // Runs f on the application thread (from any thread) and returns its result.
  template <class F>
  auto gui(F f) -> std::invoke_result_t<F> {
    using R = std::invoke_result_t<F>;
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) return f();
    if constexpr (std::is_void_v<R>) {
      QMetaObject::invokeMethod(QCoreApplication::instance(), f, Qt::BlockingQueuedConnection);
    } else {
      R result{};
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [&] { result = f(); }, Qt::BlockingQueuedConnection);
      return result;
    }
  }

  // Polls the condition (person's thread) until it holds; false when it has
  // not after timeoutMs.
  bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kScreenPatienceMs);

  // ---- Starting the player (person's thread) -----------------------------------
  // Shows the welcome window on the game folder, as the program does at its
  // start, and waits until it is on screen. nullptr when it did not load.
  startup::frmWelcome* openWelcome(const GameFolderBuilder& folder);
  // Opens the welcome window and clicks its Start; returns the game window once
  // it is on screen with the first frame open (nullptr when it never came).
  engine::Game* startGame(const GameFolderBuilder& folder);
  // The game window of the run (nullptr before a game started).
  engine::Game* gameWindow();

  // ---- Finding what is on screen (from any thread) -------------------------------
  // A visible widget showing exactly this text (a label, a button, a menu's
  // action is no widget; the game's labels count); '&' mnemonics are ignored. nullptr when none.
  QWidget* findVisible(const QString& text);
  // A visible widget whose text contains this text.
  QWidget* findVisibleContaining(const QString& text);
  // Whether the widget is visible and nothing else is painted over its point
  // (its centre when none is given, in its own coordinates).
  bool onTop(QWidget* widget, std::optional<QPoint> local = std::nullopt);
  // Where a point of the widget (its centre by default) is on the screen. Works
  // for the controls on the game picture too, whatever the picture's scale.
  QPoint screenPoint(QWidget* widget, std::optional<QPoint> local = std::nullopt);
  // Where a pixel of the game picture is on the screen.
  QPoint pictureToScreen(engine::Game* game, QPoint picturePixel);
  // The screen area the widget covers.
  QRect screenRect(QWidget* widget);

  // ---- Acting (person's thread) ------------------------------------------------------
  // A real click on the widget (its centre by default).
  void clickOn(QWidget* widget, std::optional<QPoint> local = std::nullopt);
  // Clicks through the menu bar of the game window: the top item, then each
  // item of the menus that open. False (with the reason in the test's output)
  // when a step is not on screen.
  bool clickMenu(const QStringList& path);
  // The pixels on the screen where the widget is (all that covers it included).
  QImage grab(QWidget* widget);
  // What the message boxes on screen say, for failure messages ("" for none).
  QString shownBoxes();

 private:
  QTemporaryDir userData_;
  QByteArray oldDataHome_;
  QPointer<startup::frmWelcome> welcome_;
};

// What every windowed test game starts with: its project information (windowed
// play, the first frame, the picture's size), no interface texts of its own, and
// the integer variables named.
void windowedGame(GameFolderBuilder& folder, const QString& initialFrame, int width, int height,
                  const QStringList& integerVariables = {}, const QString& projectName = QStringLiteral("TestGame"));

// The one X server of the test program and the person's connection to it
// (made by the test program's main before the application).
void startRealScreen();
ScreenUser& realScreenUser();

}  // namespace qm::testing
