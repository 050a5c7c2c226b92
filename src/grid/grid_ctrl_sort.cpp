// CGridCtrl: sorting rows by one column, and the header click that asks
// for it. Fixed rows never move.

#include <wx/utils.h>

#include <utility>

#include "grid/grid_ctrl.h"

namespace dossel {

// Sorts the rows of one grid in place by partitioning around the middle
// row's cell. The larger part is handled by the loop and only the smaller
// one by recursion, so the depth stays within log2(rows) whatever the input
// (a plain two-sided recursion can go one level per row on unlucky input and
// overflow the stack on a large result).
class GridSorter {
 public:
  GridSorter(CGridCtrl& grid, GridCompareFunc compare, int32_t col, bool ascending, intptr_t data)
      : m_grid(grid), m_compare(compare), m_col(col), m_ascending(ascending), m_data(data) {}

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

 private:
  const CGridCellBase* Cell(int32_t row) const {
    CGridCellBase** cells = m_grid.m_RowData[row];
    return cells ? cells[m_col] : nullptr;
  }
  int Compare(int32_t row, const CGridCellBase* pivot) const { return m_compare(Cell(row), pivot, m_data); }

  void Partition(int32_t low, int32_t high, int32_t* pLo, int32_t* pHi) {
    // The pivot is the cell object itself, which may move during the pass.
    const CGridCellBase* pivot = Cell((low + high) / 2);
    int32_t lo = low, hi = high;
    while (lo <= hi) {
      if (m_ascending) {
        while (lo < high && Compare(lo, pivot) < 0) ++lo;
        while (hi > low && Compare(hi, pivot) > 0) --hi;
      } else {
        while (lo < high && Compare(lo, pivot) > 0) ++lo;
        while (hi > low && Compare(hi, pivot) < 0) --hi;
      }
      if (lo <= hi) {
        if (m_compare(Cell(lo), Cell(hi), m_data) != 0) SwapRows(lo, hi);
        ++lo;
        --hi;
      }
    }
    *pLo = lo;
    *pHi = hi;
  }

  void SwapRows(int32_t a, int32_t b) {
    std::swap(m_grid.m_RowData[a], m_grid.m_RowData[b]);
    std::swap(m_grid.m_arRowHeights[a], m_grid.m_arRowHeights[b]);
    for (int32_t row : {a, b}) {
      CGridCellBase** cells = m_grid.m_RowData[row];
      if (!cells) continue;
      for (int32_t col = 0; col < m_grid.m_nCols; ++col)
        if (cells[col]) cells[col]->SetCoords(row, col);
    }
  }

  CGridCtrl& m_grid;
  GridCompareFunc m_compare;
  int32_t m_col;
  bool m_ascending;
  intptr_t m_data;
};

int CGridCtrl::CompareCellText(const CGridCellBase* pCell1, const CGridCellBase* pCell2, intptr_t) {
  if (!pCell1 || !pCell2) return 0;
  const int result = pCell1->GetText().compare(pCell2->GetText());
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void CGridCtrl::SetSortColumn(int32_t nCol) {
  if (m_nSortColumn >= 0) InvalidateCellRect(CellId(0, m_nSortColumn));
  m_nSortColumn = nCol;
  if (nCol >= 0) InvalidateCellRect(CellId(0, nCol));
}

bool CGridCtrl::SortTextItems(int32_t nCol, bool bAscending, intptr_t data) {
  return SortItems(&CGridCtrl::CompareCellText, nCol, bAscending, data);
}

bool CGridCtrl::SortItems(int32_t nCol, bool bAscending, intptr_t data) {
  return SortItems(m_pfnCompare ? m_pfnCompare : &CGridCtrl::CompareCellText, nCol, bAscending, data);
}

bool CGridCtrl::SortItems(GridCompareFunc pfnCompare, int32_t nCol, bool bAscending, intptr_t data) {
  SetSortColumn(nCol);
  SetSortAscending(bAscending);
  ClearSelection();
  SetFocusCell(-1, -1);
  if (!pfnCompare || nCol < 0 || nCol >= m_nCols || m_bVirtualMode) return false;
  const int32_t low = m_nFixedRows, high = m_nRows - 1;
  if (high <= low) return false;
  GridSorter(*this, pfnCompare, nCol, bAscending, data).Sort(low, high);
  m_idTopLeftCell.col = -1;
  return true;
}

void CGridCtrl::OnHeaderRowClick(CellId cell) {
  if (!IsValid(cell)) return;
  if (m_bSortOnClick) {
    wxBusyCursor busy;
    SortItems(cell.col, cell.col == m_nSortColumn ? !m_bAscending : true);
    RepaintGrid();
  }
  if (m_bFixedColumnSelection) {
    m_MouseMode = cell.col < m_nFixedCols ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
    ExtendSelectionTo(cell);
  }
}

void CGridCtrl::OnHeaderColumnClick(CellId cell) {
  if (!IsValid(cell)) return;
  if (m_bFixedRowSelection) {
    m_MouseMode = cell.row < m_nFixedRows ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
    ExtendSelectionTo(cell);
  }
}

}  // namespace dossel
