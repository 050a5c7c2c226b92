// The grid window while a store writer thread fills its store: published rows
// show and scroll, the rest is background, sorting and selecting wait, and
// an out-of-memory in the writer is reported on the UI thread only. Also
// the touchpad wheel, sizing multi-line texts, and resetting for a new result.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <atomic>
#include <thread>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "grid_window_fixture.h"
#include "platform/wx/wx_text.h"
#include "recording_ui.h"

namespace dossel {
namespace {

class GridFillTest : public GridWindowFixture {
 protected:
  // The writer's part: header, then rows [1, rows], publishing every row
  // up to `publish` and waiting at `pause` until the UI thread lets it go on.
  void Write(int32_t rows, int32_t pause) {
    CGridStore& store = grid->GetStore();
    store.SetColumnCount(3);
    store.SetFixedRowCount(1);
    store.SetRowCount(1);
    store.SetCellText(0, 0, DT("id"));
    store.SetCellText(0, 1, DT("name"));
    store.SetCellText(0, 2, DT("x"));
    for (int32_t r = 1; r <= rows; ++r) {
      if (r >= store.GetRowCount()) store.SetRowCount(store.GetRowCount() + 80);
      store.SetCellTextF(r, 0, DT("%d"), r);
      store.SetCellTextF(r, 1, DT("a rather long name number %d"), r);
      store.SetCellText(r, 2, DT("x"));
      store.PublishRows(r + 1);
      if (r == pause) {
        paused = true;
        while (!resume) std::this_thread::yield();
      }
    }
    store.SetRowCount(rows + 1);
    store.PublishRows(rows + 1);
  }
  void WaitForPause() {
    while (!paused) std::this_thread::yield();
  }
  wxImage Render() {
    const wxSize size = grid->GetClientSize();
    wxBitmap bitmap(size.GetWidth(), size.GetHeight(), 24);
    {
      wxMemoryDC dc(bitmap);
      grid->OnDraw(dc);
    }
    return bitmap.ConvertToImage();
  }

  std::atomic<bool> paused{false}, resume{false};
};

TEST_F(GridFillTest, PublishedRowsShowAndScrollWhileTheRestIsBackground) {
  grid->BeginFill();
  EXPECT_TRUE(grid->IsFilling());
  std::thread writer([&] { Write(2000, 40); });
  WaitForPause();
  grid->OnRowsPublished();
  // 41 rows (header + 40) are shown; the window scrolls over them only.
  EXPECT_EQ(grid->GetVirtualHeight(), grid->GetStore().SumRowHeights(41));
  EXPECT_GT(grid->GetScrollMax32(wxVERTICAL), 0);
  EXPECT_EQ(grid->GetScrollMax32(wxVERTICAL), grid->GetVirtualHeight() - grid->GetRowHeight(0) - 1);
  grid->OnVScroll(CGridCtrl::SB_BOTTOM, 0);
  EXPECT_EQ(grid->GetVisibleScrolledRange().maxRow, 40);
  // The first screen sized the name column to its text.
  wxClientDC dc(grid);
  dc.SetFont(*grid->GetGridFont());
  EXPECT_GE(grid->GetColumnWidth(1), dc.GetTextExtent(wxT("a rather long name number 40")).GetWidth());
  // Below the last row the grid background shows, not a stale buffer.
  const wxImage image = Render();
  const GridRect client = grid->GetGridClientRect();
  EXPECT_EQ(grid->GetGridBkColour(), GridRgb(image.GetRed(client.right - 2, client.bottom - 2),
                                             image.GetGreen(client.right - 2, client.bottom - 2),
                                             image.GetBlue(client.right - 2, client.bottom - 2)));
  // Sorting, selecting and copying wait for the fill.
  EXPECT_FALSE(grid->SortTextItems(1, true));
  grid->SetSelectedRange(1, 1, 3, 2);
  EXPECT_EQ(grid->GetSelectedCount(), 0);
  grid->SetFocusCell(2, 2);
  EXPECT_EQ(grid->GetFocusCell(), CellId(-1, -1));
  TString text;
  EXPECT_FALSE(grid->CopySelectionText(text));
  resume = true;
  writer.join();
  grid->OnRowsPublished();
  EXPECT_EQ(grid->GetVirtualHeight(), grid->GetStore().SumRowHeights(2001));
  grid->EndFill();
  EXPECT_FALSE(grid->IsFilling());
  EXPECT_EQ(grid->GetRowCount(), 2001);
  EXPECT_TRUE(grid->SortTextItems(0, true));
  EXPECT_EQ(grid->GetCellText(1, 0), DT("1"));
  grid->SetSelectedRange(1, 1, 3, 2);
  EXPECT_EQ(grid->GetSelectedCount(), 6);
}

TEST_F(GridFillTest, TheTimerShowsRowsAndACancelKeepsThePublishedOnes) {
  grid->BeginFill();
  std::thread writer([&] { Write(500, 120); });
  WaitForPause();
  // The fill's timer finds the published rows by itself.
  for (int i = 0; i < 100 && grid->GetVirtualHeight() == 0; ++i) {
    wxMilliSleep(10);
    wxTheApp->Yield();
  }
  EXPECT_EQ(grid->GetVirtualHeight(), grid->GetStore().SumRowHeights(121));
  const int32_t published = grid->GetStore().GetPublishedRowCount();
  grid->EndFill(true);
  EXPECT_EQ(grid->GetRowCount(), published);
  resume = true;  // a cancelled writer stops writing; here it only ends its loop
  writer.join();
}

TEST_F(GridFillTest, OutOfMemoryInTheWriterIsReportedOnTheUiThread) {
  test::RecordingUserInterface ui;
  IUserInterface* previous = GetUserInterface();
  SetUserInterface(&ui);
  grid->BeginFill();
  grid->GetStore().SetCellLimitForTest(3 * 300);
  std::atomic<bool> failed{false};
  std::thread writer([&] {
    CGridStore& store = grid->GetStore();
    store.SetColumnCount(3);
    for (int i = 0; i < 10 && !failed; ++i) failed = !store.SetRowCount(store.GetRowCount() + 80);
    store.PublishRows(store.GetRowCount());
  });
  writer.join();
  EXPECT_TRUE(failed);
  EXPECT_TRUE(ui.texts.empty());  // nothing shown from the writer
  grid->OnRowsPublished();
  grid->EndFill();
  ASSERT_EQ(ui.texts.size(), 1u);
  EXPECT_EQ(ui.texts[0], DT("Out of memory."));
  EXPECT_EQ(grid->GetRowCount(), 300);
  grid->GetStore().SetCellLimitForTest(-1);
  SetUserInterface(previous);
}

class GridFaultTest : public GridWindowFixture {
 protected:
  void Fill(int32_t rows, int32_t cols) {
    grid->SetRowCount(rows);
    grid->SetColumnCount(cols);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < cols; ++c) grid->SetCellTextF(r, c, DT("%d.%d"), r, c);
  }
};

TEST_F(GridFaultTest, TouchpadWheelPartsAddUpToWholeLines) {
  Fill(1000, 3);
  const int32_t h = grid->GetRowHeight(1);
  grid->SetRowsPerWheelNotch(3);
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelDelta = 120;
  wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
  wheel.m_wheelRotation = -12;  // a tenth of a notch downwards, as GTK's smooth scrolling sends
  for (int i = 0; i < 10; ++i) grid->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), 3 * h);
  for (int i = 0; i < 5; ++i) grid->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), 4 * h);  // one line and a half left over
  wheel.m_wheelRotation = 120;                         // turning back starts afresh
  grid->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), h);
}

