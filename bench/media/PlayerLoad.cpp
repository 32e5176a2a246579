// CPU use and memory of a busy scene: seven looping sound players (mixed formats,
// one of them MIDI) and one 640x480 video with sound shown in a widget, all playing
// in real time through the real output. Arguments: seconds to measure (10), then
// "sounds" or "video" to run only that part.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "media/AudioMixer.h"
#include "media/MediaPlayer.h"

using namespace qm::media;

int main(int argc, char** argv) {
  bench::ensureApplication(argc, argv);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  const std::string only = argc > 2 ? argv[2] : "";
  auto tone = [](int f, int d) { return QStringList{"-f", "lavfi", "-i", QString("sine=frequency=%1:duration=%2").arg(f).arg(d)}; };
  const QStringList sounds = {
      bench::generate("load1.wav", tone(220, 20) + QStringList{"-ac", "2", "-c:a", "pcm_s16le", "-f", "wav"}),
      bench::generate("load2.wav", tone(330, 7) + QStringList{"-ar", "22050", "-c:a", "pcm_u8", "-f", "wav"}),
      bench::generate("load3.mp3", tone(440, 20) + QStringList{"-ac", "2", "-c:a", "libmp3lame", "-f", "mp3"}),
      bench::generate("load4.ogg", tone(550, 20) + QStringList{"-ac", "2", "-c:a", "libvorbis", "-f", "ogg"}),
      bench::generate("load5.wma", tone(660, 20) + QStringList{"-ac", "2", "-c:a", "wmav2", "-f", "asf"}),
      bench::generate("load6.wav", tone(770, 3) + QStringList{"-c:a", "adpcm_ms", "-f", "wav"}),
      bench::generateMidi("load7.mid", 20),
  };
  const QString video = bench::generate("load-video.mpg", QStringList{"-f", "lavfi", "-i", "testsrc=size=640x480:rate=25:duration=20"} +
                                                               tone(300, 20) +
                                                               QStringList{"-c:v", "mpeg1video", "-b:v", "2M", "-c:a", "mp2", "-f", "mpeg"});
  auto& mixer = AudioMixer::instance();
  mixer.setManualClock(false);
  const double rssBefore = bench::memoryMiB("VmRSS:");

  std::vector<std::unique_ptr<MediaPlayer>> players;
  for (const QString& s : sounds) {
    if (only == "video") break;
    auto p = std::make_unique<MediaPlayer>();
    if (!p->setFileName(s)) std::printf("cannot load %s: %s\n", qPrintable(s), qPrintable(p->errorString()));
    p->setPlayCount(0);
    p->setVolume(-1200);
    players.push_back(std::move(p));
  }
  auto v = std::make_unique<MediaPlayer>();
  if (only != "sounds" && !v->setFileName(video)) std::printf("cannot load the video: %s\n", qPrintable(v->errorString()));
  v->setPlayCount(0);
  v->show();
  for (auto& p : players) p->Play();
  v->Play();

  QCoreApplication::processEvents();
  QThread::msleep(500);  // settle: decoders fill their queues
  QCoreApplication::processEvents();
  const double cpu0 = bench::cpuSeconds();
  QElapsedTimer wall;
  wall.start();
  int pictures = 0;
  qint64 lastKey = 0;
  while (wall.elapsed() < seconds * 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 key = v->currentPicture().cacheKey();
    if (key != lastKey) {
      lastKey = key;
      ++pictures;
    }
    QThread::msleep(2);
  }
  const double cpu = bench::cpuSeconds() - cpu0;
  const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
  int playing = 0;
  for (auto& p : players) playing += p->PlayState() == 2;
  std::printf("output: %s\n", mixer.outputDescription().c_str());
  std::printf("playing: %d sound players + %d video; video pictures shown: %.1f a second (of 25)\n", playing,
              v->PlayState() == 2 ? 1 : 0, pictures / elapsed);
  std::printf("CPU: %.1f%% of one core over %.1f s (target under 25%%; includes this program's own event loop)\n",
              100.0 * cpu / elapsed, elapsed);
  std::printf("resident memory: %.1f MiB (%.1f MiB before loading the players; peak %.1f MiB)\n", bench::memoryMiB("VmRSS:"),
              rssBefore, bench::memoryMiB("VmHWM:"));
  return 0;
}
