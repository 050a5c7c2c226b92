#pragma once
// CGridInPlaceEdit: the single-line editor the grid opens over a cell. It
// owns its text until editing ends: Enter, Tab, Escape (which restores the
// text it started with), the arrows and Page Up/Down (when they may leave
// it), or losing the focus end it; it then reports its text and ending key
// to the grid (CGridCtrl::OnInPlaceEditEnd) and destroys itself after the
// event that ended it. UI thread only.

#include <wx/textctrl.h>

#include "grid/grid_cell_base.h"
#include "platform/text.h"

namespace dossel {

class CGridCtrl;

class CGridInPlaceEdit : public wxTextCtrl, public GridEditWindow {
 public:
  // rect in grid client coordinates; style holds the alignment. nFirstKey is
  // the key that started editing (CGridCtrl::kEditByMouse for a click): the
  // editor starts with the caret after the text or with the text selected
  // and replaced by the key.
  CGridInPlaceEdit(CGridCtrl* pGrid, const GridRect& rect, long style, int nID, int32_t nRow, int32_t nCol,
                   TStringView initText, uint32_t nFirstKey);

  void SendChar(uint32_t nChar) override;
  void EndEdit() override;

  // A key that reached the grid while the editor is open (the window system
  // may leave the keyboard focus with the grid): the ending keys end the
  // editor as if it had them; true when the key was used.
  bool HandleKey(int nKeyCode, bool bCtrl);
  bool IsEnded() const { return m_bEnded; }

  int32_t GetRow() const { return m_nRow; }
  int32_t GetColumn() const { return m_nCol; }
  bool ExitsOnArrows() const { return m_bExitOnArrows; }

 private:
  void OnKeyDown(wxKeyEvent& event);
  void OnText(wxCommandEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  // Remembers the key, hands the focus back to the grid and ends.
  void EndWithKey(uint32_t nKey);
  // Typed text replaces the selection (Backspace: deletes before the caret).
  void TypeKey(uint32_t nKey);

  CGridCtrl* m_pGrid;
  int32_t m_nRow, m_nCol;
  TString m_sInitText;
  uint32_t m_nLastChar = 0;
  bool m_bExitOnArrows;
  bool m_bEnded = false;
  GridRect m_Rect;
};

}  // namespace dossel
