// CGridCtrl: the Edit commands. Copy puts the selected cells on the
// clipboard twice: as plain text, and under the grid's own format, whose
// text pastes back split at tabs only (a copied "Smith, John" stays one
// cell; plain text from other programs is split at commas too). UI thread.

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/textctrl.h>

#include <memory>

#include "grid/grid_text_exchange.h"
#include "grid/wx/grid_ctrl.h"
#include "platform/wx/wx_text.h"

namespace dossel {

namespace {

const wxDataFormat& GridTextFormat() {
  static const wxDataFormat format(wxT("application/x-dossel-grid-text"));
  return format;
}

// The text as both formats; the grid's own holds it as UTF-8.
wxDataObject* MakeClipboardData(const TString& text) {
  auto* both = new wxDataObjectComposite;
  const wxString wxText = ToWx(text);
  both->Add(new wxTextDataObject(wxText), true);
  const wxScopedCharBuffer utf8 = wxText.ToUTF8();
  auto* own = new wxCustomDataObject(GridTextFormat());
  own->SetData(utf8.length(), utf8.data());
  both->Add(own);
  return both;
}

// The clipboard's text, and whether a grid put it there.
bool ReadClipboardText(TString& text, bool& fromGrid) {
  if (!wxTheClipboard->Open()) return false;
  bool ok = false;
  if (wxTheClipboard->IsSupported(GridTextFormat())) {
    wxCustomDataObject own(GridTextFormat());
    if (wxTheClipboard->GetData(own)) {
      text = FromWx(wxString::FromUTF8(static_cast<const char*>(own.GetData()), own.GetSize()));
      fromGrid = ok = true;
    }
  }
  if (!ok && wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
    wxTextDataObject plain;
    if (wxTheClipboard->GetData(plain)) {
      text = FromWx(plain.GetText());
      fromGrid = false;
      ok = true;
    }
  }
  wxTheClipboard->Close();
  return ok;
}

}  // namespace

bool CGridCtrl::CopySelectionText(TString& text) const {
  text.clear();
  if (m_bFilling) return false;
  const CellRange range = GetSelectedRange();
  if (!IsValid(range)) return false;
  if (GetVirtualMode()) const_cast<CGridCtrl*>(this)->SendCacheHint(range);
  text = BuildSelectionText(m_store, range);
  if (GetVirtualMode()) const_cast<CGridCtrl*>(this)->SendCacheHint(CellRange());
  return true;
}

bool CGridCtrl::PutTextOnClipboard(const TString& text) {
  if (!wxTheClipboard->Open()) return false;
  const bool put = wxTheClipboard->SetData(MakeClipboardData(text));
  wxTheClipboard->Close();
  return put;
}

void CGridCtrl::OnEditCopy() {
  TString text;
  if (CopySelectionText(text)) PutTextOnClipboard(text);
}

// The cells are emptied only once their text is safe on the clipboard.
void CGridCtrl::OnEditCut() {
  if (!m_bEditable || m_bFilling) return;
  TString text;
  if (CopySelectionText(text) && PutTextOnClipboard(text)) CutSelection();
}

void CGridCtrl::CutSelection() {
  if (!m_bEditable || m_bFilling) return;
  const CellRange range = GetSelectedRange();
  if (!IsValid(range)) return;
  for (int32_t row = range.minRow; row <= range.maxRow; ++row)
    for (int32_t col = range.minCol; col <= range.maxCol; ++col)
      if (IsCellSelected(row, col)) SetCellTextChecked(row, col, TStringView());
}

void CGridCtrl::OnEditPaste() {
  if (!m_bEditable || m_bFilling) return;
  const CellRange range = GetSelectedRange();
  CellId cell = IsValid(range) ? CellId(range.minRow, range.minCol) : GetFocusCell();
  if (!IsValid(cell)) cell = GetTopLeftScrolledCell();
  if (!IsValid(cell)) return;
  // An open editor takes the text itself.
  if (CGridCellBase* pCell = FindCell(cell.row, cell.col); pCell && pCell->IsEditing()) {
    if (auto* editor = dynamic_cast<wxTextCtrl*>(FindWindow(kInPlaceEditId))) {
      editor->Paste();
      return;
    }
  }
  TString text;
  bool fromGrid = false;
  if (ReadClipboardText(text, fromGrid)) PasteTextAt(cell, text, fromGrid, true);
}

bool CGridCtrl::PasteTextAt(CellId cell, TStringView text, bool bFromGrid, bool bSelect) {
  if (m_bFilling || !IsCellEditable(cell)) return false;
  const auto lines = SplitPastedText(text, bFromGrid);
  const CellRange placed =
      PlacePastedFields(m_store, cell, lines, [this](int32_t row, int32_t col, const TString& field) {
        SetCellTextChecked(row, col, field);
        SetCellState(row, col, GetCellState(row, col) & ~static_cast<uint32_t>(GVIS_SELECTED));
      });
  if (bSelect && IsValid(placed)) {
    SetSelectedRange(placed, true, true);
  } else {
    ClearSelection();
  }
  RepaintGrid();
  return true;
}

void CGridCtrl::SelectAllCells() {
  if (!IsSelectable() || m_bFilling) return;
  if (ShownRows() > ShownFixedRows() && ShownCols() > ShownFixedCols())
    SetSelectedRange(ShownFixedRows(), ShownFixedCols(), ShownRows() - 1, ShownCols() - 1);
}

void CGridCtrl::OnEditSelectAll() {
  if (m_bFilling) return;
  NotifyOwner(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GVN_SELCHANGING);
  SelectAllCells();
  const CellId focus = GetFocusCell();
  NotifyOwner(focus.row, focus.col, GVN_SELCHANGED);
  Refresh();
}

}  // namespace dossel
