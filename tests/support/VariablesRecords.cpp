#include "VariablesRecords.h"

#include "startup/RecordWriter.h"

namespace qm::testing {

QByteArray variablesFileBytes(const QStringList& integers, const std::optional<QStringList>& variants) {
  startup::RecordWriter w;
  w.str("Variables list").endRecord();
  for (const auto& name : integers) w.str(name).endRecord();
  if (variants) {
    w.str("***").endRecord();
    for (const auto& name : *variants) w.str(name).endRecord();
  }
  return w.bytes();
}

}  // namespace qm::testing
