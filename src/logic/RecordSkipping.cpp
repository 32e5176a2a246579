#include "logic/RecordSkipping.h"

#include "startup/RecordReader.h"

namespace qm::logic {

void skipToRecordEnd(startup::RecordReader& reader) {
  while (!reader.atEnd())
    if (reader.readString() == kRecordSeparator) return;
}

bool skipRecords(startup::RecordReader& reader, int count) {
  for (int i = 0; i < count; ++i) {
    if (reader.atEnd()) return false;
    skipToRecordEnd(reader);
  }
  return true;
}

}  // namespace qm::logic
