// Frame transitions and captures on a running game: what covers the frame,
// how long it lasts, what ends it, and what the composed picture holds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>

#include "engine/GameDisplay.h"
#include "engine/KeyboardPlay.h"
#include "engine/RipplingWater.h"
#include "engine/Transitions.h"
#include "media/TransitionPass.h"
#include "script/AdditionalComponents.h"
#include "script/components/HostedComponent.h"
#include "logic/LogicGameFixture.h"
#include "platform/Clock.h"
#include "startup/Settings.h"
#include "support/WalkGame.h"

namespace qm::testing {
namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);

class TransitionsTest : public LogicGameFixture {
 protected:
  // Hall is red, Den is blue; hotspot 1 of Hall goes to Den with the given
  // transition; with doorBack, hotspot 1 of Den goes straight back to Hall.
  engine::Game& redAndBlue(GameFolderBuilder& folder, int number = 1, double ms = 0, bool doorBack = false) {
    basicGame(folder);
    FrameSpec red, blue;
    red.background = QString::number(0x0000FF);
    blue.background = QString::number(0xFF0000);
    folder.file("Frames/Hall.fme", frameFileBytes(red));
    folder.file("Frames/Den.fme", frameFileBytes(blue));
    HotspotSpec door;
    ActionSpec go;
    go.goToFrame = 1;
    go.frameName = "Den";
    go.useTransition = 1;
    go.transitionDurationMs = ms;
    go.transitionNumber = number;
    folder.file("FramesData/Hall.fm2", hotspotFileBytes({door}));
    folder.file("FramesData/Hall.fm3", actionFileBytes({go}));
    if (doorBack) {
      ActionSpec back;
      back.goToFrame = 1;
      back.frameName = "Hall";
      folder.file("FramesData/Den.fm2", hotspotFileBytes({door}));
      folder.file("FramesData/Den.fm3", actionFileBytes({back}));
    }
    return startGame(folder);
  }
  // Hall is red with four doors side by side, each with a 0.2 s cross-fade: 1 to
  // Den (blue), 2 to a frame whose file is missing, 3 to one whose file is
  // damaged, 4 to one whose own code quits the game.
  engine::Game& doorsToBrokenFrames(GameFolderBuilder& folder) {
    writeDoorsToBrokenFrames(folder);
    return startGame(folder);
  }
  static void writeDoorsToBrokenFrames(GameFolderBuilder& folder) {
    basicGame(folder);
    FrameSpec red, blue, quits;
    red.background = QString::number(0x0000FF);
    blue.background = QString::number(0xFF0000);
    quits.runFrameProcedure = true;
    quits.frameProcedure = "Quit";
    folder.file("Frames/Hall.fme", frameFileBytes(red));
    folder.file("Frames/Den.fme", frameFileBytes(blue));
    folder.file("Frames/Bad.fme", "\"x\",\"y\"\r\n");
    folder.file("Frames/Exit.fme", frameFileBytes(quits));
    std::vector<HotspotSpec> doors(4);
    std::vector<ActionSpec> goes(4);
    const char* targets[] = {"Den", "Nowhere", "Bad", "Exit"};
    for (int i = 0; i < 4; ++i) {
      doors[i].x = 300 + i * 1500;  // 20, 120, 220, 320 pixels from the left, 80 wide
      doors[i].w = 1200;
      goes[i].goToFrame = 1;
      goes[i].frameName = targets[i];
      goes[i].useTransition = 1;
      goes[i].transitionNumber = 1;
      goes[i].transitionDurationMs = 200;
    }
    folder.file("FramesData/Hall.fm2", hotspotFileBytes(doors));
    folder.file("FramesData/Hall.fm3", actionFileBytes(goes));
  }
  static void typeKey(engine::Game& g, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(&g, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(&g, &up);
  }
  static QRgb middle(engine::Game& g) { return g.display().framePicture().pixel(200, 150); }
  static void pressOn(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }
  static bool ffmpeg(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y", "-nostdin"} + args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  }
};

TEST_F(TransitionsTest, CrossFadeLastsItsDurationByTheClockAndEndsOnTheNewFrame) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  ASSERT_EQ(middle(g), kRed);
  bool coveredHalfWay = false;
  g.transitions().onPass = [&](double f) {
    if (f > 0.4 && f < 0.6) {
      const QColor c = g.display().framePicture().pixelColor(200, 150);
      coveredHalfWay = coveredHalfWay || (c.red() > 60 && c.red() < 195 && c.blue() > 60 && c.blue() < 195);
    }
  };
  QElapsedTimer t;
  t.start();
  g.goToFrame({"Den", true, 1, 0.4});
  const qint64 took = t.elapsed();
  EXPECT_GE(took, 390);
  EXPECT_LT(took, 1500);
  EXPECT_GT(g.transitions().lastPassCount(), 5);
  EXPECT_TRUE(coveredHalfWay) << "half-way the picture is a mix of both frames";
  EXPECT_EQ(startup::CurrentFrameName(), "Den");
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_FALSE(g.state().TransitionRunning);
  EXPECT_EQ(middle(g), kBlue);
  EXPECT_TRUE(g.picStart->image().isNull()) << "the work pictures are emptied afterwards";
  EXPECT_TRUE(g.picEnd->image().isNull());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(TransitionsTest, EverySlideEndsOnTheNewFrameAndShowsBothHalfWay) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  for (int number = 2; number <= 5; ++number) {
    const bool toDen = startup::CurrentFrameName() == "Hall";
    const QRgb from = toDen ? kRed : kBlue, to = toDen ? kBlue : kRed;
    bool sawBoth = false;
    g.transitions().onPass = [&](double f) {
      if (f < 0.3 || f > 0.7) return;
      const QImage pic = g.display().framePicture();
      bool a = false, b = false;
      for (QPoint p : {QPoint(5, 5), QPoint(395, 5), QPoint(5, 295), QPoint(395, 295)}) {
        a = a || pic.pixel(p) == from;
        b = b || pic.pixel(p) == to;
      }
      sawBoth = sawBoth || (a && b);
    };
    g.goToFrame({toDen ? "Den" : "Hall", true, number, 0.3});
    EXPECT_TRUE(sawBoth) << "slide " << number;
    EXPECT_EQ(middle(g), to) << "slide " << number;
    EXPECT_FALSE(g.picWhere->visible());
  }
}

TEST_F(TransitionsTest, DurationZeroOrLessShowsTheNewFrameAtOnce) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  for (double seconds : {0.0, -2.0, std::nan("")}) {
    const QString target = startup::CurrentFrameName() == "Hall" ? "Den" : "Hall";
    QElapsedTimer t;
    t.start();
    g.goToFrame({target, true, 1, seconds});
    EXPECT_LT(t.elapsed(), 300);
    EXPECT_EQ(g.transitions().lastPassCount(), 0);
    EXPECT_EQ(startup::CurrentFrameName(), target);
    EXPECT_FALSE(g.picWhere->visible());
  }
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(TransitionsTest, NumbersOutsideTheTablePhotographButCoverNothing) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  g.transitions().TransitionStep1(6);
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_EQ(g.picStart->image().pixel(10, 10), kRed) << "the old frame is photographed";
  g.OpenFrame("Den", true, 6, 1.0);
  EXPECT_EQ(g.transitions().lastPassCount(), 0);
  EXPECT_EQ(middle(g), kBlue);
  for (int number : {-1, 6, 32767}) {
    QElapsedTimer t;
    t.start();
    g.goToFrame({"Hall", true, number, 5.0});
    EXPECT_LT(t.elapsed(), 1000) << number;
    EXPECT_FALSE(g.picWhere->visible());
  }
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(TransitionsTest, DisabledTransitionsCaptureNothingAndCoverNothing) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  g.mnuDisableTransitions->onClick();
  EXPECT_FALSE(g.transitions().GetTransitionsStatus());
  EXPECT_EQ(startup::LoadSetting(QStringLiteral("DisableTransitions")), QStringLiteral("True"));
  g.transitions().TransitionStep1(1);
  EXPECT_TRUE(g.picStart->image().isNull());
  EXPECT_FALSE(g.picWhere->visible());
  QElapsedTimer t;
  t.start();
  g.goToFrame({"Den", true, 1, 3.0});
  EXPECT_LT(t.elapsed(), 1000);
  EXPECT_EQ(g.transitions().lastPassCount(), 0);
  EXPECT_EQ(middle(g), kBlue);
  // And back on.
  g.transitions().EnableOrDisableTransitions();
  EXPECT_TRUE(g.transitions().GetTransitionsStatus());
  EXPECT_EQ(startup::LoadSetting(QStringLiteral("DisableTransitions")), QStringLiteral("False"));
}

