// The grid's interaction under a display, driven by mouse and key events
// sent to the window: selecting by click, Shift, Ctrl and drag (with the
// timer that scrolls), the keyboard, sizing at dividers, editing in place
// with the owner's say, title tips and the clipboard.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <vector>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_title_tip.h"
#include "grid_window_fixture.h"
#include "platform/wx/wx_text.h"

namespace dossel {
namespace {

struct Notice {
  int32_t code, row, col;
};

class GridInteractionTest : public GridWindowFixture {
 protected:
  void SetUp() override {
    GridWindowFixture::SetUp();
    frame->Bind(wxEVT_GRID_NOTIFY, [this](GridNotifyEvent& e) {
      notices.push_back({e.GetCode(), e.GetRow(), e.GetCol()});
      if (e.GetCode() == GVN_BEGINLABELEDIT) e.SetResult(refuseBegin ? -1 : 0);
      if (e.GetCode() == GVN_ENDLABELEDIT) e.SetResult(refuseEnd ? -1 : 0);
    });
    grid->SetRowCount(60);
    grid->SetColumnCount(8);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int32_t r = 0; r < 60; ++r)
      for (int32_t c = 0; c < 8; ++c) grid->SetCellTextF(r, c, DT("%d.%d"), r, c);
    for (int32_t c = 0; c < 8; ++c) grid->SetColumnWidth(c, 60);
    for (int32_t r = 0; r < 60; ++r) grid->SetRowHeight(r, 20);
    grid->SetModified(false);
    grid->ResetScrollBars();
  }
  wxPoint Centre(int32_t row, int32_t col) {
    GridRect rect;
    EXPECT_TRUE(grid->GetCellRect(row, col, &rect));
    return wxPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  }
  void Mouse(wxEventType type, wxPoint at, bool shift = false, bool ctrl = false, bool leftDown = false) {
    wxMouseEvent event(type);
    event.SetPosition(at);
    event.SetShiftDown(shift);
    event.SetControlDown(ctrl);
    event.SetLeftDown(leftDown);
    event.SetEventObject(grid);
    grid->GetEventHandler()->ProcessEvent(event);
  }
  void Click(wxPoint at, bool shift = false, bool ctrl = false) {
    Mouse(wxEVT_LEFT_DOWN, at, shift, ctrl, true);
    Mouse(wxEVT_LEFT_UP, at, shift, ctrl);
  }
  void Key(wxWindow* to, int code, bool shift = false, bool ctrl = false) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = code;
    event.SetShiftDown(shift);
    event.SetControlDown(ctrl);
    event.SetEventObject(to);
    to->GetEventHandler()->ProcessEvent(event);
  }
  void Char(int code) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = code;
    event.m_uniChar = static_cast<wxChar>(code);
    event.SetEventObject(grid);
    grid->GetEventHandler()->ProcessEvent(event);
  }
  wxTextCtrl* Editor() { return dynamic_cast<wxTextCtrl*>(grid->FindWindow(CGridCtrl::kInPlaceEditId)); }
  // The live editor (ended ones wait, hidden, for the event loop).
  wxTextCtrl* OpenEditor() {
    for (wxWindow* child : grid->GetChildren())
      if (auto* edit = dynamic_cast<wxTextCtrl*>(child); edit && edit->IsShown()) return edit;
    return nullptr;
  }
  void Pump() {
    for (int i = 0; i < 5; ++i) {
      wxTheApp->ProcessPendingEvents();
      wxYield();
    }
  }
  bool Notified(int32_t code) const {
    for (const Notice& n : notices)
      if (n.code == code) return true;
    return false;
  }
  std::vector<Notice> notices;
  bool refuseBegin = false, refuseEnd = false;
};

