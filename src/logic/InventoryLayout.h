// Where inventory items stand in the bar. Every item takes a 480-twip (32-pixel)
// square cell; the gaps A (across) and B (down) separate the cells and the
// edges. All figures are twips.
#pragma once

namespace qm::logic {

inline constexpr int kItemCellTwips = 480;

struct InventoryLayout {
  int gapX = 0;   // A, twips
  int gapY = 0;   // B, twips
  int perRow = 1;

  // The layout of a project `widthPixels` wide with gaps given in pixels.
  static InventoryLayout of(int widthPixels, int gapXPixels, int gapYPixels);

  // Top-left corner of item k (1-based).
  double itemLeft(int k) const;
  double itemTop(int k) const;
  // The bar's height for `count` items: a gap of B below the last row. An
  // empty bar is one row high.
  double barHeight(int count) const;
};

}  // namespace qm::logic
