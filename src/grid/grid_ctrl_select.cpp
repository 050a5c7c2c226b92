// CGridCtrl: the focus cell and the selected-cell map. The mouse and
// keyboard handling that drives them lives with the interaction code.

#include <wx/utils.h>

#include <algorithm>
#include <vector>

#include "grid/grid_ctrl.h"
#include "grid/grid_display.h"

namespace dossel {

CellId CGridCtrl::SetFocusCell(CellId cell) {
  if (cell == m_idCurrentCell) return m_idCurrentCell;
  if (cell.row != -1 && cell.row < m_nFixedRows) cell.row = m_nFixedRows;
  if (cell.col != -1 && cell.col < m_nFixedCols) cell.col = m_nFixedCols;
  const CellId prev = m_idCurrentCell;
  m_idCurrentCell = cell;
  if (IsValid(prev)) {
    SetCellState(prev.row, prev.col, GetCellState(prev.row, prev.col) & ~static_cast<uint32_t>(GVIS_FOCUSED));
    RedrawCell(prev.row, prev.col);
    if (m_bTrackFocusCell) {
      if (prev.col != cell.col)
        for (int32_t row = 0; row < m_nFixedRows; ++row) RedrawCell(row, prev.col);
      if (prev.row != cell.row)
        for (int32_t col = 0; col < m_nFixedCols; ++col) RedrawCell(prev.row, col);
    }
  }
  if (IsValid(cell)) {
    SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) | GVIS_FOCUSED);
    RedrawCell(cell.row, cell.col);
    if (m_bTrackFocusCell) {
      if (prev.col != cell.col)
        for (int32_t row = 0; row < m_nFixedRows; ++row) RedrawCell(row, cell.col);
      if (prev.row != cell.row)
        for (int32_t col = 0; col < m_nFixedCols; ++col) RedrawCell(cell.row, col);
    }
  }
  return prev;
}

bool CGridCtrl::IsCellSelected(int32_t nRow, int32_t nCol) const {
  if (!m_bEnableSelection) return false;
  if (m_bVirtualMode) return IsInSelectionMap(nRow, nCol);
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell && cell->IsSelected();
}

void CGridCtrl::SetSelectedRange(int32_t nMinRow, int32_t nMinCol, int32_t nMaxRow, int32_t nMaxCol, bool bForceRepaint,
                                 bool bSelectCells) {
  if (!m_bEnableSelection) return;
  std::unique_ptr<wxBusyCursor> busy;
  if (HasDrawingWindow() && GridHasDisplay()) busy = std::make_unique<wxBusyCursor>();
  (void)bForceRepaint;  // changed cells are invalidated; the next paint shows them
  const CellRange visible = HasDrawingWindow() ? GetVisibleScrolledRange() : CellRange();
  auto repaintIfVisible = [&](int32_t row, int32_t col) {
    if (visible.InRange(row, col)) InvalidateCellRect(CellId(row, col));
  };
  if (nMinRow >= 0 && nMinRow < m_nFixedRows) nMinRow = m_nFixedRows;
  if (nMaxRow >= 0 && nMaxRow < m_nFixedRows) nMaxRow = m_nFixedRows;
  if (nMinCol >= 0 && nMinCol < m_nFixedCols) nMinCol = m_nFixedCols;
  if (nMaxCol >= 0 && nMaxCol < m_nFixedCols) nMaxCol = m_nFixedCols;
  const CellRange wanted(nMinRow, nMinCol, nMaxRow, nMaxCol);
  const bool allSet = nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0;
  if (bSelectCells) {
    std::vector<CellId> selected;
    selected.reserve(m_SelectedCellMap.size());
    for (auto it = m_SelectedCellMap.begin(); it != m_SelectedCellMap.end();) {
      if (!IsValid(it->second)) {
        it = m_SelectedCellMap.erase(it);
      } else {
        selected.push_back(it->second);
        ++it;
      }
    }
    for (const CellId& id : selected) {
      SetCellState(id.row, id.col, GetCellState(id.row, id.col) & ~static_cast<uint32_t>(GVIS_SELECTED));
      if (!wanted.InRange(id.row, id.col)) repaintIfVisible(id.row, id.col);
    }
    const bool singleRow = m_bSingleRowSelection && m_bListMode;
    if (!singleRow && allSet) {
      for (const auto& entry : m_PrevSelectedCellMap) {
        const CellId& id = entry.second;
        if (!IsValid(id)) continue;
        SetCellState(id.row, id.col, GetCellState(id.row, id.col) | GVIS_SELECTED);
        repaintIfVisible(id.row, id.col);
      }
    }
  }
  if (!allSet || !IsValid(wanted)) return;
  for (int32_t row = nMinRow; row <= nMaxRow; ++row) {
    for (int32_t col = nMinCol; col <= nMaxCol; ++col) {
      const bool isSelected = IsCellSelected(row, col);
      if (isSelected == bSelectCells) continue;
      const uint32_t state = GetCellState(row, col);
      SetCellState(row, col, bSelectCells ? (state | GVIS_SELECTED) : (state & ~static_cast<uint32_t>(GVIS_SELECTED)));
      repaintIfVisible(row, col);
    }
  }
}

