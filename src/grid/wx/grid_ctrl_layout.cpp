// CGridCtrl: the mapping between cells and client pixels. Cell rectangles
// are inclusive; the scrolled area starts at the cached top-left scrolled
// cell, right of the fixed columns and below the fixed rows.

#include <wx/scrolbar.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"

namespace dossel {

GridRect CGridCtrl::GetGridClientRect() const {
  GridRect rect;
  if (!GetHandle()) return rect;
  const wxSize size = GetClientSize();
  rect.right = size.GetWidth();
  rect.bottom = size.GetHeight();
  if ((m_nBarState & 0x2) && m_pVScroll) rect.right -= m_pVScroll->GetSize().GetWidth();
  if ((m_nBarState & 0x1) && m_pHScroll) rect.bottom -= m_pHScroll->GetSize().GetHeight();
  rect.right = std::max(rect.right, 0);
  rect.bottom = std::max(rect.bottom, 0);
  return rect;
}

CellId CGridCtrl::GetTopLeftScrolledCell(bool bForceRecalculation) {
  const bool recalcCol = bForceRecalculation || m_idTopLeftCell.col == -1;
  const bool recalcRow = recalcCol || m_idTopLeftCell.row == -1;
  if (recalcCol) {
    m_idTopLeftCell.col = ShownFixedCols();
    int64_t right = 0;
    while (right < m_nHScrollPos && m_idTopLeftCell.col < ShownCols() - 1)
      right += GetColumnWidth(m_idTopLeftCell.col++);
  }
  if (recalcRow) {
    // Scrolling moves the top row a little at a time: walk from where the
    // last top row started instead of from the first row, so that the cost
    // follows the distance scrolled, not the row count.
    int32_t row = ShownFixedRows();
    int64_t bottom = 0;
    if (!recalcCol && m_nTopRowCacheRow >= ShownFixedRows() && m_nTopRowCacheRow < ShownRows()) {
      row = m_nTopRowCacheRow;
      bottom = m_nTopRowCacheStart;
      while (row > ShownFixedRows() && bottom - GetRowHeight(row - 1) >= m_nVScrollPos) bottom -= GetRowHeight(--row);
    }
    while (bottom < m_nVScrollPos && row < ShownRows() - 1) bottom += GetRowHeight(row++);
    m_idTopLeftCell.row = row;
    m_nTopRowCacheRow = row;
    m_nTopRowCacheStart = bottom;
  }
  return m_idTopLeftCell;
}

CellRange CGridCtrl::GetVisibleScrolledRange(GridRect* pRect, bool bForceRecalculation) {
  const GridRect client = GetGridClientRect();
  const CellId topLeft = GetTopLeftScrolledCell(bForceRecalculation);
  int32_t bottom = GetFixedRowHeight();
  int32_t maxRow = topLeft.row;
  for (int32_t row = topLeft.row; row < ShownRows(); ++row) {
    bottom += GetRowHeight(row);
    maxRow = row;
    if (bottom >= client.bottom) {
      bottom = client.bottom;
      break;
    }
  }
  int32_t right = GetFixedColumnWidth();
  int32_t maxCol = topLeft.col;
  for (int32_t col = topLeft.col; col < ShownCols(); ++col) {
    right += GetColumnWidth(col);
    maxCol = col;
    if (right >= client.right) {
      right = client.right;
      break;
    }
  }
  maxRow = std::min(maxRow, ShownRows() - 1);
  maxCol = std::min(maxCol, ShownCols() - 1);
  if (pRect) *pRect = GridRect{0, 0, right, bottom};
  return CellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

CellRange CGridCtrl::GetFullyVisibleScrolledRange(bool bForceRecalculation) {
  GridRect rect;
  CellRange range = GetVisibleScrolledRange(&rect, bForceRecalculation);
  const GridRect client = GetGridClientRect();
  GridRect cell;
  if (range.maxRow > 0 && GetCellRect(range.maxRow, range.minCol, &cell) && cell.bottom >= client.bottom)
    range.maxRow--;
  if (range.maxCol > 0 && GetCellRect(range.minRow, range.maxCol, &cell) && cell.right >= client.right) range.maxCol--;
  return range;
}

bool CGridCtrl::GetCellOrigin(int32_t nRow, int32_t nCol, wxPoint* p) {
  if (!IsShownCell(nRow, nCol) || !p) return false;
  CellId topLeft;
  if (nCol >= ShownFixedCols() || nRow >= ShownFixedRows()) topLeft = GetTopLeftScrolledCell();
  if ((nRow >= ShownFixedRows() && nRow < topLeft.row) || (nCol >= ShownFixedCols() && nCol < topLeft.col))
    return false;
  int64_t x = 0;
  if (nCol < ShownFixedCols()) {
    for (int32_t i = 0; i < nCol; ++i) x += GetColumnWidth(i);
  } else {
    x = GetFixedColumnWidth();
    for (int32_t i = topLeft.col; i < nCol; ++i) x += GetColumnWidth(i);
  }
  int64_t y = 0;
  if (nRow < ShownFixedRows()) {
    for (int32_t i = 0; i < nRow; ++i) y += GetRowHeight(i);
  } else {
    y = GetFixedRowHeight();
    for (int32_t i = topLeft.row; i < nRow; ++i) y += GetRowHeight(i);
  }
  p->x = static_cast<int>(std::min<int64_t>(x, INT32_MAX));
  p->y = static_cast<int>(std::min<int64_t>(y, INT32_MAX));
  return true;
}

bool CGridCtrl::GetCellRect(int32_t nRow, int32_t nCol, GridRect* pRect) {
  wxPoint origin;
  if (!pRect || !GetCellOrigin(nRow, nCol, &origin)) return false;
  pRect->left = origin.x;
  pRect->top = origin.y;
  pRect->right = origin.x + GetColumnWidth(nCol) - 1;
  pRect->bottom = origin.y + GetRowHeight(nRow) - 1;
  return true;
}

bool CGridCtrl::GetCellTextRect(int32_t nRow, int32_t nCol, GridRect* pRect) {
  CGridCellBase* cell = PeekCell(nRow, nCol);
  if (!cell || !GetCellRect(nRow, nCol, pRect)) return false;
  return cell->GetTextRect(pRect);
}

bool CGridCtrl::GetCellRangeRect(const CellRange& cellRange, GridRect* lpRect) {
  wxPoint minOrigin, maxOrigin;
  if (!lpRect || !GetCellOrigin(cellRange.minRow, cellRange.minCol, &minOrigin)) return false;
  if (!GetCellOrigin(cellRange.maxRow, cellRange.maxCol, &maxOrigin)) return false;
  lpRect->left = minOrigin.x;
  lpRect->top = minOrigin.y;
  lpRect->right = maxOrigin.x + GetColumnWidth(cellRange.maxCol) - 1;
  lpRect->bottom = maxOrigin.y + GetRowHeight(cellRange.maxRow) - 1;
  return true;
}

CellId CGridCtrl::GetCellFromPoint(wxPoint point, bool bAllowFixedCellCheck) {
  CellId cellId;
  const CellId topLeft = GetTopLeftScrolledCell();
  if (!bAllowFixedCellCheck && !IsShownCell(topLeft)) return cellId;
  const int32_t fixedColWidth = GetFixedColumnWidth();
  if (point.x < 0 || (!bAllowFixedCellCheck && point.x < fixedColWidth)) {
    cellId.col = -1;
  } else if (point.x < fixedColWidth) {
    int64_t x = 0;
    int32_t col = 0;
    for (; col < ShownFixedCols(); ++col) {
      x += GetColumnWidth(col);
      if (x > point.x) break;
    }
    cellId.col = col;
  } else {
    int64_t x = fixedColWidth;
    int32_t col = topLeft.col;
    for (; col < ShownCols(); ++col) {
      x += GetColumnWidth(col);
      if (x > point.x) break;
    }
    cellId.col = col >= ShownCols() ? -1 : col;
  }
  const int32_t fixedRowHeight = GetFixedRowHeight();
  if (point.y < 0 || (!bAllowFixedCellCheck && point.y < fixedRowHeight)) {
    cellId.row = -1;
  } else if (point.y < fixedRowHeight) {
    int64_t y = 0;
    int32_t row = 0;
    for (; row < ShownFixedRows(); ++row) {
      y += GetRowHeight(row);
      if (y > point.y) break;
    }
    cellId.row = row;
  } else {
    int64_t y = fixedRowHeight;
    int32_t row = topLeft.row;
    for (; row < ShownRows(); ++row) {
      y += GetRowHeight(row);
      if (y > point.y) break;
    }
    cellId.row = row >= ShownRows() ? -1 : row;
  }
  return cellId;
}

bool CGridCtrl::IsCellVisible(int32_t nRow, int32_t nCol) {
  if (!GetHandle()) return false;
  wxPoint origin;
  if (!GetCellOrigin(nRow, nCol, &origin)) return false;
  const GridRect client = GetGridClientRect();
  return origin.x < client.right && origin.y < client.bottom;
}

}  // namespace dossel
