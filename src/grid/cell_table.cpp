#include "grid/cell_table.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace dossel {

namespace {

// A group closes after this many rows or bytes, so that finding a row skips
// few records and a group read from disk stays small.
constexpr uint32_t kGroupRows = 64;
constexpr size_t kGroupBytes = 64 * 1024;
// Chunks grow from small (a small grid stays small) to this size; a record
// larger than a quarter of it gets a chunk of its own.
constexpr size_t kFirstChunkBytes = 4 * 1024;
constexpr size_t kChunkBytes = 1024 * 1024;
constexpr size_t kSizeWord = 4;

size_t VarintSize(uint64_t value) {
  size_t size = 1;
  while (value >= 0x80) {
    value >>= 7;
    ++size;
  }
  return size;
}

uint8_t* PutVarint(uint8_t* out, uint64_t value) {
  while (value >= 0x80) {
    *out++ = static_cast<uint8_t>(value | 0x80);
    value >>= 7;
  }
  *out++ = static_cast<uint8_t>(value);
  return out;
}

const uint8_t* GetVarint(const uint8_t* in, uint64_t* value) {
  uint64_t result = 0;
  unsigned shift = 0;
  while (*in & 0x80) {
    result |= static_cast<uint64_t>(*in++ & 0x7F) << shift;
    shift += 7;
  }
  *value = result | (static_cast<uint64_t>(*in++) << shift);
  return in;
}

uint64_t LengthWord(const CellInput& cell) {
  return (static_cast<uint64_t>(cell.text.size()) << 2) | (cell.modified ? 2u : 0u) | (cell.null ? 1u : 0u);
}

constexpr size_t kAlign = sizeof(TChar) > 1 ? 2 : 1;

size_t Aligned(size_t size) { return (size + kAlign - 1) / kAlign * kAlign; }

}  // namespace

CCellTable::CCellTable() = default;
CCellTable::~CCellTable() = default;

size_t CCellTable::EncodedSize(const CellInput* cells, size_t count, uint32_t epoch) {
  size_t prefix = kSizeWord + VarintSize(epoch) + VarintSize(count);
  size_t chars = 0;
  for (size_t i = 0; i < count; ++i) {
    prefix += VarintSize(LengthWord(cells[i]));
    chars += cells[i].text.size();
  }
  return Aligned(Aligned(prefix) + chars * sizeof(TChar));
}

void CCellTable::Encode(uint8_t* out, size_t size, const CellInput* cells, size_t count, uint32_t epoch) {
  const auto body = static_cast<uint32_t>(size - kSizeWord);
  std::memcpy(out, &body, kSizeWord);
  uint8_t* p = PutVarint(out + kSizeWord, epoch);
  p = PutVarint(p, count);
  for (size_t i = 0; i < count; ++i) p = PutVarint(p, LengthWord(cells[i]));
  while (static_cast<size_t>(p - out) % kAlign) *p++ = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t bytes = cells[i].text.size() * sizeof(TChar);
    if (bytes) std::memcpy(p, cells[i].text.data(), bytes);
    p += bytes;
  }
  while (p < out + size) *p++ = 0;
}

size_t CCellTable::RecordSize(const uint8_t* record) {
  uint32_t body = 0;
  std::memcpy(&body, record, kSizeWord);
  return kSizeWord + body;
}

void CCellTable::Decode(const uint8_t* record, CRowCells& row) {
  row.m_cells.clear();
  uint64_t epoch = 0, count = 0;
  const uint8_t* p = GetVarint(record + kSizeWord, &epoch);
  p = GetVarint(p, &count);
  row.m_cells.resize(count);
  uint64_t chars = 0;
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t word = 0;
    p = GetVarint(p, &word);
    CRowCells::Cell& cell = row.m_cells[i];
    cell.length = static_cast<uint32_t>(word >> 2);
    cell.flags = static_cast<uint8_t>(word & 3);
    cell.offset = static_cast<uint32_t>(chars * sizeof(TChar));
    chars += cell.length;
  }
  const size_t prefix = static_cast<size_t>(p - record);
  row.m_base = record + Aligned(prefix);
  row.m_epoch = static_cast<uint32_t>(epoch);
}

