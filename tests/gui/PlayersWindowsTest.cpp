// The player's own windows as a person meets them on a real screen: the game
// window opening at a whole-number scale and following a resize, the menu bar
// and a message box drawn at the picture's scale, and the load window showing
// the picture of the row the mouse chose.
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>
#include <cmath>

#include "RealWindowTest.h"
#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "logic/SavedGameList.h"
#include "logic/SavedGames.h"
#include "logic/frmLoadGame.h"
#include "platform/InterfaceFont.h"
#include "startup/Project.h"
#include "startup/Settings.h"
#include "support/FrameRecords.h"

namespace qm::testing {
namespace {

constexpr QRgb kRoomColour = qRgb(200, 60, 40);
constexpr int kPictureWidth = 320, kPictureHeight = 240;

// Windowed, one frame "Room" of one colour, 320 x 240.
void roomGame(GameFolderBuilder& folder) {
  windowedGame(folder, "Room", kPictureWidth, kPictureHeight, {}, "ScaleTest");
  folder.picture("Frames/room.png", kPictureWidth, kPictureHeight, QColor(kRoomColour));
  FrameSpec room;
  room.backgroundType = 1;
  room.background = "room.png";
  folder.file("Frames/Room.fme", frameFileBytes(room));
}

// How many pixels of the picture's colour a line of the screen shows.
int countRoomPixels(const QImage& line) {
  int n = 0;
  for (int y = 0; y < line.height(); ++y)
    for (int x = 0; x < line.width(); ++x)
      if (line.pixel(x, y) == kRoomColour) ++n;
  return n;
}

// The saved pictures are JPEG: their colours come back near, not exact.
bool nearRoomColour(QRgb c) {
  return std::abs(qRed(c) - qRed(kRoomColour)) < 16 && std::abs(qGreen(c) - qGreen(kRoomColour)) < 16 &&
         std::abs(qBlue(c) - qBlue(kRoomColour)) < 16;
}

// The rows of an image that hold dark ink (text on a light ground): first to last.
int inkHeight(const QImage& image) {
  int first = -1, last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 90) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return first < 0 ? 0 : last - first + 1;
}

class PlayersWindowsTest : public RealWindowTest {
 protected:
  // How tall the ink of a text is in the interface's own font (a label's or a menu bar item's).
  int ownLabelInk(const QString& text) {
    return gui([&] {
      QLabel own(text);
      own.setFont(platform::InterfaceFontAt(1.0));
      own.resize(own.sizeHint());
      return inkHeight(own.grab().toImage());
    });
  }
  int ownBarInk(const QString& item) {
    return gui([&] {
      QMenuBar own;
      own.setFont(platform::InterfaceFontAt(1.0));
      own.addAction(item);
      own.resize(own.sizeHint());
      return inkHeight(own.grab().toImage());
    });
  }
  // The ink of the bar's item as the screen shows it.
  int shownBarInk(engine::Game* game, QAction* item) {
    const QRect r = gui([&] {
      QMenuBar* bar = game->display().menuBar();
      const QRect g = bar->actionGeometry(item);
      return QRect(bar->mapToGlobal(g.topLeft()), g.size());
    });
    return inkHeight(user().grab(r));
  }
  // The message box that is up and on screen (nullptr when none comes).
  QMessageBox* shownBox() {
    QMessageBox* box = nullptr;
    waitUntil([&] {
      return gui([&] {
        box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box && box->isVisible() && box->windowHandle() && box->windowHandle()->isExposed();
      });
    });
    return box;
  }

