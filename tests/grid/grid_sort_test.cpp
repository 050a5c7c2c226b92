// Sorting rows: text order, fixed rows, direction, and inputs that would
// drive a naive two-sided recursion as deep as the row count.

#include <gtest/gtest.h>
#include <pthread.h>

#include <vector>

#include "grid/wx/grid_ctrl.h"

namespace dossel {
namespace {

class GridSortTest : public ::testing::Test {
 protected:
  void Column(std::initializer_list<const TChar*> texts) {
    grid.SetRowCount(static_cast<int32_t>(texts.size()) + 1);
    grid.SetColumnCount(2);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetCellText(0, 1, DT("header"));
    int32_t row = 1;
    for (const TChar* text : texts) {
      grid.SetCellTextF(row, 0, DT("%d"), row);
      grid.SetCellText(row++, 1, text);
    }
  }
  std::vector<TString> Texts(int32_t col = 1) {
    std::vector<TString> out;
    for (int32_t row = 0; row < grid.GetRowCount(); ++row) out.push_back(grid.GetCellText(row, col));
    return out;
  }
  CGridCtrl grid;
};

TEST_F(GridSortTest, OrdersByCharacterCodeAndKeepsTheHeaderRow) {
  Column({DT("b"), DT("a"), DT("c")});
  ASSERT_TRUE(grid.SortTextItems(1, true));
  EXPECT_EQ(Texts(), (std::vector<TString>{DT("header"), DT("a"), DT("b"), DT("c")}));
  EXPECT_EQ(Texts(0), (std::vector<TString>{DT(""), DT("2"), DT("1"), DT("3")}));  // whole rows move
  ASSERT_TRUE(grid.SortTextItems(1, false));
  EXPECT_EQ(Texts(), (std::vector<TString>{DT("header"), DT("c"), DT("b"), DT("a")}));

  Column({DT("9"), DT("100"), DT("10"), DT("a"), DT("B")});
  ASSERT_TRUE(grid.SortItems(1, true));
  EXPECT_EQ(Texts(), (std::vector<TString>{DT("header"), DT("10"), DT("100"), DT("9"), DT("B"), DT("a")}));
}

TEST_F(GridSortTest, LongCommonBeginningsAndZeroCharacters) {
  Column({DT("abcdefghijklmnopZ"), DT("abcdefghijklmnopA"), DT("ab"), DT("x")});
  grid.SetCellText(4, 1, TStringView(DT("ab\0"), 3));
  ASSERT_TRUE(grid.SortTextItems(1, true));
  EXPECT_EQ(Texts(), (std::vector<TString>{DT("header"), DT("ab"), TString(DT("ab\0"), 3), DT("abcdefghijklmnopA"),
                                           DT("abcdefghijklmnopZ")}));
}

TEST_F(GridSortTest, SetsTheSortStateAndClearsSelectionAndFocus) {
  Column({DT("b"), DT("a")});
  grid.SetFocusCell(1, 1);
  grid.SetSelectedRange(1, 1, 2, 1);
  ASSERT_TRUE(grid.SortItems(1, false));
  EXPECT_EQ(grid.GetSortColumn(), 1);
  EXPECT_FALSE(grid.GetSortAscending());
  EXPECT_EQ(grid.GetFocusCell(), CellId(-1, -1));
  EXPECT_EQ(grid.GetSelectedCount(), 0);
  EXPECT_FALSE(grid.GetModified(1, 1) && grid.GetSortColumn() == -1);

  Column({DT("only")});
  EXPECT_FALSE(grid.SortItems(1, true));  // one data row: nothing to sort
  EXPECT_EQ(grid.GetSortColumn(), 1);
  EXPECT_FALSE(grid.SortItems(5, true));
}

TEST_F(GridSortTest, MillionRowsInOrderAndInReverse) {
  const int32_t rows = 1000000;
  grid.SetRowCount(rows + 1);
  grid.SetColumnCount(1);
  grid.SetFixedRowCount(1);
  for (bool reverse : {false, true}) {
    for (int32_t i = 1; i <= rows; ++i) grid.SetCellTextF(i, 0, DT("%07d"), reverse ? rows - i : i);
    ASSERT_TRUE(grid.SortTextItems(0, true));
    for (int32_t i = 2; i <= rows; ++i) ASSERT_LT(grid.GetCellText(i - 1, 0), grid.GetCellText(i, 0)) << i;
  }
}

// An adversary that decides the order of cells only as the sort asks,
// always so that the pivot lands at the edge of its part: every pass then
// splits off a single row.
struct Adversary {
  std::vector<int32_t> value;
  int32_t gas = 0;
  int32_t solid = 0;
  int32_t candidate = -1;
  long long comparisons = 0;

  static int Compare(const CGridCellBase* a, const CGridCellBase* b, intptr_t data) {
    auto* self = reinterpret_cast<Adversary*>(data);
    ++self->comparisons;
    const int32_t x = static_cast<int32_t>(a->GetData()), y = static_cast<int32_t>(b->GetData());
    auto& v = self->value;
    if (v[x] == self->gas && v[y] == self->gas) v[x == self->candidate ? x : y] = self->solid++;
    if (v[x] == self->gas)
      self->candidate = x;
    else if (v[y] == self->gas)
      self->candidate = y;
    return v[x] < v[y] ? -1 : (v[x] > v[y] ? 1 : 0);
  }
};

struct SortJob {
  CGridCtrl* grid;
  Adversary* adversary;
  bool result = false;
};

void* RunSort(void* arg) {
  auto* job = static_cast<SortJob*>(arg);
  job->result = job->grid->SortItems(&Adversary::Compare, 0, true, reinterpret_cast<intptr_t>(job->adversary));
  return nullptr;
}

TEST_F(GridSortTest, UnluckyInputSortsOnASmallStack) {
  const int32_t rows = 6000;
  grid.SetRowCount(rows + 1);
  grid.SetColumnCount(1);
  grid.SetFixedRowCount(1);
  Adversary adversary;
  adversary.gas = rows;
  adversary.value.assign(static_cast<size_t>(rows) + 1, rows);
  for (int32_t i = 1; i <= rows; ++i) grid.SetCellData(i, 0, static_cast<uint32_t>(i));

  // 64 KiB is far less than a recursion one level per row needs.
  SortJob job{&grid, &adversary};
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 64 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attr, &RunSort, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);

  ASSERT_TRUE(job.result);
  // The input really was unlucky: far more comparisons than n log n.
  EXPECT_GT(adversary.comparisons, static_cast<long long>(rows) * rows / 8);
  for (int32_t i = 2; i <= rows; ++i) {
    const auto a = adversary.value[grid.GetCellData(i - 1, 0)], b = adversary.value[grid.GetCellData(i, 0)];
    ASSERT_LE(a, b) << i;
  }
}

}  // namespace
}  // namespace dossel
