// The CD index "CDContents" (in Config\): which CD holds each large file of a
// game installed to run from CD. A record file: three ignored header fields,
// the number of CDs, two more ignored fields, then records of file name (the
// bare name), CD number and folder type (1 Frames, 2 Areas) until the end.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace qm::startup {
class RecordReader;
}

namespace qm::distribution {

struct CdIndexEntry {
  QString name;
  QString type;  // the folder type as its decimal text, "1" or "2"
  int16_t cdNumber = 0;
};

struct CdIndex {
  int16_t cdCount = 0;
  std::vector<CdIndexEntry> entries;
};

// Reads the index. Records with an empty name, a CD number outside 1..CD
// count or type 0 are skipped. Any unreadable field throws the reader's
// VbError (truncated records: 62; garbage numbers: 13 or 6).
CdIndex ReadCdIndex(const QByteArray& bytes);
// The same from a reader, which shows where a failure stopped it.
CdIndex ReadCdIndex(startup::RecordReader& reader);

}  // namespace qm::distribution
