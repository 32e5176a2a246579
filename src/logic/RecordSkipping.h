#pragma once
// Moving through the per-frame list files, whose records each end with the
// separator field.

#include <QString>

namespace qm::startup {
class RecordReader;
}

namespace qm::logic {

inline const QString kRecordSeparator = QStringLiteral("----- SEPARATOR -----");

// Reads fields up to and including the next separator; stops quietly at the
// end of the file.
void skipToRecordEnd(startup::RecordReader& reader);

// Skips whole records; false when the file ended first.
bool skipRecords(startup::RecordReader& reader, int count);

}  // namespace qm::logic
