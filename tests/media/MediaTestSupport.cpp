#include "MediaTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "media/AudioMixer.h"

namespace qm::media::testing {

void ensureApplication() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "tests_media";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

QString scratchDir() {
  static QTemporaryDir dir;
  return dir.path();
}

bool runFfmpeg(const QStringList& args, QString* output) {
  QProcess p;
  p.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")} + args);
  if (!p.waitForFinished(60000)) return false;
  if (output) *output = QString::fromLocal8Bit(p.readAllStandardError());
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString writeFile(const QString& name, const QByteArray& bytes) {
  const QString path = scratchDir() + QLatin1Char('/') + name;
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
  return path;
}

QString makeTone(const QString& name, double frequency, double seconds, double amplitude) {
  const int frames = static_cast<int>(std::lround(seconds * 44100));
  QByteArray data(frames * 2, '\0');
  for (int i = 0; i < frames; ++i) {
    const auto v = static_cast<std::int16_t>(std::lround(amplitude * 32767 * std::sin(2 * M_PI * frequency * i / 44100.0)));
    data[2 * i] = static_cast<char>(v & 0xff);
    data[2 * i + 1] = static_cast<char>((v >> 8) & 0xff);
  }
  QByteArray wav;
  auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) wav.append(static_cast<char>((v >> (8 * i)) & 0xff)); };
  auto u16 = [&](std::uint16_t v) { wav.append(static_cast<char>(v & 0xff)); wav.append(static_cast<char>(v >> 8)); };
  wav.append("RIFF"); u32(36 + data.size()); wav.append("WAVEfmt "); u32(16); u16(1); u16(1); u32(44100); u32(88200);
  u16(2); u16(16); wav.append("data"); u32(data.size()); wav.append(data);
  return writeFile(name, wav);
}

namespace {

QByteArray varlen(std::uint32_t v) {
  QByteArray b;
  b.prepend(static_cast<char>(v & 0x7f));
  while (v >>= 7) b.prepend(static_cast<char>((v & 0x7f) | 0x80));
  return b;
}

QByteArray be32(std::uint32_t v) {
  QByteArray b;
  for (int i = 3; i >= 0; --i) b.append(static_cast<char>((v >> (8 * i)) & 0xff));
  return b;
}

}  // namespace

