#pragma once
// CCellSelection: a set of cells kept as disjoint blocks, so that selecting
// every cell of a result of any size costs one block. Blocks are split when
// cells are taken out of them. No wx; the owning store's thread rules.

#include <cstdint>
#include <vector>

#include "grid/grid_types.h"

namespace dossel {

class CCellSelection {
 public:
  bool Empty() const { return m_blocks.empty(); }
  bool Contains(int32_t row, int32_t col) const;
  // Adds the cells of a valid range (min <= max, all >= 0).
  void Add(const CellRange& range);
  // Takes the cells of a range out.
  void Remove(const CellRange& range);
  void Clear() { m_blocks.clear(); }
  // Keeps only cells below rows and left of cols.
  void Clip(int32_t rows, int32_t cols);
  // The number of cells.
  int64_t Count() const;
  // The smallest range holding every cell; the empty range when none.
  CellRange Bounds() const;
  const std::vector<CellRange>& Blocks() const { return m_blocks; }

 private:
  std::vector<CellRange> m_blocks;
};

}  // namespace dossel