TEST_F(GridInteractionTest, ClickShiftClickAndCtrlClickSelect) {
  Click(Centre(2, 2));
  EXPECT_EQ(grid->GetFocusCell(), CellId(2, 2));
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(2, 2, 2, 2));
  EXPECT_TRUE(Notified(GVN_SELCHANGING));
  EXPECT_TRUE(Notified(GVN_SELCHANGED));
  EXPECT_TRUE(Notified(NM_CLICK));

  Click(Centre(4, 3), true);
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(2, 2, 4, 3));
  EXPECT_EQ(grid->GetSelectedCount(), 6);
  EXPECT_EQ(grid->GetFocusCell(), CellId(4, 3));

  // Ctrl keeps the earlier block and adds a cell.
  Click(Centre(6, 5), false, true);
  EXPECT_EQ(grid->GetSelectedCount(), 7);
  EXPECT_TRUE(grid->IsCellSelected(6, 5));
  EXPECT_TRUE(grid->IsCellSelected(2, 2));
  // Ctrl on a selected cell unselects that cell alone.
  Click(Centre(3, 3), false, true);
  EXPECT_FALSE(grid->IsCellSelected(3, 3));
  EXPECT_EQ(grid->GetSelectedCount(), 6);
  // A plain click starts over.
  Click(Centre(1, 1));
  EXPECT_EQ(grid->GetSelectedCount(), 1);

  // Header clicks select a column or a row.
  Click(Centre(0, 3));
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(1, 3, 59, 3));
  Click(Centre(5, 0));
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(5, 1, 5, 7));
}

TEST_F(GridInteractionTest, DraggingSelectsABlockAndTheTimerScrollsPastTheEdge) {
  Mouse(wxEVT_LEFT_DOWN, Centre(2, 1), false, false, true);
  Mouse(wxEVT_MOTION, Centre(5, 3), false, false, true);
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(2, 1, 5, 3));
  EXPECT_EQ(grid->GetFocusCell(), CellId(5, 3));
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_SELECT_CELLS);

  // The pointer below the window: each tick moves down a row and scrolls.
  // The grid's own timer may tick too while events are pumped (many times
  // on a slow, sanitized build), so the scroll is measured from before.
  const int32_t before = grid->GetScrollPos32(wxVERTICAL);
  wxUIActionSimulator sim;
  sim.MouseMove(grid->ClientToScreen(wxPoint(100, 340)));
  Pump();
  wxTimer timer(grid, CGridCtrl::kSelectTimerId);
  for (int i = 0; i < 20; ++i) {
    wxTimerEvent tick(timer);
    grid->GetEventHandler()->ProcessEvent(tick);
  }
  EXPECT_GT(grid->GetScrollPos32(wxVERTICAL), before);
  const CellRange range = grid->GetSelectedRange();
  EXPECT_EQ(range.minRow, 2);
  EXPECT_GE(range.maxRow, 20);
  EXPECT_TRUE(grid->IsCellVisible(range.maxRow, 1));
  Mouse(wxEVT_LEFT_UP, wxPoint(100, 290));
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_NOTHING);
  EXPECT_FALSE(grid->HasCapture());
}

TEST_F(GridInteractionTest, KeysMoveTheFocusAndShiftExtends) {
  Click(Centre(2, 2));
  Key(grid, WXK_DOWN);
  Key(grid, WXK_RIGHT);
  EXPECT_EQ(grid->GetFocusCell(), CellId(3, 3));
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(3, 3, 3, 3));
  Key(grid, WXK_DOWN, true);
  Key(grid, WXK_RIGHT, true);
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(3, 3, 4, 4));
  Key(grid, WXK_UP);
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(3, 4, 3, 4));

  Key(grid, WXK_END, false, true);
  EXPECT_EQ(grid->GetFocusCell(), CellId(59, 7));
  EXPECT_TRUE(grid->IsCellVisible(59, 7));
  Key(grid, WXK_HOME);
  EXPECT_EQ(grid->GetFocusCell(), CellId(59, 1));
  Key(grid, WXK_HOME, false, true);
  EXPECT_EQ(grid->GetFocusCell(), CellId(1, 1));
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), 0);
  Key(grid, WXK_UP);  // never into the header
  EXPECT_EQ(grid->GetFocusCell(), CellId(1, 1));

  Key(grid, WXK_PAGEDOWN);
  const int32_t paged = grid->GetFocusCell().row;
  EXPECT_GT(paged, 5);
  EXPECT_EQ(grid->GetTopLeftScrolledCell().row, paged);
  Key(grid, WXK_PAGEUP);
  EXPECT_EQ(grid->GetFocusCell().row, 1);

  // Tab at a row's end goes on at the next row's first column; Shift+Tab back.
  grid->SetFocusCell(4, 7);
  Key(grid, WXK_TAB);
  EXPECT_EQ(grid->GetFocusCell(), CellId(5, 1));
  Key(grid, WXK_TAB, true);
  EXPECT_EQ(grid->GetFocusCell(), CellId(4, 7));

  // Hidden rows and columns are stepped over; with nothing visible beyond, nothing moves.
  grid->SetRowHeight(5, 0);
  Key(grid, WXK_DOWN);
  EXPECT_EQ(grid->GetFocusCell(), CellId(6, 7));
  for (int c = 2; c < 8; ++c) grid->SetColumnWidth(c, 0);
  grid->SetFocusCell(6, 1);
  Key(grid, WXK_RIGHT);
  EXPECT_EQ(grid->GetFocusCell(), CellId(6, 1));

  Key(grid, 'A', false, true);
  EXPECT_EQ(grid->GetSelectedCount(), 59 * 7);
}

