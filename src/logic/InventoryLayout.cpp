#include "logic/InventoryLayout.h"

#include <algorithm>

namespace qm::logic {

InventoryLayout InventoryLayout::of(int widthPixels, int gapXPixels, int gapYPixels) {
  InventoryLayout l;
  l.gapX = gapXPixels * 15;
  l.gapY = gapYPixels * 15;
  const long long cell = static_cast<long long>(l.gapX) + kItemCellTwips;
  // A negative gap larger than a cell would divide by nothing: one item a row then.
  const long long perRow = cell > 0 ? (static_cast<long long>(widthPixels) * 15) / cell : 1;
  l.perRow = static_cast<int>(std::clamp<long long>(perRow, 1, 100000));
  return l;
}

double InventoryLayout::itemLeft(int k) const {
  const int column = (k - 1) % perRow;
  return gapX + static_cast<double>(gapX + kItemCellTwips) * column;
}

double InventoryLayout::itemTop(int k) const {
  const int row = (k - 1) / perRow;
  return gapY + static_cast<double>(gapY + kItemCellTwips) * row;
}

double InventoryLayout::barHeight(int count) const {
  const int lastRow = count > 0 ? (count - 1) / perRow : 0;
  return gapY + static_cast<double>(gapY + kItemCellTwips) * (lastRow + 1);
}

}  // namespace qm::logic
