// Grid storage without a display: counts, cells, state bits, selection keys,
// modified marks and the index checks that must never crash.

#include <gtest/gtest.h>

#include <memory>

#include "grid/compact_text.h"
#include "grid/wx/grid_ctrl.h"

namespace dossel {
namespace {

TEST(CompactTextTest, KeepsTextAcrossTheInlineLimitAndCopies) {
  const TString shortText(CompactText::kInlineCapacity, DT("a")[0]);
  const TString longText(CompactText::kInlineCapacity + 1, DT("b")[0]);
  CompactText text;
  EXPECT_TRUE(text.IsEmpty());
  text.Assign(shortText);
  EXPECT_EQ(text.View(), shortText);
  text.Assign(longText);
  EXPECT_EQ(text.View(), longText);
  CompactText copy(text);
  text.Assign(DT("x"));
  EXPECT_EQ(copy.View(), longText);
  EXPECT_EQ(text.View(), DT("x"));
  const TString withNul(DT("a\0b"), 3);
  text.Assign(withNul);
  EXPECT_EQ(text.View(), withNul);
}

TEST(GridCellTest, OrdinaryCellStaysSmall) {
  // Per-cell memory target: the object plus one row slot within 64 bytes.
  EXPECT_LE(sizeof(CGridCell) + sizeof(void*), 64u);
}

class GridStoreTest : public ::testing::Test {
 protected:
  void Fill(int32_t rows, int32_t cols, int32_t fixedRows, int32_t fixedCols) {
    ASSERT_TRUE(grid.SetRowCount(rows));
    ASSERT_TRUE(grid.SetColumnCount(cols));
    ASSERT_TRUE(grid.SetFixedRowCount(fixedRows));
    ASSERT_TRUE(grid.SetFixedColumnCount(fixedCols));
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < cols; ++c) grid.SetCellTextF(r, c, DT("%d,%d"), r, c);
  }
  CGridCtrl grid;
  int calls = 0;
};

TEST_F(GridStoreTest, DefaultCellsWithoutDisplayUseFallbackSizes) {
  const CGridDefaultCell* def = grid.GetDefaultCell(false, false);
  EXPECT_EQ(def->GetWidth(), 40);
  EXPECT_EQ(def->GetHeight(), 16);
  EXPECT_EQ(def->GetMargin(), 3u);
  EXPECT_EQ(def->GetFormat(), 0x8824u);
  EXPECT_TRUE(def->GetState() & GVIS_READONLY);
  EXPECT_EQ(grid.GetDefaultCell(true, true), grid.GetDefaultCell(true, true));
  EXPECT_NE(grid.GetDefaultCell(true, false), grid.GetDefaultCell(false, true));
}

TEST_F(GridStoreTest, CountsAndSizes) {
  Fill(5, 3, 1, 1);
  grid.SetModified(false);
  EXPECT_TRUE(grid.SetRowCount(5));
  EXPECT_FALSE(grid.GetModified());  // same count: nothing happens
  EXPECT_EQ(grid.GetRowHeight(5), -1);
  EXPECT_EQ(grid.GetRowHeight(4), 16);
  EXPECT_EQ(grid.GetColumnWidth(2), grid.GetDefaultCell(false, true)->GetWidth());
  EXPECT_FALSE(grid.SetColumnWidth(0, -1));
  EXPECT_EQ(grid.GetColumnWidth(0), 40);
  EXPECT_FALSE(grid.SetColumnWidth(3, 10));
  EXPECT_TRUE(grid.SetColumnWidth(0, 30));
  EXPECT_EQ(grid.GetFixedColumnWidth(), 30);
  EXPECT_EQ(grid.GetVirtualWidth(), 30 + 80);
  EXPECT_EQ(grid.GetVirtualHeight(), 5 * 16);

  ASSERT_TRUE(grid.SetRowCount(2));
  EXPECT_EQ(grid.GetCellText(1, 2), DT("1,2"));
  EXPECT_EQ(grid.GetCell(2, 0), nullptr);
  ASSERT_TRUE(grid.SetRowCount(4));
  EXPECT_EQ(grid.GetCellText(3, 2), DT(""));  // new rows come empty
  EXPECT_TRUE(grid.SetRowCount(0));
  EXPECT_EQ(grid.GetFixedRowCount(), 0);
}

TEST_F(GridStoreTest, BadIndicesGiveNoneValues) {
  Fill(3, 3, 1, 1);
  EXPECT_EQ(grid.GetCellText(-1, 0), DT(""));
  EXPECT_EQ(grid.GetCell(0, 3), nullptr);
  EXPECT_FALSE(grid.SetCellText(3, 0, DT("x")));
  EXPECT_EQ(grid.GetCellImage(9, 9), -1);
  EXPECT_EQ(grid.GetCellData(9, 9), 0u);
  EXPECT_EQ(grid.GetCellState(-5, 0), 0u);
  EXPECT_FALSE(grid.DeleteRow(3));
  EXPECT_FALSE(grid.DeleteColumn(-1));
  EXPECT_FALSE(grid.SetCellState(7, 7, GVIS_SELECTED));
  EXPECT_EQ(grid.GetSelectedCount(), 0);
  EXPECT_FALSE(grid.SetCellClass(9, 0, &CGridCell::s_class));
  EXPECT_NE(grid.GetCellFont(9, 9), nullptr);  // the default cell's
  EXPECT_FALSE(grid.IsValid(CellRange(0, 0, 3, 0)));
  EXPECT_TRUE(grid.IsValid(CellRange(0, 0, 2, 2)));
}

TEST_F(GridStoreTest, NewCellsTakeFixedBitsAndFormatFromTheirDefaultCell) {
  grid.GetDefaultCell(true, true)->SetFormat(DT_CENTER | DT_SINGLELINE);
  Fill(3, 3, 1, 1);
  EXPECT_EQ(grid.GetCell(0, 0)->GetState() & ~GVIS_MODIFIED, 0x70u);
  std::unique_ptr<CGridCellBase> corner(grid.CreateCell(0, 0));
  EXPECT_EQ(corner->GetState(), 0x70u);
  EXPECT_EQ(corner->GetFormat(), static_cast<uint32_t>(DT_CENTER | DT_SINGLELINE));
  EXPECT_EQ(grid.GetCell(0, 1)->GetState() & ~GVIS_MODIFIED, 0x30u);
  EXPECT_EQ(grid.GetCell(1, 0)->GetState() & ~GVIS_MODIFIED, 0x50u);
  EXPECT_EQ(grid.GetCell(1, 1)->GetState() & ~GVIS_MODIFIED, 0u);
  EXPECT_FALSE(grid.GetCell(0, 0)->IsReadOnly());

  // Growing the fixed rows makes cells fixed and resets their colours;
  // shrinking keeps cells of fixed columns fixed.
  grid.SetCellBkColour(1, 1, GridRgb(1, 2, 3));
  ASSERT_TRUE(grid.SetFixedRowCount(2));
  EXPECT_EQ(grid.GetCellState(1, 1) & 0x70u, 0x30u);
  EXPECT_EQ(grid.GetCellBkColour(1, 1), kClrDefault);
  ASSERT_TRUE(grid.SetFixedRowCount(0));
  EXPECT_EQ(grid.GetCellState(1, 1) & 0x70u, 0u);
  EXPECT_EQ(grid.GetCellState(1, 0) & 0x70u, 0x50u);
}

TEST_F(GridStoreTest, InsertAndDeleteKeepTheFocusCellOnItsCell) {
  Fill(4, 3, 1, 1);
  EXPECT_EQ(grid.InsertRow(DT("x"), grid.GetRowCount()), -1);
  EXPECT_EQ(grid.InsertRow(DT("x"), 0), -1);  // not among the fixed rows
  EXPECT_EQ(grid.InsertRow(DT("x"), -1), 4);
  EXPECT_EQ(grid.GetCellText(4, 0), DT("x"));
  EXPECT_EQ(grid.InsertColumn(DT("c"), DT_RIGHT, grid.GetColumnCount()), 3);
  EXPECT_EQ(grid.GetCellText(0, 3), DT("c"));
  EXPECT_EQ(grid.GetCellFormat(2, 3), static_cast<uint32_t>(DT_RIGHT));

  grid.SetFocusCell(3, 2);
  EXPECT_EQ(grid.InsertRow(DT("y"), 2), 2);
  EXPECT_EQ(grid.GetFocusCell(), CellId(4, 2));
  EXPECT_EQ(grid.GetCellText(4, 2), DT("3,2"));
  EXPECT_TRUE(grid.GetCell(4, 2)->IsFocused());
  EXPECT_TRUE(grid.DeleteRow(1));
  EXPECT_EQ(grid.GetFocusCell(), CellId(3, 2));
  EXPECT_TRUE(grid.DeleteColumn(1));
  EXPECT_EQ(grid.GetFocusCell(), CellId(3, 1));
  EXPECT_EQ(grid.GetCellText(3, 1), DT("3,2"));
  EXPECT_TRUE(grid.DeleteRow(3));
  EXPECT_EQ(grid.GetFocusCell(), CellId(-1, -1));
  EXPECT_TRUE(grid.DeleteColumn(0));
  EXPECT_EQ(grid.GetFixedColumnCount(), 0);

  EXPECT_TRUE(grid.DeleteNonFixedRows());
  EXPECT_EQ(grid.GetRowCount(), 1);
  EXPECT_TRUE(grid.DeleteAllCells());
  EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount() + grid.GetFixedRowCount() + grid.GetFixedColumnCount(), 0);
}

