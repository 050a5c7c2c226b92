// CGridStore: sorting rows by one column. Fixed rows never move.

#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "grid/grid_store.h"

namespace dossel {

// Sorts the rows of one grid in place by partitioning around the middle
// row's cell. The larger part is handled by the loop and only the smaller
// one by recursion, so the depth stays within log2(rows) whatever the input
// (a plain two-sided recursion can go one level per row on unlucky input and
// overflow the stack on a large result).
//
// The partitioning runs over a compact copy of the sort column (text, cell,
// row object, height) and the rows are put back once at the end: the same
// comparisons and the same final order as swapping the rows themselves, with
// far fewer memory indirections per comparison.
class GridSorter {
 public:
  GridSorter(CGridStore& grid, GridCompareFunc compare, int32_t col, bool ascending, intptr_t data)
      : m_grid(grid),
        m_compare(compare),
        m_col(col),
        m_ascending(ascending),
        m_data(data),
        m_byText(compare == &CGridStore::CompareCellText) {}

  void Run(int32_t low, int32_t high) {
    const int32_t cols = m_grid.GetColumnCount();
    m_entries.reserve(static_cast<size_t>(high - low + 1));
    for (int32_t row = low; row <= high; ++row) {
      CGridCellBase** cells = m_grid.RowAt(row);
      const CGridCellBase* cell = cells ? cells[m_col] : nullptr;
      const TStringView text = cell ? cell->GetText() : TStringView();
      m_entries.push_back(Entry{MakePrefix(text), text, cell, cells, m_grid.Height(row)});
    }
    if (m_byText && m_grid.GetNumericSort()) UseNumbersIfAllAre();
    Sort(0, high - low);
    for (int32_t i = 0; i <= high - low; ++i) {
      const int32_t row = low + i;
      m_grid.RowAt(row) = m_entries[i].row;
      m_grid.SetHeight(row, m_entries[i].height);
      if (CGridCellBase** cells = m_entries[i].row)
        for (int32_t col = 0; col < cols; ++col)
          if (cells[col]) cells[col]->SetCoords(row, col);
    }
  }

 private:
  // The first characters of the text in code order, so that most
  // comparisons are decided without touching the cell.
  struct Prefix {
    uint64_t high = 0, low = 0;
  };
  static Prefix MakePrefix(TStringView text) {
    constexpr size_t kPerWord = sizeof(uint64_t) / sizeof(TChar);
    constexpr unsigned kBits = 8 * sizeof(TChar);
    Prefix p;
    for (size_t i = 0; i < 2 * kPerWord; ++i) {
      const uint64_t c = i < text.size() ? static_cast<std::make_unsigned_t<TChar>>(text[i]) : 0;
      uint64_t& word = i < kPerWord ? p.high : p.low;
      word = (word << kBits) | c;
    }
    return p;
  }
  struct Entry {
    Prefix prefix;
    TStringView text;
    const CGridCellBase* cell;
    CGridCellBase** row;
    uint32_t height;
  };

  // A double's order as an unsigned key.
  static uint64_t OrderKey(double value) {
    value += 0.0;  // -0 sorts as 0
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits & (uint64_t{1} << 63)) ? ~bits : bits | (uint64_t{1} << 63);
  }

  // When every non-empty cell is a number, the prefixes become the values'
  // keys (empty cells lowest) and the comparison ends with them.
  void UseNumbersIfAllAre() {
    std::vector<double> values(m_entries.size());
    bool any = false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
      if (m_entries[i].text.empty()) continue;
      if (!CGridStore::ReadNumber(m_entries[i].text, &values[i])) return;
      any = true;
    }
    if (!any) return;
    for (size_t i = 0; i < m_entries.size(); ++i) {
      const bool empty = m_entries[i].text.empty();
      m_entries[i].prefix = Prefix{empty ? 0u : 1u, empty ? 0u : OrderKey(values[i])};
    }
    m_numeric = true;
  }

  int Compare(const Entry& a, const Entry& b) const {
    if (!m_byText) return m_compare(a.cell, b.cell, m_data);
    if (!a.cell || !b.cell) return 0;
    if (m_numeric) {
      if (a.prefix.high != b.prefix.high) return a.prefix.high < b.prefix.high ? -1 : 1;
      return a.prefix.low < b.prefix.low ? -1 : (a.prefix.low > b.prefix.low ? 1 : 0);
    }
    // Equal prefixes may still hide a difference (or a shorter text against
    // one with a zero character); only then the whole texts are compared.
    if (a.prefix.high != b.prefix.high) return a.prefix.high < b.prefix.high ? -1 : 1;
    if (a.prefix.low != b.prefix.low) return a.prefix.low < b.prefix.low ? -1 : 1;
    const int result = a.text.compare(b.text);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
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
    const Entry pivot = m_entries[(low + high) / 2];
    int32_t lo = low, hi = high;
    while (lo <= hi) {
      if (m_ascending) {
        while (lo < high && Compare(m_entries[lo], pivot) < 0) ++lo;
        while (hi > low && Compare(m_entries[hi], pivot) > 0) --hi;
      } else {
        while (lo < high && Compare(m_entries[lo], pivot) > 0) ++lo;
        while (hi > low && Compare(m_entries[hi], pivot) < 0) --hi;
      }
      if (lo <= hi) {
        if (Compare(m_entries[lo], m_entries[hi]) != 0) std::swap(m_entries[lo], m_entries[hi]);
        ++lo;
        --hi;
      }
    }
    *pLo = lo;
    *pHi = hi;
  }

  CGridStore& m_grid;
  GridCompareFunc m_compare;
  int32_t m_col;
  bool m_ascending;
  intptr_t m_data;
  bool m_byText;
  bool m_numeric = false;
  std::vector<Entry> m_entries;
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
