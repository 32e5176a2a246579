#include "logic/ItemFiles.h"

#include "startup/FileProcedures.h"
#include "startup/RecordReader.h"

namespace qm::logic {

QString readItemIconName(startup::RecordReader& reader) { return reader.readString(); }

CombinationHead readCombinationHead(startup::RecordReader& reader) {
  CombinationHead h;
  h.draggedGoes = reader.readInt16() == 1;
  h.targetGoes = reader.readInt16() == 1;
  h.createsItem = reader.readInt16() == 1;
  h.newItem = reader.readString();
  return h;
}

std::optional<CombinationScript> readCombinationScript(startup::RecordReader& reader) {
  if (reader.atEnd()) return std::nullopt;
  reader.skip(3);
  CombinationScript s;
  s.run = reader.readBool();
  s.code = startup::DecodeBarQuotes(reader.readString());
  return s;
}

}  // namespace qm::logic
