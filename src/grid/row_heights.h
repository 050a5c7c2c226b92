#pragma once
// CRowHeights: the height of every row of a grid, cheap when most rows share
// one height (a result set's rows do). Rows come in blocks of 4096; a block
// whose rows all have the shared height keeps nothing, any other keeps its
// rows' heights and their sum. Sums and the row at an offset then cost one
// step per block, not per row.
//
// Threads. During a grid fill one writer grows the rows and sets the heights
// of rows no reader reads yet, while readers read the heights of published
// rows and the shared height may be set by the window (SetShared); blocks
// never move once made. Everything else only while no other thread reads.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "grid/stable_array.h"

namespace dossel {

class CRowHeights {
 public:
  CRowHeights() = default;
  ~CRowHeights();
  CRowHeights(const CRowHeights&) = delete;
  CRowHeights& operator=(const CRowHeights&) = delete;

  int32_t Rows() const { return m_nRows.load(std::memory_order_relaxed); }
  uint32_t Shared() const { return m_nShared.load(std::memory_order_relaxed); }
  // The height of rows in blocks that keep none of their own (existing rows
  // of such blocks change with it).
  void SetShared(uint32_t height) { m_nShared.store(height, std::memory_order_relaxed); }

  uint32_t Get(int32_t row) const;
  // Throws std::bad_alloc when a block cannot be made (the height is then
  // unchanged).
  void Set(int32_t row, uint32_t height);
  // Grows or shrinks to `rows`; new rows get `height`. Throws std::bad_alloc
  // (rows made before stay).
  void Resize(int32_t rows, uint32_t height);
  // A row of `height` at `row`, the rows from it moving down; and the
  // opposite. Throw std::bad_alloc.
  void Insert(int32_t row, uint32_t height);
  void Erase(int32_t row);
  // Rows [first, first + n) get the heights rows oldRows[i] had.
  void Reorder(int32_t first, const std::vector<int32_t>& oldRows);
  // Every row `height`.
  void SetAll(uint32_t height);
  void Clear();

  // The sum over rows [first, end).
  int64_t Sum(int32_t first, int32_t end) const;
  // The row of [first, end) whose span holds `offset` (measured from the top
  // of `first`); end when the rows end before it.
  int32_t RowAt(int32_t first, int32_t end, int64_t offset) const;

 private:
  static constexpr int32_t kBlockBits = 12;
  static constexpr int32_t kBlockRows = 1 << kBlockBits;
  struct Block {
    uint32_t heights[kBlockRows];
    std::atomic<int64_t> sum{0};
  };

  Block* BlockOf(int32_t row) const {
    return m_blocks[static_cast<size_t>(row >> kBlockBits)].load(std::memory_order_acquire);
  }
  // The block of row, made from the shared height when there is none.
  Block& TakeBlock(int32_t row);
  int64_t BlockSum(size_t block, int32_t rowsInBlock) const;
  void Materialize();

  std::atomic<int32_t> m_nRows{0};
  std::atomic<uint32_t> m_nShared{0};
  StableArray<std::atomic<Block*>> m_blocks;
};

}  // namespace dossel