  // The picture as the screen shows it: how wide and how tall the frame's
  // colour runs through the picture's middle.
  QSize shownPictureSize(engine::Game* game) {
    const QRect window = gui([&] { return QRect(game->mapToGlobal(QPoint(0, 0)), game->size()); });
    const QPoint middle = pictureToScreen(game, QPoint(kPictureWidth / 2, kPictureHeight / 2));
    const int across = countRoomPixels(user().grab(QRect(window.left(), middle.y(), window.width(), 1)));
    const int down = countRoomPixels(user().grab(QRect(middle.x(), window.top(), 1, window.height())));
    return {across, down};
  }
};

TEST_F(PlayersWindowsTest, TheWindowOpensAtAWholeScaleAndThePictureFollowsAResize) {
  GameFolderBuilder folder;
  roomGame(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    // 320 x 240 on a 1920 x 1080 screen: far more than once, at a whole scale.
    const double scale = gui([&] { return game->display().displayScale(); });
    EXPECT_GE(scale, 3.0);
    EXPECT_EQ(scale, std::round(scale));
    const int k = static_cast<int>(scale);
    EXPECT_TRUE(waitUntil([&] { return shownPictureSize(game) == QSize(k * kPictureWidth, k * kPictureHeight); }))
        << "shown " << shownPictureSize(game).width() << " x " << shownPictureSize(game).height();
    const QSize opened = gui([&] { return game->size(); });
    EXPECT_EQ(opened.width(), k * kPictureWidth);
    const QRect screen = user().screenRect();
    EXPECT_LE(gui([&] { return game->frameGeometry().bottom(); }), screen.bottom());

    // The window is made wider and less tall (as a window manager does for a
    // drag on its border): the picture fills the height, aspect kept.
    const QSize resized(opened.width() + 300, opened.height() - 200);
    gui([&] { game->resize(resized); });
    const int bar = gui([&] { return game->display().menuBar()->height(); });
    EXPECT_TRUE(waitUntil([&] {
      const QSize shown = shownPictureSize(game);
      const int tall = resized.height() - bar;
      return std::abs(shown.height() - tall) <= 2 && std::abs(shown.width() - tall * 4 / 3) <= 3;
    })) << "shown " << shownPictureSize(game).width() << " x " << shownPictureSize(game).height();

    // Alt+Enter twice: full screen, then the window again at the size it was left at.
    user().tap("Return", {"Alt_L"});
    EXPECT_TRUE(waitUntil([&] { return gui([&] { return game->display().fullScreen(); }); }));
    user().tap("Return", {"Alt_L"});
    EXPECT_TRUE(waitUntil([&] { return gui([&] { return !game->display().fullScreen() && game->size() == resized; }); }))
        << "the window came back at " << gui([&] { return game->size().width(); }) << " x "
        << gui([&] { return game->size().height(); });
    EXPECT_EQ(gui([] { return startup::LoadSetting(startup::settings_keys::kWindowedSize); }),
              QStringLiteral("%1x%2").arg(resized.width()).arg(resized.height()));
  });
}

TEST_F(PlayersWindowsTest, TheMenuBarAndTheQuitQuestionAreDrawnAtThePicturesScale) {
  GameFolderBuilder folder;
  roomGame(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    const double scale = gui([&] { return game->display().displayScale(); });
    ASSERT_GE(scale, 2.0);
    // What the same bar and the same question look like at the desktop's size.
    const QString question = gui([] { return startup::InterfaceText(10); });
    const int ownBarInk = gui([&] {
      QMenuBar own;
      own.setFont(platform::InterfaceFontAt(1.0));
      own.addAction(game->mnuExit->action()->text());
      own.resize(own.sizeHint());
      return inkHeight(own.grab().toImage());
    });
    const int ownQuestionInk = gui([&] {
      QLabel own(question);
      own.setFont(platform::InterfaceFontAt(1.0));
      own.resize(own.sizeHint());
      return inkHeight(own.grab().toImage());
    });
    ASSERT_GT(ownBarInk, 0);
    ASSERT_GT(ownQuestionInk, 0);

    // The bar as painted on the screen: its text is as many times taller.
    QMenuBar* bar = gui([&] { return game->display().menuBar(); });
    ASSERT_TRUE(waitUntil([&] { return gui([&] { return bar->isVisible(); }); }));
    const QRect exitItem = gui([&] {
      const QRect r = bar->actionGeometry(game->mnuExit->action());
      return QRect(bar->mapToGlobal(r.topLeft()), r.size());
    });
    EXPECT_GE(inkHeight(user().grab(exitItem)), static_cast<int>(0.85 * scale * ownBarInk))
        << "own " << ownBarInk << " at scale " << scale;

    // Exit asks the quit question in a box as large.
    ASSERT_TRUE(clickMenu({game->mnuExit->action()->text()}));
    QMessageBox* box = nullptr;
    ASSERT_TRUE(waitUntil([&] {
      return gui([&] {
        box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box && box->isVisible() && box->windowHandle() && box->windowHandle()->isExposed();
      });
    })) << shownBoxes().toStdString();
    QWidget* text = findVisible(question);
    ASSERT_TRUE(text);
    EXPECT_TRUE(onTop(text));
    EXPECT_TRUE(waitUntil([&] { return inkHeight(grab(text)) >= static_cast<int>(0.85 * scale * ownQuestionInk); }))
        << "painted " << inkHeight(grab(text)) << ", own " << ownQuestionInk << " at scale " << scale;
    // Its buttons grew too, and No answers it: the game goes on.
    QWidget* no = gui([&]() -> QWidget* { return box->button(QMessageBox::No); });
    ASSERT_TRUE(no);
    EXPECT_GE(gui([&] { return no->height(); }), static_cast<int>(0.8 * scale * gui([] {
                                                    QPushButton own(QStringLiteral("No"));
                                                    own.setFont(platform::InterfaceFontAt(1.0));
                                                    return own.sizeHint().height();
                                                  })));
    clickOn(no);
    EXPECT_TRUE(waitUntil([&] { return gui([] { return QApplication::activeModalWidget() == nullptr; }); }));
    EXPECT_TRUE(gui([&] { return game->isVisible(); }));
  });
}

