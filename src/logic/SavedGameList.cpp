#include "logic/SavedGameList.h"

#include <QHeaderView>
#include <QLocale>

namespace qm::logic {

SavedGameList::SavedGameList(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("List1"));
  setColumnCount(3);
  setHeaderLabels({tr("Name"), tr("Saved"), tr("Frame")});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  header()->setStretchLastSection(true);
  header()->setSectionResizeMode(0, QHeaderView::Stretch);
  header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
}

void SavedGameList::fill(std::vector<SavedGameEntry> entries) {
  entries_ = std::move(entries);
  clear();
  const QLocale locale;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const auto& e = entries_[i];
    auto* row = new QTreeWidgetItem(this);
    row->setText(0, e.name);
    row->setText(1, locale.toString(e.modified, QLocale::ShortFormat));
    row->setText(2, e.frame);
    row->setToolTip(0, e.path);
    row->setData(0, Qt::UserRole, static_cast<int>(i));
  }
}

const SavedGameEntry* SavedGameList::selectedEntry() const {
  const QTreeWidgetItem* row = currentItem();
  if (!row || !row->isSelected()) return nullptr;
  const int i = row->data(0, Qt::UserRole).toInt();
  return i >= 0 && i < static_cast<int>(entries_.size()) ? &entries_[static_cast<std::size_t>(i)] : nullptr;
}

bool SavedGameList::selectByName(const QString& name) {
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = topLevelItem(i);
    if (row->text(0) == name) {
      setCurrentItem(row);
      row->setSelected(true);
      return true;
    }
  }
  return false;
}

}  // namespace qm::logic