class GameClockTransitionsTest : public TransitionsTest {
 protected:
  void SetUp() override {
    TransitionsTest::SetUp();
    platform::Clock::instance().useVirtualTime();
  }
  void TearDown() override {
    TransitionsTest::TearDown();
    platform::Clock::instance().useRealTimeForTests();
  }
};

// The picture of a running transition takes a click only for the menus: the
// cross-fade under it goes on to its end.
TEST_F(GameClockTransitionsTest, AClickOnACrossFadeOnlyShowsOrHidesTheMenus) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder, 1, 400);
  g.display().toggleWindowedPlay();  // full screen, where the menu bar comes and goes
  ASSERT_FALSE(g.display().windowedPlay());
  g.HideMenus();
  bool menusShown = false;
  g.transitions().onPass = [&](double) {
    if (g.transitions().lastPassCount() == 3) {
      pressOn(g.picWhere, Qt::RightButton);
      menusShown = g.mnuExit->visible();
    }
    if (g.transitions().lastPassCount() == 4) pressOn(g.picWhere);
  };
  const qint64 started = platform::Clock::instance().msecs();
  logic().AreaClick(1, engine::kLeftButton);
  EXPECT_GE(platform::Clock::instance().msecs() - started, 400) << "the fade took its whole time";
  EXPECT_GT(g.transitions().lastPassCount(), 4);
  EXPECT_TRUE(menusShown) << "a right click shows the menu bar";
  EXPECT_FALSE(g.mnuExit->visible()) << "a left click hides it";
  EXPECT_EQ(startup::CurrentFrameName(), "Den");
  EXPECT_FALSE(g.state().TransitionRunning);
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_EQ(middle(g), kBlue);
}

