// Throughput of the record text reader on a generated 10 MB record file laid
// out like the hotspot and action files of a game. Prints MB/s (target: above 50).
#include <QByteArray>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "startup/RecordReader.h"
#include "startup/RecordWriter.h"

using qm::startup::RecordReader;
using qm::startup::RecordWriter;

int main() {
  RecordWriter w;
  int records = 0;
  while (true) {
    const int i = records++;
    w.str(QStringLiteral("Hotspot number %1 in the great hall").arg(i))
        .integer(i % 32000)
        .integer(i * 7)
        .num(i * 0.25)
        .boolean(i % 2 == 0)
        .str(QStringLiteral("Areas\\door_%1.bmp").arg(i % 100))
        .integer(1500)
        .integer(-20)
        .endRecord();
    w.str(QStringLiteral("Dim x : x = %1 : MsgBox \"Hello\"").arg(i)).boolean(false).null().endRecord();
    w.separator();
    if (records % 1000 == 0 && w.bytes().size() >= 10 * 1024 * 1024) break;
  }
  const QByteArray bytes = w.bytes();

  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/records.fm2");
  w.saveTo(file);

  double best = 0;
  long fields = 0;
  for (int run = 0; run < 5; ++run) {
    QElapsedTimer clock;
    clock.start();
    RecordReader in = RecordReader::fromFile(file);
    fields = 0;
    long check = 0;
    while (!in.atEnd()) {
      check += in.readString().size();
      check += in.readInt16();
      check += in.readInt32();
      check += static_cast<long>(in.readDouble());
      check += in.readBool();
      check += in.readString().size();
      check += in.readInt16();
      check += in.readInt16();
      check += in.readString().size();
      check += in.readBool();
      in.skip();
      if (!in.atRecordEnd()) return 1;
      in.skip();
      fields += 13;
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double mbs = bytes.size() / (1024.0 * 1024.0) / seconds;
    if (mbs > best) best = mbs;
    if (check == 42) std::puts("");  // keeps the reads from being optimised away
  }
  std::printf("record reader: %.1f MB file, %d records, %ld fields\n", bytes.size() / (1024.0 * 1024.0), records,
              fields);
  std::printf("record reader throughput: %.1f MB/s (best of 5, target > 50 MB/s)\n", best);
  return 0;
}
