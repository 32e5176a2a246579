// Helpers for the media tests: a Qt application, generated media files, MIDI files
// written byte by byte, captured sound read back and measured.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <vector>

namespace qm::media::testing {

// Creates the QApplication the widgets need (once per test program).
void ensureApplication();

// A folder that lives as long as the test program.
QString scratchDir();

// Runs ffmpeg with the given arguments (after "-v error -y"); false when it failed.
bool runFfmpeg(const QStringList& args, QString* output = nullptr);

// Writes a one-channel tone of `seconds` at `frequency` Hz as 16-bit WAV at 44.1 kHz.
QString makeTone(const QString& name, double frequency, double seconds, double amplitude = 0.5);

struct MidiNote {
  double start;   // seconds
  double length;  // seconds
  int key = 60;
  int velocity = 100;
  int program = 0;
  int channel = 0;
};
// A format-1 MIDI file at 120 beats a minute (960 ticks a second) whose end-of-track
// mark lies at `endOfTrack` seconds (or right after the last note when below it).
QByteArray makeMidiBytes(const std::vector<MidiNote>& notes, double endOfTrack = 0.0, bool wrapInRiff = false);
QString writeFile(const QString& name, const QByteArray& bytes);

// A captured (or any 16-bit PCM) WAV file, as float frames.
struct Wav {
  int channels = 0;
  int rate = 0;
  std::vector<float> samples;  // interleaved
  int frames() const { return channels ? static_cast<int>(samples.size()) / channels : 0; }
  double seconds() const { return rate ? static_cast<double>(frames()) / rate : 0.0; }
  // Root mean square of the first channel between two times.
  double rms(double from, double to) const;
  double peak(double from, double to) const;
  // Strength of one frequency in the first channel between two times (Goertzel).
  double toneLevel(double frequency, double from, double to) const;
  // Time of the last sample louder than `threshold` (0 when none).
  double lastSoundAt(double threshold = 1e-3) const;
};
Wav readWav(const QString& path);

// Holds the mixer on its manual clock and captures everything it mixes into a WAV file.
class ManualCapture {
 public:
  ManualCapture();
  ~ManualCapture();
  // Mixes this many seconds of sound.
  void render(double seconds);
  // Mixes until the predicate is false or `limit` seconds passed; returns the seconds mixed.
  template <typename F>
  double renderWhile(F&& stillGoing, double limit) {
    double done = 0;
    while (stillGoing() && done < limit) {
      render(kStep);
      done += kStep;
    }
    return done;
  }
  // Ends the capture and reads it back.
  Wav finish();
  static constexpr double kStep = 256.0 / 44100.0;

 private:
  QString path_;
  bool finished_ = false;
};

}  // namespace qm::media::testing
