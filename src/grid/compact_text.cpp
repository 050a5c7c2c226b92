#include "grid/compact_text.h"

#include <limits>
#include <new>

namespace dossel {

void CompactText::Assign(TStringView text) {
  if (text.size() <= kInlineCapacity) {
    Release();
    Clear();
    if (!text.empty()) std::memcpy(m_bytes, text.data(), text.size() * sizeof(TChar));
    m_bytes[kTagByte] = static_cast<uint8_t>(text.size());
    return;
  }
  if (text.size() > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();
  // Allocate before releasing so that a failure keeps the old text.
  TChar* block = new TChar[text.size()];
  std::memcpy(block, text.data(), text.size() * sizeof(TChar));
  Release();
  Clear();
  const uint32_t size = static_cast<uint32_t>(text.size());
  std::memcpy(m_bytes, &block, sizeof(block));
  std::memcpy(m_bytes + sizeof(TChar*), &size, sizeof(size));
  m_bytes[kTagByte] = kHeapTag;
}

void CompactText::Release() {
  if (IsHeap()) delete[] HeapPointer();
}

}  // namespace dossel
