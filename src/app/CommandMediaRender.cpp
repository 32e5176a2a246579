// quillmere --media-render FILE OUT.wav [--volume CENTIBELS] [--playcount N] [--seconds S]:
// plays FILE through the media player and the mixer, faster than real time, and writes
// what would be heard to a 16-bit stereo 44.1 kHz WAV file.
#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Commands.h"
#include "media/AudioFormat.h"
#include "media/AudioMixer.h"
#include "media/MediaPlayer.h"

namespace qm::app {

namespace {

bool parseNumber(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && !text.empty() && std::isfinite(out);
}

int usage(const char* why) {
  std::fprintf(stderr, "quillmere: %s\nusage: quillmere --media-render FILE OUT.wav [--volume CENTIBELS] [--playcount N] [--seconds S]\n", why);
  return 2;
}

}  // namespace

int runMediaRender(int argc, char** argv, const Args& args) {
  if (args.size() < 2) return usage("--media-render needs FILE and OUT.wav");
  double volume = 0.0, playCount = 1.0, seconds = -1.0;
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& opt = args[i];
    double* target = opt == "--volume" ? &volume : opt == "--playcount" ? &playCount : opt == "--seconds" ? &seconds : nullptr;
    if (!target) return usage(("unknown option '" + opt + "'").c_str());
    if (i + 1 >= args.size() || !parseNumber(args[i + 1], *target)) return usage((opt + " needs a number").c_str());
    ++i;
  }
  if (playCount < 0 || playCount != std::floor(playCount)) return usage("--playcount must be 0 or a whole number above 0");
  if (playCount == 0 && seconds < 0) return usage("endless play (--playcount 0) needs --seconds");
  if (seconds == 0 || (seconds < 0 && seconds != -1.0)) return usage("--seconds must be above 0");

  // No window is ever shown: run without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  auto& mixer = media::AudioMixer::instance();
  mixer.setManualClock(true);
  media::MediaPlayer player;
  if (!player.setFileName(QString::fromLocal8Bit(args[0].c_str()))) {
    std::fprintf(stderr, "quillmere: %s\n", player.errorString().toLocal8Bit().constData());
    return 1;
  }
  std::string error;
  if (!mixer.startCapture(args[1], &error)) {
    std::fprintf(stderr, "quillmere: %s\n", error.c_str());
    return 1;
  }
  player.setVolume(static_cast<int>(std::lround(volume)));
  player.setPlayCount(static_cast<int>(playCount));
  player.Play();

  // A finite play ends by itself; the guard only stops a file that lies about its length.
  const double limit = seconds > 0 ? seconds : 6 * 3600.0;
  const auto limitFrames = static_cast<long long>(limit * media::kOutputRate);
  long long done = 0;
  while (player.PlayState() == media::MediaPlayer::Playing && done < limitFrames) {
    const int block = static_cast<int>(std::min<long long>(1024, limitFrames - done));
    mixer.render(block);
    done += block;
  }
  player.Stop();
  const bool written = mixer.stopCapture();
  if (!written) {
    std::fprintf(stderr, "quillmere: could not write %s\n", args[1].c_str());
    return 1;
  }
  if (!player.errorString().isEmpty()) {
    std::fprintf(stderr, "quillmere: %s\n", player.errorString().toLocal8Bit().constData());
    return 1;
  }
  return 0;
}

}  // namespace qm::app
