// CGridCtrl: in-place editing. The owner may refuse an edit before it
// begins (GVN_BEGINLABELEDIT) and refuse the new text after it
// (GVN_ENDLABELEDIT); either refusal leaves the old text. UI thread.

#include <wx/utils.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_inplace_edit.h"
#include "grid/wx/grid_title_tip.h"

namespace dossel {

bool CGridCtrl::IsCellEditable(int32_t nRow, int32_t nCol) const {
  return m_bEditable && IsShownCell(nRow, nCol) && !(GetCellState(nRow, nCol) & GVIS_READONLY);
}

bool CGridCtrl::BeginCellEdit(int32_t nRow, int32_t nCol, wxPoint point, uint32_t nChar) {
  HideTitleTip();
  if (m_bFilling || !IsCellEditable(nRow, nCol)) return false;
  ScrollCellIntoView(nRow, nCol);
  if (!IsCellVisible(nRow, nCol)) return false;
  GridRect rect;
  if (!GetCellRect(nRow, nCol, &rect)) return false;
  if (NotifyOwner(nRow, nCol, GVN_BEGINLABELEDIT) < 0) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  return cell->Edit(nRow, nCol, rect, point.x, point.y, kInPlaceEditId, nChar);
}

GridEditWindow* CGridCtrl::CreateCellEditor(CGridCellBase& cell, int32_t nRow, int32_t nCol, const GridRect& rect,
                                            uint32_t nID, uint32_t nChar) {
  if (!GetHandle()) return nullptr;
  const uint32_t format = cell.GetFormat();
  const long style = (format & DT_RIGHT) ? wxTE_RIGHT : (format & DT_CENTER) ? wxTE_CENTRE : wxTE_LEFT;
  return new CGridInPlaceEdit(this, rect, style, static_cast<int>(nID), nRow, nCol, cell.GetText(), nChar);
}

bool CGridCtrl::ValidateCellEdit(int32_t nRow, int32_t nCol, TStringView text) {
  CGridCellBase* cell = PeekCell(nRow, nCol);
  return !cell || cell->ValidateEdit(text);
}

// Sets the new text; keeps it when validation and the owner accept it.
// A refused text leaves the cell as it was: text, modified marks and sort
// order.
static bool KeepIfAccepted(CGridCtrl& grid, int32_t nRow, int32_t nCol, TStringView text) {
  const TString old = grid.GetCellText(nRow, nCol);
  if (text == TStringView(old)) return false;
  const bool cellModified = grid.GetModified(nRow, nCol), gridModified = grid.GetModified();
  const int32_t sortColumn = grid.GetSortColumn();
  grid.SetCellText(nRow, nCol, text);
  if (grid.ValidateCellEdit(nRow, nCol, text) && grid.NotifyOwner(nRow, nCol, GVN_ENDLABELEDIT) >= 0) {
    grid.SetModified(true, nRow, nCol);
    grid.RedrawCell(nRow, nCol);
    return true;
  }
  grid.SetCellText(nRow, nCol, old);
  if (!cellModified)
    grid.SetCellState(nRow, nCol, grid.GetCellState(nRow, nCol) & ~static_cast<uint32_t>(GVIS_MODIFIED));
  if (!gridModified) grid.SetModified(false);
  grid.GetStore().SetSortColumn(sortColumn);
  grid.RedrawCell(nRow, nCol);
  return false;
}

void CGridCtrl::FinishCellEdit(int32_t nRow, int32_t nCol, TStringView text) {
  if (!IsValid(nRow, nCol)) return;
  KeepIfAccepted(*this, nRow, nCol, text);
  if (CGridCellBase* cell = FindCell(nRow, nCol)) cell->OnEndEdit();
}

void CGridCtrl::StopEditing() {
  const CellId focus = GetFocusCell();
  if (IsValid(focus))
    if (CGridCellBase* cell = FindCell(focus.row, focus.col)) cell->EndEdit();
  // An editor whose cell is no longer the focus cell (the focus moved by
  // program) ends too, before rows move under it.
  for (wxWindow* child : GetChildren())
    if (auto* editor = dynamic_cast<CGridInPlaceEdit*>(child)) editor->EndEdit();
}

bool CGridCtrl::SetCellTextChecked(int32_t nRow, int32_t nCol, TStringView text) {
  if (!IsCellEditable(nRow, nCol)) return false;
  if (NotifyOwner(nRow, nCol, GVN_BEGINLABELEDIT) < 0) return false;
  return KeepIfAccepted(*this, nRow, nCol, text);
}

void CGridCtrl::ClearCells(const CellRange& range) {
  for (int32_t row = std::max(range.minRow, 0); row <= range.maxRow && row < GetRowCount(); ++row) {
    if (GetRowHeight(row) == 0) continue;
    for (int32_t col = std::max(range.minCol, 0); col <= range.maxCol && col < GetColumnCount(); ++col)
      if (GetColumnWidth(col) != 0) SetCellTextChecked(row, col, TStringView());
  }
  RepaintGrid();
}

void CGridCtrl::OnInPlaceEditEnd(int32_t nRow, int32_t nCol, TStringView text, uint32_t nLastKey) {
  if (!GetHandle()) return;
  FinishCellEdit(nRow, nCol, text);
  switch (nLastKey) {
    case WXK_TAB:
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
    case WXK_END:
    case WXK_HOME:
    case WXK_LEFT:
    case WXK_UP:
    case WXK_RIGHT:
    case WXK_DOWN: {
      HandleKeyDown(static_cast<int>(nLastKey), wxGetKeyState(WXK_SHIFT), false);
      const CellId focus = GetFocusCell();
      BeginCellEdit(focus.row, focus.col, wxPoint(-1, -1), nLastKey);
      break;
    }
    default:
      break;
  }
}

}  // namespace dossel