TEST_F(GridInteractionTest, DraggingAColumnDividerSizesAndDoubleClickFitsTheText) {
  GridRect header;
  ASSERT_TRUE(grid->GetCellRect(0, 2, &header));
  const wxPoint divider(header.right, header.top + 5);
  Mouse(wxEVT_MOTION, divider);
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_OVER_COL_DIVIDE);
  Mouse(wxEVT_LEFT_DOWN, divider, false, false, true);
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_SIZING_COL);
  Mouse(wxEVT_MOTION, divider + wxPoint(25, 0), false, false, true);
  Mouse(wxEVT_LEFT_UP, divider + wxPoint(25, 0));
  EXPECT_EQ(grid->GetColumnWidth(2), header.right + 25 - header.left);
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_NOTHING);

  // Dragging left of the column's start: 0 (hidden) when hiding is allowed, else 1.
  ASSERT_TRUE(grid->GetCellRect(0, 3, &header));
  Mouse(wxEVT_MOTION, wxPoint(header.right, 5));
  Mouse(wxEVT_LEFT_DOWN, wxPoint(header.right, 5), false, false, true);
  Mouse(wxEVT_LEFT_UP, wxPoint(header.left - 10, 5));
  EXPECT_EQ(grid->GetColumnWidth(3), 0);
  grid->EnableColumnHide(false);
  ASSERT_TRUE(grid->GetCellRect(0, 4, &header));
  Mouse(wxEVT_MOTION, wxPoint(header.right, 5));
  Mouse(wxEVT_LEFT_DOWN, wxPoint(header.right, 5), false, false, true);
  Mouse(wxEVT_LEFT_UP, wxPoint(header.left - 10, 5));
  EXPECT_EQ(grid->GetColumnWidth(4), 1);

  // Double click on the divider right of column 5 (as GTK sends it: down,
  // up, down, double click, up) sizes column 5 to its text.
  grid->SetCellText(7, 5, DT("a much longer text than the column shows"));
  ASSERT_TRUE(grid->GetCellRect(0, 5, &header));
  const wxPoint right(header.right + 1, 5);
  Mouse(wxEVT_MOTION, right);
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_OVER_COL_DIVIDE);
  Mouse(wxEVT_LEFT_DOWN, right, false, false, true);
  Mouse(wxEVT_LEFT_UP, right);
  Mouse(wxEVT_MOTION, right);
  Mouse(wxEVT_LEFT_DOWN, right, false, false, true);
  Mouse(wxEVT_LEFT_DCLICK, right, false, false, true);
  Mouse(wxEVT_LEFT_UP, right);
  EXPECT_GT(grid->GetColumnWidth(5), 150);
  EXPECT_EQ(grid->GetColumnWidth(6), 60);
}

TEST_F(GridInteractionTest, RowDividerSizesTheRowAbove) {
  GridRect rowHeader;
  ASSERT_TRUE(grid->GetCellRect(3, 0, &rowHeader));
  const wxPoint divider(5, rowHeader.bottom);
  Mouse(wxEVT_MOTION, divider);
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_OVER_ROW_DIVIDE);
  Mouse(wxEVT_LEFT_DOWN, divider, false, false, true);
  Mouse(wxEVT_LEFT_UP, divider + wxPoint(0, 12));
  EXPECT_EQ(grid->GetRowHeight(3), rowHeader.bottom + 12 - rowHeader.top);
  EXPECT_EQ(grid->GetRowHeight(4), 20);
}

