// The rippling-water renderer: the phase formula, a rippled redraw that moves
// pixels over time, and a masked merge that leaves dry pixels alone.
#include <gtest/gtest.h>

#include <QThread>
#include <cmath>

#include "media/WaveRenderer.h"

namespace qm::media {
namespace {

// A picture with detail everywhere, so that any displacement shows.
QImage checker(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 37) % 256, (y * 53) % 256, ((x + y) * 11) % 256));
  return img;
}

int differingPixels(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

TEST(WaveRendererTest, PhaseFollowsTheSpeedFormula) {
  // Speed 8 gives the factor 4^1; speed 0 gives 4^0.2.
  EXPECT_FLOAT_EQ(WaveRenderer::phaseFor(8, false, 300), 4.0f);
  EXPECT_NEAR(WaveRenderer::phaseFor(0, false, 300), std::pow(4.0, 0.2), 1e-5);
  EXPECT_FLOAT_EQ(WaveRenderer::phaseFor(8, true, 300), -4.0f);
  EXPECT_FLOAT_EQ(WaveRenderer::phaseFor(8, false, 0), 0.0f);
  // A larger speed runs faster.
  EXPECT_GT(WaveRenderer::phaseFor(20, false, 1000), WaveRenderer::phaseFor(2, false, 1000));
}

TEST(WaveRendererTest, ClockRestartsAndGrows) {
  WaveRenderer r;
  EXPECT_EQ(r.elapsed(), 0);
  r.restartClock();
  QThread::msleep(30);
  const qint64 a = r.elapsed();
  EXPECT_GE(a, 25);
  r.restartClock();
  EXPECT_LT(r.elapsed(), a);
}

TEST(WaveRendererTest, RippledPictureMovesWithThePhaseAndKeepsItsColours) {
  const QImage src = checker(120, 60);
  QImage a = src, b = src;
  a.detach();
  b.detach();
  WaveRenderer r;
  r.wave(a, src, 120, 60, WaveShape{}, 0.0f);
  r.wave(b, src, 120, 60, WaveShape{}, 1.5f);
  EXPECT_GT(differingPixels(a, src), 120 * 60 / 4) << "the water should bend the view";
  EXPECT_GT(differingPixels(a, b), 120 * 60 / 4) << "the waves should move with the phase";
  // Refraction moves pixels, it does not invent them: a flat colour stays that colour (give or take the light).
  QImage flat(40, 40, QImage::Format_RGB32);
  flat.fill(qRgb(100, 100, 100));
  QImage out = flat;
  out.detach();
  r.wave(out, flat, 40, 40, WaveShape{}, 0.7f);
  for (int y = 0; y < 40; y += 7)
    for (int x = 0; x < 40; x += 7) {
      const QColor c = out.pixelColor(x, y);
      EXPECT_NEAR(c.red(), 100, 30);
      EXPECT_EQ(c.red(), c.blue());
    }
}

TEST(WaveRendererTest, StrongerParameterBendsFurther) {
  const QImage src = checker(80, 80);
  QImage weak = src, strong = src;
  weak.detach();
  strong.detach();
  WaveRenderer r;
  r.wave(weak, src, 80, 80, WaveShape{1, 4, 90.0}, 0.3f);
  r.wave(strong, src, 80, 80, WaveShape{20, 4, 90.0}, 0.3f);
  EXPECT_GT(differingPixels(strong, src), differingPixels(weak, src));
}

TEST(WaveRendererTest, MaskKeepsLightPixelsAndLeavesDarkOnesRippled) {
  QImage dest(4, 2, QImage::Format_RGB32), masked(4, 2, QImage::Format_RGB32), mask(4, 2, QImage::Format_RGB32);
  dest.fill(qRgb(1, 1, 1));
  masked.fill(qRgb(200, 0, 0));
  mask.fill(Qt::black);
  mask.setPixel(0, 0, qRgb(255, 255, 255));
  mask.setPixel(3, 1, qRgb(128, 128, 128));  // light from grey 128 up
  mask.setPixel(2, 1, qRgb(127, 127, 127));
  WaveRenderer::fastMask(dest, masked, mask, 4, 2);
  EXPECT_EQ(dest.pixel(0, 0), qRgb(200, 0, 0));
  EXPECT_EQ(dest.pixel(3, 1), qRgb(200, 0, 0));
  EXPECT_EQ(dest.pixel(2, 1), qRgb(1, 1, 1));
  EXPECT_EQ(dest.pixel(1, 0), qRgb(1, 1, 1));
}

TEST(WaveRendererTest, SizesBeyondThePicturesAreNarrowedNotOverrun) {
  QImage small(10, 10, QImage::Format_RGB32);
  small.fill(Qt::red);
  QImage dest(5, 5, QImage::Format_RGB32);
  WaveRenderer r;
  r.wave(dest, small, 30000, 30000, WaveShape{}, 1.0f);
  r.wave(dest, small, -5, 0, WaveShape{-100, 99, std::nan("")}, std::nanf(""));
  WaveRenderer::fastMask(dest, small, QImage(), 10, 10);
  QImage indexed(5, 5, QImage::Format_Indexed8);
  r.wave(indexed, small, 5, 5, WaveShape{}, 1.0f);  // not a 32-bit picture: nothing drawn
  SUCCEED();
}

}  // namespace
}  // namespace qm::media
