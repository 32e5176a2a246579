// Transition passes: the cross-fade's constant alpha and the side each slide
// brings the new picture in from.
#include <gtest/gtest.h>

#include "media/TransitionPass.h"

#include <algorithm>
#include <cmath>

namespace qm::media {
namespace {

constexpr int W = 100, H = 80;

// Each pixel tells where it came from: red = column, green = row, blue = which picture.
QImage coded(int blue) {
  QImage img(W, H, QImage::Format_RGB32);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) img.setPixel(x, y, qRgb(x, y, blue));
  return img;
}
const QImage kOld = coded(0);
const QImage kNew = coded(255);

QImage pass(TransitionKind kind, double f) {
  QImage target(W, H, kTransitionFormat);
  drawTransitionPass(target, kOld, kNew, kind, f);
  return target;
}

// The pixel at (x, y) is pixel (sx, sy) of the old (blue 0) or new (blue 255) picture.
void expectFrom(const QImage& img, int x, int y, bool fromNew, int sx, int sy) {
  EXPECT_EQ(img.pixel(x, y), qRgb(sx, sy, fromNew ? 255 : 0)) << "at " << x << "," << y;
}

TEST(TransitionPassTest, NumbersMapToTheirEffects) {
  EXPECT_EQ(transitionKind(0), TransitionKind::CrossFade);
  EXPECT_EQ(transitionKind(1), TransitionKind::CrossFade);
  EXPECT_EQ(transitionKind(2), TransitionKind::SlideLeft);
  EXPECT_EQ(transitionKind(3), TransitionKind::SlideRight);
  EXPECT_EQ(transitionKind(4), TransitionKind::SlideUp);
  EXPECT_EQ(transitionKind(5), TransitionKind::SlideDown);
  // Both ends outside the table have no animation.
  EXPECT_EQ(transitionKind(6), TransitionKind::None);
  EXPECT_EQ(transitionKind(-1), TransitionKind::None);
  EXPECT_EQ(transitionKind(32767), TransitionKind::None);
}

TEST(TransitionPassTest, CrossFadeAlphaIsRoundedAndClamped) {
  EXPECT_EQ(crossFadeAlpha(0), 0);
  EXPECT_EQ(crossFadeAlpha(0.5), 128);  // 127.5 rounds up
  EXPECT_EQ(crossFadeAlpha(1), 255);
  EXPECT_EQ(crossFadeAlpha(-3), 0);
  EXPECT_EQ(crossFadeAlpha(7), 255);
  EXPECT_EQ(crossFadeAlpha(std::nan("")), 255);
}

TEST(TransitionPassTest, HalfWayCrossFadeMixesEveryPixelEvenly) {
  QImage red(W, H, QImage::Format_RGB32), blue(W, H, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  blue.fill(qRgb(0, 0, 255));
  QImage target(W, H, kTransitionFormat);
  drawTransitionPass(target, red, blue, TransitionKind::CrossFade, 0.5);
  for (QPoint p : {QPoint(0, 0), QPoint(W - 1, H - 1), QPoint(37, 11)}) {
    const QColor c = target.pixelColor(p);
    EXPECT_NEAR(c.red(), 127, 1);
    EXPECT_NEAR(c.blue(), 128, 1);
    EXPECT_EQ(c.green(), 0);
  }
  // A quarter of the way the old picture still dominates.
  drawTransitionPass(target, red, blue, TransitionKind::CrossFade, 0.25);
  EXPECT_NEAR(target.pixelColor(5, 5).red(), 191, 1);
}

TEST(TransitionPassTest, EveryEffectStartsOnTheOldPictureAndEndsOnTheNew) {
  for (auto kind : {TransitionKind::CrossFade, TransitionKind::SlideLeft, TransitionKind::SlideRight,
                    TransitionKind::SlideUp, TransitionKind::SlideDown}) {
    EXPECT_EQ(pass(kind, 0), kOld.convertToFormat(kTransitionFormat)) << int(kind);
    EXPECT_EQ(pass(kind, 1), kNew.convertToFormat(kTransitionFormat)) << int(kind);
  }
  EXPECT_EQ(pass(TransitionKind::None, 0.3), kNew.convertToFormat(kTransitionFormat));
}

TEST(TransitionPassTest, SlideLeftBringsTheNewPictureInFromTheLeft) {
  const QImage img = pass(TransitionKind::SlideLeft, 0.25);  // 25 columns in
  expectFrom(img, 0, 10, true, 75, 10);    // the new picture's right-hand part
  expectFrom(img, 24, 10, true, 99, 10);
  expectFrom(img, 25, 10, false, 0, 10);   // the old one pushed to the right
  expectFrom(img, 99, 10, false, 74, 10);
}

TEST(TransitionPassTest, SlideRightBringsTheNewPictureInFromTheRight) {
  const QImage img = pass(TransitionKind::SlideRight, 0.25);
  expectFrom(img, 0, 10, false, 25, 10);
  expectFrom(img, 74, 10, false, 99, 10);
  expectFrom(img, 75, 10, true, 0, 10);
  expectFrom(img, 99, 10, true, 24, 10);
}

TEST(TransitionPassTest, SlideUpBringsTheNewPictureInFromTheTop) {
  const QImage img = pass(TransitionKind::SlideUp, 0.25);  // 20 rows in
  expectFrom(img, 10, 0, true, 10, 60);
  expectFrom(img, 10, 19, true, 10, 79);
  expectFrom(img, 10, 20, false, 10, 0);
  expectFrom(img, 10, 79, false, 10, 59);
}

TEST(TransitionPassTest, SlideDownBringsTheNewPictureInFromTheBottom) {
  const QImage img = pass(TransitionKind::SlideDown, 0.25);
  expectFrom(img, 10, 0, false, 10, 20);
  expectFrom(img, 10, 59, false, 10, 79);
  expectFrom(img, 10, 60, true, 10, 0);
  expectFrom(img, 10, 79, true, 10, 19);
}

// What rides on the new picture is placed by newPictureOffset: it must be where
// the pass really draws the new picture's corner, all the way.
TEST(TransitionPassTest, NewPictureOffsetIsWhereThePassDrawsTheNewPicture) {
  for (auto kind : {TransitionKind::SlideLeft, TransitionKind::SlideRight, TransitionKind::SlideUp,
                    TransitionKind::SlideDown, TransitionKind::CrossFade}) {
    for (double f : {0.0, 0.13, 0.25, 0.5, 0.77, 1.0}) {
      const QImage img = pass(kind, f);
      const QPoint at = newPictureOffset(kind, f, QSize(W, H));
      // Some pixel of the new picture shows; pick one inside the frame.
      const int sx = std::max(0, -at.x()), sy = std::max(0, -at.y());
      const int x = at.x() + sx, y = at.y() + sy;
      if (kind == TransitionKind::CrossFade) {
        EXPECT_EQ(at, QPoint(0, 0));
        continue;
      }
      if (x >= W || y >= H || sx >= W || sy >= H) {
        EXPECT_EQ(f, 0.0) << int(kind) << " only at the start is the new picture out of sight";
        continue;
      }
      expectFrom(img, x, y, true, sx, sy);
    }
  }
  EXPECT_EQ(newPictureOffset(TransitionKind::SlideLeft, 0, QSize(W, H)), QPoint(-W, 0));
  EXPECT_EQ(newPictureOffset(TransitionKind::SlideDown, 0.5, QSize(W, H)), QPoint(0, H / 2));
  EXPECT_EQ(newPictureOffset(TransitionKind::SlideRight, std::nan(""), QSize(W, H)), QPoint(0, 0));
}

TEST(TransitionPassTest, MissingOrSmallPicturesLeaveBlackNotGarbage) {
  QImage target(W, H, kTransitionFormat);
  target.fill(qRgb(1, 2, 3));
  drawTransitionPass(target, QImage(), QImage(), TransitionKind::CrossFade, 0.5);
  EXPECT_EQ(target.pixel(50, 40), qRgb(0, 0, 0));
  QImage small(10, 10, QImage::Format_RGB32);
  small.fill(Qt::white);
  drawTransitionPass(target, small, small, TransitionKind::SlideLeft, 0.5);
  EXPECT_EQ(target.pixel(90, 70), qRgb(0, 0, 0));
  // Odd fractions are clamped, never read outside the pictures.
  for (double f : {-1.0, 2.0, std::nan(""), 1e300})
    drawTransitionPass(target, kOld, kNew, TransitionKind::SlideDown, f);
  QImage empty;
  drawTransitionPass(empty, kOld, kNew, TransitionKind::CrossFade, 0.5);
}

}  // namespace
}  // namespace qm::media