TEST_F(TransitionsTest, EscDuringASlideEndsIt) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  g.transitions().onPass = [&](double) {
    if (g.transitions().lastPassCount() == 2) g.input().KeyDown(27, 0);
  };
  QElapsedTimer t;
  t.start();
  g.goToFrame({"Den", true, 3, 30.0});
  EXPECT_LT(t.elapsed(), 3000);
  EXPECT_EQ(middle(g), kBlue);
}

TEST_F(TransitionsTest, ComposedCaptureEqualsTheScreenWithTextsHotspotPicturesAndAnAnimatedPicture) {
  GameFolderBuilder folder;
  basicGame(folder);
  QImage back(400, 300, QImage::Format_RGB32);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) back.setPixel(x, y, qRgb(x % 256, y % 256, 90));
  ASSERT_TRUE(back.save(folder.path("Frames/hall.png")));
  folder.picture("Areas/lamp.png", 30, 20, Qt::yellow);
  // An animated picture whose images last a second each: red, then blue.
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "color=c=red:s=16x12:r=1:d=1", "-f", "lavfi", "-i",
                      "color=c=blue:s=16x12:r=1:d=1", "-filter_complex", "[0][1]concat=n=2:v=1", "-loop", "0",
                      "-f", "gif", folder.path("Areas/bird.gif")}));
  FrameSpec hall;
  hall.backgroundType = 1;
  hall.background = "hall.png";
  folder.file("Frames/Hall.fme", frameFileBytes(hall));
  TextBoxSpec text;
  text.caption = "Welcome\r\n home";
  text.left = 300;
  text.top = 3000;
  text.fontSize = 14;
  text.colour = 0xFFFFFF;
  folder.file("FramesData/Hall.fm1", textFileBytes({text}));
  HotspotSpec lamp, bird;
  lamp.hasPicture = true;
  lamp.pictureFile = "lamp.png";
  lamp.x = 3000;
  lamp.y = 600;
  bird.pictureKind = 1;
  bird.hasPicture = true;
  bird.pictureFile = "bird.gif";
  bird.x = 4500;
  bird.y = 2400;
  folder.file("FramesData/Hall.fm2", hotspotFileBytes({lamp, bird}));
  auto& g = startGame(folder);
  ASSERT_TRUE(g.Area[1].visible());
  ASSERT_GT(g.Area[2].whatsThisHelpId(), 0);
  ASSERT_TRUE(g.AniGifBox[g.Area[2].whatsThisHelpId()].visible());

  const QImage screen = g.display().framePicture();
  g.transitions().CaptureCurrentFrame(*g.picEnd);
  const QImage composed = g.picEnd->image().convertToFormat(screen.format());
  ASSERT_EQ(composed.size(), screen.size());
  int differing = 0;
  QRect where;
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x)
      if (screen.pixel(x, y) != composed.pixel(x, y)) {
        ++differing;
        where |= QRect(x, y, 1, 1);
        if (differing < 4)
          ADD_FAILURE() << x << "," << y << " " << std::hex << screen.pixel(x, y) << " " << composed.pixel(x, y);
      }
  EXPECT_EQ(differing, 0) << where.x() << "," << where.y() << " " << where.width() << "x" << where.height();
  // The parts are really there.
  EXPECT_EQ(composed.pixel(205, 45), qRgb(255, 255, 0));        // the lamp
  EXPECT_GT(composed.pixelColor(308, 166).red(), 240);          // the bird's first image
  EXPECT_LT(composed.pixelColor(308, 166).blue(), 15);

  // The actual capture sees the same picture.
  g.transitions().CaptureActualFrame(*g.picStart);
  EXPECT_EQ(g.picStart->image().convertToFormat(screen.format()), screen);
}

