// Transition passes per second (cross-fade and slide) at 640 x 480 and
// 1024 x 768, and the time of one rippling-water step for a 320 x 160
// rectangle (rippled redraw and masked merge).
//
// Targets: at least 60 cross-fade passes a second at 1024 x 768 (a pass well
// under a display frame of 16 ms); a water step under 3 ms.
//
// The drawing alone is measured first; then whole transitions in a game window,
// where a pass also shows the picture and lets events run (each pass then naps
// 10 ms, which bounds the rate at about 90 passes a second).
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/Game.h"
#include "engine/Transitions.h"
#include "logic/GameLogic.h"
#include "media/TransitionPass.h"
#include "platform/RecordingDialogService.h"
#include "startup/InitializeProject.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
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

// Whole cross-fades in a game window of w x h; passes a second and the time a
// pass takes without its nap.
void inGame(int w, int h, int number, const char* name) {
  qm::testing::GameFolderBuilder folder;
  qm::testing::GeneralFields g;
  g.initialFrame = "A";
  g.width = w;
  g.height = h;
  folder.general(g);
  const QImage a = picture(w, h, 0), b = picture(w, h, 99);
  a.save(folder.path("Frames/a.png"));
  b.save(folder.path("Frames/b.png"));
  qm::testing::FrameSpec fa, fb;
  fa.backgroundType = fb.backgroundType = 1;
  fa.background = "a.png";
  fb.background = "b.png";
  folder.file("Frames/A.fme", qm::testing::frameFileBytes(fa));
  folder.file("Frames/B.fme", qm::testing::frameFileBytes(fb));
  qm::startup::InitializeProject(folder.root());
  qm::engine::Game game;
  game.ResetAll();
  game.StartNewGame();
  std::vector<double> work;
  QElapsedTimer sincePass;
  game.transitions().onPass = [&](double) {
    if (sincePass.isValid()) work.push_back(sincePass.nsecsElapsed() / 1e6 - 10.0);
    sincePass.start();
  };
  const double seconds = 2.0;
  QElapsedTimer t;
  t.start();
  game.goToFrame({"B", true, number, seconds});
  const double took = t.nsecsElapsed() / 1e9;
  std::printf("%-10s %4dx%-4d  in the game: %d passes in %.2f s = %.0f passes/s; pass without its nap: median "
              "%.2f ms\n",
              name, w, h, game.transitions().lastPassCount(), took, game.transitions().lastPassCount() / took,
              work.empty() ? 0.0 : median(work));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  qm::platform::RecordingDialogService dialogs;
  qm::platform::setDialogs(&dialogs);
  for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
    passes(w, h, TransitionKind::CrossFade, "cross-fade");
    passes(w, h, TransitionKind::SlideLeft, "slide");
  }
  water();
  for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
    inGame(w, h, 1, "cross-fade");
    inGame(w, h, 3, "slide");
  }
  return 0;
}
