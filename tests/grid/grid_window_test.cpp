// The grid as a window under a display: measuring, sizing, scroll bars,
// scrolling, the wheel and header clicks.

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/frame.h>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "grid_window_fixture.h"
#include "platform/wx/wx_text.h"

namespace dossel {
namespace {

class GridWindowTest : public GridWindowFixture {
 protected:
  void Fill(int32_t rows, int32_t cols) {
    grid->SetRowCount(rows);
    grid->SetColumnCount(cols);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < cols; ++c) grid->SetCellTextF(r, c, DT("%d.%d"), r, c);
  }
  void Scroll(wxEventType type, int orient, int pos = 0) {
    wxScrollEvent event(type, wxID_ANY, pos, orient);
    grid->GetEventHandler()->ProcessEvent(event);
  }
  void Click(int x, int y) {
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetPosition(wxPoint(x, y));
    grid->GetEventHandler()->ProcessEvent(down);
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition(wxPoint(x, y));
    grid->GetEventHandler()->ProcessEvent(up);
  }
};

TEST_F(GridWindowTest, DefaultCellMeasuresItsFont) {
  GridLogFont lf;
  lf.lfHeight = -20;
  grid->SetGridFont(lf);
  wxClientDC dc(grid);
  dc.SetFont(ToWxFont(lf));
  const wxSize x = dc.GetTextExtent(wxT(" XXXXXXXXXXXX "));
  const CGridDefaultCell* def = grid->GetDefaultCell(false, false);
  EXPECT_EQ(def->GetWidth(), x.GetWidth());
  EXPECT_EQ(def->GetHeight(), x.GetHeight() * 3 / 2);
  EXPECT_EQ(static_cast<int>(def->GetMargin()), dc.GetTextExtent(wxT(" ")).GetWidth());
  EXPECT_EQ(grid->GetDefaultCell(true, true)->GetHeight(), def->GetHeight());
}

TEST_F(GridWindowTest, AutoSizeFitsTextPlusMarginsAndHeaderEdge) {
  Fill(3, 3);
  grid->SetCellText(1, 1, DT("a much longer data text"));
  grid->SetCellText(0, 2, DT("a much longer header text"));
  grid->AutoSize();
  wxClientDC dc(grid);
  dc.SetFont(*grid->GetGridFont());
  const int m = static_cast<int>(grid->GetDefaultCell(false, false)->GetMargin());
  EXPECT_EQ(grid->GetColumnWidth(1), dc.GetTextExtent(wxT("a much longer data text")).GetWidth() + 2 * m + 1);
  EXPECT_EQ(grid->GetColumnWidth(2), dc.GetTextExtent(wxT("a much longer header text")).GetWidth() + 2 * m + 2);
  EXPECT_EQ(grid->GetRowHeight(1), dc.GetTextExtent(wxT("1.0")).GetHeight() + 2 * m + 1 + 1);  // widest: fixed col

  grid->SetColumnWidth(2, 0);
  grid->AutoSize();
  EXPECT_EQ(grid->GetColumnWidth(2), 0);  // hidden columns stay hidden
  EXPECT_FALSE(grid->AutoSizeColumn(2));
}

TEST_F(GridWindowTest, StretchingFillsTheClientWidth) {
  Fill(3, 3);
  for (int c = 0; c < 3; ++c) grid->SetColumnWidth(c, 0);
  grid->StretchLastColumn();
  EXPECT_EQ(grid->GetVirtualWidth(), 0);  // every column hidden: nothing happens
  grid->SetColumnWidth(0, 30);
  grid->StretchLastColumn();
  EXPECT_EQ(grid->GetColumnWidth(0), 30);  // only column 0 shows: it is not stretched
  grid->SetColumnWidth(1, 50);
  grid->StretchLastColumn();
  EXPECT_EQ(grid->GetColumnWidth(1), grid->GetGridClientRect().right - 30);
  EXPECT_EQ(grid->GetColumnWidth(2), 0);
  grid->SetColumnWidth(1, 50);
  grid->SetColumnWidth(2, 41);
  grid->StretchColumnsToFit(true);
  EXPECT_EQ(grid->GetVirtualWidth(), grid->GetGridClientRect().right);
  EXPECT_LE(std::abs(grid->GetColumnWidth(0) - 30 - (grid->GetColumnWidth(2) - 41)), 1);
}

TEST_F(GridWindowTest, ScrollBarsOnlyWhenTheContentDoesNotFit) {
  Fill(3, 3);
  EXPECT_EQ(grid->GetScrollBarState(), 0u);
  EXPECT_EQ(grid->GetScrollMax32(wxHORIZONTAL), 0);
  EXPECT_EQ(grid->GetScrollMax32(wxVERTICAL), 0);
  EXPECT_EQ(grid->GetGridClientRect().right, grid->GetClientSize().GetWidth());

  grid->SetRowCount(200000);
  grid->SetColumnCount(30);
  EXPECT_EQ(grid->GetScrollBarState(), 3u);
  const int32_t h = grid->GetRowHeight(1);
  EXPECT_EQ(grid->GetScrollMax32(wxVERTICAL), grid->GetVirtualHeight() - h - 1);
  EXPECT_GT(grid->GetScrollMax32(wxVERTICAL), 65535);  // positions are not 16-bit
  EXPECT_LT(grid->GetGridClientRect().right, grid->GetClientSize().GetWidth());
}

TEST_F(GridWindowTest, LinePageThumbAndEndScrolling) {
  Fill(1000, 30);
  const int32_t h = grid->GetRowHeight(1);
  Scroll(wxEVT_SCROLL_LINEDOWN, wxVERTICAL);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), h);
  EXPECT_EQ(grid->GetTopLeftScrolledCell().row, 2);
  grid->SetRowHeight(2, 0);  // hidden rows are skipped
  Scroll(wxEVT_SCROLL_LINEDOWN, wxVERTICAL);
  EXPECT_EQ(grid->GetTopLeftScrolledCell().row, 4);
  Scroll(wxEVT_SCROLL_LINEUP, wxVERTICAL);
  EXPECT_EQ(grid->GetTopLeftScrolledCell().row, 2);

  Scroll(wxEVT_SCROLL_BOTTOM, wxVERTICAL);
  const int32_t bottom = grid->GetScrollPos32(wxVERTICAL);
  EXPECT_GT(bottom, 0);
  Scroll(wxEVT_SCROLL_LINEDOWN, wxVERTICAL);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), bottom);
  Scroll(wxEVT_SCROLL_TOP, wxVERTICAL);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), 0);
  Scroll(wxEVT_SCROLL_PAGEDOWN, wxVERTICAL);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), grid->GetGridClientRect().bottom - h);
  Scroll(wxEVT_SCROLL_THUMBTRACK, wxVERTICAL, h * 500);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), h * 500);
  EXPECT_EQ(grid->GetTopLeftScrolledCell().row, 502);  // first row starting at or after the position

  Scroll(wxEVT_SCROLL_BOTTOM, wxHORIZONTAL);
  const int32_t right = grid->GetScrollPos32(wxHORIZONTAL);
  Scroll(wxEVT_SCROLL_LINEDOWN, wxHORIZONTAL);
  EXPECT_EQ(grid->GetScrollPos32(wxHORIZONTAL), right);

  grid->ScrollCellIntoView(900, 3);
  GridRect rect;
  ASSERT_TRUE(grid->GetCellRect(900, 3, &rect));
  EXPECT_LE(rect.bottom, grid->GetGridClientRect().bottom);
  EXPECT_GE(rect.left, grid->GetFixedColumnWidth());
}