TEST_F(TransitionsTest, AnimatedPicturesStartAgainAfterATransition) {
  GameFolderBuilder folder;
  basicGame(folder);
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "color=c=red:s=16x12:r=10:d=0.1", "-f", "lavfi", "-i",
                      "color=c=blue:s=16x12:r=10:d=0.1", "-filter_complex", "[0][1]concat=n=2:v=1", "-loop", "0",
                      "-f", "gif", folder.path("Areas/bird.gif")}));
  folder.file("Frames/Hall.fme", frameFileBytes({}));
  folder.file("Frames/Den.fme", frameFileBytes({}));
  HotspotSpec bird;
  bird.pictureKind = 1;
  bird.hasPicture = true;
  bird.pictureFile = "bird.gif";
  folder.file("FramesData/Den.fm2", hotspotFileBytes({bird}));
  auto& g = startGame(folder);
  g.goToFrame({"Den", true, 1, 0.35});
  const int link = g.Area[1].whatsThisHelpId();
  ASSERT_GT(link, 0);
  EXPECT_TRUE(g.AniGif[link].playing());
  EXPECT_EQ(g.AniGif[link].currentFrame(), 0) << "restarted from its first image after the transition";
}

TEST_F(TransitionsTest, WindowPartsOutsideTheWorkAreaAreBlackInTheActualCapture) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  const QPoint origin = g.mapToGlobal(g.display().pictureToWindow(QPointF(0, 0)).toPoint());
  // A work area that ends 100 pixels into the picture on the right.
  g.state().WorkArea = QRect(origin.x() - 1000, origin.y() - 1000, 1000 + 300, 2000);
  g.transitions().CaptureActualFrame(*g.picStart);
  const QImage shot = g.picStart->image();
  ASSERT_EQ(shot.size(), QSize(400, 300)) << origin.x() << "," << origin.y();
  EXPECT_EQ(shot.pixel(10, 10), kRed);
  EXPECT_EQ(shot.pixel(299, 10), kRed);
  EXPECT_EQ(shot.pixel(301, 10), qRgb(0, 0, 0));
}

// A script's coloured square: a label without a caption, 60 x 40 pixels at (x, y).
void addSquare(logic::GameLogic& logic, const QString& name, int x, int y, const char* colour, bool appear,
               bool disappear) {
  const script::ScriptResult added = logic.ExecuteVBScriptAndConsequences(
      QStringLiteral("AddComponent \"Forms.Label.1\", \"%1\", %2, %3\r\n"
                     "With Component(\"%1\")\r\n  .BackColor = %4\r\n  .Left = %5 : .Top = %6\r\n"
                     "  .Width = 900 : .Height = 600\r\n  .Visible = True\r\nEnd With\r\n")
          .arg(name, appear ? "True" : "False", disappear ? "True" : "False", QString::fromLatin1(colour))
          .arg(x * 15)
          .arg(y * 15),
      true);
  EXPECT_EQ(added, script::ScriptResult::Ok) << name.toStdString();
}
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kYellow = qRgb(255, 255, 0);

