// Rippling water on a running game: when a frame gets it, what moves and what
// never does, the effects switch, and bad effect files.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "engine/RippleEffectFile.h"
#include "engine/RipplingWater.h"
#include "logic/LogicGameFixture.h"
#include "platform/VbError.h"
#include "startup/Settings.h"

namespace qm::testing {
namespace {

class RipplingWaterTest : public LogicGameFixture {
 protected:
  // Pond: a detailed 400 x 300 picture; the effect rectangle (40, 100, 160 x 80)
  // has water in its left half (dark mask) and dry land in its right half.
  void pond(GameFolderBuilder& folder, const QString& rwe = "\"x\",1,2,3,4,5,40,100,160,80,10,8\r\n",
            bool writeMask = true, QSize maskSize = {160, 80}) {
    basicGame(folder);
    QImage back(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) back.setPixel(x, y, qRgb((x * 37) % 256, (y * 53) % 256, ((x + y) * 7) % 256));
    ASSERT_TRUE(back.save(folder.path("Frames/pond.png")));
    background_ = back;
    FrameSpec f;
    f.backgroundType = 1;
    f.background = "pond.png";
    folder.file("Frames/Hall.fme", frameFileBytes(f));
    folder.file("Frames/Hall.rwe", rwe.toLatin1());
    if (writeMask) {
      QImage mask(maskSize, QImage::Format_RGB32);
      mask.fill(Qt::white);
      for (int y = 0; y < maskSize.height(); ++y)
        for (int x = 0; x < maskSize.width() / 2; ++x) mask.setPixel(x, y, qRgb(0, 0, 0));
      ASSERT_TRUE(mask.save(folder.path("Frames/Hall.rwm"), "BMP"));
    }
  }
  static void runEvents(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  bool running(engine::Game& g) {
    return g.effects().RippleActive && g.PicRipplingWater->visible() && g.TimerRipplingWater.enabled();
  }
  QImage water(engine::Game& g) { return g.PicRipplingWater->image().copy(); }
  QImage background_;
};

TEST_F(RipplingWaterTest, WaterMovesWhereTheMaskIsDarkAndNeverElsewhere) {
  GameFolderBuilder folder;
  pond(folder);
  auto& g = startGame(folder);
  ASSERT_TRUE(running(g));
  EXPECT_EQ(g.PicRipplingWater->QWidget::geometry(), QRect(40, 100, 160, 80));
  EXPECT_EQ(g.TimerRipplingWater.interval(), 30);
  EXPECT_EQ(g.effects().RippleParameter, 10);
  EXPECT_EQ(g.effects().RippleSpeed, 8);
  EXPECT_FALSE(g.effects().RippleReverse) << "no field 13: the normal direction";
  const QImage dry = background_.copy(40, 100, 160, 80);
  QImage last = water(g);
  int changedWater = 0;
  for (int step = 0; step < 4; ++step) {
    runEvents(120);
    const QImage now = water(g);
    ASSERT_EQ(now.size(), QSize(160, 80));
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 160; ++x) {
        if (x >= 80)
          ASSERT_EQ(now.pixel(x, y), dry.pixel(x, y)) << "dry pixel " << x << "," << y << " changed";
        else
          changedWater += now.pixel(x, y) != last.pixel(x, y);
      }
    last = now;
  }
  EXPECT_GT(changedWater, 4 * 80 * 80 / 4) << "the water should move over time";
  EXPECT_TRUE(g.effects().RippleRendered);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(RipplingWaterTest, NoMaskFileMeansNoEffectAndNoMessage) {
  GameFolderBuilder folder;
  pond(folder, "\"x\",1,2,3,4,5,40,100,160,80,10,8\r\n", false);
  auto& g = startGame(folder);
  EXPECT_FALSE(g.effects().RippleActive);
  EXPECT_FALSE(g.PicRipplingWater->visible());
  EXPECT_FALSE(g.TimerRipplingWater.enabled());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(RipplingWaterTest, AMaskThatCannotBeReadMeansNoEffectAndNoMessage) {
  GameFolderBuilder folder;
  pond(folder, "\"x\",1,2,3,4,5,40,100,160,80,10,8\r\n", false);
  folder.file("Frames/Hall.rwm", QByteArray("this is not a picture"));
  auto& g = startGame(folder);
  EXPECT_FALSE(g.effects().RippleActive);
  EXPECT_FALSE(g.PicRipplingWater->visible());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(RipplingWaterTest, AMaskOfAnotherSizeIsStretchedOverTheRectangle) {
  GameFolderBuilder folder;
  pond(folder, "\"x\",1,2,3,4,5,40,100,160,80,10,8\r\n", true, {16, 8});
  auto& g = startGame(folder);
  ASSERT_TRUE(running(g));
  runEvents(100);
  const QImage now = water(g);
  const QImage dry = background_.copy(40, 100, 160, 80);
  EXPECT_EQ(now.pixel(150, 40), dry.pixel(150, 40));
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(RipplingWaterTest, TiledAndColourBackgroundsNeverGetWater) {
  for (int kind = 0; kind < 2; ++kind) {
    GameFolderBuilder folder;
    pond(folder);
    FrameSpec f;
    if (kind == 0) {
      f.backgroundType = 1;
      f.background = "pond.png";
      f.tile = true;
    }
    folder.file("Frames/Hall.fme", frameFileBytes(f));
    auto& g = startGame(folder);
    EXPECT_FALSE(g.effects().RippleActive) << kind;
    EXPECT_FALSE(g.PicRipplingWater->visible()) << kind;
    // Switching effects off and on again does not set it up either.
    g.effects().EnableOrDisableEffects();
    g.effects().EnableOrDisableEffects();
    EXPECT_FALSE(g.effects().RippleActive) << kind;
  }
}

TEST_F(RipplingWaterTest, DisablingStopsItAndHidesTheWaterAtOnceEnablingRestartsIt) {
  GameFolderBuilder folder;
  pond(folder);
  auto& g = startGame(folder);
  ASSERT_TRUE(running(g));
  g.mnuDisableEffects->onClick();
  EXPECT_FALSE(g.effects().GetEffectsStatus());
  EXPECT_FALSE(g.PicRipplingWater->visible());
  EXPECT_FALSE(g.TimerRipplingWater.enabled());
  EXPECT_FALSE(g.effects().RippleActive);
  EXPECT_EQ(startup::LoadSetting(QStringLiteral("DisableEffects")), QStringLiteral("True"));
  // A frame opened meanwhile gets no water.
  g.OpenFrame("Hall", false, 0, 0);
  EXPECT_FALSE(g.PicRipplingWater->visible());
  g.effects().EnableOrDisableEffects();
  EXPECT_TRUE(running(g));
  EXPECT_LT(g.effects().renderer().elapsed(), 1000) << "a fresh time base";
  EXPECT_EQ(startup::LoadSetting(QStringLiteral("DisableEffects")), QStringLiteral("False"));
}

// Every drawn step sets the window's own pointer back to the default one.
TEST_F(RipplingWaterTest, EachStepGivesTheWindowTheDefaultPointer) {
  GameFolderBuilder folder;
  pond(folder);
  auto& g = startGame(folder);
  ASSERT_TRUE(running(g));
  g.setCursor(Qt::WaitCursor);
  g.setProperty("MousePointer", 11);
  g.effects().TimerRipplingWater_Timer();
  EXPECT_EQ(g.cursor().shape(), Qt::ArrowCursor) << "the window's hourglass is gone";
  EXPECT_EQ(g.property("MousePointer").toInt(), 0);
}

TEST_F(RipplingWaterTest, ScriptsSwitchEffects) {
  GameFolderBuilder folder;
  pond(folder);
  auto& g = startGame(folder);
  EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("If GetEffectsStatus Then InvertEffectsStatus\r\n", true), script::ScriptResult::Ok);
  EXPECT_FALSE(g.PicRipplingWater->visible());
  EXPECT_FALSE(g.effects().GetEffectsStatus());
}

TEST_F(RipplingWaterTest, ReverseFieldIsRead) {
  GameFolderBuilder folder;
  pond(folder, "\"x\",1,2,3,4,5,40,100,160,80,10,8,#TRUE#\r\n");
  auto& g = startGame(folder);
  EXPECT_TRUE(running(g));
  EXPECT_TRUE(g.effects().RippleReverse);
}

TEST_F(RipplingWaterTest, BadRectanglesReportTheInitializingErrorAndTheGameGoesOn) {
  for (const char* rwe : {"\"x\",1,2,3,4,5,40,100,3000,80,10,8\r\n",   // too wide for the boxes
                          "\"x\",1,2,3,4,5,40,100,-160,80,10,8\r\n",   // negative width
                          "\"x\",1,2,3,4,5,40,100,160,0,10,8\r\n",     // no height
                          "\"x\",1,2,3,4,5,40,100,99999,80,10,8\r\n",  // not a 16-bit integer
                          "\"x\",1,2,3\r\n"}) {                          // ends early
    GameFolderBuilder folder;
    pond(folder, rwe);
    auto& g = startGame(folder);
    EXPECT_FALSE(g.effects().RippleActive) << rwe;
    EXPECT_FALSE(g.TimerRipplingWater.enabled()) << rwe;
    EXPECT_EQ(messagesContaining(" Error initializing the Rippling Water effect. "), 1u) << rwe;
    EXPECT_EQ(startup::CurrentFrameName(), "Hall");
    dialogs().clear();
  }
}

TEST(RippleEffectFileTest, ReadsTheRectangleAndTheWaveFields) {
  const auto e = engine::parseRippleEffectFile("\"a\",\"b\",1,2,#FALSE#,0,-10,20,2184,40,-3,12,#TRUE#\r\n", "t.rwe");
  EXPECT_EQ(e.left, -10);
  EXPECT_EQ(e.top, 20);
  EXPECT_EQ(e.width, 2184);  // the widest rectangle whose twips fit
  EXPECT_EQ(e.height, 40);
  EXPECT_EQ(e.parameter, -3);
  EXPECT_EQ(e.speed, 12);
  EXPECT_TRUE(e.reverse);
  EXPECT_THROW(engine::parseRippleEffectFile("0,0,0,0,0,0,0,0,2185,40,1,1", "t.rwe"), VbError);
  EXPECT_THROW(engine::parseRippleEffectFile("0,0,0,0,0,0,-2185,0,10,40,1,1", "t.rwe"), VbError);
  EXPECT_THROW(engine::parseRippleEffectFile("", "t.rwe"), VbError);
}

}  // namespace
}  // namespace qm::testing