TEST_F(GridWindowTest, WheelNotchesScrollLinesOrPages) {
  Fill(1000, 3);
  const int32_t h = grid->GetRowHeight(1);
  grid->OnVScroll(CGridCtrl::SB_PAGEDOWN, 0);
  grid->OnVScroll(CGridCtrl::SB_PAGEDOWN, 0);
  const int32_t start = grid->GetScrollPos32(wxVERTICAL);
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = 120;
  wheel.m_wheelDelta = 120;
  wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
  grid->SetRowsPerWheelNotch(3);
  grid->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), start - 3 * h);
  grid->SetRowsPerWheelNotch(-1);
  grid->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), start - 3 * h - (grid->GetGridClientRect().bottom - h));
  wheel.m_wheelRotation = -240;
  grid->SetRowsPerWheelNotch(3);
  const int32_t before = grid->GetScrollPos32(wxVERTICAL);
  grid->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), before + 6 * h);
}

TEST_F(GridWindowTest, HeaderClicksSortToggleAndSelectTheColumn) {
  grid->SetRowCount(4);
  grid->SetColumnCount(3);
  grid->SetFixedRowCount(1);
  grid->SetFixedColumnCount(1);
  grid->SetHeaderSort(true);
  const TChar* texts[] = {DT("b"), DT("a"), DT("c")};
  for (int r = 1; r <= 3; ++r) grid->SetCellText(r, 2, texts[r - 1]);
  grid->SetFocusCell(2, 2);
  GridRect header;
  ASSERT_TRUE(grid->GetCellRect(0, 2, &header));
  Click(header.left + 3, header.top + 3);
  EXPECT_EQ(grid->GetCellText(1, 2), DT("a"));
  EXPECT_EQ(grid->GetCellText(3, 2), DT("c"));
  EXPECT_TRUE(grid->GetSortAscending());
  EXPECT_EQ(grid->GetFocusCell(), CellId(-1, -1));
  EXPECT_EQ(grid->GetSelectedRange(), CellRange(1, 2, 3, 2));
  Click(header.left + 3, header.top + 3);
  EXPECT_FALSE(grid->GetSortAscending());
  EXPECT_EQ(grid->GetCellText(1, 2), DT("c"));
  ASSERT_TRUE(grid->GetCellRect(0, 1, &header));
  Click(header.left + 3, header.top + 3);
  EXPECT_EQ(grid->GetSortColumn(), 1);
  EXPECT_TRUE(grid->GetSortAscending());
}

}  // namespace
}  // namespace dossel