TEST_F(TransitionsTest, ComponentThatAppearsDuringTransitionsRidesOnTheNewPictureOfASlide) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  addSquare(logic(), "badge", 300, 100, "RGB(0, 255, 0)", true, false);
  addSquare(logic(), "plain", 30, 200, "RGB(255, 255, 0)", false, false);
  ASSERT_EQ(boxCount(), 0u) << lastBox().text.toStdString();
  ASSERT_EQ(middle(g), kRed);
  for (int number = 2; number <= 5; ++number) {
    const bool toDen = startup::CurrentFrameName() == "Hall";
    const QRgb to = toDen ? kBlue : kRed;
    int checked = 0;
    g.transitions().onPass = [&](double f) {
      if (f < 0.2 || f > 0.8) return;
      const QPoint in = media::newPictureOffset(media::transitionKind(number), f, QSize(400, 300));
      const QImage pic = g.display().framePicture();
      auto inside = [&](QPoint p) { return QRect(0, 0, 400, 300).contains(p); };
      // The badge rides on the new picture: it stands where its place on the new frame is now.
      const QPoint badge = QPoint(330, 120) + in;
      if (inside(badge)) {
        EXPECT_EQ(pic.pixel(badge), kGreen) << "slide " << number << " at " << f;
      }
      // The plain one stays under the transition: the new picture shows the new frame there.
      const QPoint plain = QPoint(60, 220) + in;
      if (inside(plain)) {
        EXPECT_EQ(pic.pixel(plain), to) << "slide " << number << " at " << f;
      }
      ++checked;
    };
    g.goToFrame({toDen ? "Den" : "Hall", true, number, 0.3});
    EXPECT_GT(checked, 0) << "slide " << number;
    // Back on the frame picture, at its place, with its own Left and Top unchanged.
    auto* badge = g.components().control("badge");
    ASSERT_NE(badge, nullptr);
    EXPECT_EQ(badge->parentWidget(), g.PictureBox);
    EXPECT_EQ(badge->pos(), QPoint(300, 100));
    EXPECT_EQ(badge->left(), 4500);
    EXPECT_TRUE(badge->visible());
    EXPECT_EQ(g.display().framePicture().pixel(330, 120), kGreen);
    EXPECT_EQ(g.display().framePicture().pixel(60, 220), kYellow);
    EXPECT_EQ(middle(g), to);
  }
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(TransitionsTest, InACrossFadeTheComponentsThatAppearStandStillAndOnlyTheOthersFade) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  addSquare(logic(), "early", 20, 20, "RGB(0, 255, 0)", true, true);    // leaves before the photograph
  addSquare(logic(), "late", 120, 20, "RGB(255, 255, 0)", true, false);   // photographed, and on top
  addSquare(logic(), "plain", 220, 20, "RGB(255, 255, 0)", false, false); // photographed, fades away
  ASSERT_EQ(boxCount(), 0u) << lastBox().text.toStdString();
  bool checked = false;
  g.transitions().onPass = [&](double f) {
    if (f < 0.4 || f > 0.6) return;
    const QImage old = g.picStart->image();
    EXPECT_EQ(old.pixel(50, 40), kRed) << "the early one is not in the old picture";
    EXPECT_EQ(old.pixel(150, 40), kYellow);
    EXPECT_EQ(old.pixel(250, 40), kYellow);
    const QImage pic = g.display().framePicture();
    EXPECT_EQ(pic.pixel(50, 40), kGreen);
    EXPECT_EQ(pic.pixel(150, 40), kYellow);
    EXPECT_NE(pic.pixel(250, 40), kYellow) << "half faded";
    EXPECT_NE(pic.pixel(250, 40), kBlue);
    checked = true;
  };
  g.goToFrame({"Den", true, 1, 0.4});
  EXPECT_TRUE(checked);
  for (auto [name, x] : {std::pair{"early", 50}, std::pair{"late", 150}, std::pair{"plain", 250}}) {
    EXPECT_EQ(g.components().control(name)->parentWidget(), g.PictureBox) << name;
    EXPECT_NE(g.display().framePicture().pixel(x, 40), kBlue) << name << " shows after the transition";
  }
  EXPECT_EQ(middle(g), kBlue);
}

