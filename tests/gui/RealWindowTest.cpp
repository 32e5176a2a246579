#include "RealWindowTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <memory>
#include <thread>

#include "XvfbServer.h"
#include "support/VariablesRecords.h"
#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/controls/LabelControl.h"
#include "engine/GameWindowLauncher.h"
#include "platform/SettingsStore.h"
#include "startup/DisplayResolution.h"
#include "startup/Project.h"
#include "startup/frmWelcome.h"
#include "startup/frmWelcomeLabel.h"

namespace qm::testing {

namespace {

// A screen as large as a common desktop, so that full screen and the
// largest windowed scales have room to differ from 1x.
const QSize kScreenSize(1920, 1080);

std::unique_ptr<XvfbServer>& server() {
  static std::unique_ptr<XvfbServer> s;
  return s;
}

std::unique_ptr<ScreenUser>& person() {
  static std::unique_ptr<ScreenUser> p;
  return p;
}

QString withoutMnemonics(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text;
}

// The text a widget shows, when it shows one.
std::optional<QString> shownText(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
  // The game's own labels: the message panel's text, text boxes, questions.
  if (const auto* label = dynamic_cast<const engine::LabelControl*>(w)) return label->caption();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return withoutMnemonics(button->text());
  return std::nullopt;
}

QWidget* findShown(const std::function<bool(const QString&)>& matches) {
  for (QWidget* w : QApplication::allWidgets()) {
    if (!w->isVisible()) continue;
    const std::optional<QString> text = shownText(w);
    if (text && matches(*text)) return w;
  }
  return nullptr;
}

// The game window whose picture holds the widget, if any.
engine::Game* gameHolding(QWidget* w) {
  engine::Game* game = engine::launchedGameWindow();
  if (!game || !game->PictureBox) return nullptr;
  for (QWidget* p = w; p; p = p->parentWidget())
    if (p == game->PictureBox) return game;
  return nullptr;
}

}  // namespace

void windowedGame(GameFolderBuilder& folder, const QString& initialFrame, int width, int height,
                  const QStringList& integerVariables, const QString& projectName) {
  GeneralFields g;
  g.projectName = projectName;
  g.initialFrame = initialFrame;
  g.width = width;
  g.height = height;
  g.windowedMode = true;
  folder.general(g);
  folder.texts(0);
  folder.file("Config/Variables", variablesFileBytes(integerVariables));
}

void startRealScreen() {
  if (server()) return;
  ScreenUser::allowThreads();
  server() = std::make_unique<XvfbServer>(kScreenSize);
  qputenv("DISPLAY", server()->displayName());
  qputenv("QT_QPA_PLATFORM", "xcb");
  // Sound plays nowhere: the tests look, and a machine may have no sound card.
  qputenv("SDL_AUDIODRIVER", "dummy");
  person() = std::make_unique<ScreenUser>(server()->displayName());
}

ScreenUser& realScreenUser() { return *person(); }

// ---- The fixture --------------------------------------------------------------------

void RealWindowTest::SetUp() {
  ASSERT_TRUE(person()) << "the test program's main starts the X server";
  ASSERT_TRUE(userData_.isValid());
  // The player's settings and saved games go to this test's own folder.
  platform::SettingsStore::instance().setFileForTests(userData_.filePath(QStringLiteral("settings.ini")));
  oldDataHome_ = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QFile::encodeName(userData_.filePath(QStringLiteral("data"))));
  startup::resetProjectForTests();
  startup::resetDisplaySettingsForTests();
  engine::installGameWindowLauncher();
}

QString RealWindowTest::shownBoxes() {
  return gui([] {
    QString texts;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
        texts += QStringLiteral("; a message box says \"%1\"").arg(box->text());
    return texts;
  });
}

void RealWindowTest::TearDown() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (QDialog* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
  }
  delete welcome_.data();
  engine::releaseGameWindow();
  startup::RestoreDisplaySettings();
  startup::resetDisplaySettingsForTests();
  startup::resetProjectForTests();
  QCoreApplication::processEvents();
  qputenv("XDG_DATA_HOME", oldDataHome_);
  platform::SettingsStore::instance().setFileForTests(QString());
}