TEST_F(GridStoreTest, ModifiedMarksAndTheSortIndicator) {
  Fill(3, 3, 1, 1);
  grid.SetModified(false);
  EXPECT_FALSE(grid.GetModified(1, 1));
  grid.SetSortColumn(2);
  grid.SetCellText(1, 1, DT("z"));
  EXPECT_TRUE(grid.GetModified(1, 1));
  EXPECT_TRUE(grid.GetModified());
  EXPECT_EQ(grid.GetSortColumn(), 2);
  grid.SetCellText(1, 2, DT("z"));
  EXPECT_EQ(grid.GetSortColumn(), -1);
  grid.SetModified(false, 1, 1);
  EXPECT_FALSE(grid.GetModified(1, 1));
  EXPECT_TRUE(grid.GetModified(1, 2));
  grid.SetModified(false);
  EXPECT_FALSE(grid.GetModified(1, 2));
  // Formats and colours are not content changes.
  grid.SetCellFormat(2, 2, DT_RIGHT);
  grid.SetCellFgColour(2, 2, GridRgb(9, 9, 9));
  EXPECT_FALSE(grid.GetModified());
}

TEST_F(GridStoreTest, SelectionMapFollowsTheSelectedBit) {
  Fill(70000, 2, 1, 1);
  EXPECT_EQ(CGridCtrl::SelectionKey(5, 1), CGridCtrl::SelectionKey(5 + 65536, 1));
  EXPECT_NE(CGridCtrl::SelectionKey(5, 1), CGridCtrl::SelectionKey(5, 0));
  // Cells that share a key are still both remembered, so clearing the
  // selection of a tall column unselects every cell of it.
  grid.SetSelectedRange(1, 1, 69999, 1);
  EXPECT_EQ(grid.GetSelectedCount(), 69999);
  EXPECT_TRUE(grid.IsCellSelected(5 + 65536, 1));
  grid.SetSelectedRange(2, 1, 4, 1);
  EXPECT_EQ(grid.GetSelectedCount(), 3);
  EXPECT_EQ(grid.GetSelectedRange(), CellRange(2, 1, 4, 1));
  EXPECT_FALSE(grid.IsCellSelected(5 + 65536, 1));
  EXPECT_FALSE(grid.IsCellSelected(2 + 65536, 1));
  EXPECT_TRUE(grid.IsCellSelected(2, 1));
  grid.ClearSelection();
  EXPECT_EQ(grid.GetSelectedCount(), 0);
  EXPECT_FALSE(grid.IsValid(grid.GetSelectedRange()));
}

