#pragma once
// CCellTable: the texts of a grid's rows, kept as data rather than as one
// object per cell. Each row is one record of bytes: a length word per cell
// with two flags (NULL, modified), then the texts, so a cell costs its text
// and a byte or two. Records are found by row id through groups of
// consecutive records (at most 64 rows or 64 KiB each), whose index costs a
// fraction of a byte per row. Records live in memory chunks that never move
// once written. A record rewritten later (an edit) is rewritten in place
// when it fits, else replaced by a record of its own.
//
// Threads. One writer appends (Append); readers on any thread may read the
// records of ids the writer's caller has published (the publishing gives the
// ordering). Everything else (Replace, Truncate, Clear) only while no other
// thread reads the table.

#include <atomic>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "grid/stable_array.h"
#include "platform/text.h"

namespace dossel {

// One cell as it goes into a record.
struct CellInput {
  TStringView text;
  bool null = false;
  bool modified = true;
};

// One row's cells as read from a record. The texts stay valid until the
// table is changed by anything but an append, or the view is read again.
class CRowCells {
 public:
  size_t Count() const { return m_cells.size(); }
  // Cells past Count() are empty, not NULL and not modified.
  TStringView Text(size_t slot) const {
    if (slot >= m_cells.size()) return TStringView();
    return TStringView(reinterpret_cast<const TChar*>(m_base + m_cells[slot].offset), m_cells[slot].length);
  }
  bool IsNull(size_t slot) const { return slot < m_cells.size() && (m_cells[slot].flags & kNull); }
  bool IsModified(size_t slot) const { return slot < m_cells.size() && (m_cells[slot].flags & kModified); }
  // The modification epoch the record was written in.
  uint32_t Epoch() const { return m_epoch; }
  void Reset() {
    m_cells.clear();
    m_base = nullptr;
    m_epoch = 0;
  }

 private:
  friend class CCellTable;
  static constexpr uint8_t kNull = 1;
  static constexpr uint8_t kModified = 2;
  struct Cell {
    uint32_t offset;  // bytes from m_base
    uint32_t length;  // characters
    uint8_t flags;
  };
  const uint8_t* m_base = nullptr;
  uint32_t m_epoch = 0;
  std::vector<Cell> m_cells;
};

class CCellTable {
 public:
  CCellTable();
  ~CCellTable();
  CCellTable(const CCellTable&) = delete;
  CCellTable& operator=(const CCellTable&) = delete;

  // Records held: ids [0, Count()). Writer (or the only thread).
  uint32_t Count() const { return m_nCount.load(std::memory_order_relaxed); }
  // Appends the record of row id `id` (ids between Count() and it get empty
  // records). Writer. False when memory ran out (the table is unchanged).
  bool Append(uint32_t id, const CellInput* cells, size_t count, uint32_t epoch);
  // Rewrites the record of `id` (below Count(), or one made by an earlier
  // Replace). Only thread. False when memory ran out.
  bool Replace(uint32_t id, const CellInput* cells, size_t count, uint32_t epoch);
  // Reads the record of `id` into `row`; false (and `row` empty) for an id
  // that has none.
  bool Read(uint32_t id, CRowCells& row) const;
  // Forgets the records of ids `count` and above. Only thread.
  void Truncate(uint32_t count);
  // Forgets every record and frees their memory. Only thread.
  void Clear();

  // Bytes of memory the records take (chunks allocated).
  size_t MemoryBytes() const { return m_nMemoryBytes.load(std::memory_order_relaxed); }
  // Characters of text appended.
  uint64_t TextChars() const { return m_nTextChars.load(std::memory_order_relaxed); }

  // Tests: at most this many more cells may be appended or replaced (-1: no
  // limit); more run out of memory.
  void SetCellLimitForTest(int64_t cells) { m_nTestCellBudget.store(cells); }

 private:
  struct Group {
    uint32_t firstId = 0;
    const uint8_t* records = nullptr;
  };
  struct Chunk {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
  };

  // A record: its size after the size word (4 bytes), the epoch and the
  // cell count (variable-length numbers), one length word per cell, padding
  // to the character size, the texts, padding to an even size.
  static size_t EncodedSize(const CellInput* cells, size_t count, uint32_t epoch);
  static void Encode(uint8_t* out, size_t size, const CellInput* cells, size_t count, uint32_t epoch);
  static size_t RecordSize(const uint8_t* record);
  static void Decode(const uint8_t* record, CRowCells& row);

  // Room for `size` bytes at the end of the records; false when memory ran out.
  uint8_t* Reserve(size_t size, bool* newChunk, bool* ownChunk);
  uint8_t* ReserveSide(size_t size);
  bool ChargeCells(size_t count);
  const uint8_t* Locate(uint32_t id) const;
  uint32_t GroupOf(uint32_t id) const;
  bool AppendEncoded(uint32_t id, const CellInput* cells, size_t count, uint32_t epoch);

  std::atomic<uint32_t> m_nCount{0};
  StableArray<Group> m_groups;
  std::atomic<uint32_t> m_nGroups{0};
  // The open group: rows and bytes so far; closed when either is full.
  uint32_t m_nGroupRows = 0;
  size_t m_nGroupBytes = 0;
  bool m_bGroupOpen = false;

  std::vector<Chunk> m_chunks;
  uint8_t* m_pEnd = nullptr;  // first free byte of the last chunk
  uint8_t* m_pLimit = nullptr;
  size_t m_nChunkSize = 0;  // of the chunk records are appended to
  // The last record appended, which may grow in place while nothing reads.
  uint8_t* m_pLast = nullptr;

  // Records that replaced others and did not fit where those were.
  std::unordered_map<uint32_t, const uint8_t*> m_replaced;
  std::vector<Chunk> m_sideChunks;
  uint8_t* m_pSideEnd = nullptr;
  uint8_t* m_pSideLimit = nullptr;

  std::atomic<size_t> m_nMemoryBytes{0};
  std::atomic<uint64_t> m_nTextChars{0};
  std::atomic<int64_t> m_nTestCellBudget{-1};
};

}  // namespace dossel