QByteArray makeMidiBytes(const std::vector<MidiNote>& notes, double endOfTrack, bool wrapInRiff) {
  struct Ev { std::uint32_t tick; int order; QByteArray bytes; };
  std::vector<Ev> evs;
  int order = 0;
  std::uint32_t last = 0;
  for (const auto& n : notes) {
    const auto on = static_cast<std::uint32_t>(std::lround(n.start * 960));
    const auto off = static_cast<std::uint32_t>(std::lround((n.start + n.length) * 960));
    auto bytes = [](std::initializer_list<int> list) {
      QByteArray b;
      for (int v : list) b.append(static_cast<char>(v));
      return b;
    };
    evs.push_back({on, order++, bytes({0xC0 | n.channel, n.program})});
    evs.push_back({on, order++, bytes({0x90 | n.channel, n.key, n.velocity})});
    evs.push_back({off, order++, bytes({0x80 | n.channel, n.key, 0})});
    last = std::max(last, off);
  }
  std::sort(evs.begin(), evs.end(), [](const Ev& a, const Ev& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
  QByteArray track;
  std::uint32_t at = 0;
  for (const auto& e : evs) {
    track += varlen(e.tick - at) + e.bytes;
    at = e.tick;
  }
  const auto eot = std::max(last, static_cast<std::uint32_t>(std::lround(endOfTrack * 960)));
  track += varlen(eot - at) + QByteArray("\xff\x2f\x00", 3);
  // Track 1 holds the tempo (120 beats a minute at 480 ticks a beat = 960 ticks a second).
  QByteArray tempo = varlen(0) + QByteArray("\xff\x51\x03\x07\xa1\x20", 6) + varlen(0) + QByteArray("\xff\x2f\x00", 3);
  QByteArray smf = "MThd" + be32(6) + QByteArray("\x00\x01\x00\x02\x01\xe0", 6);
  smf += "MTrk" + be32(static_cast<std::uint32_t>(tempo.size())) + tempo;
  smf += "MTrk" + be32(static_cast<std::uint32_t>(track.size())) + track;
  if (!wrapInRiff) return smf;
  auto le32 = [](std::uint32_t v) {
    QByteArray b;
    for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xff));
    return b;
  };
  QByteArray body = "RMID" + QByteArray("data") + le32(static_cast<std::uint32_t>(smf.size())) + smf;
  if (smf.size() & 1) body.append('\0');
  return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

Wav readWav(const QString& path) {
  Wav w;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return w;
  const QByteArray b = f.readAll();
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
  auto u32 = [&](qsizetype i) { return std::uint32_t(p[i]) | std::uint32_t(p[i + 1]) << 8 | std::uint32_t(p[i + 2]) << 16 | std::uint32_t(p[i + 3]) << 24; };
  auto u16 = [&](qsizetype i) { return std::uint16_t(p[i] | p[i + 1] << 8); };
  if (b.size() < 12 || !b.startsWith("RIFF")) return w;
  qsizetype pos = 12;
  while (pos + 8 <= b.size()) {
    const std::uint32_t size = u32(pos + 4);
    if (std::memcmp(p + pos, "fmt ", 4) == 0) {
      w.channels = u16(pos + 10);
      w.rate = static_cast<int>(u32(pos + 12));
    } else if (std::memcmp(p + pos, "data", 4) == 0) {
      const qsizetype n = std::min<qsizetype>(size, b.size() - pos - 8) / 2;
      w.samples.resize(static_cast<size_t>(n));
      for (qsizetype i = 0; i < n; ++i) w.samples[static_cast<size_t>(i)] = static_cast<std::int16_t>(u16(pos + 8 + 2 * i)) / 32768.0f;
      break;
    }
    pos += 8 + size + (size & 1);
  }
  return w;
}

double Wav::rms(double from, double to) const {
  const int a = std::clamp(static_cast<int>(from * rate), 0, frames());
  const int b = std::clamp(static_cast<int>(to * rate), 0, frames());
  if (b <= a) return 0.0;
  double sum = 0;
  for (int i = a; i < b; ++i) sum += double(samples[static_cast<size_t>(i * channels)]) * samples[static_cast<size_t>(i * channels)];
  return std::sqrt(sum / (b - a));
}

double Wav::peak(double from, double to) const {
  const int a = std::clamp(static_cast<int>(from * rate), 0, frames());
  const int b = std::clamp(static_cast<int>(to * rate), 0, frames());
  double m = 0;
  for (int i = a; i < b; ++i) m = std::max(m, double(std::fabs(samples[static_cast<size_t>(i * channels)])));
  return m;
}

double Wav::toneLevel(double frequency, double from, double to) const {
  const int a = std::clamp(static_cast<int>(from * rate), 0, frames());
  const int b = std::clamp(static_cast<int>(to * rate), 0, frames());
  if (b <= a) return 0.0;
  const double w = 2 * M_PI * frequency / rate;
  const double coeff = 2 * std::cos(w);
  double s1 = 0, s2 = 0;
  for (int i = a; i < b; ++i) {
    const double s = samples[static_cast<size_t>(i * channels)] + coeff * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
  return 2.0 * std::sqrt(std::max(power, 0.0)) / (b - a);  // amplitude of that frequency
}

double Wav::lastSoundAt(double threshold) const {
  for (int i = frames() - 1; i >= 0; --i) {
    for (int c = 0; c < channels; ++c) {
      if (std::fabs(samples[static_cast<size_t>(i * channels + c)]) > threshold) return static_cast<double>(i) / rate;
    }
  }
  return 0.0;
}

ManualCapture::ManualCapture() {
  static int counter = 0;
  path_ = scratchDir() + QStringLiteral("/capture-%1.wav").arg(++counter);
  auto& mixer = AudioMixer::instance();
  mixer.setManualClock(true);
  std::string error;
  EXPECT_TRUE(mixer.startCapture(path_.toStdString(), &error)) << error;
}

ManualCapture::~ManualCapture() {
  if (!finished_) AudioMixer::instance().stopCapture();
}

void ManualCapture::render(double seconds) {
  AudioMixer::instance().render(static_cast<int>(std::lround(seconds * 44100)));
}

Wav ManualCapture::finish() {
  finished_ = true;
  EXPECT_TRUE(AudioMixer::instance().stopCapture());
  return readWav(path_);
}

}  // namespace qm::media::testing
