#pragma once
// StableArray<T>: an array that grows without ever moving an element. It is
// kept in chunks of doubling size (256, 512, 1024, ...), so a reader may hold
// or read element i while another thread makes room for more elements: the
// chunk table is a fixed array whose entries are written once, and element
// i's address depends only on i.
//
// One writer; readers may read elements the writer finished before it
// published them (the publishing gives the ordering). Capacity() and
// Reserve() are the writer's.

#include <array>
#include <bit>
#include <cstddef>
#include <new>

namespace dossel {

template <typename T>
class StableArray {
 public:
  StableArray() = default;
  ~StableArray() { Release(); }
  StableArray(const StableArray&) = delete;
  StableArray& operator=(const StableArray&) = delete;

  size_t Capacity() const { return m_capacity; }

  // Makes room for n elements; new elements are value-initialised. Throws
  // std::bad_alloc when memory runs out (the elements there stay).
  void Reserve(size_t n) {
    while (m_capacity < n) {
      if (m_chunkCount >= kMaxChunks) throw std::bad_alloc();
      const size_t size = kBase << m_chunkCount;
      m_chunks[m_chunkCount] = new T[size]();
      ++m_chunkCount;
      m_capacity += size;
    }
  }

  // Frees every chunk; only when no reader can look.
  void Release() {
    for (size_t k = 0; k < m_chunkCount; ++k) {
      delete[] m_chunks[k];
      m_chunks[k] = nullptr;
    }
    m_chunkCount = 0;
    m_capacity = 0;
  }

  T& operator[](size_t i) { return At(i); }
  const T& operator[](size_t i) const { return const_cast<StableArray*>(this)->At(i); }

 private:
  static constexpr unsigned kBaseBits = 8;
  static constexpr size_t kBase = size_t{1} << kBaseBits;
  // 256 * (2^24 - 1) elements: more than a 32-bit index reaches.
  static constexpr size_t kMaxChunks = 24;

  T& At(size_t i) {
    const size_t v = i + kBase;
    const size_t k = static_cast<size_t>(std::bit_width(v)) - 1 - kBaseBits;
    return m_chunks[k][v - (kBase << k)];
  }

  std::array<T*, kMaxChunks> m_chunks{};
  size_t m_chunkCount = 0;
  size_t m_capacity = 0;
};

}  // namespace dossel
