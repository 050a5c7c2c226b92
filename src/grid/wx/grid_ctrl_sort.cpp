// CGridCtrl: the sort state as the window shows it (the arrow in the sort
// column's header), sorting (refused during a fill) and the header click
// that asks for it. The store sorts.

#include <wx/utils.h>

#include "grid/wx/grid_ctrl.h"

namespace dossel {

void CGridCtrl::SetSortColumn(int32_t nCol) {
  const int32_t old = GetSortColumn();
  if (old >= 0) InvalidateCellRect(CellId(0, old));
  m_store.SetSortColumn(nCol);
  if (nCol >= 0) InvalidateCellRect(CellId(0, nCol));
}

bool CGridCtrl::SortTextItems(int32_t nCol, bool bAscending, intptr_t data) {
  return SortItems(&CGridStore::CompareCellText, nCol, bAscending, data);
}

bool CGridCtrl::SortItems(int32_t nCol, bool bAscending, intptr_t data) {
  const GridCompareFunc compare = m_store.GetCompareFunction();
  return SortItems(compare ? compare : &CGridStore::CompareCellText, nCol, bAscending, data);
}

bool CGridCtrl::SortItems(GridCompareFunc pfnCompare, int32_t nCol, bool bAscending, intptr_t data) {
  if (m_bFilling) return false;
  StopEditing();
  const int32_t old = GetSortColumn();
  const CellId focus = GetFocusCell();
  ClearSelection();
  const bool result = m_store.SortItems(pfnCompare, nCol, bAscending, data);
  if (old >= 0) InvalidateCellRect(CellId(0, old));
  if (nCol >= 0) InvalidateCellRect(CellId(0, nCol));
  if (focus.IsValid()) RepaintGrid();
  m_idTopLeftCell.col = -1;
  return Checked(result);
}

void CGridCtrl::OnHeaderRowClick(CellId cell) {
  if (!IsValid(cell) || m_bFilling) return;
  if (m_bSortOnClick) {
    wxBusyCursor busy;
    SortItems(cell.col, cell.col == GetSortColumn() ? !GetSortAscending() : true);
    RepaintGrid();
  }
  if (m_bFixedColumnSelection) {
    m_MouseMode = cell.col < GetFixedColumnCount() ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
    ExtendSelectionTo(cell);
  }
}

void CGridCtrl::OnHeaderColumnClick(CellId cell) {
  if (!IsValid(cell) || m_bFilling) return;
  if (m_bFixedRowSelection) {
    m_MouseMode = cell.row < GetFixedRowCount() ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
    ExtendSelectionTo(cell);
  }
}

}  // namespace dossel