TEST_F(GridInteractionTest, RightClickOutsideTheCellsTellsTheOwnerMinusOne) {
  grid->SetFocusCell(3, 3);
  grid->SetRowCount(5);
  grid->ResetScrollBars();
  Mouse(wxEVT_RIGHT_DOWN, wxPoint(100, 250));
  Mouse(wxEVT_RIGHT_UP, wxPoint(100, 250));
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices.back().code, NM_RCLICK);
  EXPECT_EQ(notices.back().row, -1);
  EXPECT_EQ(notices.back().col, -1);
  EXPECT_EQ(grid->GetFocusCell(), CellId(3, 3));
  Mouse(wxEVT_RIGHT_DOWN, Centre(2, 4));
  Mouse(wxEVT_RIGHT_UP, Centre(2, 4));
  EXPECT_EQ(grid->GetFocusCell(), CellId(2, 4));
}

TEST_F(GridInteractionTest, F2EditsWithTheCaretAfterTheTextAndEnterKeepsIt) {
  grid->SetFocusCell(2, 2);
  Key(grid, WXK_F2);
  wxTextCtrl* edit = OpenEditor();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetId(), CGridCtrl::kInPlaceEditId);
  EXPECT_TRUE(grid->IsCellEditing(2, 2));
  EXPECT_EQ(edit->GetValue(), wxT("2.2"));
  EXPECT_EQ(edit->GetInsertionPoint(), 3);
  edit->AppendText(wxT("x"));
  // Started from the keyboard's F2 (as by a click), arrows stay in the editor.
  Key(edit, WXK_LEFT);
  EXPECT_TRUE(grid->IsCellEditing(2, 2));
  Key(edit, WXK_RETURN);
  EXPECT_FALSE(grid->IsCellEditing(2, 2));
  EXPECT_EQ(grid->GetCellText(2, 2), DT("2.2x"));
  EXPECT_TRUE(grid->GetModified(2, 2));
  EXPECT_TRUE(Notified(GVN_BEGINLABELEDIT));
  EXPECT_TRUE(Notified(GVN_ENDLABELEDIT));
  Pump();
  EXPECT_EQ(OpenEditor(), nullptr);
}

TEST_F(GridInteractionTest, TypingReplacesTheTextAndAnArrowEditsTheNextCell) {
  grid->SetFocusCell(2, 2);
  Char('q');
  wxTextCtrl* edit = OpenEditor();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetValue(), wxT("q"));
  Key(edit, WXK_DOWN);
  EXPECT_EQ(grid->GetCellText(2, 2), DT("q"));
  EXPECT_EQ(grid->GetFocusCell(), CellId(3, 2));
  EXPECT_TRUE(grid->IsCellEditing(3, 2));
  edit = OpenEditor();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetValue(), wxT("3.2"));
  // Escape brings back the text the cell had and leaves no modified mark.
  edit->ChangeValue(wxT("changed"));
  Key(edit, WXK_ESCAPE);
  EXPECT_EQ(grid->GetCellText(3, 2), DT("3.2"));
  EXPECT_FALSE(grid->GetModified(3, 2));
  EXPECT_FALSE(grid->IsCellEditing(3, 2));
}

// Characters of any script start editing and are typed, taken from the key
// event's Unicode value (the window system gives them no key code); those
// whose code points are the numbers of special keys (U+013A is WXK_LEFT's)
// are still characters.
TEST_F(GridInteractionTest, ACharacterOfAnyScriptStartsEditingAndIsTyped) {
  const auto type = [this](wxChar ch) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = WXK_NONE;
    event.m_uniChar = ch;
    event.SetEventObject(grid);
    grid->GetEventHandler()->ProcessEvent(event);
  };
  const std::pair<wxChar, const wchar_t*> typed[] = {
      {0x3B1, L"\u03B1"}, {0x416, L"\u0416"}, {0x20AC, L"\u20AC"}, {0x6771, L"\u6771"}, {0x13A, L"\u013A"}};
  int32_t row = 2;
  for (const auto& [ch, text] : typed) {
    grid->SetFocusCell(row, 2);
    type(ch);
    wxTextCtrl* edit = OpenEditor();
    ASSERT_NE(edit, nullptr) << static_cast<int>(ch);
    type(ch);
    EXPECT_EQ(edit->GetValue(), wxString(text) + wxString(text));
    Key(edit, WXK_RETURN);
    EXPECT_EQ(grid->GetCellText(row, 2), FromWx(wxString(text) + wxString(text)));
    ++row;
  }
}

