#include "grid/cell_selection.h"

#include <algorithm>

namespace dossel {

namespace {

bool Overlap(const CellRange& a, const CellRange& b) {
  return a.minRow <= b.maxRow && b.minRow <= a.maxRow && a.minCol <= b.maxCol && b.minCol <= a.maxCol;
}

}  // namespace

bool CCellSelection::Contains(int32_t row, int32_t col) const {
  for (const CellRange& block : m_blocks)
    if (block.InRange(row, col)) return true;
  return false;
}

void CCellSelection::Add(const CellRange& range) {
  if (range.minRow < 0 || range.minCol < 0 || range.maxRow < range.minRow || range.maxCol < range.minCol) return;
  Remove(range);
  m_blocks.push_back(range);
}

void CCellSelection::Remove(const CellRange& cut) {
  std::vector<CellRange> kept;
  kept.reserve(m_blocks.size());
  for (const CellRange& b : m_blocks) {
    if (!Overlap(b, cut)) {
      kept.push_back(b);
      continue;
    }
    // What lies above and below the cut, then left and right of it.
    if (b.minRow < cut.minRow) kept.emplace_back(b.minRow, b.minCol, cut.minRow - 1, b.maxCol);
    if (b.maxRow > cut.maxRow) kept.emplace_back(cut.maxRow + 1, b.minCol, b.maxRow, b.maxCol);
    const int32_t top = std::max(b.minRow, cut.minRow), bottom = std::min(b.maxRow, cut.maxRow);
    if (b.minCol < cut.minCol) kept.emplace_back(top, b.minCol, bottom, cut.minCol - 1);
    if (b.maxCol > cut.maxCol) kept.emplace_back(top, cut.maxCol + 1, bottom, b.maxCol);
  }
  m_blocks.swap(kept);
}

void CCellSelection::Clip(int32_t rows, int32_t cols) {
  std::vector<CellRange> kept;
  for (CellRange b : m_blocks) {
    b.maxRow = std::min(b.maxRow, rows - 1);
    b.maxCol = std::min(b.maxCol, cols - 1);
    if (b.maxRow >= b.minRow && b.maxCol >= b.minCol) kept.push_back(b);
  }
  m_blocks.swap(kept);
}

int64_t CCellSelection::Count() const {
  int64_t count = 0;
  for (const CellRange& b : m_blocks)
    count += static_cast<int64_t>(b.maxRow - b.minRow + 1) * (b.maxCol - b.minCol + 1);
  return count;
}

CellRange CCellSelection::Bounds() const {
  if (m_blocks.empty()) return CellRange();
  CellRange bounds = m_blocks.front();
  for (const CellRange& b : m_blocks) {
    bounds.minRow = std::min(bounds.minRow, b.minRow);
    bounds.minCol = std::min(bounds.minCol, b.minCol);
    bounds.maxRow = std::max(bounds.maxRow, b.maxRow);
    bounds.maxCol = std::max(bounds.maxCol, b.maxCol);
  }
  return bounds;
}

}  // namespace dossel
