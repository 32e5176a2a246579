// The list of saved games both windows show (their List1): one line per saved
// game, newest first, with the date it was saved and the frame it resumes at.
#pragma once

#include <QTreeWidget>
#include <vector>

#include "logic/SavedGames.h"

namespace qm::logic {

class SavedGameList : public QTreeWidget {
  Q_OBJECT
 public:
  explicit SavedGameList(QWidget* parent = nullptr);
  void fill(std::vector<SavedGameEntry> entries);
  // The selected saved game (nullptr when none is selected).
  const SavedGameEntry* selectedEntry() const;
  // Selects the saved game of that name; false when the list has none.
  bool selectByName(const QString& name);
  const std::vector<SavedGameEntry>& entries() const { return entries_; }

 private:
  std::vector<SavedGameEntry> entries_;
};

}  // namespace qm::logic