// Full screen, a 640 x 480 game whose screen size the welcome window was
// ticked to switch to: on 1920 x 1080 it is drawn 2.25 times, and Esc's menu
// bar and Ctrl+Q's question with it.
TEST_F(PlayersWindowsTest, FullScreenAtTheModesScaleTheMenuBarAndQuestionGrowAlike) {
  GameFolderBuilder folder;
  roomGame(folder);
  GeneralFields g;
  g.projectName = "ScaleTest";
  g.initialFrame = "Room";
  g.width = 640;
  g.height = 480;
  g.projectResolution = 0;
  g.resolutionOffer = 1;
  folder.general(g);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    const double scale = gui([&] { return game->display().displayScale(); });
    ASSERT_TRUE(gui([&] { return game->display().fullScreen(); }));
    ASSERT_GT(scale, 2.0) << "the welcome window's box should have switched to 640 x 480";
    const QString exitCaption = gui([&] { return game->mnuExit->action()->text(); });
    const int ownBar = ownBarInk(exitCaption);
    ASSERT_GT(ownBar, 0);

    user().tap("Escape");
    ASSERT_TRUE(waitUntil([&] { return gui([&] { return game->display().menuBar()->isVisible(); }); }));
    QAction* exitItem = gui([&] { return game->mnuExit->action(); });
    EXPECT_TRUE(waitUntil([&] { return shownBarInk(game, exitItem) >= static_cast<int>(0.85 * scale * ownBar); }))
        << "painted " << shownBarInk(game, exitItem) << ", own " << ownBar << " at scale " << scale;

    user().tap("q", {"Control_L"});
    QMessageBox* box = shownBox();
    ASSERT_TRUE(box) << shownBoxes().toStdString();
    const QString question = gui([] { return startup::InterfaceText(10); });
    QWidget* text = findVisible(question);
    ASSERT_TRUE(text);
    EXPECT_TRUE(onTop(text));
    const int ownQuestion = ownLabelInk(question);
    EXPECT_TRUE(waitUntil([&] { return inkHeight(grab(text)) >= static_cast<int>(0.85 * scale * ownQuestion); }))
        << "painted " << inkHeight(grab(text)) << ", own " << ownQuestion << " at scale " << scale;
    clickOn(gui([&]() -> QWidget* { return box->button(QMessageBox::No); }));
    EXPECT_TRUE(waitUntil([&] { return gui([] { return QApplication::activeModalWidget() == nullptr; }); }));
  });
}

TEST_F(PlayersWindowsTest, TheLoadWindowShowsThePictureOfTheRowTheMouseChose) {
  GameFolderBuilder folder;
  roomGame(folder);
  play([&] {
    engine::Game* game = startGame(folder);
    ASSERT_TRUE(game);
    ASSERT_TRUE(gui([&] {
      return game->savedGames().SaveGame(QStringLiteral("by the window")) == logic::SavedGames::SaveResult::Saved &&
             game->savedGames().SaveGame(QStringLiteral("by the door")) == logic::SavedGames::SaveResult::Saved;
    }));
    user().tap("l", {"Control_L"});  // Ctrl+L
    logic::frmLoadGame* window = nullptr;
    ASSERT_TRUE(waitUntil([&] {
      return gui([&] {
        window = qobject_cast<logic::frmLoadGame*>(QApplication::activeModalWidget());
        return window && window->windowHandle() && window->windowHandle()->isExposed();
      });
    })) << shownBoxes().toStdString();
    QWidget* preview = gui([&]() -> QWidget* { return window->picPreview; });
    const QPoint previewMiddle = screenPoint(preview);
    EXPECT_FALSE(nearRoomColour(user().grab(QRect(previewMiddle, QSize(1, 1))).pixel(0, 0)));

    // A click on the second row, in the middle of what the list shows of it.
    const QPoint row = gui([&] {
      logic::SavedGameList* list = window->List1;
      const QRect r = list->visualItemRect(list->topLevelItem(1)) & list->viewport()->rect();
      return list->viewport()->mapToGlobal(r.center());
    });
    user().click(row);
    EXPECT_TRUE(waitUntil([&] { return nearRoomColour(user().grab(QRect(previewMiddle, QSize(1, 1))).pixel(0, 0)); }))
        << "the preview stays without the saved game's picture";
    EXPECT_TRUE(gui([&] {
      const logic::SavedGameEntry* chosen = window->List1->selectedEntry();
      return chosen && chosen->name == window->List1->topLevelItem(1)->text(0);
    }));
    clickOn(gui([&]() -> QWidget* { return window->Command1; }));  // Cancel
    EXPECT_TRUE(waitUntil([&] { return gui([] { return QApplication::activeModalWidget() == nullptr; }); }));
  });
}

}  // namespace
}  // namespace qm::testing
