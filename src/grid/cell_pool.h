#pragma once
// Storage for ordinary grid cells: fixed-size slots carved from large
// blocks, so a cell costs its own size and no allocator header. Freed slots
// are reused by the next cells; the blocks stay with the process.
// Any thread may call it (a mutex guards the free list): the store writer
// creates cells while the UI thread may destroy those of another grid.

#include <cstddef>
#include <mutex>
#include <vector>

namespace dossel {

class CellPool {
 public:
  explicit CellPool(size_t slotSize);
  ~CellPool();
  CellPool(const CellPool&) = delete;
  CellPool& operator=(const CellPool&) = delete;

  // A slot of slotSize bytes; throws std::bad_alloc when memory runs out.
  void* Allocate();
  void Free(void* slot);
  size_t SlotSize() const { return m_slotSize; }

 private:
  struct FreeSlot {
    FreeSlot* next;
  };
  void AddBlock();

  size_t m_slotSize;
  std::mutex m_mutex;
  FreeSlot* m_free = nullptr;
  std::vector<void*> m_blocks;
};

}  // namespace dossel
