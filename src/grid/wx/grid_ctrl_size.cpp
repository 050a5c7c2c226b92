// CGridCtrl: sizing rows and columns to their contents or to the window.
// Rows and columns of size 0 are hidden and never measured or changed here.
// Sizing to contents runs over every cell of a result, so it measures
// through the grid's text cache and asks the window system only for what
// the cache cannot answer.

#include <wx/dcclient.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "grid/wx/grid_text_measure.h"

namespace dossel {

namespace {

// The rows an auto-size style measures: header rows (bit 0), data rows (bit 1).
void AutoSizeRowRange(uint32_t style, int32_t fixedRows, int32_t rows, int32_t* first, int32_t* last) {
  *first = (style & GVS_HEADER) ? 0 : fixedRows;
  *last = (style & GVS_DATA) ? rows - 1 : fixedRows - 1;
}

}  // namespace

GridTextMeasure& CGridCtrl::TextMeasure() {
  if (!m_pTextMeasure) m_pTextMeasure = std::make_unique<GridTextMeasure>();
  return *m_pTextMeasure;
}

GridSize CGridCtrl::MeasureCell(wxDC& dc, const CGridCellBase& cell) {
  GridSize size;
  if (!TextMeasure().CellExtent(dc, cell, GetCellFontObject(cell), &size)) size = GetCellExtent(cell, &dc);
  return size;
}

// A column's width needs only its widest text, so texts the cache can sum
// are summed, and only the widest of them is measured exactly as well: if
// the two disagree (a run the sums do not model), the whole column is
// measured exactly. heights[row - first], when given, grows to each
// measured cell's extent height.
int32_t CGridCtrl::MeasureColumn(wxDC& dc, int32_t col, int32_t first, int32_t last, bool skipHidden,
                                 uint32_t* heights) {
  GridTextMeasure& measure = TextMeasure();
  int32_t exactWidth = 0;
  GridSize widestSum{-1, 0};
  int32_t widestSumRow = -1;
  for (int32_t row = first; row <= last; ++row) {
    if (skipHidden && GetRowHeight(row) == 0) continue;
    CGridCellBase* cell = PeekCell(row, col);
    if (!cell) continue;
    GridSize size;
    if (measure.CellExtent(dc, *cell, GetCellFontObject(*cell), &size)) {
      if (size.cx > widestSum.cx) {
        widestSum = size;
        widestSumRow = row;
      }
    } else {
      size = GetCellExtent(*cell, &dc);
      exactWidth = std::max(exactWidth, size.cx);
    }
    if (heights) heights[row - first] = std::max(heights[row - first], static_cast<uint32_t>(std::max(size.cy, 0)));
  }
  if (widestSumRow < 0 || widestSum.cx <= exactWidth) return exactWidth;
  CGridCellBase* widest = PeekCell(widestSumRow, col);
  const GridSize exact = widest ? GetCellExtent(*widest, &dc) : GridSize{};
  if (exact.cx == widestSum.cx && exact.cy == widestSum.cy) return widestSum.cx;
  exactWidth = 0;
  for (int32_t row = first; row <= last; ++row) {
    if (skipHidden && GetRowHeight(row) == 0) continue;
    if (heights) heights[row - first] = 0;
    CGridCellBase* cell = PeekCell(row, col);
    if (!cell) continue;
    const GridSize size = GetCellExtent(*cell, &dc);
    exactWidth = std::max(exactWidth, size.cx);
    if (heights) heights[row - first] = static_cast<uint32_t>(std::max(size.cy, 0));
  }
  return exactWidth;
}

void CGridCtrl::SizeColumnToContents(wxDC& dc, int32_t col, uint32_t nAutoSizeStyle) {
  if (nAutoSizeStyle == 0) nAutoSizeStyle = m_nAutoSizeColumnStyle;
  int32_t first = 0, last = 0;
  AutoSizeRowRange(nAutoSizeStyle, ShownFixedRows(), ShownRows(), &first, &last);
  if (GetVirtualMode()) SendCacheHint(CellRange(first, col, last, col));
  const int32_t width = MeasureColumn(dc, col, first, last, false, nullptr);
  if (GetVirtualMode()) SendCacheHint(CellRange());
  m_store.SetColumnWidth(col, width);
  m_idTopLeftCell.col = -1;
}

void CGridCtrl::SizeRowToContents(wxDC& dc, int32_t row) {
  if (GetVirtualMode()) SendCacheHint(CellRange(row, 0, row, ShownCols() - 1));
  int32_t height = 0;
  for (int32_t col = 0; col < ShownCols(); ++col) {
    const CGridCellBase* cell = PeekCell(row, col);
    if (cell) height = std::max(height, MeasureCell(dc, *cell).cy);
  }
  if (GetVirtualMode()) SendCacheHint(CellRange());
  m_store.SetRowHeight(row, height);
  m_idTopLeftCell.col = -1;
}

bool CGridCtrl::AutoSizeColumn(int32_t nCol, uint32_t nAutoSizeStyle, bool bResetScroll) {
  if (nCol < 0 || nCol >= ShownCols() || GetColumnWidth(nCol) <= 0) return false;
  if (!GetHandle() || !GridHasDisplay()) return false;
  wxClientDC dc(this);
  SizeColumnToContents(dc, nCol, nAutoSizeStyle);
  if (bResetScroll) ResetScrollBars();
  return true;
}

bool CGridCtrl::AutoSizeRow(int32_t nRow, bool bResetScroll) {
  if (nRow < 0 || nRow >= ShownRows() || GetRowHeight(nRow) <= 0) return false;
  if (!GetHandle() || !GridHasDisplay()) return false;
  wxClientDC dc(this);
  SizeRowToContents(dc, nRow);
  if (bResetScroll) ResetScrollBars();
  return true;
}

void CGridCtrl::AutoSizeColumns(uint32_t nAutoSizeStyle) {
  if (GetHandle() && GridHasDisplay()) {
    wxClientDC dc(this);
    for (int32_t col = 0; col < ShownCols(); ++col)
      if (GetColumnWidth(col) > 0) SizeColumnToContents(dc, col, nAutoSizeStyle);
  }
  ResetScrollBars();
}

void CGridCtrl::AutoSizeRows() {
  if (GetHandle() && GridHasDisplay()) {
    wxClientDC dc(this);
    for (int32_t row = 0; row < ShownRows(); ++row)
      if (GetRowHeight(row) > 0) SizeRowToContents(dc, row);
  }
  ResetScrollBars();
}

void CGridCtrl::AutoSize(uint32_t nAutoSizeStyle) {
  if (!GetHandle() || !GridHasDisplay()) return;
  wxClientDC dc(this);
  if (nAutoSizeStyle == 0) nAutoSizeStyle = m_nAutoSizeColumnStyle;
  int32_t first = 0, last = 0;
  AutoSizeRowRange(nAutoSizeStyle, ShownFixedRows(), ShownRows(), &first, &last);
  if (GetVirtualMode()) SendCacheHint(CellRange(first, 0, last, ShownCols() - 1));
  for (int32_t row = first; row <= last; ++row)
    if (GetRowHeight(row) > 0) m_store.SetRowHeight(row, 1);
  // One column's heights at a time, so that a column measured again exactly
  // leaves no summed height behind.
  std::vector<uint32_t> heights(static_cast<size_t>(std::max(last - first + 1, 0)));
  for (int32_t col = 0; col < ShownCols(); ++col) {
    if (GetColumnWidth(col) == 0) continue;
    std::fill(heights.begin(), heights.end(), 0u);
    m_store.SetColumnWidth(col, MeasureColumn(dc, col, first, last, true, heights.data()));
    for (int32_t row = first; row <= last; ++row)
      if (GetRowHeight(row) > 0)
        m_store.SetRowHeight(row, std::max(GetRowHeight(row), static_cast<int32_t>(heights[row - first])));
  }
  if (GetVirtualMode()) SendCacheHint(CellRange());
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  RepaintGrid();
}

void CGridCtrl::StretchColumnsToFit(bool bIncludeFixed) {
  const int32_t first = bIncludeFixed ? 0 : ShownFixedCols();
  if (first >= ShownCols()) return;
  m_nBarState &= ~0x1u;
  LayoutScrollBars();
  int32_t visible = 0;
  for (int32_t col = first; col < ShownCols(); ++col)
    if (GetColumnWidth(col) > 0) ++visible;
  if (visible == 0) return;
  const int32_t difference = GetGridClientRect().right - GetVirtualWidth();
  const int32_t share = difference / visible;
  int32_t remainder = std::abs(difference) % visible;
  for (int32_t col = first; col < ShownCols(); ++col) {
    const bool shown = GetColumnWidth(col) > 0;
    int32_t extra = 0;
    if (remainder > 0) {
      extra = difference <= 0 ? -1 : 1;
      --remainder;
    }
    if (shown) m_store.SetColumnWidth(col, std::max(0, GetColumnWidth(col) + share + extra));
  }
  m_idTopLeftCell.col = -1;
  RepaintGrid();
  ResetScrollBars();
}

void CGridCtrl::StretchRowsToFit(bool bIncludeFixed) {
  const int32_t first = bIncludeFixed ? 0 : ShownFixedRows();
  if (first >= ShownRows()) return;
  m_nBarState &= ~0x2u;
  LayoutScrollBars();
  int32_t visible = 0;
  for (int32_t row = first; row < ShownRows(); ++row)
    if (GetRowHeight(row) > 0) ++visible;
  if (visible == 0) return;
  const int32_t difference = GetGridClientRect().bottom - GetVirtualHeight();
  const int32_t share = difference / visible;
  int32_t remainder = std::abs(difference) % visible;
  for (int32_t row = first; row < ShownRows(); ++row) {
    const bool shown = GetRowHeight(row) > 0;
    int32_t extra = 0;
    if (remainder > 0) {
      extra = difference <= 0 ? -1 : 1;
      --remainder;
    }
    if (shown) m_store.SetRowHeight(row, std::max(0, GetRowHeight(row) + share + extra));
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
  if (ShownCols() <= 0) return;
  int32_t last = ShownCols() - 1;
  while (last >= 0 && GetColumnWidth(last) == 0) --last;
  if (last <= 0) return;
  m_nBarState &= ~0x1u;
  LayoutScrollBars();
  const int32_t clientWidth = GetGridClientRect().right;
  const int32_t virtualWidth = GetVirtualWidth();
  if (clientWidth > virtualWidth) {
    m_store.SetColumnWidth(last, GetColumnWidth(last) + clientWidth - virtualWidth);
    m_idTopLeftCell.col = -1;
    RepaintGrid();
  }
  ResetScrollBars();
}

void CGridCtrl::FillWindow() {
  const GridRect client = GetGridClientRect();
  if (client.IsEmpty()) return;
  SetColumnCount(client.right / std::max(GetDefaultCell(false, false)->GetWidth(), 1) + 1);
  SetRowCount(client.bottom / std::max(GetDefaultCell(false, false)->GetHeight(), 1) + 1);
  SetFixedRowCount(1);
  SetFixedColumnCount(1);
  StretchToFit(true);
}

}  // namespace dossel
