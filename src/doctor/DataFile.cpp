#include "doctor/DataFile.h"

#include <algorithm>

#include "doctor/GameFacts.h"
#include "platform/FileResolver.h"
#include "startup/RecordReader.h"

namespace qm::doctor {

int DataFile::lineAt(qsizetype position) const {
  const qsizetype end = std::clamp<qsizetype>(position, 0, bytes.size());
  return 1 + static_cast<int>(std::count(bytes.constBegin(), bytes.constBegin() + end, '\n'));
}

int DataFile::fieldNumber(qsizetype recordStart, qsizetype fieldStart) const {
  startup::RecordReader reader(bytes);
  reader.setPosition(recordStart);
  int number = 1;
  // Every scan moves forward, so this ends within the size of the file.
  while (!reader.atEnd()) {
    try {
      reader.skip();
    } catch (const VbError&) {
      break;
    }
    if (reader.fieldStart() >= fieldStart) return number;
    ++number;
  }
  return number;
}

int DataFile::lineOfField(int n) const {
  if (n < 1) return 0;
  startup::RecordReader reader(bytes);
  try {
    for (int i = 1; i < n && !reader.atEnd(); ++i) reader.skip();
    if (reader.atEnd()) return 0;
    reader.skip();
  } catch (const VbError&) {
    return 0;
  }
  return lineAt(reader.fieldStart());
}

Place DataFile::stoppedAt(const startup::RecordReader& reader, qsizetype recordStart, int record,
                          const QString& fieldName) const {
  Place place;
  place.file = relative;
  place.line = lineAt(reader.fieldStart());
  place.record = record;
  place.field = fieldName.isEmpty()
                    ? QStringLiteral("field %1").arg(fieldNumber(recordStart, reader.fieldStart()))
                    : fieldName;
  return place;
}

std::optional<DataFile> loadDataFile(GameFacts& facts, Findings& findings, const QString& path) {
  if (!platform::fileExists(path)) return std::nullopt;
  DataFile file;
  file.path = path;
  file.relative = facts.relative(path);
  try {
    file.bytes = platform::readWholeFile(path);
  } catch (const VbError& e) {
    findings.error(Place{file.relative, 0, 0, {}}, QStringLiteral("unreadable-file"),
                   QStringLiteral("the file cannot be read: %1").arg(e.description));
    return std::nullopt;
  }
  ++facts.filesRead;
  return file;
}

void skipToNextRecord(startup::RecordReader& reader) {
  try {
    reader.skipRecord();
  } catch (const VbError&) {
    reader.setPosition(reader.size());
  }
}

void reportUnparsable(Findings& findings, const Place& place, const QString& what, const VbError& error) {
  const QString where = place.field.isEmpty() ? QString() : QStringLiteral(" at %1").arg(place.field);
  const QString why = error.number == 62 ? QStringLiteral("the file ends too early") : error.description;
  findings.error(place, QStringLiteral("unparsable-file"), QStringLiteral("%1 cannot be read%2: %3").arg(what, where, why));
}

}  // namespace qm::doctor