ScreenUser& RealWindowTest::user() { return *person(); }

void RealWindowTest::play(const std::function<void()>& steps) {
  QEventLoop loop;
  std::atomic<bool> done{false};
  // Once the steps have ended, whatever modal window they left open is closed,
  // so that the nested event loops end and this one can.
  QTimer watch;
  watch.setInterval(20);
  QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
    if (!done) return;
    if (QWidget* modal = QApplication::activeModalWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
      else modal->close();
      return;
    }
    loop.quit();
  });
  watch.start();
  std::thread steps_thread([&] {
    try {
      steps();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "the person's steps stopped: " << e.what();
    }
    done = true;
  });
  loop.exec();
  steps_thread.join();
}

bool RealWindowTest::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    if (condition()) return true;
    if (waited.elapsed() > timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
  }
}

// ---- Starting the player --------------------------------------------------------------

startup::frmWelcome* RealWindowTest::openWelcome(const GameFolderBuilder& folder) {
  const QString root = folder.root();
  startup::frmWelcome* welcome = gui([&]() -> startup::frmWelcome* {
    auto* w = new startup::frmWelcome;
    welcome_ = w;
    if (!w->Load(root)) return nullptr;
    // As the program does: shown, nothing more.
    if (w->shouldShow()) w->show();
    return w;
  });
  if (!welcome) {
    ADD_FAILURE() << "the welcome window did not load the game";
    return nullptr;
  }
  const bool shown = waitUntil([&] {
    return gui([&] {
      if (!welcome->shouldShow()) return true;
      QWindow* window = welcome->windowHandle();
      return welcome->isVisible() && window && window->isExposed();
    });
  });
  if (!shown) ADD_FAILURE() << "the welcome window never came on screen";
  return shown ? welcome : nullptr;
}

engine::Game* RealWindowTest::startGame(const GameFolderBuilder& folder) {
  startup::frmWelcome* welcome = openWelcome(folder);
  if (!welcome) return nullptr;
  // A game that starts at once has no Start to click.
  if (gui([&] { return welcome->shouldShow(); })) {
    QWidget* start = gui([&]() -> QWidget* {
      for (QWidget* b : {static_cast<QWidget*>(welcome->lblButton[startup::kButtonStart]),
                         static_cast<QWidget*>(welcome->Img[startup::kButtonStart])})
        if (b && b->isVisible()) return b;
      return nullptr;
    });
    if (!start) {
      ADD_FAILURE() << "the welcome window shows no Start";
      return nullptr;
    }
    clickOn(start);
  }
  engine::Game* game = nullptr;
  const bool shown = waitUntil([&] {
    return gui([&] {
      game = engine::launchedGameWindow();
      QWindow* window = game ? game->windowHandle() : nullptr;
      return game && game->isVisible() && window && window->isExposed() && game->isActiveWindow() &&
             !startup::CurrentFrameName().isEmpty();
    });
  });
  if (!shown) {
    const QString state = gui([&] {
      game = engine::launchedGameWindow();
      if (!game) return QStringLiteral("no game window was made");
      QWindow* window = game->windowHandle();
      return QStringLiteral("visible %1, exposed %2, active %3, frame \"%4\"")
          .arg(game->isVisible())
          .arg(window && window->isExposed())
          .arg(game->isActiveWindow())
          .arg(startup::CurrentFrameName());
    });
    ADD_FAILURE() << "the game window never came on screen with its first frame: " << state.toStdString()
                  << shownBoxes().toStdString();
    return nullptr;
  }
  return game;
}

engine::Game* RealWindowTest::gameWindow() {
  return gui([] { return engine::launchedGameWindow(); });
}

// ---- Finding ------------------------------------------------------------------------------

QWidget* RealWindowTest::findVisible(const QString& text) {
  const QString wanted = withoutMnemonics(text);
  return gui([&] { return findShown([&](const QString& t) { return t == wanted; }); });
}

QWidget* RealWindowTest::findVisibleContaining(const QString& text) {
  return gui([&] { return findShown([&](const QString& t) { return t.contains(text); }); });
}