bool CCellTable::ChargeCells(size_t count) {
  if (m_nTestCellBudget.load(std::memory_order_relaxed) < 0) return true;
  if (m_nTestCellBudget.fetch_sub(static_cast<int64_t>(count)) < static_cast<int64_t>(count)) {
    m_nTestCellBudget.store(0);
    return false;
  }
  return true;
}

uint8_t* CCellTable::Reserve(size_t size, bool* newChunk, bool* ownChunk) {
  *newChunk = *ownChunk = false;
  if (m_pEnd && static_cast<size_t>(m_pLimit - m_pEnd) >= size) {
    uint8_t* at = m_pEnd;
    m_pEnd += size;
    return at;
  }
  const bool own = size > kChunkBytes / 4;
  size_t chunkSize = own ? size : (m_nChunkSize == 0 ? kFirstChunkBytes : std::min(m_nChunkSize * 2, kChunkBytes));
  while (chunkSize < size) chunkSize *= 2;
  Chunk chunk;
  chunk.bytes.reset(new (std::nothrow) uint8_t[chunkSize]);
  if (!chunk.bytes) return nullptr;
  chunk.size = chunkSize;
  uint8_t* base = chunk.bytes.get();
  try {
    m_chunks.push_back(std::move(chunk));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  m_nMemoryBytes.fetch_add(chunkSize, std::memory_order_relaxed);
  *newChunk = true;
  *ownChunk = own;
  if (own) return base;
  m_nChunkSize = chunkSize;
  m_pEnd = base + size;
  m_pLimit = base + chunkSize;
  return base;
}

uint8_t* CCellTable::ReserveSide(size_t size) {
  if (m_pSideEnd && static_cast<size_t>(m_pSideLimit - m_pSideEnd) >= size) {
    uint8_t* at = m_pSideEnd;
    m_pSideEnd += size;
    return at;
  }
  const size_t chunkSize = std::max(size, kFirstChunkBytes * 4);
  Chunk chunk;
  chunk.bytes.reset(new (std::nothrow) uint8_t[chunkSize]);
  if (!chunk.bytes) return nullptr;
  chunk.size = chunkSize;
  try {
    m_sideChunks.push_back(std::move(chunk));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  m_nMemoryBytes.fetch_add(chunkSize, std::memory_order_relaxed);
  m_pSideEnd = m_sideChunks.back().bytes.get() + size;
  m_pSideLimit = m_sideChunks.back().bytes.get() + chunkSize;
  return m_sideChunks.back().bytes.get();
}

bool CCellTable::AppendEncoded(uint32_t id, const CellInput* cells, size_t count, uint32_t epoch) {
  const size_t size = EncodedSize(cells, count, epoch);
  bool newChunk = false, ownChunk = false;
  uint8_t* at = Reserve(size, &newChunk, &ownChunk);
  if (!at) return false;
  Encode(at, size, cells, count, epoch);
  if (newChunk || !m_bGroupOpen || m_nGroupRows >= kGroupRows || m_nGroupBytes >= kGroupBytes) {
    try {
      const uint32_t groups = m_nGroups.load(std::memory_order_relaxed);
      m_groups.Reserve(static_cast<size_t>(groups) + 1);
      m_groups[groups] = Group{id, at};
      m_nGroups.store(groups + 1, std::memory_order_release);
    } catch (const std::bad_alloc&) {
      return false;
    }
    m_nGroupRows = 0;
    m_nGroupBytes = 0;
    m_bGroupOpen = !ownChunk;
  }
  ++m_nGroupRows;
  m_nGroupBytes += size;
  m_pLast = ownChunk ? nullptr : at;
  size_t chars = 0;
  for (size_t i = 0; i < count; ++i) chars += cells[i].text.size();
  m_nTextChars.fetch_add(chars, std::memory_order_relaxed);
  m_nCount.store(id + 1, std::memory_order_release);
  return true;
}

bool CCellTable::Append(uint32_t id, const CellInput* cells, size_t count, uint32_t epoch) {
  if (id < Count()) return false;
  if (!ChargeCells(count)) return false;
  while (Count() < id)
    if (!AppendEncoded(Count(), nullptr, 0, 0)) return false;
  return AppendEncoded(id, cells, count, epoch);
}

uint32_t CCellTable::GroupOf(uint32_t id) const {
  // The last group whose first id is at most id.
  uint32_t low = 0, high = m_nGroups.load(std::memory_order_acquire);
  while (high - low > 1) {
    const uint32_t mid = low + (high - low) / 2;
    if (m_groups[mid].firstId <= id)
      low = mid;
    else
      high = mid;
  }
  return low;
}

const uint8_t* CCellTable::Locate(uint32_t id) const {
  if (!m_replaced.empty()) {
    const auto it = m_replaced.find(id);
    if (it != m_replaced.end()) return it->second;
  }
  if (id >= Count() || m_nGroups.load(std::memory_order_acquire) == 0) return nullptr;
  const Group& group = m_groups[GroupOf(id)];
  const uint8_t* record = group.records;
  for (uint32_t i = group.firstId; i < id; ++i) record += RecordSize(record);
  return record;
}

bool CCellTable::Read(uint32_t id, CRowCells& row) const {
  const uint8_t* record = Locate(id);
  if (!record) {
    row.Reset();
    return false;
  }
  Decode(record, row);
  return true;
}

bool CCellTable::Replace(uint32_t id, const CellInput* cells, size_t count, uint32_t epoch) {
  if (!ChargeCells(count)) return false;
  const size_t size = EncodedSize(cells, count, epoch);
  auto* old = const_cast<uint8_t*>(Locate(id));
  if (!old) {
    if (id >= Count()) return Append(id, cells, count, epoch);
    return false;
  }
  const size_t oldSize = RecordSize(old);
  if (size <= oldSize) {
    // The old size word stays: a reader skips the whole old record.
    Encode(old, size, cells, count, epoch);
    const auto body = static_cast<uint32_t>(oldSize - kSizeWord);
    std::memcpy(old, &body, kSizeWord);
    return true;
  }
  if (old == m_pLast && old + oldSize == m_pEnd && static_cast<size_t>(m_pLimit - old) >= size) {
    Encode(old, size, cells, count, epoch);
    m_nGroupBytes += size - oldSize;
    m_pEnd = old + size;
    return true;
  }
  uint8_t* at = ReserveSide(size);
  if (!at) return false;
  try {
    m_replaced[id] = at;
  } catch (const std::bad_alloc&) {
    return false;
  }
  Encode(at, size, cells, count, epoch);
  return true;
}

void CCellTable::Truncate(uint32_t count) {
  for (auto it = m_replaced.begin(); it != m_replaced.end();)
    it = it->first >= count ? m_replaced.erase(it) : std::next(it);
  if (count >= Count()) return;
  if (count == 0) {
    Clear();
    return;
  }
  uint32_t groups = m_nGroups.load(std::memory_order_relaxed);
  while (groups > 0 && m_groups[groups - 1].firstId >= count) --groups;
  m_nGroups.store(groups, std::memory_order_release);
  m_nCount.store(count, std::memory_order_release);
  // Later records start a group of their own after the ones kept.
  m_bGroupOpen = false;
  m_pLast = nullptr;
}

void CCellTable::Clear() {
  m_replaced.clear();
  m_chunks.clear();
  m_sideChunks.clear();
  m_groups.Release();
  m_nGroups.store(0, std::memory_order_release);
  m_nCount.store(0, std::memory_order_release);
  m_bGroupOpen = false;
  m_nGroupRows = 0;
  m_nGroupBytes = 0;
  m_pEnd = m_pLimit = m_pLast = nullptr;
  m_nChunkSize = 0;
  m_pSideEnd = m_pSideLimit = nullptr;
  m_nMemoryBytes.store(0, std::memory_order_relaxed);
  m_nTextChars.store(0, std::memory_order_relaxed);
}

}  // namespace dossel
