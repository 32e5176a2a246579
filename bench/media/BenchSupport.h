// Small helpers shared by the media benchmarks: generated media, process figures.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>

namespace qm::media::bench {

inline QString workDir() {
  const QString dir = QStringLiteral(QM_BINARY_DIR "/bench/media-files");
  QDir().mkpath(dir);
  return dir;
}

// Makes a file with ffmpeg once (kept between runs).
inline QString generate(const QString& name, const QStringList& args) {
  const QString path = workDir() + "/" + name;
  if (QFileInfo::exists(path)) return path;
  QProcess p;
  p.start("ffmpeg", QStringList{"-v", "error", "-y"} + args + QStringList{path});
  if (!p.waitForFinished(-1) || p.exitCode() != 0) {
    std::fprintf(stderr, "ffmpeg failed for %s: %s\n", qPrintable(name), p.readAllStandardError().constData());
    QFile::remove(path);
    return {};
  }
  return path;
}

// A MIDI piece of `seconds`: quarter-second notes on two channels (piano and strings).
inline QString generateMidi(const QString& name, int seconds) {
  const QString path = workDir() + "/" + name;
  if (QFileInfo::exists(path)) return path;
  QByteArray track;
  auto vl = [&](unsigned v) {
    QByteArray b;
    b.prepend(char(v & 0x7f));
    while (v >>= 7) b.prepend(char((v & 0x7f) | 0x80));
    track += b;
  };
  auto msg = [&](int a, int b, int c) {
    track += char(a);
    track += char(b);
    if (c >= 0) track += char(c);
  };
  const int notes[] = {60, 62, 64, 65, 67, 69, 71, 72};
  vl(0); msg(0xC0, 0, -1);
  vl(0); msg(0xC1, 48, -1);
  for (int i = 0; i < seconds * 4; ++i) {
    vl(0); msg(0x90, notes[i % 8], 100);
    vl(0); msg(0x91, notes[(i + 2) % 8] - 12, 80);
    vl(480); msg(0x80, notes[i % 8], 0);
    vl(0); msg(0x81, notes[(i + 2) % 8] - 12, 0);
  }
  vl(0); msg(0xFF, 0x2F, 0x00);
  // 960 ticks a beat at the default 120 beats a minute: 480 ticks last a quarter of a second.
  QByteArray smf("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x03\xC0", 14);
  const auto n = static_cast<unsigned>(track.size());
  smf += "MTrk";
  smf += char(n >> 24);
  smf += char(n >> 16);
  smf += char(n >> 8);
  smf += char(n);
  smf += track;
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(smf);
  return path;
}

inline double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A line of /proc/self/status ("VmRSS:", "VmHWM:") in MiB.
inline double memoryMiB(const char* key) {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.startsWith(key)) {
      return line.mid(static_cast<qsizetype>(std::strlen(key))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
  }
  return 0;
}

inline void ensureApplication(int& argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!QApplication::instance()) new QApplication(argc, argv);
}

}  // namespace qm::media::bench