QPoint RealWindowTest::pictureToScreen(engine::Game* game, QPoint picturePixel) {
  return gui([&] {
    const QPointF inWindow = game->display().pictureToWindow(QPointF(picturePixel) + QPointF(0.5, 0.5));
    return game->mapToGlobal(inWindow.toPoint());
  });
}

QPoint RealWindowTest::screenPoint(QWidget* widget, std::optional<QPoint> local) {
  return gui([&] {
    const QPoint at = local.value_or(widget->rect().center());
    // The game picture is drawn through a scaled view: map through it.
    if (engine::Game* game = gameHolding(widget)) {
      const QPoint onPicture = widget == game->PictureBox ? at : widget->mapTo(game->PictureBox, at);
      const QPointF inWindow = game->display().pictureToWindow(QPointF(onPicture) + QPointF(0.5, 0.5));
      return game->mapToGlobal(inWindow.toPoint());
    }
    return widget->mapToGlobal(at);
  });
}

QRect RealWindowTest::screenRect(QWidget* widget) {
  const QRect local = gui([&] { return widget->rect(); });
  return QRect(screenPoint(widget, local.topLeft()), screenPoint(widget, local.bottomRight())).normalized();
}

bool RealWindowTest::onTop(QWidget* widget, std::optional<QPoint> local) {
  const QPoint at = screenPoint(widget, local);
  return gui([&] {
    if (!widget->isVisible()) return false;
    if (engine::Game* game = gameHolding(widget)) {
      // On the picture: the topmost control under the point, as the picture stacks them.
      if (QApplication::widgetAt(at) != game->window() && !game->isAncestorOf(QApplication::widgetAt(at)))
        return false;
      const QPoint onPicture = widget->mapTo(game->PictureBox, local.value_or(widget->rect().center()));
      QWidget* top = game->PictureBox->childAt(onPicture);
      return top == widget || (top && widget->isAncestorOf(top));
    }
    QWidget* top = QApplication::widgetAt(at);
    return top == widget || (top && widget->isAncestorOf(top));
  });
}

// ---- Acting ------------------------------------------------------------------------------------

void RealWindowTest::clickOn(QWidget* widget, std::optional<QPoint> local) {
  user().click(screenPoint(widget, local));
}

bool RealWindowTest::clickMenu(const QStringList& path) {
  if (path.isEmpty()) return false;
  engine::Game* game = gameWindow();
  if (!game) {
    ADD_FAILURE() << "no game window for the menu " << path.join(" > ").toStdString();
    return false;
  }
  QMenuBar* bar = gui([&] { return game->display().menuBar(); });
  // The top item on the bar.
  const QString top = withoutMnemonics(path.front());
  QPoint at;
  const bool onBar = waitUntil([&] {
    return gui([&] {
      if (!bar->isVisible()) return false;
      for (QAction* a : bar->actions()) {
        if (!a->isVisible() || withoutMnemonics(a->text()) != top) continue;
        const QRect r = bar->actionGeometry(a);
        if (r.isEmpty()) return false;
        at = bar->mapToGlobal(r.center());
        return true;
      }
      return false;
    });
  });
  if (!onBar) {
    ADD_FAILURE() << "the menu bar shows no \"" << top.toStdString() << "\"";
    return false;
  }
  user().click(at);
  // Each further step: an item of the menu that has opened.
  for (qsizetype i = 1; i < path.size(); ++i) {
    const QString wanted = withoutMnemonics(path[i]);
    const bool found = waitUntil([&] {
      return gui([&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          auto* menu = qobject_cast<QMenu*>(w);
          if (!menu || !menu->isVisible() || !menu->windowHandle() || !menu->windowHandle()->isExposed()) continue;
          for (QAction* a : menu->actions()) {
            if (!a->isVisible() || withoutMnemonics(a->text()) != wanted) continue;
            const QRect r = menu->actionGeometry(a);
            if (r.isEmpty()) continue;
            at = menu->mapToGlobal(r.center());
            return true;
          }
        }
        return false;
      });
    });
    if (!found) {
      ADD_FAILURE() << "no open menu shows \"" << wanted.toStdString() << "\"";
      return false;
    }
    user().click(at);
  }
  return true;
}

QImage RealWindowTest::grab(QWidget* widget) { return user().grab(screenRect(widget)); }

}  // namespace qm::testing
