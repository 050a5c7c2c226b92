// CGridStore: sorting rows by one column. Fixed rows never move.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "grid/grid_store.h"

namespace dossel {

// Sorts the rows of one grid by one column. Sorting changes only the order
// of the row ids (and the heights, which go with their rows); the records
// stay where they are.
//
// The text comparison sorts stably: rows of equal texts keep their order. It
// runs over a compact copy of the sort column (the first characters as a
// number, the text, the row), so that most comparisons are decided without
// touching the text. Any other comparison runs the classic partition sort
// around the middle row's cell; the larger part is handled by the loop and
// only the smaller one by recursion, so the depth stays within log2(rows)
// whatever the input (a plain two-sided recursion can go one level per row
// on unlucky input and overflow the stack on a large result).
class GridSorter {
 public:
  GridSorter(CGridStore& grid, GridCompareFunc compare, int32_t col, bool ascending, intptr_t data)
      : m_grid(grid), m_compare(compare), m_col(col), m_ascending(ascending), m_data(data) {}

  void Run(int32_t low, int32_t high) {
    std::vector<int32_t> order;
    if (m_compare == &CGridStore::CompareCellText)
      order = SortByText(low, high);
    else
      order = SortByFunction(low, high);
    Apply(low, order);
  }

 private:
  struct TextEntry {
    uint64_t key;
    const TChar* text;
    uint32_t size;
    int32_t row;
  };

  // The first characters of the text in code order.
  static uint64_t MakePrefix(TStringView text) {
    constexpr size_t kPerWord = sizeof(uint64_t) / sizeof(TChar);
    constexpr unsigned kBits = 8 * sizeof(TChar);
    uint64_t word = 0;
    for (size_t i = 0; i < kPerWord; ++i) {
      const uint64_t c = i < text.size() ? static_cast<std::make_unsigned_t<TChar>>(text[i]) : 0;
      word = (word << kBits) | c;
    }
    return word;
  }

  // A double's order as an unsigned key above 0 (0 is the empty cell's).
  static uint64_t OrderKey(double value) {
    value += 0.0;  // -0 sorts as 0
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits & (uint64_t{1} << 63)) ? ~bits : bits | (uint64_t{1} << 63);
  }

  std::vector<int32_t> SortByText(int32_t low, int32_t high) {
    std::vector<TextEntry> entries;
    entries.reserve(static_cast<size_t>(high - low + 1));
    CGridRowTexts texts;
    for (int32_t row = low; row <= high; ++row) {
      m_grid.ReadRow(row, texts);
      const TStringView text = texts.Text(m_col);
      entries.push_back(TextEntry{MakePrefix(text), text.data(), static_cast<uint32_t>(text.size()), row});
    }
    const bool numeric = m_grid.GetNumericSort() && UseNumbersIfAllAre(entries);
    auto less = [numeric](const TextEntry& a, const TextEntry& b) {
      if (a.key != b.key) return a.key < b.key;
      if (numeric) return false;
      return TStringView(a.text, a.size) < TStringView(b.text, b.size);
    };
    if (m_ascending)
      std::stable_sort(entries.begin(), entries.end(), less);
    else
      std::stable_sort(entries.begin(), entries.end(),
                       [&less](const TextEntry& a, const TextEntry& b) { return less(b, a); });
    std::vector<int32_t> order(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].row;
    return order;
  }

