#include "script/MultiColumnsList.h"

#include "platform/VbError.h"

namespace qm::script {

const MultiColumnsList::Row& MultiColumnsList::Add(Row values) {
  rows_.push_back(std::move(values));
  return rows_.back();
}

const MultiColumnsList::Row& MultiColumnsList::Item(long index) const {
  if (index < 1 || index > Count()) throw VbError::of(9);
  return rows_[static_cast<size_t>(index - 1)];
}

void MultiColumnsList::Remove(long index) {
  if (index < 1 || index > Count()) throw VbError::of(9);
  rows_.erase(rows_.begin() + (index - 1));
}

}  // namespace qm::script
