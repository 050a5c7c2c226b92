// CGridStore without any window: it links only the store library, so this
// program also proves the store needs no wx. Counts and cells, rows that
// never move, out of memory as a result, and a store writer thread publishing
// rows while a reader reads them.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "grid/grid_store.h"
#include "grid/stable_array.h"

namespace dossel {
namespace {

TEST(StableArrayTest, ElementsKeepTheirAddressesWhileItGrows) {
  StableArray<int> array;
  array.Reserve(10);
  array[0] = 7;
  array[9] = 9;
  int* first = &array[0];
  int* ninth = &array[9];
  array.Reserve(1000000);
  EXPECT_GE(array.Capacity(), 1000000u);
  EXPECT_EQ(first, &array[0]);
  EXPECT_EQ(ninth, &array[9]);
  EXPECT_EQ(array[0], 7);
  EXPECT_EQ(array[999999], 0);  // new elements start value-initialised
  for (size_t i = 0; i < 1000000; i += 997) array[i] = static_cast<int>(i);
  for (size_t i = 0; i < 1000000; i += 997) ASSERT_EQ(array[i], static_cast<int>(i));
}

class GridStoreUnitTest : public ::testing::Test {
 protected:
  void Fill(int32_t rows, int32_t cols) {
    ASSERT_TRUE(store.SetRowCount(rows));
    ASSERT_TRUE(store.SetColumnCount(cols));
    ASSERT_TRUE(store.SetFixedRowCount(1));
    ASSERT_TRUE(store.SetFixedColumnCount(1));
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < cols; ++c) ASSERT_TRUE(store.SetCellTextF(r, c, DT("%d,%d"), r, c));
  }
  CGridStore store;
};

TEST_F(GridStoreUnitTest, TheWriterOperationsWithoutAWindow) {
  Fill(200, 4);
  EXPECT_EQ(store.GetRowCount(), 200);
  EXPECT_EQ(store.GetFixedColumnCount(), 1);
  EXPECT_EQ(store.GetCellText(199, 3), DT("199,3"));
  EXPECT_EQ(store.GetCellText(200, 0), DT(""));
  EXPECT_FALSE(store.SetCellText(0, 4, DT("x")));
  EXPECT_TRUE(store.SetColumnWidth(2, 77));
  EXPECT_EQ(store.GetColumnWidth(2), 77);
  EXPECT_EQ(store.GetColumnWidth(4), -1);
  EXPECT_TRUE(store.SetRowHeight(150, 5));
  EXPECT_EQ(store.GetRowHeight(150), 5);
  EXPECT_FALSE(store.SetRowHeight(150, -1));
  // Default cells of a store without a window keep their fallback size.
  EXPECT_EQ(store.GetRowHeight(1), 16);

  const TString texts[] = {DT("a"), DT("b"), DT("a longer text than fits inline")};
  EXPECT_TRUE(store.SetRowTexts(5, 1, texts, 3));
  EXPECT_EQ(store.GetCellText(5, 3), texts[2]);
  EXPECT_FALSE(store.SetRowTexts(5, 2, texts, 3));  // past the last column
  EXPECT_TRUE(store.GetModified(5, 2));

  EXPECT_TRUE(store.DeleteAllCells());
  EXPECT_EQ(store.GetRowCount() + store.GetColumnCount(), 0);
  EXPECT_EQ(store.GetCellText(0, 0), DT(""));
}

// A result pane resets the grid to 20 columns and then gives it the
// result's few; rows made after that are sized for the few, and a later
// widening still gives every row (old and new) all its cells.
TEST_F(GridStoreUnitTest, ColumnsNarrowedThenWidenedKeepEveryRowWhole) {
  ASSERT_TRUE(store.SetColumnCount(20));
  ASSERT_TRUE(store.SetRowCount(10));
  ASSERT_TRUE(store.SetColumnCount(3));
  ASSERT_TRUE(store.SetRowCount(500));
  ASSERT_TRUE(store.SetColumnCount(25));
  for (int32_t r = 0; r < 500; r += 7)
    for (int32_t c = 0; c < 25; ++c) ASSERT_TRUE(store.SetCellTextF(r, c, DT("%d,%d"), r, c)) << r << "," << c;
  EXPECT_EQ(store.GetCellText(497, 24), DT("497,24"));
  EXPECT_EQ(store.GetCellText(7, 19), DT("7,19"));
}

TEST_F(GridStoreUnitTest, InsertDeleteAndSortKeepRowsWhole) {
  Fill(6, 3);
  store.SetRowHeight(2, 30);
  EXPECT_EQ(store.InsertRow(DT("new"), 2), 2);
  EXPECT_EQ(store.GetCellText(3, 1), DT("2,1"));
  EXPECT_EQ(store.GetRowHeight(3), 30);  // the height moved with its row
  EXPECT_EQ(store.GetRowHeight(2), 16);  // measured without a window: the default
  EXPECT_EQ(store.InsertColumn(DT("col"), DT_RIGHT, 1), 1);
  EXPECT_EQ(store.GetCellText(0, 1), DT("col"));
  EXPECT_EQ(store.GetCellText(3, 2), DT("2,1"));
  EXPECT_TRUE(store.DeleteColumn(1));
  EXPECT_TRUE(store.DeleteRow(2));
  EXPECT_EQ(store.GetCellText(2, 1), DT("2,1"));
  EXPECT_EQ(store.GetRowHeight(2), 30);

  store.SetCellText(1, 2, DT("c"));
  store.SetCellText(2, 2, DT("a"));
  store.SetCellText(3, 2, DT("b"));
  store.SetCellText(4, 2, DT("e"));
  store.SetCellText(5, 2, DT("d"));
  ASSERT_TRUE(store.SortTextItems(2, true));
  EXPECT_EQ(store.GetCellText(1, 2), DT("a"));
  EXPECT_EQ(store.GetCellText(1, 1), DT("2,1"));
  EXPECT_EQ(store.GetRowHeight(1), 30);
  EXPECT_EQ(store.GetSortColumn(), 2);
  store.SetCellText(1, 2, DT("z"));
  EXPECT_EQ(store.GetSortColumn(), -1);  // new text drops the sort indicator
}

TEST_F(GridStoreUnitTest, SelectionAndFocusAreData) {
  Fill(10, 4);
  store.SetFocusCell(CellId(0, 0));
  EXPECT_EQ(store.GetFocusCell(), CellId(1, 1));  // kept out of the fixed cells
  EXPECT_TRUE(store.GetCell(1, 1)->IsFocused());
  int changed = 0;
  store.SetSelectedRange(CellRange(2, 1, 4, 2), true, true, [&](const CellRange& range) {
    changed += (range.maxRow - range.minRow + 1) * (range.maxCol - range.minCol + 1);
  });
  EXPECT_EQ(changed, 6);
  EXPECT_EQ(store.GetSelectedCount(), 6);
  EXPECT_TRUE(store.IsCellSelected(4, 2));
  ASSERT_TRUE(store.SetRowCount(3));
  EXPECT_FALSE(store.IsValid(store.GetSelectedRange()) && store.GetSelectedRange().maxRow >= 3);
  store.ClearSelectedCells();
  EXPECT_EQ(store.GetSelectedCount(), 0);
}

TEST_F(GridStoreUnitTest, OutOfMemoryIsAResultAndNotedOnce) {
  ASSERT_TRUE(store.SetColumnCount(3));
  store.SetCellLimitForTest(10);
  EXPECT_FALSE(store.SetRowCount(100));
  EXPECT_EQ(store.GetRowCount(), 3);  // whole rows made before the failure stay
  EXPECT_TRUE(store.TakeOutOfMemory());
  EXPECT_FALSE(store.TakeOutOfMemory());
  EXPECT_FALSE(store.SetColumnCount(10));
  EXPECT_TRUE(store.TakeOutOfMemory());
  store.SetCellLimitForTest(-1);
  EXPECT_TRUE(store.SetRowCount(100));
  EXPECT_FALSE(store.TakeOutOfMemory());
}

TEST_F(GridStoreUnitTest, PublishedRowsCannotBeMovedDuringAFill) {
  store.BeginFill();
  ASSERT_TRUE(store.SetColumnCount(3));
  ASSERT_TRUE(store.SetFixedRowCount(1));
  ASSERT_TRUE(store.SetRowCount(80));
  store.PublishRows(10);
  EXPECT_EQ(store.GetPublishedRowCount(), 10);
  EXPECT_EQ(store.GetPublishedColumnCount(), 3);  // fixed by the first publication
  EXPECT_FALSE(store.SetRowCount(5));
  EXPECT_FALSE(store.SetColumnCount(4));
  EXPECT_FALSE(store.DeleteAllCells());
  EXPECT_FALSE(store.SortTextItems(1, true));
  EXPECT_EQ(store.InsertRow(DT("x")), -1);
  EXPECT_TRUE(store.SetRowCount(160));
  store.PublishRows(70);
  store.EndFill(true);  // cancelled: the published rows stay, the rest goes
  EXPECT_EQ(store.GetRowCount(), 70);
  EXPECT_TRUE(store.SortTextItems(1, true));
}

// One writer fills 200,000 rows the way the query writer does (row count in
// steps of 80, a publication every few rows) while a reader checks that
// every published row is complete: all its texts and its height.
TEST(GridStoreFillTest, ReaderSeesOnlyCompleteRowsWhileTheWriterAppends) {
  constexpr int32_t kRows = 200000;
  constexpr int32_t kCols = 4;
  CGridStore store;
  store.BeginFill();
  std::atomic<bool> done{false};
  std::thread writer([&] {
    store.SetColumnCount(kCols);
    store.SetFixedRowCount(1);
    store.SetRowCount(1);
    for (int32_t c = 0; c < kCols; ++c) store.SetCellTextF(0, c, DT("col%d"), c);
    store.PublishRows(1);
    TString texts[kCols];
    for (int32_t r = 1; r <= kRows; ++r) {
      if (r >= store.GetRowCount()) {
        ASSERT_TRUE(store.SetRowCount(store.GetRowCount() + 80));
      }
      for (int32_t c = 0; c < kCols; ++c) texts[c] = Format(DT("r%d c%d"), r, c);
      if (r % 2) {
        ASSERT_TRUE(store.SetRowTexts(r, 0, texts, kCols));
      } else {
        for (int32_t c = 0; c < kCols; ++c) ASSERT_TRUE(store.SetCellText(r, c, texts[c]));
      }
      ASSERT_TRUE(store.SetRowHeight(r, 10 + r % 7));
      if (r % 37 == 0) store.PublishRows(r + 1);
    }
    store.PublishRows(kRows + 1);
    done = true;
  });
  int32_t checked = 1;
  int64_t reads = 0;
  while (checked < kRows + 1) {
    const int32_t published = store.GetPublishedRowCount();
    if (published <= checked) {
      if (done && store.GetPublishedRowCount() <= checked) break;
      std::this_thread::yield();
      continue;
    }
    for (int32_t r = checked; r < published; ++r) {
      ASSERT_EQ(store.GetRowHeight(r), 10 + r % 7) << r;
      for (int32_t c = 0; c < kCols; ++c) ASSERT_EQ(store.GetCellText(r, c), Format(DT("r%d c%d"), r, c)) << r;
      ++reads;
    }
    // Rows read before stay where they were.
    ASSERT_EQ(store.GetCellText(checked / 2 + 1, 1), Format(DT("r%d c1"), checked / 2 + 1));
    ASSERT_EQ(store.GetCellText(0, 2), DT("col2"));
    checked = published;
  }
  writer.join();
  store.EndFill();
  EXPECT_EQ(checked, kRows + 1);
  EXPECT_EQ(reads, kRows);
  EXPECT_EQ(store.GetRowCount(), kRows + 1);
}

}  // namespace
}  // namespace dossel
