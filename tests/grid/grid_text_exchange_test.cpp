// The grid's exchanged texts without a window: the copied selection, pasted
// text split and placed, and the lines of a saved grid.

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "grid/grid_text_exchange.h"

namespace dossel {
namespace {

class GridTextExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.SetRowCount(4);
    store.SetColumnCount(5);
    store.SetFixedRowCount(1);
    store.SetFixedColumnCount(1);
    for (int32_t r = 0; r < 4; ++r) store.SetRowHeight(r, 20);
    for (int32_t c = 0; c < 5; ++c) store.SetColumnWidth(c, 50);
  }
  void Select(int32_t row, int32_t col) { store.SetCellState(row, col, store.GetCellState(row, col) | GVIS_SELECTED); }
  // Where each field went.
  std::map<std::pair<int32_t, int32_t>, TString> Place(CellId at, TStringView text, bool tabsOnly,
                                                       CellRange* placed = nullptr) {
    std::map<std::pair<int32_t, int32_t>, TString> put;
    const CellRange range =
        PlacePastedFields(store, at, SplitPastedText(text, tabsOnly), [&](int32_t r, int32_t c, const TString& t) {
          put[{r, c}] = t;
        });
    if (placed) *placed = range;
    return put;
  }
  CGridStore store;
};

TEST_F(GridTextExchangeTest, CopiedSelectionLeavesUnselectedCellsEmptyAndSkipsHiddenOnes) {
  store.SetCellText(1, 1, DT("a"));
  store.SetCellText(1, 2, DT("not selected"));
  store.SetCellText(2, 3, DT("c"));
  Select(1, 1);
  Select(2, 3);
  EXPECT_EQ(BuildSelectionText(store, CellRange(1, 1, 2, 3)), DT("a\t\t\r\n\t\tc"));

  store.SetColumnWidth(2, 0);
  EXPECT_EQ(BuildSelectionText(store, CellRange(1, 1, 2, 3)), DT("a\t\r\n\tc"));
  store.SetRowHeight(2, 0);
  EXPECT_EQ(BuildSelectionText(store, CellRange(1, 1, 2, 3)), DT("a\t"));
  store.SetColumnWidth(3, 0);
  EXPECT_EQ(BuildSelectionText(store, CellRange(1, 1, 2, 3)), DT("a"));
  EXPECT_EQ(BuildSelectionText(store, CellRange()), DT(""));
}

TEST_F(GridTextExchangeTest, PlainTextSplitsAtTabsAndCommasTrimmed) {
  CellRange placed;
  const auto put = Place(CellId(1, 1), DT("1,2\r\n3\t4"), false, &placed);
  ASSERT_EQ(put.size(), 4u);
  EXPECT_EQ(put.at({1, 1}), DT("1"));
  EXPECT_EQ(put.at({1, 2}), DT("2"));
  EXPECT_EQ(put.at({2, 1}), DT("3"));
  EXPECT_EQ(put.at({2, 2}), DT("4"));
  EXPECT_TRUE(placed == CellRange(1, 1, 2, 2));

  const auto lines = SplitPastedText(DT("  x ,\ty\n\n z"), false);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], (std::vector<TString>{DT("x"), DT(""), DT("y")}));
  EXPECT_EQ(lines[1], std::vector<TString>{DT("")});
  EXPECT_EQ(lines[2], std::vector<TString>{DT("z")});
  // Text after a zero is not part of it.
  EXPECT_EQ(SplitPastedText(TStringView(DT("a\0b"), 3), false)[0], std::vector<TString>{DT("a")});
}

TEST_F(GridTextExchangeTest, TheGridsOwnTextKeepsCommasAndAClosingLineEndAddsNoRow) {
  const auto put = Place(CellId(1, 1), DT("Smith, John\tx\r\n"), true);
  ASSERT_EQ(put.size(), 2u);
  EXPECT_EQ(put.at({1, 1}), DT("Smith, John"));
  EXPECT_EQ(put.at({1, 2}), DT("x"));
}

TEST_F(GridTextExchangeTest, FieldsBeyondTheGridAreDroppedAndHiddenCellsPassedOver) {
  // The last column takes the first field; the rest are dropped.
  auto put = Place(CellId(1, 4), DT("p\tq\tr\n1\n2\n3\n4"), true);
  EXPECT_EQ(put.size(), 3u);
  EXPECT_EQ(put.at({1, 4}), DT("p"));
  EXPECT_EQ(put.at({3, 4}), DT("2"));

  store.SetRowHeight(2, 0);
  store.SetColumnWidth(2, 0);
  put = Place(CellId(1, 1), DT("a\tb\nc"), true);
  EXPECT_EQ(put.at({1, 1}), DT("a"));
  EXPECT_EQ(put.at({1, 3}), DT("b"));
  EXPECT_EQ(put.at({3, 1}), DT("c"));
  EXPECT_EQ(put.size(), 3u);
}

TEST_F(GridTextExchangeTest, ACopyPastedBackFillsTheCopiedCellsAndNoOthers) {
  // Copied from column 1 (row 2 empty) with column 2 hidden, pasted at
  // column 1 again: the hidden last column adds no empty field over column
  // 3, and the empty last line still clears its cell.
  store.SetCellText(1, 1, DT("a"));
  store.SetColumnWidth(2, 0);
  Select(1, 1);
  Select(2, 1);
  const TString copied = BuildSelectionText(store, CellRange(1, 1, 2, 2));
  EXPECT_EQ(copied, DT("a\r\n\r\n"));
  const auto lines = SplitPastedText(copied, true);
  EXPECT_EQ(lines, (std::vector<std::vector<TString>>{{DT("a")}, {DT("")}}));
  std::map<std::pair<int32_t, int32_t>, TString> put;
  PlacePastedFields(store, CellId(1, 1), lines, [&](int32_t r, int32_t c, const TString& t) { put[{r, c}] = t; });
  EXPECT_EQ(put, (std::map<std::pair<int32_t, int32_t>, TString>{{{1, 1}, DT("a")}, {{2, 1}, DT("")}}));

  // One shown empty cell is an empty text, which pastes one empty field.
  store.SetCellText(1, 1, DT(""));
  EXPECT_EQ(BuildSelectionText(store, CellRange(1, 1, 1, 2)), DT(""));
}

TEST_F(GridTextExchangeTest, SavedLinesJoinAndSplitAtTheSeparator) {
  CGridStore two;
  two.SetRowCount(2);
  two.SetColumnCount(2);
  two.SetCellText(0, 0, DT("a"));
  two.SetCellText(0, 1, DT("b"));
  two.SetCellText(1, 0, DT("c"));
  two.SetCellText(1, 1, DT("d"));
  EXPECT_EQ(SavedGridLine(two, 0, DT(',')), DT("a,b"));
  EXPECT_EQ(SavedGridLine(two, 1, DT(';')), DT("c;d"));
  EXPECT_EQ(SplitSavedLine(DT("a,,b"), DT(',')), (std::vector<TString>{DT("a"), DT(""), DT("b")}));
  EXPECT_EQ(SplitSavedLine(DT(""), DT(',')), std::vector<TString>{DT("")});
  EXPECT_EQ(SplitSavedLine(DT("x,"), DT(',')), (std::vector<TString>{DT("x"), DT("")}));
}

}  // namespace
}  // namespace dossel