TEST_F(TransitionsTest, ComponentsGoBackIntoTheirLayersAndOneRemovedMidwayIsNoTrouble) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  // "under" rides; "over" does not and lies on top of it; "gone" rides and is removed midway.
  addSquare(logic(), "under", 100, 100, "RGB(0, 255, 0)", true, false);
  addSquare(logic(), "over", 130, 110, "RGB(255, 255, 0)", false, false);
  addSquare(logic(), "gone", 250, 100, "RGB(0, 255, 0)", true, false);
  ASSERT_EQ(g.display().framePicture().pixel(140, 120), kYellow);
  g.transitions().onPass = [&](double) {
    if (g.transitions().lastPassCount() == 2) {
      EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("RemoveComponent \"gone\"", true), script::ScriptResult::Ok);
    }
  };
  g.goToFrame({"Den", true, 3, 0.3});
  QApplication::processEvents();  // the removed control is deleted
  EXPECT_EQ(g.components().control("gone"), nullptr);
  EXPECT_EQ(g.display().framePicture().pixel(140, 120), kYellow) << "the one on top is still on top";
  EXPECT_EQ(g.display().framePicture().pixel(110, 105), kGreen);
  EXPECT_EQ(g.display().framePicture().pixel(270, 120), kBlue);
  EXPECT_EQ(boxCount(), 0u) << lastBox().text.toStdString();
  // A transition abandoned after its first half leaves nothing on the cover.
  g.transitions().TransitionStep1(2);
  g.transitions().PrepareTransitions();
  EXPECT_EQ(g.components().control("under")->parentWidget(), g.PictureBox);
}

TEST_F(TransitionsTest, AFrameThatCannotOpenLeavesTheRealFrameUncoveredAndClickable) {
  GameFolderBuilder folder;
  auto& g = doorsToBrokenFrames(folder);
  // A component that rides on transitions is lifted off the frame by the first step.
  addSquare(logic(), "badge", 300, 200, "RGB(0, 255, 0)", true, false);
  ASSERT_EQ(middle(g), kRed);
  const QPoint door1(60, 150);  // the middle of hotspot 1

  // The damaged frame, then the missing one; each says what it says without a transition.
  g.OpenFrame("Bad", false, 0, 0);
  const QString withoutTransition = allMessages();
  ASSERT_TRUE(withoutTransition.contains("Unable to load the frame called 'Bad'"));
  g.OpenFrame("Hall", false, 0, 0);
  dialogs().forgetShown();
  logic().AreaClick(3, engine::kLeftButton);
  EXPECT_EQ(allMessages(), withoutTransition);
  EXPECT_FALSE(g.picWhere->visible()) << "the old picture does not stay over the frame";
  EXPECT_FALSE(g.transitions().pending());
  EXPECT_EQ(g.components().control("badge")->parentWidget(), g.PictureBox);
  EXPECT_EQ(g.display().framePicture().pixel(330, 220), kGreen);
  EXPECT_EQ(g.PictureBox->childAt(door1), g.Area.item(1)) << "a click there lands on the frame";
  g.OpenFrame("Hall", false, 0, 0);

  const std::size_t shown = boxCount();
  logic().AreaClick(2, engine::kLeftButton);
  ASSERT_EQ(boxCount(), shown + 1);
  EXPECT_TRUE(lastBox().text.contains(" A program link is broken. The frame named \"Nowhere\" could not be found."));
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_TRUE(g.picStart->image().isNull()) << "the photograph is let go";
  EXPECT_EQ(g.components().control("badge")->parentWidget(), g.PictureBox);
  QWidget* under = g.PictureBox->childAt(door1);
  ASSERT_EQ(under, g.Area.item(1));

  // A real press there opens the next frame with its transition, as ever.
  int passes = 0;
  g.transitions().onPass = [&](double) { ++passes; };
  pressOn(under);
  EXPECT_EQ(startup::CurrentFrameName(), "Den");
  EXPECT_GT(passes, 2);
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_EQ(middle(g), kBlue);
  EXPECT_EQ(boxCount(), shown + 1);
}

