// Time from Play to the first audible sample, for loaded (idle) players of several
// formats, on the real output (SDL; the dummy driver when SDL_AUDIODRIVER=dummy).
// "Mixed" is when the sample entered the block handed to the output; the output's
// own block adds at most one block more before it is heard.
#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <vector>

#include "BenchSupport.h"
#include "media/AudioMixer.h"
#include "media/MediaPlayer.h"

using namespace qm::media;

int main(int argc, char** argv) {
  bench::ensureApplication(argc, argv);
  const QStringList tone = {"-f", "lavfi", "-i", "sine=frequency=440:duration=5"};
  struct Case {
    const char* name;
    QString path;
  };
  const std::vector<Case> cases = {
      {"wav", bench::generate("latency.wav", tone + QStringList{"-c:a", "pcm_s16le", "-f", "wav"})},
      {"mp3", bench::generate("latency.mp3", tone + QStringList{"-c:a", "libmp3lame", "-f", "mp3"})},
      {"ogg", bench::generate("latency.ogg", tone + QStringList{"-c:a", "libvorbis", "-f", "ogg"})},
      {"midi", bench::generateMidi("latency.mid", 5)},
      {"mpg video", bench::generate("latency.mpg", QStringList{"-f", "lavfi", "-i", "testsrc=size=640x480:rate=25:duration=5"} + tone +
                                                      QStringList{"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"})},
  };
  auto& mixer = AudioMixer::instance();
  mixer.setManualClock(false);
  mixer.ensureOutput();
  std::printf("output: %s, block %d frames (%.1f ms)\n", mixer.outputDescription().c_str(), mixer.blockFrames(),
              mixer.blockFrames() * 1000.0 / 44100);
  std::printf("%-10s %8s %8s %8s   (ms from Play to the first sound mixed, 20 plays each)\n", "format", "median", "mean", "max");
  for (const auto& c : cases) {
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
      MediaPlayer player;
      if (!player.setFileName(c.path)) {
        std::printf("%s: %s\n", c.name, qPrintable(player.errorString()));
        break;
      }
      QThread::msleep(150);  // loaded a moment before, as a game's players are
      const auto start = std::chrono::steady_clock::now();
      player.Play();
      while (player.firstSoundTimeNs() == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
        QThread::usleep(200);
      }
      const auto first = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(player.firstSoundTimeNs()));
      ms.push_back(std::chrono::duration<double, std::milli>(first - start).count());
      player.Stop();
    }
    if (ms.empty()) continue;
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms) sum += v;
    std::printf("%-10s %8.2f %8.2f %8.2f\n", c.name, ms[ms.size() / 2], sum / static_cast<double>(ms.size()), ms.back());
  }
  std::printf("target: under 30 ms\n");
  return 0;
}
