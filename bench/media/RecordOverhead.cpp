// What recording costs at 640x480, 25 pictures a second in real time for ten
// seconds with a tone playing: the time the caller spends handing over a
// picture, the pictures written and dropped, and the processor time used.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "media/MediaPlayer.h"
#include "media/VideoRecorder.h"

using namespace qm::media;

namespace {

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  const QString tone = bench::generate("record-tone.wav", {"-f", "lavfi", "-i", "sine=frequency=440:duration=12"});
  MediaPlayer player;
  player.setFileName(tone);
  player.Play();

  // A picture that changes every time, as a game picture with motion does.
  QImage base(640, 480, QImage::Format_RGB32);
  {
    QPainter p(&base);
    QLinearGradient g(0, 0, 640, 480);
    g.setColorAt(0, QColor(30, 90, 40));
    g.setColorAt(1, QColor(120, 160, 220));
    p.fillRect(base.rect(), g);
  }
  const QString out = bench::workDir() + "/record-overhead.mp4";
  VideoRecorder recorder;
  QString error;
  if (!recorder.start(out, QSize(640, 480), 25, &error)) {
    std::fprintf(stderr, "cannot record: %s\n", qPrintable(error));
    return 1;
  }
  constexpr int kFrames = 250;
  std::vector<double> handOver;
  const double cpuStart = cpuSeconds();
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < kFrames; ++i) {
    while (clock.elapsed() < i * 40) QThread::msleep(1);
    QImage picture = base.copy();
    QPainter p(&picture);
    p.fillRect((i * 7) % 560, 200, 80, 80, QColor(240, 200, 40));
    p.end();
    QElapsedTimer t;
    t.start();
    recorder.addFrame(picture, i);
    handOver.push_back(t.nsecsElapsed() / 1e6);
  }
  recorder.finish(&error);
  const double wall = clock.elapsed() / 1000.0;
  const double cpu = cpuSeconds() - cpuStart;
  std::sort(handOver.begin(), handOver.end());
  std::printf("Recording 640x480 at 25 pictures/s for %.1f s (%s):\n", wall, qPrintable(recorder.codecDescription()));
  std::printf("  written %lld, dropped %lld of %d  (target: at least 24 of every 25 kept)\n", recorder.framesWritten(),
              recorder.framesDropped(), kFrames);
  std::printf("  hand-over on the caller's thread: median %.3f ms, worst %.3f ms\n", handOver[handOver.size() / 2],
              handOver.back());
  std::printf("  processor time: %.2f s for %.1f s recorded (%.0f%% of one core)\n", cpu, wall, 100 * cpu / wall);
  return 0;
}
