// Sorting by value: a column whose non-empty cells all read as numbers
// sorts numerically (empty cells first) when the grid asks for it; any
// other column, or a grid that does not ask, keeps the byte order.

#include <gtest/gtest.h>

#include <vector>

#include "grid/grid_store.h"

namespace dossel {
namespace {

std::vector<TString> SortedColumn(const std::vector<TString>& texts, bool numeric, bool ascending = true) {
  CGridStore store;
  store.SetRowCount(static_cast<int32_t>(texts.size()) + 1);
  store.SetColumnCount(2);
  store.SetFixedRowCount(1);
  for (size_t i = 0; i < texts.size(); ++i) {
    store.SetCellText(static_cast<int32_t>(i) + 1, 1, texts[i]);
    store.SetCellText(static_cast<int32_t>(i) + 1, 0, texts[i] + DT("!"));
  }
  store.SetNumericSort(numeric);
  EXPECT_TRUE(store.SortItems(1, ascending));
  std::vector<TString> out;
  for (int32_t row = 1; row < store.GetRowCount(); ++row) {
    out.push_back(store.GetCellText(row, 1));
    EXPECT_EQ(store.GetCellText(row, 0), out.back() + DT("!")) << "rows move whole";
  }
  return out;
}

TEST(GridNumericSortTest, NumbersSortByValueWithEmptyCellsFirst) {
  using V = std::vector<TString>;
  const V sorted = SortedColumn({DT("10"), DT("9"), DT("100"), DT("-7"), DT(""), DT("2.5"), DT(" 3 ")}, true);
  EXPECT_EQ(sorted, (V{DT(""), DT("-7"), DT("2.5"), DT(" 3 "), DT("9"), DT("10"), DT("100")}));
  EXPECT_EQ(SortedColumn({DT("10"), DT("9"), DT("100"), DT("")}, true, false),
            (V{DT("100"), DT("10"), DT("9"), DT("")}));
  // One text that is no number: byte order for the whole column.
  EXPECT_EQ(SortedColumn({DT("10"), DT("9"), DT("100"), DT("x")}, true), (V{DT("10"), DT("100"), DT("9"), DT("x")}));
  // A grid that does not ask keeps the byte order.
  EXPECT_EQ(SortedColumn({DT("10"), DT("9"), DT("100")}, false), (V{DT("10"), DT("100"), DT("9")}));
}

TEST(GridNumericSortTest, WhatReadsAsANumber) {
  double v = 0;
  EXPECT_TRUE(CGridStore::ReadNumber(DT("-12.5"), &v));
  EXPECT_EQ(v, -12.5);
  EXPECT_TRUE(CGridStore::ReadNumber(DT("+3"), &v));
  EXPECT_EQ(v, 3);
  EXPECT_TRUE(CGridStore::ReadNumber(DT(".5"), &v));
  EXPECT_TRUE(CGridStore::ReadNumber(DT("1E-3"), &v));
  EXPECT_EQ(v, 0.001);
  for (const TChar* text : {DT(""), DT("-"), DT("."), DT("1e"), DT("0x10"), DT("inf"), DT("nan"), DT("1,5"), DT("12a"),
                            DT("1e999"), DT("1 2")})
    EXPECT_FALSE(CGridStore::ReadNumber(text, &v)) << ToUtf8(text);
}

}  // namespace
}  // namespace dossel
