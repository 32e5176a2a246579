// Control arrays and the property table every control declares.
#include <gtest/gtest.h>

#include <QWidget>

#include "engine/controls/ControlArray.h"
#include "engine/controls/ImageControl.h"
#include "engine/controls/LabelControl.h"
#include "engine/controls/TimerControl.h"
#include "support/ProjectTest.h"

namespace qm::engine {
namespace {

class ControlArrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ensureQtApplication();
    parent_ = std::make_unique<QWidget>();
    labels_.init([this](int i) { return new LabelControl("Text", i, parent_.get()); },
                 [this](LabelControl& c, int i) { c.onClick = [this, i] { clicked_ = i; }; });
  }
  std::unique_ptr<QWidget> parent_;
  ControlArray<LabelControl> labels_;
  int clicked_ = -1;
};

TEST_F(ControlArrayTest, TemplateIsElementZeroAndHidden) {
  EXPECT_EQ(labels_.Count(), 1);
  EXPECT_EQ(labels_.LBound(), 0);
  EXPECT_EQ(labels_.UBound(), 0);
  EXPECT_FALSE(labels_[0].visible());
}

TEST_F(ControlArrayTest, LoadedElementsCopyTheTemplateAndStartHidden) {
  labels_[0].setCaption("template");
  labels_[0].setFontBold(true);
  labels_[0].setVisibleVb(true);
  labels_[0].setTag("t");
  LabelControl& e = labels_.Load(3);
  EXPECT_EQ(e.caption(), "template");
  EXPECT_TRUE(e.fontBold());
  EXPECT_EQ(e.tag(), "t");
  EXPECT_FALSE(e.visible());
  EXPECT_EQ(e.vbIndex(), 3);
  EXPECT_EQ(labels_.Count(), 2);
  EXPECT_EQ(labels_.UBound(), 3);
  EXPECT_FALSE(labels_.exists(2));
}

TEST_F(ControlArrayTest, VbErrorsForMissingDoubleAndDesignTimeElements) {
  labels_.Load(1);
  try {
    labels_.Load(1);
    FAIL();
  } catch (const ControlArrayError& e) {
    EXPECT_EQ(e.number, 360);
  }
  try {
    labels_.Unload(0);
    FAIL();
  } catch (const ControlArrayError& e) {
    EXPECT_EQ(e.number, 362);
  }
  try {
    labels_[7];
    FAIL();
  } catch (const ControlArrayError& e) {
    EXPECT_EQ(e.number, 340);
  }
  EXPECT_THROW(labels_.Unload(7), ControlArrayError);
}

TEST_F(ControlArrayTest, ReloadedElementForgetsWhatItWasGiven) {
  LabelControl& a = labels_.Load(1);
  a.setCaption("old");
  a.setVisibleVb(true);
  a.onMouseDown = [](int, int, double, double) {};
  labels_.Unload(1);
  EXPECT_FALSE(a.visible());
  LabelControl& b = labels_.Load(2);
  EXPECT_EQ(b.caption(), "");
  EXPECT_EQ(b.vbIndex(), 2);
  EXPECT_FALSE(b.visible());
  EXPECT_FALSE(b.onMouseDown);
  // The wiring gives the new element its own index.
  b.onClick();
  EXPECT_EQ(clicked_, 2);
}

TEST_F(ControlArrayTest, UnloadAllLeavesOnlyTheTemplate) {
  for (int i : {1, 2, 5}) labels_.Load(i);
  labels_.UnloadAll();
  EXPECT_EQ(labels_.Count(), 1);
  EXPECT_EQ(labels_.UBound(), 0);
}

TEST(PropertyTable, NamesAreFoundInAnyCaseAndReadOnlyOnesRefuseWrites) {
  testing::ensureQtApplication();
  QWidget parent;
  ImageControl image("Area", 4, &parent);
  EXPECT_TRUE(image.vbSet("LEFT", 1500));
  EXPECT_EQ(image.vbGet("left").toDouble(), 1500);
  EXPECT_TRUE(image.vbSet("stretch", true));
  EXPECT_TRUE(image.stretch());
  EXPECT_EQ(image.vbGet("Index").toInt(), 4);
  EXPECT_FALSE(image.vbSet("Index", 9));
  EXPECT_FALSE(image.vbSet("NoSuchThing", 1));
  EXPECT_FALSE(image.vbGet("NoSuchThing").isValid());
  EXPECT_TRUE(image.propertyTable().names().contains("Picture"));
  EXPECT_TRUE(image.propertyTable().names().contains("Visible"));
}

TEST(PropertyTable, PositionsInTwipsSnapToWholePixels) {
  testing::ensureQtApplication();
  QWidget parent;
  ImageControl image("Area", 1, &parent);
  image.move(1507, 3000, 1200, 50);
  EXPECT_EQ(image.left(), 1500);
  EXPECT_EQ(image.geometry(), QRect(100, 200, 80, 3));
  image.setWidth(-30);
  EXPECT_EQ(image.width(), 0);
}

TEST(TimerControl, FiresOnlyWhenEnabledWithAnInterval) {
  testing::ensureQtApplication();
  TimerControl t("Timer1", -1);
  int ticks = 0;
  t.onTimer = [&] { ++ticks; };
  t.setEnabled(true);
  EXPECT_FALSE(t.running());  // interval 0 never fires
  t.setInterval(10);
  EXPECT_TRUE(t.running());
  t.setEnabled(false);
  EXPECT_FALSE(t.running());
  t.setInterval(120000);  // minutes are fine
  t.setEnabled(true);
  EXPECT_EQ(t.interval(), 120000);
  EXPECT_TRUE(t.running());
}

}  // namespace
}  // namespace qm::engine

namespace qm::engine {
namespace {

// The elements are sibling widgets, painted recursively by the toolkit: an
// array never holds more than it can paint.
TEST(ControlArrayLimit, NoMoreThanTenThousandLoadedElements) {
  testing::ensureQtApplication();
  QWidget parent;
  ControlArray<TimerControl> timers;
  timers.init([&](int i) { return new TimerControl("Timer", i, &parent); });
  for (int i = 1; i <= ControlArray<TimerControl>::kMaxLoaded; ++i) timers.Load(i);
  try {
    timers.Load(20000);
    FAIL() << "loaded element 10,001";
  } catch (const ControlArrayError& e) {
    EXPECT_EQ(e.number, 7);
  }
  timers.Unload(5);
  EXPECT_NO_THROW(timers.Load(20000));  // room again after an unload
}

}  // namespace
}  // namespace qm::engine
