#pragma once
// Cell text in 16 bytes: short texts live inside the object, longer ones in
// one heap block of exactly their length. Result grids hold millions of
// mostly short texts, where a general string class costs twice as much.
// Not thread-safe; the owning cell's rules apply.

#include <cstdint>
#include <cstring>

#include "platform/text.h"

namespace dossel {

class CompactText {
 public:
  CompactText() { Clear(); }
  ~CompactText() { Release(); }
  CompactText(const CompactText& other) : CompactText() { Assign(other.View()); }
  CompactText& operator=(const CompactText& other) {
    if (this != &other) Assign(other.View());
    return *this;
  }
  CompactText(CompactText&& other) noexcept {
    std::memcpy(m_bytes, other.m_bytes, sizeof(m_bytes));
    other.Clear();
  }
  CompactText& operator=(CompactText&& other) noexcept {
    if (this != &other) {
      Release();
      std::memcpy(m_bytes, other.m_bytes, sizeof(m_bytes));
      other.Clear();
    }
    return *this;
  }

  // Replaces the text; throws std::bad_alloc when memory runs out (the old
  // text is then kept).
  void Assign(TStringView text);
  TStringView View() const {
    if (IsHeap()) return TStringView(HeapPointer(), HeapSize());
    return TStringView(reinterpret_cast<const TChar*>(m_bytes), m_bytes[kTagByte]);
  }
  bool IsEmpty() const { return View().empty(); }

  // Characters that fit inside the object.
  static constexpr size_t kInlineCapacity = 15 / sizeof(TChar);

 private:
  static constexpr size_t kTagByte = 15;
  static constexpr uint8_t kHeapTag = 0xFF;

  bool IsHeap() const { return m_bytes[kTagByte] == kHeapTag; }
  TChar* HeapPointer() const {
    TChar* p;
    std::memcpy(&p, m_bytes, sizeof(p));
    return p;
  }
  uint32_t HeapSize() const {
    uint32_t n;
    std::memcpy(&n, m_bytes + sizeof(TChar*), sizeof(n));
    return n;
  }
  void Clear() { std::memset(m_bytes, 0, sizeof(m_bytes)); }
  void Release();

  alignas(8) uint8_t m_bytes[16];
};

static_assert(sizeof(CompactText) == 16);

}  // namespace dossel
