#pragma once
// An ordered list numbered from 1 whose items may also carry a text key,
// behaving as the classic collection object: keys compare without regard to
// case, a bad position raises error 9, an unknown key error 5, a key given
// twice error 457.

#include "platform/VbError.h"

#include <QString>
#include <memory>
#include <vector>

namespace qm::logic {

template <typename Record>
class KeyedList {
 public:
  using Pointer = std::shared_ptr<Record>;

 private:
  struct Entry {
    Pointer record;
    QString key;
  };

 public:

  // Creates a record, sets its name then its value, appends it and returns it.
  template <typename Value>
  Pointer Add(const QString& name, const Value& value, const QString& sKey = {}) {
    if (!sKey.isEmpty() && findKey(sKey) >= 0)
      throw VbError(457, QStringLiteral("This key is already associated with an element of this collection"));
    auto record = std::make_shared<Record>();
    record->Name = name;
    record->Value = value;
    items_.push_back(Entry{record, sKey});
    return record;
  }

  // 1-based position.
  Record& Item(long index) { return *items_[checkedPosition(index)].record; }
  const Record& Item(long index) const { return *items_[checkedPosition(index)].record; }
  Record& Item(const QString& key) { return *items_[keyPosition(key)].record; }
  Pointer ItemPointer(long index) const { return items_[checkedPosition(index)].record; }

  long Count() const { return static_cast<long>(items_.size()); }

  void Remove(long index) { items_.erase(items_.begin() + static_cast<long>(checkedPosition(index))); }
  void Remove(const QString& key) { items_.erase(items_.begin() + static_cast<long>(keyPosition(key))); }

  // Removes every record, from the last position down to the first.
  void Clear() {
    while (!items_.empty()) items_.pop_back();
  }

  // Enumeration in order (for loops in C++ and in scripts).
  class Iterator {
   public:
    Iterator(typename std::vector<Entry>::const_iterator it) : it_(it) {}
    Record& operator*() const { return *it_->record; }
    Record* operator->() const { return it_->record.get(); }
    Iterator& operator++() { ++it_; return *this; }
    bool operator!=(const Iterator& other) const { return it_ != other.it_; }
   private:
    typename std::vector<Entry>::const_iterator it_;
  };
  Iterator begin() const { return Iterator(items_.begin()); }
  Iterator end() const { return Iterator(items_.end()); }

 private:
  size_t checkedPosition(long index) const {
    if (index < 1 || index > Count()) throw VbError(9, QStringLiteral("Subscript out of range"));
    return static_cast<size_t>(index - 1);
  }
  long findKey(const QString& key) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (!items_[i].key.isEmpty() && items_[i].key.compare(key, Qt::CaseInsensitive) == 0) return static_cast<long>(i);
    return -1;
  }
  size_t keyPosition(const QString& key) const {
    const long at = findKey(key);
    if (at < 0) throw VbError(5, QStringLiteral("Invalid procedure call or argument"));
    return static_cast<size_t>(at);
  }

  std::vector<Entry> items_;
};

}  // namespace qm::logic