TEST_F(GridStoreTest, CellItemsCellClassesAndSearch) {
  Fill(4, 4, 1, 1);
  GridItem item;
  item.row = 2;
  item.col = 2;
  item.mask = GVIF_TEXT | GVIF_PARAM | GVIF_BKCLR | GVIF_MARGIN;
  item.strText = TString(DT("item"));
  item.lParam = 42;
  item.crBkClr = GridRgb(10, 20, 30);
  item.nMargin = 7;
  ASSERT_TRUE(grid.SetCellItem(&item));
  GridItem read;
  read.row = 2;
  read.col = 2;
  read.mask = GVIF_TEXT | GVIF_PARAM | GVIF_BKCLR | GVIF_MARGIN | GVIF_STATE;
  ASSERT_TRUE(grid.GetCellItem(&read));
  EXPECT_EQ(read.strText, DT("item"));
  EXPECT_EQ(read.lParam, 42u);
  EXPECT_EQ(read.crBkClr, GridRgb(10, 20, 30));
  EXPECT_EQ(read.nMargin, 7u);
  EXPECT_TRUE(read.nState & GVIS_MODIFIED);

  static const GridRuntimeClass notACell{"NotACell", nullptr, nullptr};
  EXPECT_FALSE(grid.SetCellClass(2, 2, &notACell));
  EXPECT_FALSE(grid.SetDefaultCellClass(&notACell));
  ASSERT_TRUE(grid.SetCellClass(2, 2, &CGridDefaultCell::s_class));
  EXPECT_EQ(grid.GetCell(2, 2)->GetRuntimeClass(), &CGridDefaultCell::s_class);
  EXPECT_EQ(grid.GetCellText(2, 2), DT("item"));
  EXPECT_EQ(grid.GetCellData(2, 2), 42u);

  grid.SetModified(false);
  grid.SetCellText(3, 3, DT("m"));
  EXPECT_EQ(grid.FindNextCell(CellId(-1, -1), GVNI_MODIFIED | GVNI_ALL), CellId(3, 3));
  EXPECT_EQ(grid.FindNextCell(CellId(0, 3), GVNI_MODIFIED | GVNI_BELOW), CellId(3, 3));
  EXPECT_EQ(grid.FindNextCell(CellId(3, 3), GVNI_MODIFIED | GVNI_ABOVE), CellId(-1, -1));
}