TEST_F(GridFaultTest, AutoSizeMeasuresMultiLineTextsAsTheyAreDrawn) {
  Fill(3, 3);
  grid->SetCellText(1, 1, DT("first line\nsecond line"));
  grid->SetCellText(2, 1, DT("x"));
  grid->AutoSize();
  wxClientDC dc(grid);
  dc.SetFont(*grid->GetGridFont());
  const int m = static_cast<int>(grid->GetDefaultCell(false, false)->GetMargin());
  EXPECT_EQ(grid->GetColumnWidth(1), dc.GetTextExtent(wxT("first line second line")).GetWidth() + 2 * m + 1);
  EXPECT_EQ(grid->GetRowHeight(1), grid->GetRowHeight(2));  // one line tall, like its neighbour
}

TEST_F(GridFaultTest, ANewResultStartsEmptyUnselectedAndAtTheTop) {
  Fill(1000, 30);
  grid->SetSelectedRange(5, 5, 8, 8);
  grid->OnVScroll(CGridCtrl::SB_BOTTOM, 0);
  grid->OnHScroll(CGridCtrl::SB_BOTTOM, 0);
  grid->SetColumnWidth(3, 200);
  grid->ResetForNewResult(100, 5);
  EXPECT_EQ(grid->GetRowCount(), 100);
  EXPECT_EQ(grid->GetColumnCount(), 5);
  EXPECT_EQ(grid->GetSelectedCount(), 0);
  EXPECT_EQ(grid->GetFocusCell(), CellId(-1, -1));
  EXPECT_EQ(grid->GetCellText(6, 3), DT(""));
  EXPECT_EQ(grid->GetScrollPos32(wxVERTICAL), 0);
  EXPECT_EQ(grid->GetScrollPos32(wxHORIZONTAL), 0);
  EXPECT_EQ(grid->GetTopLeftScrolledCell(), CellId(0, 0));
  EXPECT_EQ(grid->GetColumnWidth(3), grid->GetDefaultCell(false, true)->GetWidth());
  EXPECT_EQ(grid->GetScrollMax32(wxVERTICAL), grid->GetVirtualHeight() - 1);
}

}  // namespace
}  // namespace dossel
