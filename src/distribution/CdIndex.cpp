#include "distribution/CdIndex.h"

#include "startup/RecordReader.h"

namespace qm::distribution {

CdIndex ReadCdIndex(const QByteArray& bytes) {
  startup::RecordReader r(bytes, QStringLiteral("CDContents"));
  return ReadCdIndex(r);
}

CdIndex ReadCdIndex(startup::RecordReader& r) {
  CdIndex index;
  r.skip(3);
  index.cdCount = r.readInt16();
  r.skip(2);
  while (!r.atEnd()) {
    CdIndexEntry e;
    e.name = r.readString();
    e.cdNumber = r.readInt16();
    const int16_t type = r.readInt16();
    if (e.name.isEmpty() || e.cdNumber < 1 || e.cdNumber > index.cdCount || type == 0) continue;
    e.type = QString::number(type);
    index.entries.push_back(std::move(e));
  }
  return index;
}

}  // namespace qm::distribution
