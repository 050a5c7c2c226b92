// A saved grid file read into a store without a window: lines of any
// length and bytes, line ends, ragged rows, and what the writer's lines
// read back to.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "grid/grid_saved_file.h"

namespace dossel {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr FileWith(const std::string& bytes) {
  FilePtr file(std::tmpfile());
  std::fwrite(bytes.data(), 1, bytes.size(), file.get());
  std::rewind(file.get());
  return file;
}

std::vector<std::string> ReadLines(const std::string& bytes) {
  FilePtr file = FileWith(bytes);
  CSavedLineReader reader(file.get());
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

bool Load(CGridStore& store, const std::string& bytes, TChar separator = DT(',')) {
  FilePtr file = FileWith(bytes);
  return LoadSavedGrid(store, file.get(), separator, DT_CENTER);
}

TEST(GridSavedFileTest, LinesEndAtNewlinesWhateverTheyHold) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(ReadLines(""), Lines{});
  EXPECT_EQ(ReadLines("\n"), Lines{""});
  EXPECT_EQ(ReadLines("a\r\nb\rc\r\r\n\r"), (Lines{"a", "b\rc\r", ""}));
  // A zero byte is part of its line; it neither ends the line nor joins
  // the line to the next.
  EXPECT_EQ(ReadLines(std::string("a\0b\nc\n\0", 7)), (Lines{std::string("a\0b", 3), "c", std::string(1, '\0')}));
  // Lines longer than the reader's buffer, and a "\r" that ends one
  // buffer's worth with its "\n" in the next.
  const std::string longLine(40000, 'x'), beforeCr(16383, 'y');
  EXPECT_EQ(ReadLines(longLine + "\n" + beforeCr + "\r\nz"), (Lines{longLine, beforeCr, "z"}));
}

TEST(GridSavedFileTest, TheFirstLineNamesTheColumnsAndRowsKeepTheirFields) {
  CGridStore store;
  ASSERT_TRUE(Load(store, "h1,h2,h3\n1,2,3,4\nonly\n\n"));
  ASSERT_EQ(store.GetRowCount(), 4);
  ASSERT_EQ(store.GetColumnCount(), 3);
  EXPECT_EQ(store.GetCellText(0, 2), DT("h3"));
  EXPECT_EQ(store.GetCellFormat(0, 1), static_cast<uint32_t>(DT_CENTER));
  EXPECT_EQ(store.GetCellText(1, 2), DT("3"));
  EXPECT_EQ(store.GetCellText(2, 0), DT("only"));
  EXPECT_EQ(store.GetCellText(2, 1), DT(""));
  EXPECT_EQ(store.GetCellText(3, 0), DT(""));

  // An overlong UTF-8 form of "\n" is no line end in either text width.
  ASSERT_TRUE(Load(store, "h\n`\xED\xE0\x80\x8A\n"));
  ASSERT_EQ(store.GetRowCount(), 2);
  EXPECT_EQ(store.GetCellText(1, 0).find(TChar('\n')), TString::npos);

  ASSERT_TRUE(Load(store, ""));
  EXPECT_EQ(store.GetRowCount(), 0);
  EXPECT_EQ(store.GetColumnCount(), 0);
}

TEST(GridSavedFileTest, WhatTheWriterSavedLoadsBackToTheSameCells) {
  CGridStore saved;
  saved.SetRowCount(3);
  saved.SetColumnCount(3);
  const TString zero(1, TChar(0));
  const TString texts[3][3] = {{DT("id"), DT("name"), DT("note")},
                               {DT("1"), FromUtf8("Zo\xC3\xAB \xE6\x97\xA5"), DT("a") + zero + DT("b")},
                               {DT(""), DT("\"quoted\""), DT("")}};
  for (int32_t row = 0; row < 3; ++row)
    for (int32_t col = 0; col < 3; ++col) saved.SetCellText(row, col, texts[row][col]);
  std::string bytes;
  for (int32_t row = 0; row < 3; ++row) bytes += SavedGridFileLine(saved, row, DT(';'));
  EXPECT_EQ(bytes.substr(0, 13), "id;name;note\n");

  CGridStore loaded;
  ASSERT_TRUE(Load(loaded, bytes, DT(';')));
  ASSERT_EQ(loaded.GetRowCount(), 3);
  ASSERT_EQ(loaded.GetColumnCount(), 3);
  for (int32_t row = 0; row < 3; ++row)
    for (int32_t col = 0; col < 3; ++col) EXPECT_EQ(loaded.GetCellText(row, col), texts[row][col]) << row << col;
}

TEST(GridSavedFileTest, AFirstLineOfManyFieldsBecomesAsManyColumns) {
  // The columns are reserved before they are inserted one by one, so that
  // the heading row is not copied once per column (quadratic in the fields).
  constexpr int32_t kFields = 50000;
  CGridStore store;
  std::string text(kFields - 1, ',');
  text += "end\nx\n";
  ASSERT_TRUE(Load(store, text));
  ASSERT_EQ(store.GetColumnCount(), kFields);
  EXPECT_EQ(store.GetRowCount(), 2);
  EXPECT_EQ(store.GetCellText(0, kFields - 1), DT("end"));
  EXPECT_EQ(store.GetCellText(1, 0), DT("x"));
  EXPECT_EQ(store.GetCellText(1, kFields - 1), DT(""));
}

TEST(GridSavedFileTest, ReservedColumnsKeepTheCellsAndTakeInsertedOnes) {
  CGridStore store;
  store.SetRowCount(2);
  store.SetColumnCount(2);
  store.SetCellText(1, 1, DT("kept"));
  ASSERT_TRUE(store.ReserveColumns(6));
  EXPECT_EQ(store.GetColumnCount(), 2);
  for (int i = 0; i < 4; ++i) ASSERT_GE(store.InsertColumn(DT("new"), kDefaultCellFormat, 1), 0);
  EXPECT_EQ(store.GetColumnCount(), 6);
  EXPECT_EQ(store.GetCellText(1, 5), DT("kept"));
  EXPECT_EQ(store.GetCellText(0, 1), DT("new"));
  ASSERT_TRUE(store.SetCellText(1, 4, DT("set")));
  EXPECT_EQ(store.GetCellText(1, 4), DT("set"));
}

}  // namespace
}  // namespace dossel