TEST_F(TransitionsTest, AWalkthroughClicksTheFrameAfterATransitionToAMissingFrame) {
  GameFolderBuilder folder;
  writeDoorsToBrokenFrames(folder);
  int failed = 0;
  const QString output = walkGame(dialogs(), folder.root(),
                                  "start\nclick 2\nexpect message \"could not be found\"\nexpect frame Hall\n"
                                  "clickat 60 150\nexpect frame Den\n",
                                  &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
}

TEST_F(TransitionsTest, AQuitWhileTheNewFrameLoadsUncoversTheFrame) {
  GameFolderBuilder folder;
  auto& g = doorsToBrokenFrames(folder);
  logic().AreaClick(4, engine::kLeftButton);
  EXPECT_TRUE(startup::GameStopped());
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_FALSE(g.transitions().pending());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(TransitionsTest, TransitionsSwitchedOffWhileTheFrameLoadsUncoverIt) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  g.transitions().TransitionStep1(1);
  ASSERT_TRUE(g.picWhere->visible());
  g.transitions().EnableOrDisableTransitions();
  g.OpenFrame("Den", true, 1, 2.0);
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_EQ(middle(g), kBlue);
}

int countColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == colour) ++n;
  return n;
}

TEST_F(TransitionsTest, OutlinesHeldWhileTheFrameTimerChangesFrameAreNotInTheOldPicture) {
  GameFolderBuilder folder;
  basicGame(folder);
  FrameSpec hall, den;
  hall.background = QString::number(0x0000FF);
  hall.timerOn = true;
  hall.timerSeconds = "0.3";
  hall.timerTarget = "Den";
  hall.timerWithTransition = true;
  hall.timerTransitionNumber = 1;
  hall.timerTransitionDuration = 300;
  den.background = QString::number(0xFF0000);
  folder.file("Frames/Hall.fme", frameFileBytes(hall));
  folder.file("Frames/Den.fme", frameFileBytes(den));
  folder.file("FramesData/Hall.fm2", hotspotFileBytes({HotspotSpec{}}));
  folder.file("FramesData/Den.fm2", hotspotFileBytes({HotspotSpec{}}));
  auto& g = startGame(folder);
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
  QApplication::sendEvent(&g, &space);
  ASSERT_TRUE(g.keyboardPlay().outlining());
  ASSERT_GT(countColour(g.display().framePicture(), engine::kOutlineColour), 0) << "the hotspot is outlined";

  int passes = 0, outlinedPasses = 0, outlinedOldPictures = 0;
  g.transitions().onPass = [&](double) {
    ++passes;
    if (countColour(g.picStart->image().convertToFormat(QImage::Format_RGB32), engine::kOutlineColour) > 0)
      ++outlinedOldPictures;
    if (countColour(g.display().framePicture(), engine::kOutlineColour) > 0) ++outlinedPasses;
  };
  QElapsedTimer t;
  t.start();
  while (startup::CurrentFrameName() != "Den" && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_EQ(startup::CurrentFrameName(), "Den");
  EXPECT_GT(passes, 2);
  EXPECT_EQ(outlinedOldPictures, 0) << "the old picture is photographed without the outlines";
  EXPECT_EQ(outlinedPasses, 0) << "nor are they drawn over the transition";
  // Space is still held: the new frame's hotspot is outlined.
  EXPECT_TRUE(g.keyboardPlay().outlining());
  EXPECT_GT(countColour(g.display().framePicture(), engine::kOutlineColour), 0);
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
  QApplication::sendEvent(&g, &up);
  EXPECT_EQ(countColour(g.display().framePicture(), engine::kOutlineColour), 0);
}

TEST_F(TransitionsTest, KeysCannotReachTheNewFrameUnderTheCover) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder, 1, 30000, true);  // a 30 s cross-fade to Den; Den's door goes back at once
  const engine::FocusTarget door{engine::FocusKind::Hotspot, 1};
  typeKey(g, Qt::Key_Tab);
  ASSERT_EQ(g.keyboardPlay().focused(), door);

  // Den's door lies under the cross-fade: Tab, Shift+Tab, Enter and Space
  // neither find it nor go through it.
  std::vector<std::optional<engine::FocusTarget>> focusUnderCover;
  g.transitions().onPass = [&](double) {
    if (g.transitions().lastPassCount() == 2) {
      typeKey(g, Qt::Key_Tab);
      focusUnderCover.push_back(g.keyboardPlay().focused());
      typeKey(g, Qt::Key_Backtab, Qt::ShiftModifier);
      focusUnderCover.push_back(g.keyboardPlay().focused());
      typeKey(g, Qt::Key_Return);
      typeKey(g, Qt::Key_Space);
      focusUnderCover.push_back(g.keyboardPlay().focused());
    }
    if (g.transitions().lastPassCount() == 4) g.state().TransitionSkip = true;
  };
  typeKey(g, Qt::Key_Return);
  g.transitions().onPass = nullptr;
  EXPECT_EQ(startup::CurrentFrameName(), "Den") << "no key went back through Den's door";
  EXPECT_EQ(g.transitions().lastPassCount(), 4);
  EXPECT_EQ(focusUnderCover, (std::vector<std::optional<engine::FocusTarget>>(3, std::nullopt)));
  EXPECT_FALSE(g.picWhere->visible());
  EXPECT_EQ(middle(g), kBlue);

  // Uncovered, the same keys reach Den's door.
  typeKey(g, Qt::Key_Tab);
  EXPECT_EQ(g.keyboardPlay().focused(), door);
  typeKey(g, Qt::Key_Return);
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
}

