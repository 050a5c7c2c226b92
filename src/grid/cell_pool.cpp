#include "grid/cell_pool.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace dossel {

namespace {
// Large enough that block headers vanish in the per-cell cost, small enough
// that a small grid does not hold much.
constexpr size_t kBlockBytes = 256 * 1024;
// Past this many small blocks the grid is large: later blocks are huge-page
// sized and aligned, so that filling millions of cells takes hundreds of page
// faults instead of hundreds of thousands.
constexpr size_t kSmallBlocks = 16;
constexpr size_t kLargeBlockBytes = 2 * 1024 * 1024;

char* AllocateBlock(size_t bytes) {
  if (bytes < kLargeBlockBytes) return static_cast<char*>(std::malloc(bytes));
  void* block = std::aligned_alloc(kLargeBlockBytes, bytes);
  // Only a hint; the block works with ordinary pages too.
  if (block) madvise(block, bytes, MADV_HUGEPAGE);
  return static_cast<char*>(block);
}
}  // namespace

CellPool::CellPool(size_t slotSize) : m_slotSize(slotSize < sizeof(FreeSlot) ? sizeof(FreeSlot) : slotSize) {}

CellPool::~CellPool() {
  for (void* block : m_blocks) std::free(block);
}

void* CellPool::Allocate() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_free) AddBlock();
  FreeSlot* slot = m_free;
  m_free = slot->next;
  return slot;
}

void CellPool::Free(void* slot) {
  if (!slot) return;
  std::lock_guard<std::mutex> lock(m_mutex);
  FreeSlot* freed = static_cast<FreeSlot*>(slot);
  freed->next = m_free;
  m_free = freed;
}

void CellPool::AddBlock() {
  m_blocks.reserve(m_blocks.size() + 1);
  const size_t bytes = m_blocks.size() < kSmallBlocks ? kBlockBytes : kLargeBlockBytes;
  char* block = AllocateBlock(bytes);
  if (!block) throw std::bad_alloc();
  m_blocks.push_back(block);
  const size_t count = bytes / m_slotSize;
  // Thread the slots in address order so that cells created together sit together.
  for (size_t i = count; i-- > 0;) {
    FreeSlot* slot = reinterpret_cast<FreeSlot*>(block + i * m_slotSize);
    slot->next = m_free;
    m_free = slot;
  }
}

}  // namespace dossel
