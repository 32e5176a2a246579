// A small ordered collection of rows, each row an ordered list of values
// numbered from 1 (the component list and the component-event list).
#pragma once

#include <QVariant>
#include <vector>

namespace qm::script {

class MultiColumnsList {
 public:
  using Row = std::vector<QVariant>;

  // Appends a row holding the values in order (column 1 = the first).
  const Row& Add(Row values);
  // The row at a 1-based position; VbError 9 outside 1..Count.
  const Row& Item(long index) const;
  long Count() const { return static_cast<long>(rows_.size()); }
  // Removes the row; later rows move down. VbError 9 outside 1..Count.
  void Remove(long index);
  void Clear() { rows_.clear(); }

  // Column c (1-based) of a row; an invalid QVariant when the row is shorter.
  static QVariant column(const Row& row, int c) {
    return c >= 1 && static_cast<size_t>(c) <= row.size() ? row[static_cast<size_t>(c - 1)] : QVariant();
  }

  // The rows in order (what For Each enumerates).
  std::vector<Row>::const_iterator begin() const { return rows_.begin(); }
  std::vector<Row>::const_iterator end() const { return rows_.end(); }

 private:
  std::vector<Row> rows_;
};

}  // namespace qm::script