TEST_F(TransitionsTest, KeysWaitWhileTheNewFrameLoadsUnderTheOldPicture) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder, 1, 30000, true);  // a 30 s cross-fade to Den; Den's door goes back at once
  engine::KeyboardPlay& keys = g.keyboardPlay();
  const engine::FocusTarget door{engine::FocusKind::Hotspot, 1};
  typeKey(g, Qt::Key_Tab);
  ASSERT_EQ(keys.focused(), door);
  // Any transition a key might start ends at its first pass.
  g.transitions().onPass = [&](double) { g.state().TransitionSkip = true; };
  // The old picture goes up; until it comes down the keys leave the frame alone.
  g.transitions().TransitionStep1(1);
  ASSERT_TRUE(g.picWhere->visible());
  typeKey(g, Qt::Key_Return);
  typeKey(g, Qt::Key_Space);
  EXPECT_FALSE(keys.activate());
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
  EXPECT_TRUE(g.picWhere->visible());
  g.transitions().PrepareTransitions();
  typeKey(g, Qt::Key_Return);
  EXPECT_EQ(startup::CurrentFrameName(), "Den");
}

TEST_F(TransitionsTest, AScriptsCaptureLeavesOutTheOutlines) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  g.keyboardPlay().setOutlining(true);
  ASSERT_GT(countColour(g.display().framePicture(), engine::kOutlineColour), 0);
  g.transitions().CaptureActualFrame(*g.picStart);
  EXPECT_EQ(countColour(g.picStart->image().convertToFormat(QImage::Format_RGB32), engine::kOutlineColour), 0);
  EXPECT_GT(countColour(g.display().framePicture(), engine::kOutlineColour), 0) << "and they stay on the screen";
}

TEST_F(TransitionsTest, ScriptsCaptureIntoAPictureBoxAndSwitchTransitions) {
  GameFolderBuilder folder;
  auto& g = redAndBlue(folder);
  EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("CaptureFrame BackgroundObject, True\r\n"
                                                   "If GetTransitionsStatus Then InvertTransitionsStatus\r\n",
                                                   true),
            script::ScriptResult::Ok);
  EXPECT_EQ(g.PictureBox->image().pixel(3, 3), kRed);
  EXPECT_FALSE(g.transitions().GetTransitionsStatus());
  EXPECT_EQ(boxCount(), 0u) << (boxCount() ? lastBox().text.toStdString() : "");
}

}  // namespace
}  // namespace qm::testing