  // When every non-empty cell is a number, the keys become the values'
  // (empty cells lowest) and the comparison ends with them.
  static bool UseNumbersIfAllAre(std::vector<TextEntry>& entries) {
    std::vector<double> values(entries.size());
    bool any = false;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].size == 0) continue;
      if (!CGridStore::ReadNumber(TStringView(entries[i].text, entries[i].size), &values[i])) return false;
      any = true;
    }
    if (!any) return false;
    for (size_t i = 0; i < entries.size(); ++i) entries[i].key = entries[i].size == 0 ? 0 : OrderKey(values[i]);
    return true;
  }

  int Compare(int32_t a, int32_t b) const {
    return m_compare(m_grid.PeekCell(a, m_col), m_grid.PeekCell(b, m_col), m_data);
  }

  std::vector<int32_t> SortByFunction(int32_t low, int32_t high) {
    m_rows.resize(static_cast<size_t>(high - low + 1));
    for (int32_t row = low; row <= high; ++row) m_rows[static_cast<size_t>(row - low)] = row;
    Sort(0, high - low);
    return m_rows;
  }

  void Sort(int32_t low, int32_t high) {
    while (low < high) {
      int32_t lo = low, hi = high;
      Partition(low, high, &lo, &hi);
      if (hi - low < high - lo) {
        if (low < hi) Sort(low, hi);
        low = lo;
      } else {
        if (lo < high) Sort(lo, high);
        high = hi;
      }
    }
  }

  void Partition(int32_t low, int32_t high, int32_t* pLo, int32_t* pHi) {
    // The pivot is the middle row's cell, wherever it moves during the pass.
    const int32_t pivot = m_rows[static_cast<size_t>((low + high) / 2)];
    auto at = [this](int32_t i) { return m_rows[static_cast<size_t>(i)]; };
    int32_t lo = low, hi = high;
    while (lo <= hi) {
      if (m_ascending) {
        while (lo < high && Compare(at(lo), pivot) < 0) ++lo;
        while (hi > low && Compare(at(hi), pivot) > 0) --hi;
      } else {
        while (lo < high && Compare(at(lo), pivot) > 0) ++lo;
        while (hi > low && Compare(at(hi), pivot) < 0) --hi;
      }
      if (lo <= hi) {
        if (Compare(at(lo), at(hi)) != 0) std::swap(m_rows[static_cast<size_t>(lo)], m_rows[static_cast<size_t>(hi)]);
        ++lo;
        --hi;
      }
    }
    *pLo = lo;
    *pHi = hi;
  }

  // Rows low + i take the ids (and heights) rows order[i] had.
  void Apply(int32_t low, const std::vector<int32_t>& order) {
    std::vector<uint32_t> ids(order.size());
    for (size_t i = 0; i < order.size(); ++i) ids[i] = m_grid.IdAt(order[i]);
    m_grid.EnsureOrdered();
    for (size_t i = 0; i < ids.size(); ++i) m_grid.m_order[static_cast<size_t>(low) + i] = ids[i];
    m_grid.m_heights.Reorder(low, order);
  }

  CGridStore& m_grid;
  GridCompareFunc m_compare;
  int32_t m_col;
  bool m_ascending;
  intptr_t m_data;
  std::vector<int32_t> m_rows;
};

bool CGridStore::ReadNumber(TStringView text, double* pValue) {
  size_t i = 0, end = text.size();
  while (i < end && text[i] == DT(' ')) ++i;
  while (end > i && text[end - 1] == DT(' ')) --end;
  // Plain ASCII into a buffer; anything else is no number.
  char buffer[64];
  if (end - i == 0 || end - i >= sizeof buffer) return false;
  size_t n = 0, digits = 0;
  auto at = [&](size_t k) { return k < end ? text[k] : TChar(0); };
  auto take = [&]() { buffer[n++] = static_cast<char>(text[i++]); };
  auto isDigit = [](TChar c) { return c >= DT('0') && c <= DT('9'); };
  if (at(i) == DT('+') || at(i) == DT('-')) take();
  while (isDigit(at(i))) take(), ++digits;
  if (at(i) == DT('.')) {
    take();
    while (isDigit(at(i))) take(), ++digits;
  }
  if (digits == 0) return false;
  if (at(i) == DT('e') || at(i) == DT('E')) {
    take();
    if (at(i) == DT('+') || at(i) == DT('-')) take();
    if (!isDigit(at(i))) return false;
    while (isDigit(at(i))) take();
  }
  if (i != end) return false;
  // from_chars reads no "+" and ignores the locale's decimal point.
  const char* first = buffer[0] == '+' ? buffer + 1 : buffer;
  double value = 0;
  const auto [ptr, error] = std::from_chars(first, buffer + n, value);
  if (error != std::errc() || ptr != buffer + n || !std::isfinite(value)) return false;
  *pValue = value;
  return true;
}

int CGridStore::CompareCellText(const CGridCellBase* pCell1, const CGridCellBase* pCell2, intptr_t) {
  if (!pCell1 || !pCell2) return 0;
  const int result = pCell1->GetText().compare(pCell2->GetText());
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool CGridStore::SortTextItems(int32_t nCol, bool bAscending, intptr_t data) {
  return SortItems(&CGridStore::CompareCellText, nCol, bAscending, data);
}

bool CGridStore::SortItems(int32_t nCol, bool bAscending, intptr_t data) {
  return SortItems(m_pfnCompare ? m_pfnCompare : &CGridStore::CompareCellText, nCol, bAscending, data);
}

bool CGridStore::SortItems(GridCompareFunc pfnCompare, int32_t nCol, bool bAscending, intptr_t data) {
  if (IsFilling()) return false;
  SetSortColumn(nCol);
  SetSortAscending(bAscending);
  ClearSelectedCells();
  SetFocusCell(CellId(-1, -1));
  if (!pfnCompare || nCol < 0 || nCol >= GetColumnCount() || m_bVirtualMode) return false;
  const int32_t low = GetFixedRowCount(), high = GetRowCount() - 1;
  if (high <= low) return false;
  try {
    GridSorter(*this, pfnCompare, nCol, bAscending, data).Run(low, high);
  } catch (const std::bad_alloc&) {
    // The copy of the sort column could not be made; the rows are as they were.
    NoteOutOfMemory();
    return false;
  }
  BumpLayout();
  return true;
}

}  // namespace dossel
