#include "grid/cell_pool.h"

#include <cstdlib>
#include <new>

namespace dossel {

namespace {
// Large enough that block headers vanish in the per-cell cost, small enough
// that a small grid does not hold much.
constexpr size_t kBlockBytes = 256 * 1024;
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
  char* block = static_cast<char*>(std::malloc(kBlockBytes));
  if (!block) throw std::bad_alloc();
  m_blocks.push_back(block);
  const size_t count = kBlockBytes / m_slotSize;
  // Thread the slots in address order so that cells created together sit together.
  for (size_t i = count; i-- > 0;) {
    FreeSlot* slot = reinterpret_cast<FreeSlot*>(block + i * m_slotSize);
    slot->next = m_free;
    m_free = slot;
  }
}

}  // namespace dossel
