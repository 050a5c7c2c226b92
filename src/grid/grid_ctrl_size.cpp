// CGridCtrl: sizing rows and columns to their contents or to the window.
// Rows and columns of size 0 are hidden and never measured or changed here.

#include <wx/dcclient.h>

#include <algorithm>

#include "grid/grid_ctrl.h"
#include "grid/grid_display.h"

namespace dossel {

namespace {

// The rows an auto-size style measures: header rows (bit 0), data rows (bit 1).
void AutoSizeRowRange(uint32_t style, int32_t fixedRows, int32_t rows, int32_t* first, int32_t* last) {
  *first = (style & GVS_HEADER) ? 0 : fixedRows;
  *last = (style & GVS_DATA) ? rows - 1 : fixedRows - 1;
}

}  // namespace

bool CGridCtrl::AutoSizeColumn(int32_t nCol, uint32_t nAutoSizeStyle, bool bResetScroll) {
  if (nCol < 0 || nCol >= m_nCols || GetColumnWidth(nCol) <= 0) return false;
  if (!GetHandle() || !GridHasDisplay()) return false;
  wxClientDC dc(this);
  if (nAutoSizeStyle == 0) nAutoSizeStyle = m_nAutoSizeColumnStyle;
  int32_t first = 0, last = 0;
  AutoSizeRowRange(nAutoSizeStyle, m_nFixedRows, m_nRows, &first, &last);
  if (m_bVirtualMode) SendCacheHint(CellRange(first, nCol, last, nCol));
  int32_t width = 0;
  for (int32_t row = first; row <= last; ++row) {
    CGridCellBase* cell = GetCell(row, nCol);
    if (cell) width = std::max(width, cell->GetCellExtent(&dc).cx);
  }
  if (m_bVirtualMode) SendCacheHint(CellRange());
  m_arColWidths[nCol] = static_cast<uint32_t>(width);
  m_idTopLeftCell.col = -1;
  if (bResetScroll) ResetScrollBars();
  return true;
}

bool CGridCtrl::AutoSizeRow(int32_t nRow, bool bResetScroll) {
  if (nRow < 0 || nRow >= m_nRows || GetRowHeight(nRow) <= 0) return false;
  if (!GetHandle() || !GridHasDisplay()) return false;
  wxClientDC dc(this);
  if (m_bVirtualMode) SendCacheHint(CellRange(nRow, 0, nRow, m_nCols - 1));
  int32_t height = 0;
  for (int32_t col = 0; col < m_nCols; ++col) {
    CGridCellBase* cell = GetCell(nRow, col);
    if (cell) height = std::max(height, cell->GetCellExtent(&dc).cy);
  }
  if (m_bVirtualMode) SendCacheHint(CellRange());
  m_arRowHeights[nRow] = static_cast<uint32_t>(height);
  m_idTopLeftCell.col = -1;
  if (bResetScroll) ResetScrollBars();
  return true;
}

void CGridCtrl::AutoSizeColumns(uint32_t nAutoSizeStyle) {
  for (int32_t col = 0; col < m_nCols; ++col)
    if (GetColumnWidth(col) > 0) AutoSizeColumn(col, nAutoSizeStyle, false);
  ResetScrollBars();
}

void CGridCtrl::AutoSizeRows() {
  for (int32_t row = 0; row < m_nRows; ++row)
    if (GetRowHeight(row) > 0) AutoSizeRow(row, false);
  ResetScrollBars();
}

void CGridCtrl::AutoSize(uint32_t nAutoSizeStyle) {
  if (!GetHandle() || !GridHasDisplay()) return;
  wxClientDC dc(this);
  if (nAutoSizeStyle == 0) nAutoSizeStyle = m_nAutoSizeColumnStyle;
  int32_t first = 0, last = 0;
  AutoSizeRowRange(nAutoSizeStyle, m_nFixedRows, m_nRows, &first, &last);
  if (m_bVirtualMode) SendCacheHint(CellRange(first, 0, last, m_nCols - 1));
  for (int32_t row = first; row <= last; ++row)
    if (m_arRowHeights[row] > 0) m_arRowHeights[row] = 1;
  for (int32_t col = 0; col < m_nCols; ++col) {
    if (m_arColWidths[col] == 0) continue;
    uint32_t width = 0;
    for (int32_t row = first; row <= last; ++row) {
      if (m_arRowHeights[row] == 0) continue;
      CGridCellBase* cell = GetCell(row, col);
      if (!cell) continue;
      const GridSize size = cell->GetCellExtent(&dc);
      width = std::max(width, static_cast<uint32_t>(std::max(size.cx, 0)));
      m_arRowHeights[row] = std::max(m_arRowHeights[row], static_cast<uint32_t>(std::max(size.cy, 0)));
    }
    m_arColWidths[col] = width;
  }
  if (m_bVirtualMode) SendCacheHint(CellRange());
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  RepaintGrid();
}

void CGridCtrl::StretchColumnsToFit(bool bIncludeFixed) {
  const int32_t first = bIncludeFixed ? 0 : m_nFixedCols;
  if (first >= m_nCols) return;
  m_nBarState &= ~0x1u;
  LayoutScrollBars();
  int32_t visible = 0;
  for (int32_t col = first; col < m_nCols; ++col)
    if (GetColumnWidth(col) > 0) ++visible;
  if (visible == 0) return;
  const int32_t difference = GetGridClientRect().right - GetVirtualWidth();
  const int32_t share = difference / visible;
  int32_t remainder = std::abs(difference) % visible;
  for (int32_t col = first; col < m_nCols; ++col) {
    const bool shown = GetColumnWidth(col) > 0;
    int32_t extra = 0;
    if (remainder > 0) {
      extra = difference <= 0 ? -1 : 1;
      --remainder;
    }
    if (shown) m_arColWidths[col] = static_cast<uint32_t>(std::max(0, GetColumnWidth(col) + share + extra));
  }
  m_idTopLeftCell.col = -1;
  RepaintGrid();
  ResetScrollBars();
}

void CGridCtrl::StretchRowsToFit(bool bIncludeFixed) {
  const int32_t first = bIncludeFixed ? 0 : m_nFixedRows;
  if (first >= m_nRows) return;
  m_nBarState &= ~0x2u;
  LayoutScrollBars();
  int32_t visible = 0;
  for (int32_t row = first; row < m_nRows; ++row)
    if (GetRowHeight(row) > 0) ++visible;
  if (visible == 0) return;
  const int32_t difference = GetGridClientRect().bottom - GetVirtualHeight();
  const int32_t share = difference / visible;
  int32_t remainder = std::abs(difference) % visible;
  for (int32_t row = first; row < m_nRows; ++row) {
    const bool shown = GetRowHeight(row) > 0;
    int32_t extra = 0;
    if (remainder > 0) {
      extra = difference <= 0 ? -1 : 1;
      --remainder;
    }
    if (shown) m_arRowHeights[row] = static_cast<uint32_t>(std::max(0, GetRowHeight(row) + share + extra));
  }
  m_idTopLeftCell.col = -1;
  RepaintGrid();
  ResetScrollBars();
}

void CGridCtrl::StretchToFit(bool bIncludeFixed) {
  StretchColumnsToFit(bIncludeFixed);
  StretchRowsToFit(bIncludeFixed);
  StretchColumnsToFit(bIncludeFixed);
  RepaintGrid();
}

void CGridCtrl::StretchLastColumn() {
  if (m_nCols <= 0) return;
  int32_t last = m_nCols - 1;
  while (last >= 0 && GetColumnWidth(last) == 0) --last;
  if (last <= 0) return;
  m_nBarState &= ~0x1u;
  LayoutScrollBars();
  const int32_t clientWidth = GetGridClientRect().right;
  const int32_t virtualWidth = GetVirtualWidth();
  if (clientWidth > virtualWidth) {
    m_arColWidths[last] += static_cast<uint32_t>(clientWidth - virtualWidth);
    m_idTopLeftCell.col = -1;
    RepaintGrid();
  }
  ResetScrollBars();
}

void CGridCtrl::FillWindow() {
  const GridRect client = GetGridClientRect();
  if (client.IsEmpty()) return;
  SetColumnCount(client.right / std::max(m_cellDefault.GetWidth(), 1) + 1);
  SetRowCount(client.bottom / std::max(m_cellDefault.GetHeight(), 1) + 1);
  SetFixedRowCount(1);
  SetFixedColumnCount(1);
  StretchToFit(true);
}

}  // namespace dossel
