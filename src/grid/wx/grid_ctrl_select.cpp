// CGridCtrl: the focus cell and the selected-cell map. The mouse and
// keyboard handling that drives them lives with the interaction code.

#include <wx/utils.h>

#include <algorithm>
#include <vector>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"

namespace dossel {

CellId CGridCtrl::SetFocusCell(CellId cell) {
  // No focus while rows are still arriving.
  if (m_bFilling && cell.IsValid()) return GetFocusCell();
  const CellId before = GetFocusCell();
  const CellId prev = m_store.SetFocusCell(cell);
  cell = GetFocusCell();
  if (before == cell) return prev;
  const int32_t fixedRows = ShownFixedRows(), fixedCols = ShownFixedCols();
  for (const CellId& id : {prev, cell}) {
    if (!IsShownCell(id)) continue;
    RedrawCell(id.row, id.col);
    if (!m_bTrackFocusCell) continue;
    if (prev.col != cell.col)
      for (int32_t row = 0; row < fixedRows; ++row) RedrawCell(row, id.col);
    if (prev.row != cell.row)
      for (int32_t col = 0; col < fixedCols; ++col) RedrawCell(id.row, col);
  }
  return prev;
}

void CGridCtrl::SetSelectedRange(int32_t nMinRow, int32_t nMinCol, int32_t nMaxRow, int32_t nMaxCol, bool bForceRepaint,
                                 bool bSelectCells) {
  if (!IsSelectable()) return;
  // Selecting waits for the fill; clearing does not.
  const bool clearing = nMinRow < 0 && nMinCol < 0 && nMaxRow < 0 && nMaxCol < 0;
  if (m_bFilling && !clearing) return;
  std::unique_ptr<wxBusyCursor> busy;
  if (HasDrawingWindow() && GridHasDisplay()) busy = std::make_unique<wxBusyCursor>();
  (void)bForceRepaint;  // changed cells are invalidated; the next paint shows them
  const CellRange visible = HasDrawingWindow() ? GetVisibleScrolledRange() : CellRange();
  const int32_t fixedRows = GetFixedRowCount(), fixedCols = GetFixedColumnCount();
  if (nMinRow >= 0 && nMinRow < fixedRows) nMinRow = fixedRows;
  if (nMaxRow >= 0 && nMaxRow < fixedRows) nMaxRow = fixedRows;
  if (nMinCol >= 0 && nMinCol < fixedCols) nMinCol = fixedCols;
  if (nMaxCol >= 0 && nMaxCol < fixedCols) nMaxCol = fixedCols;
  const bool singleRow = m_bSingleRowSelection && m_bListMode;
  m_store.SetSelectedRange(
      CellRange(nMinRow, nMinCol, nMaxRow, nMaxCol), bSelectCells, !singleRow, [&](const CellRange& changed) {
        const CellRange shown(std::max(changed.minRow, visible.minRow), std::max(changed.minCol, visible.minCol),
                              std::min(changed.maxRow, visible.maxRow), std::min(changed.maxCol, visible.maxCol));
        if (shown.minRow <= shown.maxRow && shown.minCol <= shown.maxCol) InvalidateCellRect(shown);
      });
}

void CGridCtrl::SetSelectedRange(const CellRange& range, bool bForceRepaint, bool bSelectCells) {
  SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, bForceRepaint, bSelectCells);
}

void CGridCtrl::ClearSelection() {
  m_store.ForgetRememberedSelection();
  SetSelectedRange(-1, -1, -1, -1, false, true);
  SetFocusCell(-1, -1);
}

void CGridCtrl::SelectColumns(CellId currentCell, bool bForceRedraw, bool bSelectCells) {
  const int32_t rows = GetRowCount(), fixedRows = GetFixedRowCount(), fixedCols = GetFixedColumnCount();
  if (!IsSelectable() || !IsValid(currentCell) || currentCell.col < fixedCols) return;
  if (m_bSingleColSelection) {
    SetSelectedRange(fixedRows, currentCell.col, rows - 1, currentCell.col, bForceRedraw, bSelectCells);
    return;
  }
  const int32_t start = m_SelectionStartCell.col < 0 ? currentCell.col : m_SelectionStartCell.col;
  SetSelectedRange(fixedRows, std::min(start, currentCell.col), rows - 1, std::max(start, currentCell.col),
                   bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectRows(CellId currentCell, bool bForceRedraw, bool bSelectCells) {
  const int32_t cols = GetColumnCount(), fixedRows = GetFixedRowCount(), fixedCols = GetFixedColumnCount();
  if (!IsSelectable() || !IsValid(currentCell) || currentCell.row < fixedRows) return;
  if (m_bSingleRowSelection && m_bListMode) {
    SetSelectedRange(currentCell.row, fixedCols, currentCell.row, cols - 1, bForceRedraw, bSelectCells);
    return;
  }
  const int32_t start = m_SelectionStartCell.row < 0 ? currentCell.row : m_SelectionStartCell.row;
  SetSelectedRange(std::min(start, currentCell.row), fixedCols, std::max(start, currentCell.row), cols - 1,
                   bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectCells(CellId currentCell, bool bForceRedraw, bool bSelectCells) {
  if (!IsSelectable() || !IsValid(currentCell)) return;
  if (currentCell.row < GetFixedRowCount() || currentCell.col < GetFixedColumnCount()) return;
  const CellId start = IsValid(m_SelectionStartCell) ? m_SelectionStartCell : currentCell;
  SetSelectedRange(std::min(start.row, currentCell.row), std::min(start.col, currentCell.col),
                   std::max(start.row, currentCell.row), std::max(start.col, currentCell.col), bForceRedraw,
                   bSelectCells);
}

void CGridCtrl::ExtendSelectionTo(CellId cell) {
  switch (m_MouseMode) {
    case MOUSE_SELECT_ALL:
      SetSelectedRange(GetFixedRowCount(), GetFixedColumnCount(), GetRowCount() - 1, GetColumnCount() - 1, false, true);
      break;
    case MOUSE_SELECT_COL:
      SelectColumns(cell, false, true);
      break;
    case MOUSE_SELECT_ROW:
      SelectRows(cell, false, true);
      break;
    case MOUSE_SELECT_CELLS:
      SelectCells(cell, false, true);
      break;
    default:
      break;
  }
}

void CGridCtrl::SetListMode(bool bEnableListMode) {
  ClearSelection();
  SetSortColumn(-1);
  m_bListMode = bEnableListMode;
  m_bFixedRowSelection = false;
  RepaintGrid();
}

}  // namespace dossel
