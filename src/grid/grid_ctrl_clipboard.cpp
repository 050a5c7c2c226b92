// Copying the selected cells to the clipboard, and selecting every cell.
// UI thread only.

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "grid/grid_ctrl.h"
#include "platform/wx/wx_text.h"

namespace dossel {

bool CGridCtrl::CopySelectionText(TString& text) const {
  text.clear();
  if (m_bFilling) return false;
  const CellRange range = GetSelectedRange();
  if (!IsValid(range)) return false;
  for (int32_t row = range.minRow; row <= range.maxRow; ++row) {
    // Hidden rows and columns are left out.
    if (GetRowHeight(row) <= 0) continue;
    for (int32_t col = range.minCol; col <= range.maxCol; ++col) {
      if (GetColumnWidth(col) <= 0) continue;
      const CGridCellBase* cell = GetCell(row, col);
      if (cell && (cell->GetState() & GVIS_SELECTED)) text += cell->GetText();
      if (col < range.maxCol) text += DT("\t");
    }
    if (row < range.maxRow) text += DT("\r\n");
  }
  return true;
}

void CGridCtrl::OnEditCopy() {
  TString text;
  if (!CopySelectionText(text)) return;
  if (!wxTheClipboard->Open()) return;
  wxTheClipboard->SetData(new wxTextDataObject(ToWx(text)));
  wxTheClipboard->Close();
}

void CGridCtrl::OnEditSelectAll() {
  if (m_bFilling) return;
  const CellId focus = GetFocusCell();
  NotifyOwner(focus.row, focus.col, GVN_SELCHANGING);
  if (ShownRows() > ShownFixedRows() && ShownCols() > ShownFixedCols())
    SetSelectedRange(ShownFixedRows(), ShownFixedCols(), ShownRows() - 1, ShownCols() - 1);
  NotifyOwner(focus.row, focus.col, GVN_SELCHANGED);
  Refresh();
}

}  // namespace dossel
