// Transition passes per second (cross-fade and slide) at 640 x 480 and
// 1024 x 768, and the time of one rippling-water step for a 320 x 160
// rectangle (rippled redraw and masked merge).
//
// Targets: at least 60 cross-fade passes a second at 1024 x 768 (a pass well
// under a display frame of 16 ms); a water step under 3 ms.
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "media/TransitionPass.h"
#include "media/WaveRenderer.h"

using namespace qm::media;

namespace {

QImage picture(int w, int h, int seed) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 3 + seed) % 256, (y * 5 + seed) % 256, (x ^ y) % 256));
  return img;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void passes(int w, int h, TransitionKind kind, const char* name) {
  const QImage start = picture(w, h, 0), end = picture(w, h, 99);
  QImage target(w, h, kTransitionFormat);
  std::vector<double> ms;
  QElapsedTimer total;
  total.start();
  int n = 0;
  while (total.elapsed() < 1500) {
    QElapsedTimer t;
    t.start();
    drawTransitionPass(target, start, end, kind, (n % 100) / 100.0);
    ms.push_back(t.nsecsElapsed() / 1e6);
    ++n;
  }
  const double med = median(ms);
  std::printf("%-10s %4dx%-4d  pass median %.2f ms, max %.2f ms  -> %.0f passes/s (drawing only)\n", name, w, h, med,
              *std::max_element(ms.begin(), ms.end()), 1000.0 / med);
}

void water() {
  const int w = 320, h = 160;
  const QImage original = picture(w, h, 7);
  QImage mask(w, h, QImage::Format_RGB32);
  mask.fill(Qt::white);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 2 / 3; ++x) mask.setPixel(x, y, qRgb(0, 0, 0));
  QImage masked = original, dest = original;
  masked.detach();
  dest.detach();
  WaveRenderer r;
  r.restartClock();
  std::vector<double> ms;
  for (int i = 0; i < 400; ++i) {
    QElapsedTimer t;
    t.start();
    r.wave(dest, original, w, h, WaveShape{10, 4, 90.0}, WaveRenderer::phaseFor(8, false, i * 30));
    WaveRenderer::fastMask(dest, masked, mask, w, h);
    ms.push_back(t.nsecsElapsed() / 1e6);
  }
  std::printf("water step 320x160: median %.3f ms, max %.3f ms (target < 3 ms)\n", median(ms),
              *std::max_element(ms.begin(), ms.end()));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
    passes(w, h, TransitionKind::CrossFade, "cross-fade");
    passes(w, h, TransitionKind::SlideLeft, "slide");
  }
  water();
  return 0;
}
