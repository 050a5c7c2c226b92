// The compact store's parts: the cell table (records of texts, NULL and empty
// kept apart, texts of any length), row heights kept per block, selections
// kept as blocks, and the store keeping cells as data with objects only
// where they were asked for.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

#include "grid/cell_selection.h"
#include "grid/cell_table.h"
#include "grid/grid_store.h"
#include "grid/row_heights.h"

namespace dossel {
namespace {

TString Text(size_t length, TChar first) {
  TString text(length, first);
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<TChar>(DT('a') + (i * 7 + first) % 26);
  return text;
}

TEST(CellTableTest, NullEmptyAndTextsOfEveryLengthReadBackAsWritten) {
  CCellTable table;
  const std::vector<size_t> lengths = {0, 1, 15, 16, 17, 255, 256, 65535, 1024 * 1024};
  std::vector<TString> texts;
  for (size_t i = 0; i < lengths.size(); ++i) texts.push_back(Text(lengths[i], static_cast<TChar>(DT('a') + i)));
  std::vector<CellInput> cells;
  for (const TString& text : texts) cells.push_back(CellInput{text, false, false});
  cells.push_back(CellInput{TStringView(), true, false});  // NULL
  cells.push_back(CellInput{TStringView(), false, true});  // empty, modified
  for (uint32_t id = 0; id < 3; ++id) ASSERT_TRUE(table.Append(id, cells.data(), cells.size(), 1));
  // Ids skipped by an append read as empty records.
  ASSERT_TRUE(table.Append(10, cells.data(), 2, 1));
  EXPECT_EQ(table.Count(), 11u);

  CRowCells row;
  for (uint32_t id = 0; id < 3; ++id) {
    ASSERT_TRUE(table.Read(id, row));
    ASSERT_EQ(row.Count(), cells.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(row.Text(i), TStringView(texts[i])) << lengths[i];
      EXPECT_FALSE(row.IsNull(i));
    }
    EXPECT_TRUE(row.IsNull(texts.size()));
    EXPECT_TRUE(row.Text(texts.size()).empty());
    EXPECT_FALSE(row.IsNull(texts.size() + 1));
    EXPECT_TRUE(row.IsModified(texts.size() + 1));
    EXPECT_FALSE(row.IsModified(0));
    EXPECT_TRUE(row.Text(cells.size() + 5).empty());  // past the record
  }
  ASSERT_TRUE(table.Read(5, row));
  EXPECT_EQ(row.Count(), 0u);
  ASSERT_TRUE(table.Read(10, row));
  EXPECT_EQ(row.Text(1), TStringView(texts[1]));
  EXPECT_FALSE(table.Read(11, row));
  EXPECT_GE(table.TextChars(), 3 * (1024 * 1024 + 65535 + 256 + 255 + 17 + 16 + 15 + 1));
}

TEST(CellTableTest, ReplacedRecordsAndTruncationLeaveTheOthersAlone) {
  CCellTable table;
  const TString shortText = DT("abc");
  for (uint32_t id = 0; id < 500; ++id) {
    const TString text = Format(DT("row %u"), id);
    const CellInput cells[] = {{text, false, false}, {shortText, false, false}};
    ASSERT_TRUE(table.Append(id, cells, 2, 1));
  }
  // Smaller fits in place; larger needs a record of its own.
  const CellInput smaller[] = {{DT("x"), false, true}};
  const TString big = Text(5000, DT('q'));
  const CellInput larger[] = {{big, false, true}, {TStringView(), true, true}, {DT("z"), false, true}};
  ASSERT_TRUE(table.Replace(7, smaller, 1, 2));
  ASSERT_TRUE(table.Replace(8, larger, 3, 2));
  ASSERT_TRUE(table.Replace(8, smaller, 1, 3));
  ASSERT_TRUE(table.Replace(9, larger, 3, 2));
  CRowCells row;
  ASSERT_TRUE(table.Read(7, row));
  EXPECT_EQ(row.Count(), 1u);
  EXPECT_EQ(row.Text(0), DT("x"));
  EXPECT_EQ(row.Epoch(), 2u);
  ASSERT_TRUE(table.Read(8, row));
  EXPECT_EQ(row.Text(0), DT("x"));
  EXPECT_EQ(row.Epoch(), 3u);
  ASSERT_TRUE(table.Read(9, row));
  EXPECT_EQ(row.Text(0), TStringView(big));
  EXPECT_TRUE(row.IsNull(1));
  EXPECT_EQ(row.Text(2), DT("z"));
  for (uint32_t id : {0u, 6u, 10u, 499u}) {
    ASSERT_TRUE(table.Read(id, row));
    EXPECT_EQ(row.Text(0), Format(DT("row %u"), id));
    EXPECT_EQ(row.Text(1), DT("abc"));
  }
  table.Truncate(9);
  EXPECT_EQ(table.Count(), 9u);
  EXPECT_FALSE(table.Read(9, row));
  ASSERT_TRUE(table.Read(8, row));
  EXPECT_EQ(row.Text(0), DT("x"));
  ASSERT_TRUE(table.Append(9, smaller, 1, 4));
  ASSERT_TRUE(table.Read(9, row));
  EXPECT_EQ(row.Text(0), DT("x"));
  table.Clear();
  EXPECT_EQ(table.Count(), 0u);
  EXPECT_EQ(table.MemoryBytes(), 0u);
}

TEST(CellTableTest, TheCellLimitFailsAnAppendWithoutChangingTheTable) {
  CCellTable table;
  table.SetCellLimitForTest(5);
  const CellInput cells[] = {{DT("a"), false, false}, {DT("b"), false, false}, {DT("c"), false, false}};
  EXPECT_TRUE(table.Append(0, cells, 3, 1));
  EXPECT_FALSE(table.Append(1, cells, 3, 1));
  EXPECT_EQ(table.Count(), 1u);
  CRowCells row;
  EXPECT_FALSE(table.Read(1, row));
}

TEST(RowHeightsTest, SumsAndOffsetsAgreeWithAPlainListOfHeights) {
  CRowHeights heights;
  heights.SetShared(20);
  constexpr int32_t kRows = 20000;
  heights.Resize(kRows, 20);
  std::vector<uint32_t> plain(kRows, 20);
  std::mt19937 random(7);
  for (int i = 0; i < 300; ++i) {
    const auto row = static_cast<int32_t>(random() % kRows);
    const uint32_t height = random() % 4 == 0 ? 0 : 5 + random() % 40;
    heights.Set(row, height);
    plain[static_cast<size_t>(row)] = height;
  }
  heights.Insert(100, 33);
  plain.insert(plain.begin() + 100, 33);
  heights.Erase(5000);
  plain.erase(plain.begin() + 5000);
  ASSERT_EQ(heights.Rows(), static_cast<int32_t>(plain.size()));
  const auto rows = static_cast<int32_t>(plain.size());
  for (int i = 0; i < 200; ++i) {
    auto first = static_cast<int32_t>(random() % rows);
    auto end = static_cast<int32_t>(random() % (rows + 1));
    if (first > end) std::swap(first, end);
    int64_t sum = 0;
    for (int32_t r = first; r < end; ++r) sum += plain[static_cast<size_t>(r)];
    ASSERT_EQ(heights.Sum(first, end), sum) << first << ".." << end;
    const int64_t offset = sum ? static_cast<int64_t>(random() % static_cast<uint64_t>(sum)) : 0;
    int32_t expected = first;
    int64_t top = 0;
    while (expected < end && top + plain[static_cast<size_t>(expected)] <= offset)
      top += plain[static_cast<size_t>(expected++)];
    ASSERT_EQ(heights.RowAt(first, end, offset), expected) << first << ".." << end << " at " << offset;
  }
  EXPECT_EQ(heights.Get(100), 33u);
  heights.SetAll(12);
  EXPECT_EQ(heights.Sum(0, rows), 12LL * rows);

  // Rows nobody gave a height follow the shared one, at no cost per row.
  CRowHeights shared;
  shared.SetShared(20);
  shared.Resize(1000000, 20);
  shared.SetShared(25);
  EXPECT_EQ(shared.Get(999999), 25u);
  EXPECT_EQ(shared.Sum(0, 1000000), 25LL * 1000000);
  EXPECT_EQ(shared.RowAt(0, 1000000, 25LL * 500000 + 3), 500000);
}

TEST(CellSelectionTest, BlocksHoldExactlyTheCellsAddedAndNotRemoved) {
  CCellSelection selection;
  std::set<std::pair<int32_t, int32_t>> plain;
  std::mt19937 random(11);
  auto apply = [&](bool add) {
    int32_t r1 = static_cast<int32_t>(random() % 30), r2 = static_cast<int32_t>(random() % 30);
    int32_t c1 = static_cast<int32_t>(random() % 10), c2 = static_cast<int32_t>(random() % 10);
    const CellRange range(std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2));
    if (add)
      selection.Add(range);
    else
      selection.Remove(range);
    for (int32_t r = range.minRow; r <= range.maxRow; ++r)
      for (int32_t c = range.minCol; c <= range.maxCol; ++c)
        add ? (void)plain.insert({r, c}) : (void)plain.erase({r, c});
  };
  for (int i = 0; i < 60; ++i) {
    apply(random() % 3 != 0);
    ASSERT_EQ(selection.Count(), static_cast<int64_t>(plain.size()));
    for (int32_t r = 0; r < 31; ++r)
      for (int32_t c = 0; c < 11; ++c) ASSERT_EQ(selection.Contains(r, c), plain.count({r, c}) == 1) << r << "," << c;
  }
  selection.Clip(10, 5);
  for (const CellRange& block : selection.Blocks()) {
    EXPECT_LT(block.maxRow, 10);
    EXPECT_LT(block.maxCol, 5);
  }
  // Every cell of a huge result is one block.
  selection.Clear();
  selection.Add(CellRange(1, 1, 2000000000, 60));
  EXPECT_EQ(selection.Blocks().size(), 1u);
  EXPECT_EQ(selection.Count(), 2000000000LL * 60);
}

// A store filled as the fill does it keeps no cell objects, takes at most a
// few bytes per cell beyond the texts, and makes an object only for a cell
// that is asked for, styled or edited; each keeps what the data said.
TEST(CompactStoreTest, CellsAreDataUntilAnObjectIsAskedFor) {
  constexpr int32_t kRows = 50000;
  constexpr int32_t kCols = 6;
  CGridStore store;
  store.BeginFill();
  ASSERT_TRUE(store.SetColumnCount(kCols));
  ASSERT_TRUE(store.SetFixedRowCount(1));
  ASSERT_TRUE(store.SetRowCount(kRows + 1));
  TString texts[kCols];
  bool nulls[kCols] = {false, false, true, false, false, false};
  uint64_t chars = 0;
  for (int32_t r = 1; r <= kRows; ++r) {
    for (int32_t c = 0; c < kCols; ++c) {
      texts[c] = c == 2 ? TString() : c == 3 ? TString() : Format(DT("%d-%d"), r, c);
      chars += texts[c].size();
    }
    ASSERT_TRUE(store.SetRowTexts(r, 0, texts, kCols, nulls));
  }
  store.PublishRows(kRows + 1);
  store.EndFill();
  EXPECT_EQ(store.GetCellObjectCount(), 0u);
  const double perCell =
      (static_cast<double>(store.GetMemoryBytes()) - static_cast<double>(chars * sizeof(TChar))) / (kRows * kCols);
  EXPECT_LE(perCell, 8.0);

  EXPECT_TRUE(store.IsCellNull(7, 2));
  EXPECT_FALSE(store.IsCellNull(7, 3));  // empty, not NULL
  EXPECT_EQ(store.GetCellText(7, 2), DT(""));
  CGridRowTexts row;
  ASSERT_TRUE(store.ReadRow(kRows, row));
  EXPECT_EQ(row.Text(5), Format(DT("%d-5"), kRows));
  EXPECT_TRUE(row.IsNull(2));
  EXPECT_FALSE(store.ReadRow(kRows + 1, row));

  // Reading and drawing lend objects; nothing stays.
  const CGridCellBase* peek = store.PeekCell(10, 1);
  ASSERT_NE(peek, nullptr);
  EXPECT_EQ(peek->GetText(), DT("10-1"));
  EXPECT_EQ(store.GetCellObjectCount(), 0u);
  EXPECT_EQ(store.FindCell(10, 1), nullptr);

  // Styling keeps an object; its text is still the cell's.
  ASSERT_TRUE(store.SetCellBkColour(20, 4, 0x00FF00));
  EXPECT_EQ(store.GetCellObjectCount(), 1u);
  EXPECT_EQ(store.GetCellBkColour(20, 4), 0x00FF00u);
  EXPECT_EQ(store.GetCellText(20, 4), DT("20-4"));
  ASSERT_TRUE(store.SetCellText(20, 4, DT("edited")));
  EXPECT_EQ(store.GetCell(20, 4)->GetText(), DT("edited"));
  EXPECT_EQ(store.GetCellText(20, 4), DT("edited"));

  // GetCell makes an object on demand from the data, once.
  CGridCellBase* cell = store.GetCell(30, 5);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->GetText(), DT("30-5"));
  EXPECT_EQ(store.GetCell(30, 5), cell);
  EXPECT_EQ(store.GetCellObjectCount(), 2u);
  // An edit without an object stays data, and is marked modified (the
  // fill's texts count as written until the marks are cleared).
  EXPECT_TRUE(store.GetModified(41, 1));
  store.SetModified(false);
  ASSERT_TRUE(store.SetCellText(40, 1, DT("new text, longer than the old one")));
  EXPECT_EQ(store.GetCellObjectCount(), 2u);
  EXPECT_EQ(store.GetCellText(40, 1), DT("new text, longer than the old one"));
  EXPECT_TRUE(store.GetModified(40, 1));
  EXPECT_FALSE(store.GetModified(41, 1));
  EXPECT_EQ(store.GetCellText(41, 1), DT("41-1"));

  // A sort moves objects with their rows.
  ASSERT_TRUE(store.SortTextItems(4, false));
  bool found = false;
  for (int32_t r = 1; r <= kRows && !found; ++r)
    if (store.GetCellText(r, 4) == DT("edited")) {
      found = true;
      EXPECT_EQ(store.GetCellBkColour(r, 4), 0x00FF00u);
      EXPECT_EQ(store.GetCellText(r, 0), DT("20-0"));
    }
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace dossel
