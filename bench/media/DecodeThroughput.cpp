// How fast each decoder turns media into mixer-ready sound and pictures, on one
// thread, without the output: seconds of media per second of work.
#include <chrono>
#include <memory>

#include "BenchSupport.h"
#include "media/AudioFormat.h"
#include "media/MediaOpener.h"

using namespace qm::media;

int main(int argc, char** argv) {
  bench::ensureApplication(argc, argv);
  const QStringList tone = {"-f", "lavfi", "-i", "sine=frequency=440:duration=60", "-ac", "2"};
  const QStringList picture = {"-f", "lavfi", "-i", "testsrc=size=640x480:rate=25:duration=30", "-f", "lavfi", "-i", "sine=duration=30"};
  struct Case {
    const char* name;
    QString path;
  };
  const Case cases[] = {
      {"wav pcm 16-bit", bench::generate("thru.wav", tone + QStringList{"-c:a", "pcm_s16le", "-f", "wav"})},
      {"wav ms-adpcm 22k", bench::generate("thru-adpcm.wav", tone + QStringList{"-ar", "22050", "-c:a", "adpcm_ms", "-f", "wav"})},
      {"mp3", bench::generate("thru.mp3", tone + QStringList{"-c:a", "libmp3lame", "-f", "mp3"})},
      {"ogg vorbis", bench::generate("thru.ogg", tone + QStringList{"-c:a", "libvorbis", "-f", "ogg"})},
      {"wma (wmav2)", bench::generate("thru.wma", tone + QStringList{"-c:a", "wmav2", "-f", "asf"})},
      {"midi (synth)", bench::generateMidi("thru.mid", 60)},
      {"mpeg-1 640x480", bench::generate("thru.mpg", picture + QStringList{"-c:v", "mpeg1video", "-b:v", "2M", "-c:a", "mp2", "-f", "mpeg"})},
      {"wmv2 640x480", bench::generate("thru.wmv", picture + QStringList{"-c:v", "wmv2", "-b:v", "2M", "-c:a", "wmav2", "-f", "asf"})},
      {"avi cinepak 320x240", bench::generate("thru.avi", QStringList{"-f", "lavfi", "-i", "testsrc=size=320x240:rate=15:duration=10", "-f",
                                                                     "lavfi", "-i", "sine=duration=10", "-c:v", "cinepak", "-c:a",
                                                                     "pcm_s16le", "-f", "avi"})},
  };
  std::printf("%-22s %10s %10s %12s\n", "format", "media s", "work s", "x real time");
  for (const auto& c : cases) {
    QString error;
    auto d = openDecoder(c.path, &error);
    if (!d) {
      std::printf("%-22s %s\n", c.name, qPrintable(error));
      continue;
    }
    DecodedChunk chunk;
    size_t frames = 0;
    size_t pictures = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (;;) {
      chunk.clear();
      if (!d->decode(chunk)) break;
      frames += chunk.audio.size() / kOutputChannels;
      pictures += chunk.pictures.size();
    }
    const double work = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double media = static_cast<double>(frames) / kOutputRate;
    std::printf("%-22s %10.1f %10.3f %12.1f", c.name, media, work, media / work);
    if (pictures) std::printf("   (%zu pictures, %.0f a second)", pictures, static_cast<double>(pictures) / work);
    std::printf("\n");
  }
  return 0;
}