TEST_F(GridStoreTest, VirtualModeAsksForContents) {
  grid.SetVirtualMode(true);
  grid.SetRowCount(1000);
  grid.SetColumnCount(3);
  grid.SetFixedRowCount(1);
  grid.SetDisplayCallback(
      [](GridItem* item, intptr_t data) {
        item->strText = Format(DT("r%d c%d"), item->row, item->col);
        ++*reinterpret_cast<int*>(data);
        return true;
      },
      reinterpret_cast<intptr_t>(&calls));
  EXPECT_EQ(grid.GetCellText(999, 2), DT("r999 c2"));
  EXPECT_TRUE(grid.GetCell(0, 1)->IsFixedRow());
  EXPECT_FALSE(grid.SetCellText(1, 1, DT("x")));
  EXPECT_FALSE(grid.GetHeaderSort());
  EXPECT_EQ(calls, 2);
}

TEST_F(GridStoreTest, PointsMapToCellsAcrossTheFixedEdge) {
  Fill(10, 5, 1, 1);
  grid.SetColumnWidth(0, 30);
  const int32_t h = grid.GetRowHeight(0);
  EXPECT_EQ(grid.GetCellFromPoint(wxPoint(29, h)), CellId(1, 0));
  EXPECT_EQ(grid.GetCellFromPoint(wxPoint(30, h)), CellId(1, 1));
  EXPECT_EQ(grid.GetCellFromPoint(wxPoint(29, h), false), CellId(1, -1));
  EXPECT_EQ(grid.GetCellFromPoint(wxPoint(-1, 0)), CellId(0, -1));
  EXPECT_EQ(grid.GetCellFromPoint(wxPoint(30 + 4 * 40, h)), CellId(1, -1));
  GridRect rect;
  ASSERT_TRUE(grid.GetCellRect(1, 1, &rect));
  EXPECT_EQ(rect, (GridRect{30, h, 30 + 39, h + h - 1}));
}

}  // namespace
}  // namespace dossel