// Space, like Tab and the arrows, opens the editor with the text selected
// and types nothing.
TEST_F(GridInteractionTest, SpaceAsTheFirstKeySelectsTheTextAndTypesNothing) {
  grid->SetFocusCell(20, 3);
  Char(' ');
  wxTextCtrl* edit = OpenEditor();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetValue(), wxT("20.3"));
  long from = 0;
  long to = 0;
  edit->GetSelection(&from, &to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 4);
  // Once open, Space types itself.
  Char(' ');
  Key(edit, WXK_RETURN);
  EXPECT_EQ(grid->GetCellText(20, 3), DT(" "));
}

TEST_F(GridInteractionTest, KeysThatReachTheGridGoToItsOpenEditorAndLayoutsLeaveItOpen) {
  grid->SetFocusCell(2, 2);
  Char('a');
  ASSERT_NE(OpenEditor(), nullptr);
  // A layout that sizes the grid to the size it has keeps the edit going.
  wxSizeEvent same(grid->GetSize(), grid->GetId());
  grid->GetEventHandler()->ProcessEvent(same);
  ASSERT_NE(OpenEditor(), nullptr);
  // The window system left the keys with the grid: typing goes on in the editor.
  Char('b');
  EXPECT_EQ(OpenEditor()->GetValue(), wxT("ab"));
  Key(grid, WXK_RETURN);
  EXPECT_EQ(OpenEditor(), nullptr);
  EXPECT_EQ(grid->GetCellText(2, 2), DT("ab"));
  EXPECT_EQ(grid->GetFocusCell(), CellId(2, 2));
}

TEST_F(GridInteractionTest, ClickOnTheFocusCellsTextEditsOnRelease) {
  Click(Centre(2, 2));
  EXPECT_EQ(OpenEditor(), nullptr);
  Mouse(wxEVT_LEFT_DOWN, Centre(2, 2), false, false, true);
  EXPECT_EQ(grid->GetMouseMode(), CGridCtrl::MOUSE_PREPARE_EDIT);
  Mouse(wxEVT_LEFT_UP, Centre(2, 2));
  ASSERT_NE(OpenEditor(), nullptr);
  // A click elsewhere ends the edit.
  Click(Centre(4, 4));
  EXPECT_FALSE(grid->IsCellEditing(2, 2));
  EXPECT_EQ(grid->GetFocusCell(), CellId(4, 4));
}

TEST_F(GridInteractionTest, TheOwnerMayRefuseTheEditOrTheNewText) {
  grid->SetFocusCell(2, 2);
  refuseBegin = true;
  Key(grid, WXK_F2);
  EXPECT_EQ(OpenEditor(), nullptr);
  EXPECT_FALSE(grid->IsCellEditing(2, 2));
  refuseBegin = false;
  refuseEnd = true;
  Char('z');
  wxTextCtrl* edit = OpenEditor();
  ASSERT_NE(edit, nullptr);
  Key(edit, WXK_RETURN);
  EXPECT_EQ(grid->GetCellText(2, 2), DT("2.2"));
  EXPECT_FALSE(grid->GetModified(2, 2));
  EXPECT_FALSE(grid->SetCellTextChecked(2, 3, DT("new")));
  EXPECT_EQ(grid->GetCellText(2, 3), DT("2.3"));
  refuseEnd = false;
  EXPECT_TRUE(grid->SetCellTextChecked(2, 3, DT("new")));
  EXPECT_EQ(grid->GetCellText(2, 3), DT("new"));
  // Read-only cells and grids that are not editable take no text.
  grid->SetCellState(2, 4, grid->GetCellState(2, 4) | GVIS_READONLY);
  EXPECT_FALSE(grid->SetCellTextChecked(2, 4, DT("new")));
  grid->SetEditable(false);
  grid->SetFocusCell(2, 5);
  Char('k');
  EXPECT_EQ(OpenEditor(), nullptr);
}

