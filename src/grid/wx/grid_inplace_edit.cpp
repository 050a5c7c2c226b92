// The grid's in-place cell editor.

#include "grid/wx/grid_inplace_edit.h"

#include <wx/dcclient.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"
#include "platform/wx/wx_text.h"

namespace dossel {

namespace {

// One editor ends at a time: ending hands the focus back, which would end
// it (or the next one) again.
bool s_bEnding = false;

bool IsNavigationKey(int key) {
  switch (key) {
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
    case WXK_LEFT:
    case WXK_RIGHT:
    case WXK_UP:
    case WXK_DOWN:
    case WXK_NUMPAD_PAGEUP:
    case WXK_NUMPAD_PAGEDOWN:
    case WXK_NUMPAD_LEFT:
    case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_UP:
    case WXK_NUMPAD_DOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

CGridInPlaceEdit::CGridInPlaceEdit(CGridCtrl* pGrid, const GridRect& rect, long style, int nID, int32_t nRow,
                                   int32_t nCol, TStringView initText, uint32_t nFirstKey)
    : wxTextCtrl(pGrid, nID, ToWx(initText), wxPoint(rect.left, rect.top),
                 wxSize(rect.right - rect.left + 1, rect.bottom - rect.top + 1),
                 style | wxBORDER_SIMPLE | wxTE_PROCESS_ENTER | wxTE_PROCESS_TAB),
      m_pGrid(pGrid),
      m_nRow(nRow),
      m_nCol(nCol),
      m_sInitText(initText),
      m_bExitOnArrows(nFirstKey != CGridCtrl::kEditByMouse),
      m_Rect(rect) {
  if (const wxFont* font = pGrid->GetGridFont()) SetFont(*font);
  Bind(wxEVT_KEY_DOWN, &CGridInPlaceEdit::OnKeyDown, this);
  Bind(wxEVT_TEXT, &CGridInPlaceEdit::OnText, this);
  Bind(wxEVT_KILL_FOCUS, &CGridInPlaceEdit::OnKillFocus, this);
  SetFocus();
  switch (nFirstKey) {
    case CGridCtrl::kEditByMouse:
    case WXK_RETURN:
      SetInsertionPointEnd();
      return;
    case WXK_BACK:
      SetInsertionPointEnd();
      TypeKey(nFirstKey);
      return;
    case WXK_TAB:
    case WXK_SPACE:
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
    case WXK_END:
    case WXK_HOME:
    case WXK_LEFT:
    case WXK_RIGHT:
    case WXK_UP:
    case WXK_DOWN:
      SelectAll();
      return;
    default:
      break;
  }
  SelectAll();
  TypeKey(nFirstKey);
}

void CGridInPlaceEdit::TypeKey(uint32_t nKey) {
  if (nKey == WXK_BACK) {
    long from = 0, to = 0;
    GetSelection(&from, &to);
    if (from == to && from > 0) --from;
    if (from != to) Remove(from, to);
    return;
  }
  if (nKey & CGridCtrl::kTypedCharacter) {
    WriteText(wxString(wxUniChar(nKey & ~CGridCtrl::kTypedCharacter)));
    return;
  }
  // A key code: only Space types itself (while the editor is open).
  if (nKey == WXK_SPACE) WriteText(wxString(' '));
}

void CGridInPlaceEdit::SendChar(uint32_t nChar) {
  if (nChar == CGridCtrl::kEditByMouse || m_bEnded) return;
  TypeKey(nChar);
}

bool CGridInPlaceEdit::HandleKey(int nKeyCode, bool bCtrl) {
  if (m_bEnded) return false;
  if (IsNavigationKey(nKeyCode) && (m_bExitOnArrows || bCtrl)) {
    EndWithKey(static_cast<uint32_t>(nKeyCode));
    return true;
  }
  if (nKeyCode == WXK_TAB || nKeyCode == WXK_RETURN || nKeyCode == WXK_NUMPAD_ENTER) {
    EndWithKey(static_cast<uint32_t>(nKeyCode == WXK_NUMPAD_ENTER ? WXK_RETURN : nKeyCode));
    return true;
  }
  if (nKeyCode == WXK_ESCAPE) {
    ChangeValue(ToWx(m_sInitText));
    EndWithKey(WXK_ESCAPE);
    return true;
  }
  return false;
}

void CGridInPlaceEdit::OnKeyDown(wxKeyEvent& event) {
  if (!HandleKey(event.GetKeyCode(), event.ControlDown())) event.Skip();
}

void CGridInPlaceEdit::OnText(wxCommandEvent& event) {
  event.Skip();
  // Widens to keep what is typed in view, up to the grid's right edge.
  wxClientDC dc(this);
  dc.SetFont(GetFont());
  const int width = dc.GetTextExtent(GetValue() + wxT("  ")).GetWidth();
  const wxRect now = GetRect();
  if (width <= now.width) return;
  const int right = std::min(m_Rect.left + width, m_pGrid->GetGridClientRect().right);
  if (right > now.GetRight()) SetSize(now.x, now.y, right - now.x, now.height);
}

void CGridInPlaceEdit::OnKillFocus(wxFocusEvent& event) {
  event.Skip();
  // The grid may take the focus back late (GTK reports a click's focus
  // change after the editor has opened); the grid ends its editor itself
  // on clicks, scrolling and keys, so only another window ends it here.
  if (event.GetWindow() == nullptr || event.GetWindow() == m_pGrid) return;
  EndEdit();
}

void CGridInPlaceEdit::EndWithKey(uint32_t nKey) {
  m_nLastChar = nKey;
  EndEdit();
}

void CGridInPlaceEdit::EndEdit() {
  if (m_bEnded || s_bEnding) return;
  s_bEnding = true;
  m_bEnded = true;
  const TString text = FromWx(GetValue());
  Hide();
  m_pGrid->SetFocus();
  m_pGrid->OnInPlaceEditEnd(m_nRow, m_nCol, text, m_nLastChar);
  s_bEnding = false;
  // Not while its own handler runs; a grid that goes first takes it along.
  CGridInPlaceEdit* self = this;
  m_pGrid->CallAfter([self] { self->Destroy(); });
}

}  // namespace dossel
