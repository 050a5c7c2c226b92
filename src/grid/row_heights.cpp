#include "grid/row_heights.h"

#include <algorithm>
#include <new>

namespace dossel {

CRowHeights::~CRowHeights() { Clear(); }

uint32_t CRowHeights::Get(int32_t row) const {
  if (row < 0 || row >= Rows()) return 0;
  const Block* block = BlockOf(row);
  return block ? block->heights[row & (kBlockRows - 1)] : Shared();
}

CRowHeights::Block& CRowHeights::TakeBlock(int32_t row) {
  std::atomic<Block*>& slot = m_blocks[static_cast<size_t>(row >> kBlockBits)];
  Block* block = slot.load(std::memory_order_relaxed);
  if (block) return *block;
  block = new Block;
  const uint32_t shared = Shared();
  std::fill(std::begin(block->heights), std::end(block->heights), shared);
  block->sum.store(static_cast<int64_t>(shared) * kBlockRows, std::memory_order_relaxed);
  slot.store(block, std::memory_order_release);
  return *block;
}

void CRowHeights::Set(int32_t row, uint32_t height) {
  if (row < 0 || row >= Rows()) return;
  Block* block = BlockOf(row);
  if (!block) {
    if (height == Shared()) return;
    block = &TakeBlock(row);
  }
  uint32_t& entry = block->heights[row & (kBlockRows - 1)];
  block->sum.fetch_add(static_cast<int64_t>(height) - static_cast<int64_t>(entry), std::memory_order_relaxed);
  entry = height;
}

void CRowHeights::Resize(int32_t rows, uint32_t height) {
  const int32_t old = Rows();
  if (rows <= old) {
    m_nRows.store(std::max(rows, 0), std::memory_order_relaxed);
    return;
  }
  m_blocks.Reserve(static_cast<size_t>((rows - 1) >> kBlockBits) + 1);
  for (int32_t row = old; row < rows; ++row) {
    Block* block = BlockOf(row);
    if (!block && height == Shared()) {
      // A whole block of the shared height needs no visit per row.
      row = std::min(rows, ((row >> kBlockBits) + 1) << kBlockBits) - 1;
      m_nRows.store(row + 1, std::memory_order_relaxed);
      continue;
    }
    if (!block) block = &TakeBlock(row);
    uint32_t& entry = block->heights[row & (kBlockRows - 1)];
    block->sum.fetch_add(static_cast<int64_t>(height) - static_cast<int64_t>(entry), std::memory_order_relaxed);
    entry = height;
    m_nRows.store(row + 1, std::memory_order_relaxed);
  }
}

void CRowHeights::Materialize() {
  const int32_t rows = Rows();
  for (int32_t row = 0; row < rows; row += kBlockRows) TakeBlock(row);
}

void CRowHeights::Insert(int32_t row, uint32_t height) {
  const int32_t rows = Rows();
  bool uniform = height == Shared();
  for (int32_t r = 0; r < rows && uniform; r += kBlockRows) uniform = BlockOf(r) == nullptr;
  m_blocks.Reserve(static_cast<size_t>(rows >> kBlockBits) + 1);
  if (uniform) {
    m_nRows.store(rows + 1, std::memory_order_relaxed);
    return;
  }
  Resize(rows + 1, Shared());
  Materialize();
  for (int32_t r = rows; r > row; --r) Set(r, Get(r - 1));
  Set(row, height);
}

void CRowHeights::Erase(int32_t row) {
  const int32_t rows = Rows();
  if (row < 0 || row >= rows) return;
  bool uniform = true;
  for (int32_t r = 0; r < rows && uniform; r += kBlockRows) uniform = BlockOf(r) == nullptr;
  if (!uniform)
    for (int32_t r = row; r + 1 < rows; ++r) Set(r, Get(r + 1));
  m_nRows.store(rows - 1, std::memory_order_relaxed);
}

void CRowHeights::Reorder(int32_t first, const std::vector<int32_t>& oldRows) {
  bool uniform = true;
  for (int32_t r = 0; r < Rows() && uniform; r += kBlockRows) uniform = BlockOf(r) == nullptr;
  if (uniform) return;
  std::vector<uint32_t> heights(oldRows.size());
  for (size_t i = 0; i < oldRows.size(); ++i) heights[i] = Get(oldRows[i]);
  for (size_t i = 0; i < oldRows.size(); ++i) Set(first + static_cast<int32_t>(i), heights[i]);
}

void CRowHeights::SetAll(uint32_t height) {
  // The blocks go, the room for them stays: the rows are still there.
  for (size_t k = 0; k < m_blocks.Capacity(); ++k) {
    delete m_blocks[k].load(std::memory_order_relaxed);
    m_blocks[k].store(nullptr, std::memory_order_relaxed);
  }
  SetShared(height);
}

void CRowHeights::Clear() {
  for (size_t k = 0; k < m_blocks.Capacity(); ++k) {
    delete m_blocks[k].load(std::memory_order_relaxed);
    m_blocks[k].store(nullptr, std::memory_order_relaxed);
  }
  m_blocks.Release();
  m_nRows.store(0, std::memory_order_relaxed);
}

int64_t CRowHeights::BlockSum(size_t block, int32_t rowsInBlock) const {
  const Block* b = m_blocks[block].load(std::memory_order_acquire);
  if (!b) return static_cast<int64_t>(Shared()) * rowsInBlock;
  if (rowsInBlock == kBlockRows) return b->sum.load(std::memory_order_relaxed);
  int64_t sum = 0;
  for (int32_t i = 0; i < rowsInBlock; ++i) sum += b->heights[i];
  return sum;
}

int64_t CRowHeights::Sum(int32_t first, int32_t end) const {
  first = std::max(first, 0);
  end = std::min(end, Rows());
  int64_t sum = 0;
  int32_t row = first;
  while (row < end) {
    const int32_t blockStart = row & ~(kBlockRows - 1);
    const int32_t blockEnd = std::min(blockStart + kBlockRows, end);
    if (row == blockStart && blockEnd - blockStart == kBlockRows) {
      sum += BlockSum(static_cast<size_t>(row >> kBlockBits), kBlockRows);
    } else if (const Block* b = BlockOf(row)) {
      for (int32_t r = row; r < blockEnd; ++r) sum += b->heights[r & (kBlockRows - 1)];
    } else {
      sum += static_cast<int64_t>(Shared()) * (blockEnd - row);
    }
    row = blockEnd;
  }
  return sum;
}

int32_t CRowHeights::RowAt(int32_t first, int32_t end, int64_t offset) const {
  end = std::min(end, Rows());
  int64_t top = 0;
  int32_t row = std::max(first, 0);
  while (row < end) {
    const int32_t blockStart = row & ~(kBlockRows - 1);
    const int32_t blockEnd = std::min(blockStart + kBlockRows, end);
    // Whole blocks that end at or before the offset are passed in one step.
    if (row == blockStart && blockEnd - blockStart == kBlockRows) {
      const int64_t sum = BlockSum(static_cast<size_t>(row >> kBlockBits), kBlockRows);
      if (top + sum <= offset) {
        top += sum;
        row = blockEnd;
        continue;
      }
    }
    const Block* b = BlockOf(row);
    if (!b) {
      const uint32_t shared = Shared();
      if (shared == 0) {
        row = blockEnd;
        continue;
      }
      const int64_t inside = offset - top;
      const int64_t skip = inside < 0 ? 0 : inside / shared;
      if (row + skip < blockEnd) return row + static_cast<int32_t>(skip);
      top += static_cast<int64_t>(shared) * (blockEnd - row);
      row = blockEnd;
      continue;
    }
    for (; row < blockEnd; ++row) {
      top += b->heights[row & (kBlockRows - 1)];
      if (top > offset) return row;
    }
  }
  return end;
}

}  // namespace dossel