TEST_F(GridInteractionTest, AnOpenEditorEndsIntoItsOwnCellBeforeRowsMove) {
  grid->SetFocusCell(2, 2);
  Key(grid, WXK_F2);
  wxTextCtrl* edit = OpenEditor();
  ASSERT_NE(edit, nullptr);
  edit->ChangeValue(wxT("zzz last"));
  grid->SetFocusCell(5, 5);  // moved by program, as Find does
  grid->SortTextItems(2, true);
  EXPECT_EQ(OpenEditor(), nullptr);
  EXPECT_EQ(grid->GetCellText(59, 2), DT("zzz last"));
  EXPECT_EQ(grid->GetCellText(59, 1), DT("2.1")) << "the text stayed with its row";
}

TEST_F(GridInteractionTest, ATitleTipShowsAClippedTextOnlyWhileTheMouseIsOverIt) {
  grid->SetCellText(3, 2, DT("a text far too long for a sixty pixel column"));
  Mouse(wxEVT_MOTION, Centre(3, 2));
  CGridTitleTip* tip = grid->GetTitleTip();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->IsShown());
  EXPECT_EQ(tip->GetName(), wxT("DosselTitleTip"));
  EXPECT_NE(tip->GetTipText().Find(wxT("sixty pixel column")), wxNOT_FOUND);
  Mouse(wxEVT_MOTION, Centre(5, 2));
  EXPECT_FALSE(tip->IsShown());
  Mouse(wxEVT_MOTION, Centre(3, 2));
  EXPECT_TRUE(tip->IsShown());
  Key(grid, WXK_DOWN);
  EXPECT_FALSE(tip->IsShown());
}

// The tip floats above the grid and must not stand in its way: the wheel
// over it scrolls the grid, and it goes when the program or its window
// loses the keyboard.
TEST_F(GridInteractionTest, ATitleTipPassesTheWheelOnAndHidesWhenTheFocusGoes) {
  grid->SetCellText(3, 2, DT("a text far too long for a sixty pixel column"));
  auto showTip = [&] {
    Mouse(wxEVT_MOTION, Centre(5, 2));
    Mouse(wxEVT_MOTION, Centre(3, 2));
    return grid->GetTitleTip() && grid->GetTitleTip()->IsShown();
  };
  ASSERT_TRUE(showTip());
  CGridTitleTip* tip = grid->GetTitleTip();
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelDelta = 120;
  wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
  wheel.m_wheelRotation = -120;
  wheel.SetPosition(tip->ScreenToClient(grid->ClientToScreen(Centre(3, 2))));
  wheel.SetEventObject(tip);
  tip->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_GT(grid->GetScrollPos32(wxVERTICAL), 0) << "the grid under the tip scrolled";
  EXPECT_FALSE(tip->IsShown());

  grid->SetScrollPos32(wxVERTICAL, 0);
  ASSERT_TRUE(showTip());
  wxActivateEvent windowLeft(wxEVT_ACTIVATE, false);
  frame->GetEventHandler()->ProcessEvent(windowLeft);
  EXPECT_FALSE(tip->IsShown()) << "the grid's window was deactivated";

  ASSERT_TRUE(showTip());
  wxActivateEvent programLeft(wxEVT_ACTIVATE_APP, false);
  wxTheApp->ProcessEvent(programLeft);
  EXPECT_FALSE(tip->IsShown()) << "the program lost the focus";

  ASSERT_TRUE(showTip());
  wxFocusEvent focusLost(wxEVT_KILL_FOCUS, grid->GetId());
  focusLost.SetEventObject(grid);
  grid->GetEventHandler()->ProcessEvent(focusLost);
  EXPECT_FALSE(tip->IsShown()) << "the grid lost the focus";
}

// The tip is for texts the cell cuts: one exactly as wide as the room the
// cell draws it in shows whole and gets none; one pixel less room does.
TEST_F(GridInteractionTest, ATextExactlyAsWideAsItsCellGetsNoTitleTip) {
  const wxString text = wxT("exactly this wide");
  grid->SetCellText(3, 2, FromWx(text));
  const CGridCellBase* cell = grid->PeekCell(3, 2);
  ASSERT_NE(cell, nullptr);
  const wxFont* font = grid->GetCellFontObject(*cell);
  if (!font) font = grid->GetGridFont();
  ASSERT_NE(font, nullptr);
  wxClientDC dc(grid);
  dc.SetFont(*font);
  const int32_t margin = static_cast<int32_t>(cell->GetMargin());
  const int32_t textWidth = dc.GetTextExtent(text).GetWidth();
  grid->SetColumnWidth(2, textWidth + 2 * margin);
  Mouse(wxEVT_MOTION, Centre(3, 2));
  EXPECT_TRUE(grid->GetTitleTip() == nullptr || !grid->GetTitleTip()->IsShown());
  Mouse(wxEVT_MOTION, Centre(5, 2));
  grid->SetColumnWidth(2, textWidth + 2 * margin - 1);
  Mouse(wxEVT_MOTION, Centre(3, 2));
  ASSERT_NE(grid->GetTitleTip(), nullptr);
  EXPECT_TRUE(grid->GetTitleTip()->IsShown());
}