void CGridCtrl::SetSelectedRange(const CellRange& range, bool bForceRepaint, bool bSelectCells) {
  SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, bForceRepaint, bSelectCells);
}

CellRange CGridCtrl::GetSelectedRange() const {
  CellRange range(m_nRows, m_nCols, -1, -1);
  for (const auto& entry : m_SelectedCellMap) {
    const CellId& id = entry.second;
    range.minRow = std::min(range.minRow, id.row);
    range.minCol = std::min(range.minCol, id.col);
    range.maxRow = std::max(range.maxRow, id.row);
    range.maxCol = std::max(range.maxCol, id.col);
  }
  return range;
}

void CGridCtrl::ClearSelectedCells() {
  m_PrevSelectedCellMap.clear();
  SetSelectedRange(-1, -1, -1, -1, false, true);
}

void CGridCtrl::ClearSelection() {
  ClearSelectedCells();
  SetFocusCell(-1, -1);
}

void CGridCtrl::SelectColumns(CellId currentCell, bool bForceRedraw, bool bSelectCells) {
  if (!m_bEnableSelection || !IsValid(currentCell) || currentCell.col < m_nFixedCols) return;
  if (m_bSingleColSelection) {
    SetSelectedRange(m_nFixedRows, currentCell.col, m_nRows - 1, currentCell.col, bForceRedraw, bSelectCells);
    return;
  }
  const int32_t start = m_SelectionStartCell.col < 0 ? currentCell.col : m_SelectionStartCell.col;
  SetSelectedRange(m_nFixedRows, std::min(start, currentCell.col), m_nRows - 1, std::max(start, currentCell.col),
                   bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectRows(CellId currentCell, bool bForceRedraw, bool bSelectCells) {
  if (!m_bEnableSelection || !IsValid(currentCell) || currentCell.row < m_nFixedRows) return;
  if (m_bSingleRowSelection && m_bListMode) {
    SetSelectedRange(currentCell.row, m_nFixedCols, currentCell.row, m_nCols - 1, bForceRedraw, bSelectCells);
    return;
  }
  const int32_t start = m_SelectionStartCell.row < 0 ? currentCell.row : m_SelectionStartCell.row;
  SetSelectedRange(std::min(start, currentCell.row), m_nFixedCols, std::max(start, currentCell.row), m_nCols - 1,
                   bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectCells(CellId currentCell, bool bForceRedraw, bool bSelectCells) {
  if (!m_bEnableSelection || !IsValid(currentCell)) return;
  if (currentCell.row < m_nFixedRows || currentCell.col < m_nFixedCols) return;
  const CellId start = IsValid(m_SelectionStartCell) ? m_SelectionStartCell : currentCell;
  SetSelectedRange(std::min(start.row, currentCell.row), std::min(start.col, currentCell.col),
                   std::max(start.row, currentCell.row), std::max(start.col, currentCell.col), bForceRedraw,
                   bSelectCells);
}

void CGridCtrl::ExtendSelectionTo(CellId cell) {
  switch (m_MouseMode) {
    case MOUSE_SELECT_ALL:
      if (m_bEnableSelection) SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1, false, true);
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
