// CGridCtrl: the keyboard. Keys move the focus cell (Shift extends the
// selection from its start cell), the Ctrl shortcuts reach the clipboard,
// F2 and typing start an in-place edit. UI thread.

#include <wx/utils.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_inplace_edit.h"
#include "grid/wx/grid_title_tip.h"

namespace dossel {

namespace {

// The keypad's navigation keys act as the main ones.
int NormalKey(int key) {
  switch (key) {
    case WXK_NUMPAD_UP:
      return WXK_UP;
    case WXK_NUMPAD_DOWN:
      return WXK_DOWN;
    case WXK_NUMPAD_LEFT:
      return WXK_LEFT;
    case WXK_NUMPAD_RIGHT:
      return WXK_RIGHT;
    case WXK_NUMPAD_PAGEUP:
      return WXK_PAGEUP;
    case WXK_NUMPAD_PAGEDOWN:
      return WXK_PAGEDOWN;
    case WXK_NUMPAD_HOME:
      return WXK_HOME;
    case WXK_NUMPAD_END:
      return WXK_END;
    case WXK_NUMPAD_DELETE:
      return WXK_DELETE;
    case WXK_NUMPAD_INSERT:
      return WXK_INSERT;
    default:
      return key;
  }
}

bool IsNavigationKeyCode(int key) {
  switch (NormalKey(key)) {
    case WXK_UP:
    case WXK_DOWN:
    case WXK_LEFT:
    case WXK_RIGHT:
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
    case WXK_HOME:
    case WXK_END:
      return true;
    default:
      return false;
  }
}

// Which way a key's line scroll goes when the new focus cell is out of view.
enum ScrollMade { kScrolledNone = 0, kScrolledHorz = 1, kScrolledVert = 2, kLineChange = 4 };

}  // namespace

bool CGridCtrl::HandleKeyDown(int nKeyCode, bool bShift, bool bCtrl) {
  if (m_bFilling) return false;
  const int key = NormalKey(nKeyCode);
  // The clipboard shortcuts work without a focus cell too (after Select All
  // from the menu there is none).
  if (bCtrl) {
    switch (key) {
      case 'A':
        OnEditSelectAll();
        return true;
      case 'X':
        OnEditCut();
        return true;
      case 'C':
      case WXK_INSERT:
        OnEditCopy();
        return true;
      case 'V':
        OnEditPaste();
        return true;
      default:
        break;
    }
  } else if (bShift && key == WXK_INSERT) {
    OnEditPaste();
    return true;
  }
  const CellId focus = GetFocusCell();
  if (!IsShownCell(focus)) return false;
  if (key == WXK_DELETE) {
    CutSelection();
    return true;
  }
  if (key == WXK_F2) {
    BeginCellEdit(focus.row, focus.col, wxPoint(-1, -1), kEditByMouse);
    return true;
  }
  int scrolled = kScrolledNone;
  const CellId next = MoveFocusByKey(key, bShift, bCtrl, &scrolled);
  if (!next.IsValid()) return false;
  ApplyKeyMove(next, key, bShift, scrolled);
  return true;
}

// The cell a navigation key moves the focus to ((-1, -1) for other keys).
CellId CGridCtrl::MoveFocusByKey(int nKeyCode, bool bShift, bool bCtrl, int* pScrolled) {
  const int32_t rows = ShownRows(), cols = ShownCols(), fixedRows = ShownFixedRows(), fixedCols = ShownFixedCols();
  auto height = [&](int32_t row) { return GetRowHeight(row); };
  auto width = [&](int32_t col) { return GetColumnWidth(col); };
  CellId next = GetFocusCell();
  switch (nKeyCode) {
    case WXK_DOWN: {
      int32_t row = next.row + 1;
      while (row < rows && height(row) == 0) ++row;
      if (row < rows) next.row = row;
      break;
    }
    case WXK_UP: {
      int32_t row = next.row - 1;
      while (row >= fixedRows && height(row) == 0) --row;
      if (row >= fixedRows) next.row = row;
      break;
    }
    case WXK_RIGHT:
    case WXK_TAB:
      if (nKeyCode == WXK_TAB && bShift) return MoveFocusByKey(-WXK_TAB, false, bCtrl, pScrolled);
      {
        int32_t col = next.col + 1, row = next.row;
        if (nKeyCode == WXK_TAB && col >= cols && row < rows - 1) {
          ++row;
          while (row < rows - 1 && height(row) == 0) ++row;
          col = fixedCols;
          *pScrolled |= kLineChange;
        }
        while (col < cols && width(col) == 0) ++col;
        if (col < cols)
          next = CellId(row, col);
        else
          *pScrolled &= ~kLineChange;
      }
      break;
    case -WXK_TAB:  // Shift+Tab
    case WXK_LEFT: {
      int32_t col = next.col - 1, row = next.row;
      if (nKeyCode == -WXK_TAB && col < fixedCols && row > fixedRows) {
        --row;
        while (row > fixedRows && height(row) == 0) --row;
        col = cols - 1;
        *pScrolled |= kLineChange;
      }
      while (col >= fixedCols && width(col) == 0) --col;
      if (col >= fixedCols)
        next = CellId(row, col);
      else
        *pScrolled &= ~kLineChange;
      break;
    }
    case WXK_PAGEDOWN:
    case WXK_PAGEUP:
    case WXK_HOME:
    case WXK_END:
      return MoveFocusFar(nKeyCode, bCtrl, next, pScrolled);
    default:
      return CellId();
  }
  return next;
}

// Page Up/Down, Home and End: they scroll first, then the focus follows.
CellId CGridCtrl::MoveFocusFar(int nKeyCode, bool bCtrl, CellId next, int* pScrolled) {
  const int32_t rows = ShownRows(), cols = ShownCols(), fixedRows = ShownFixedRows(), fixedCols = ShownFixedCols();
  auto height = [&](int32_t row) { return GetRowHeight(row); };
  auto width = [&](int32_t col) { return GetColumnWidth(col); };
  switch (nKeyCode) {
    case WXK_PAGEDOWN:
    case WXK_PAGEUP: {
      const bool down = nKeyCode == WXK_PAGEDOWN;
      const int32_t before = GetTopLeftScrolledCell().row;
      OnVScroll(down ? SB_PAGEDOWN : SB_PAGEUP, 0);
      const int32_t moved = std::abs(GetTopLeftScrolledCell().row - before);
      *pScrolled |= kScrolledVert;
      if (down)
        next.row = moved > 0 ? std::min(rows - 1, next.row + moved) : rows - 1;
      else
        next.row = moved > 0 ? std::max(fixedRows, next.row - moved) : fixedRows;
      break;
    }
    case WXK_HOME:
      if (bCtrl) {
        OnVScroll(SB_TOP, 0);
        next.row = fixedRows;
        *pScrolled |= kScrolledVert;
      }
      OnHScroll(SB_TOP, 0);
      *pScrolled |= kScrolledHorz;
      next.col = fixedCols;
      while (next.col < cols - 1 && width(next.col) == 0) ++next.col;
      while (next.row < rows - 1 && height(next.row) == 0) ++next.row;
      break;
    case WXK_END:
      if (bCtrl) {
        OnVScroll(SB_BOTTOM, 0);
        next.row = rows - 1;
        *pScrolled |= kScrolledVert;
      }
      OnHScroll(SB_BOTTOM, 0);
      *pScrolled |= kScrolledHorz;
      next.col = cols - 1;
      while (next.col > fixedCols && width(next.col) == 0) --next.col;
      while (next.row > fixedRows && height(next.row) == 0) --next.row;
      break;
    default:
      break;
  }
  return next;
}

// Moves the focus to next; a move without Shift (and any Tab) starts the
// selection anew there, with Shift it extends from the start cell.
void CGridCtrl::ApplyKeyMove(CellId next, int nKeyCode, bool bShift, int nScrolled) {
  if (next != GetFocusCell()) {
    if (m_MouseMode == MOUSE_NOTHING) {
      m_store.ForgetRememberedSelection();
      m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
      if (!bShift || nKeyCode == WXK_TAB) m_SelectionStartCell = next;
      NotifyOwner(next.row, next.col, GVN_SELCHANGING);
      ExtendSelectionTo(next);
      NotifyOwner(next.row, next.col, GVN_SELCHANGED);
      m_MouseMode = MOUSE_NOTHING;
    }
    SetFocusCell(next);
    if (!IsCellVisible(next)) {
      if (nScrolled & kLineChange) {
        OnVScroll(bShift ? SB_LINEUP : SB_LINEDOWN, 0);
        OnHScroll(bShift ? SB_BOTTOM : SB_TOP, 0);
      } else if (nKeyCode == WXK_DOWN || nKeyCode == WXK_UP) {
        OnVScroll(nKeyCode == WXK_DOWN ? SB_LINEDOWN : SB_LINEUP, 0);
      } else if (nKeyCode == WXK_RIGHT || nKeyCode == WXK_LEFT || nKeyCode == WXK_TAB) {
        OnHScroll(nKeyCode == WXK_LEFT || (nKeyCode == WXK_TAB && bShift) ? SB_LINEUP : SB_LINEDOWN, 0);
      }
      ScrollCellIntoView(next.row, next.col);
      RepaintGrid();
    }
  }
  ScrollCellIntoView(next.row, next.col);
}

void CGridCtrl::OnKeyDown(wxKeyEvent& event) {
  HideTitleTip();
  const int key = event.GetKeyCode();
  // Keys the editor should have had: it ends on its own keys, takes typed
  // characters through OnChar, and keeps the rest from moving the focus.
  for (wxWindow* child : GetChildren()) {
    auto* editor = dynamic_cast<CGridInPlaceEdit*>(child);
    if (!editor || editor->IsEnded()) continue;
    if (!editor->HandleKey(key, event.ControlDown()) && !IsNavigationKeyCode(key)) event.Skip();
    return;
  }
  // Tab belongs to the grid only when it handles it and Ctrl is up.
  if (key == WXK_TAB && (!m_bHandleTabKey || event.ControlDown())) {
    event.Skip();
    return;
  }
  if (!HandleKeyDown(key, event.ShiftDown(), event.ControlDown())) event.Skip();
}

void CGridCtrl::OnChar(wxKeyEvent& event) {
  if (m_bFilling) {
    event.Skip();
    return;
  }
  // Any character but Escape and a Tab the grid handles starts editing,
  // whatever its script; Space, Backspace, Return and other control keys
  // start it as keys (Space opens the editor with the text selected, typing
  // nothing). Keys without a character (function keys) are left alone.
  const wxChar ch = event.GetUnicodeKey();
  const CellId focus = GetFocusCell();
  const auto code = static_cast<uint32_t>(ch);
  const uint32_t first = code <= WXK_SPACE || code == WXK_DELETE ? code : code | kTypedCharacter;
  if (!event.ControlDown() && m_MouseMode == MOUSE_NOTHING && ch != WXK_NONE && ch != WXK_ESCAPE &&
      !(ch == WXK_TAB && m_bHandleTabKey) && IsShownCell(focus) &&
      BeginCellEdit(focus.row, focus.col, wxPoint(-1, -1), first))
    return;
  event.Skip();
}

}  // namespace dossel