TEST_F(GridInteractionTest, CopyPasteKeepsCommasOfGridTextAndSplitsOtherText) {
  grid->SetCellText(1, 1, DT("Smith, John"));
  grid->SetSelectedRange(1, 1, 1, 2);
  Key(grid, 'C', false, true);
  grid->SetFocusCell(5, 5);
  grid->SetSelectedRange(5, 5, 5, 5);
  Key(grid, 'V', false, true);
  EXPECT_EQ(grid->GetCellText(5, 5), DT("Smith, John"));
  EXPECT_EQ(grid->GetCellText(5, 6), DT("1.2"));
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(5, 5, 5, 6));

  ASSERT_TRUE(wxTheClipboard->Open());
  wxTheClipboard->SetData(new wxTextDataObject(wxT("1,2\r\n3\t4")));
  wxTheClipboard->Close();
  grid->SetSelectedRange(1, 1, 1, 1);
  grid->OnEditPaste();
  EXPECT_EQ(grid->GetCellText(1, 1), DT("1"));
  EXPECT_EQ(grid->GetCellText(1, 2), DT("2"));
  EXPECT_EQ(grid->GetCellText(2, 1), DT("3"));
  EXPECT_EQ(grid->GetCellText(2, 2), DT("4"));
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(1, 1, 2, 2));

  // Cut empties the selected cells after copying them; Delete only empties.
  Key(grid, 'X', false, true);
  EXPECT_EQ(grid->GetCellText(2, 2), DT(""));
  grid->SetSelectedRange(3, 3, 3, 3);
  grid->SetFocusCell(3, 3);
  Key(grid, WXK_DELETE);
  EXPECT_EQ(grid->GetCellText(3, 3), DT(""));
  grid->SetSelectedRange(8, 1, 8, 1);
  grid->OnEditPaste();
  // What was cut is on the clipboard, as the grid's own text.
  EXPECT_EQ(grid->GetCellText(8, 1), DT("1"));
  EXPECT_EQ(grid->GetCellText(9, 2), DT("4"));
}

// A grid whose clipboard can be made to refuse, as one another program holds.
class ClipboardGrid : public CGridCtrl {
 public:
  ClipboardGrid() : CGridCtrl(3, 3, 0, 0) {}
  bool PutTextOnClipboard(const TString& text) override {
    ++tries;
    return !refuse && CGridCtrl::PutTextOnClipboard(text);
  }
  bool refuse = true;
  int tries = 0;
};

// Cut empties the cells only after their text reached the clipboard: when
// the clipboard cannot be had, Ctrl+X and the command leave them as they were.
TEST_F(GridInteractionTest, CutKeepsTheCellsWhenTheClipboardCannotBeHad) {
  auto* own = new ClipboardGrid;
  ASSERT_TRUE(own->Create(wxRect(0, 0, 200, 100), frame, 101));
  own->SetEditable(true);
  own->SetCellText(1, 1, DT("keep me"));
  own->SetSelectedRange(1, 1, 1, 1);
  own->SetFocusCell(1, 1);
  Key(own, 'X', false, true);
  own->OnEditCut();
  EXPECT_EQ(own->tries, 2);
  EXPECT_EQ(own->GetCellText(1, 1), DT("keep me"));

  own->refuse = false;
  own->OnEditCut();
  EXPECT_EQ(own->GetCellText(1, 1), DT(""));
  own->SetSelectedRange(2, 2, 2, 2);
  own->OnEditPaste();
  EXPECT_EQ(own->GetCellText(2, 2), DT("keep me"));
}

}  // namespace
}  // namespace dossel
