// Measuring through the grid's text cache gives what the window system
// gives: text by text in several fonts, and row heights and column widths
// after sizing to contents, compared with measuring every cell exactly.

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/frame.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "grid/wx/grid_text_measure.h"
#include "grid_window_fixture.h"
#include "platform/wx/wx_text.h"

namespace dossel {
namespace {

TString Text(const char* utf8) { return FromUtf8(utf8); }

// Texts the cache answers: alphabetic scripts with kerning pairs and
// ligatures, spaces, accents, Greek, Cyrillic, ideographs, kana, hangul.
const char* const kSummedTexts[] = {"a",
                                    "AV",
                                    "To",
                                    "Wa",
                                    "fi",
                                    "ffi",
                                    "ffl",
                                    "office",
                                    "Hello, World",
                                    "  spaced  ",
                                    "1234567890.50",
                                    "name 0001234",
                                    "AVATAR WAVE Type",
                                    "iiiiilllll",
                                    "MMMMWWWW",
                                    "é",
                                    "Café crème",
                                    "Ærøskøbing",
                                    "Łódź",
                                    "naïve façade",
                                    "ÀÉÎÕÜ",
                                    "Ελληνικά",
                                    "Привет мир",
                                    "中",
                                    "中文",
                                    "日本語テキスト",
                                    "한국어",

                                    "ｆｕｌｌ",

                                    "€ 12,50 ±3",
                                    "«quoted» — “this”"};

// Texts of two scripts whose characters may come from different fonts:
// summed only where the cache can promise the exact size.
const char* const kMixedTexts[] = {"x中y", "混合 mixed 文字", "abc 한국어", "Ω中"};

// Texts measured exactly: line breaks, tabs, nothing, combining marks,
// characters outside the basic plane, scripts shaped in context.
const char* const kExactTexts[] = {"a\tb",
                                   "\t",
                                   "a\nb",
                                   "line1\r\nline2",
                                   "\n",
                                   "",
                                   "e\xcc\x81",
                                   "\xf0\x9f\x98\x80",
                                   "\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7"};

std::vector<GridLogFont> Fonts() {
  std::vector<GridLogFont> fonts;
  fonts.push_back(GetMessageLogFont());
  GridLogFont bold;
  bold.lfHeight = -20;
  bold.lfWeight = 700;
  fonts.push_back(bold);
  GridLogFont italic;
  italic.lfHeight = -11;
  italic.lfItalic = 1;
  fonts.push_back(italic);
  const char* faces[] = {"DejaVu Serif", "DejaVu Sans Mono"};
  for (const char* face : faces) {
    GridLogFont lf;
    lf.lfHeight = -15;
    const TString name = Text(face);
    lf.lfFaceName = name;
    fonts.push_back(lf);
  }
  return fonts;
}

class GridMeasureTest : public GridWindowFixture {
 protected:
  static wxSize Exact(wxDC& dc, const GridLogFont& lf, TStringView text) {
    dc.SetFont(ToWxFont(lf));
    return dc.GetTextExtent(ToWx(text));
  }
  // What the grid measured before it had a cache: every cell exactly.
  int32_t ExactColumnWidth(int32_t col, int32_t first, int32_t last, bool skipHidden) {
    wxClientDC dc(grid);
    int32_t width = 0;
    for (int32_t row = first; row <= last; ++row)
      if (!skipHidden || grid->GetRowHeight(row) > 0)
        width = std::max(width, grid->GetCellExtent(*grid->GetCell(row, col), &dc).cx);
    return width;
  }
  int32_t ExactRowHeight(int32_t row, bool skipHidden) {
    wxClientDC dc(grid);
    int32_t height = skipHidden ? 1 : 0;
    for (int32_t col = 0; col < grid->GetColumnCount(); ++col)
      if (!skipHidden || grid->GetColumnWidth(col) > 0)
        height = std::max(height, grid->GetCellExtent(*grid->GetCell(row, col), &dc).cy);
    return height;
  }
  // Texts of every kind, cells with their own fonts, margins and formats.
  void FillVaried() {
    const int32_t summed = static_cast<int32_t>(std::size(kSummedTexts));
    const int32_t exact = static_cast<int32_t>(std::size(kExactTexts));
    grid->SetRowCount(summed + 1);
    grid->SetColumnCount(5);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    const std::vector<GridLogFont> fonts = Fonts();
    for (int32_t r = 0; r <= summed; ++r) {
      grid->SetCellTextF(r, 0, DT("%d"), r);
      grid->SetCellText(r, 1, Text(kSummedTexts[(r + summed - 1) % summed]));
      grid->SetCellText(r, 2, Text(kSummedTexts[(r * 7) % summed]));
      grid->SetCellFont(r, 2, &fonts[static_cast<size_t>(r) % fonts.size()]);
      grid->SetCellText(r, 3, Text(r % 3 ? kSummedTexts[(r * 5) % summed] : kExactTexts[r % exact]));
      grid->SetCellFormat(r, 3, r % 2 ? DT_WORDBREAK | DT_LEFT : DT_SINGLELINE | DT_END_ELLIPSIS);
      grid->SetCellText(r, 4, Text(r % 5 ? kSummedTexts[(r * 11) % summed] : kMixedTexts[r % 4]));
      if (r % 4 == 0) grid->GetCell(r, 4)->SetMargin(static_cast<uint32_t>(r % 9));
    }
    grid->SetCellText(0, 1, Text("a header wider than every text of the column"));
  }
  void ExpectSizedLikeExact(bool skipHidden) {
    for (int32_t col = 0; col < grid->GetColumnCount(); ++col) {
      if (grid->GetColumnWidth(col) <= 0) continue;
      EXPECT_EQ(grid->GetColumnWidth(col), ExactColumnWidth(col, 0, grid->GetRowCount() - 1, skipHidden))
          << "column " << col;
    }
    for (int32_t row = 0; row < grid->GetRowCount(); ++row) {
      if (grid->GetRowHeight(row) <= 0) continue;
      EXPECT_EQ(grid->GetRowHeight(row), ExactRowHeight(row, skipHidden)) << "row " << row;
    }
  }
};

TEST_F(GridMeasureTest, SummedTextsMeasureAsTheWindowSystemDoes) {
  GridTextMeasure measure;
  wxClientDC dc(grid);
  for (const GridLogFont& lf : Fonts()) {
    for (int pass = 0; pass < 2; ++pass) {  // learning, then from the cache
      for (const char* utf8 : kSummedTexts) {
        const TString text = Text(utf8);
        dc.SetFont(*wxNORMAL_FONT);
        GridSize size;
        ASSERT_TRUE(measure.TextSize(dc, lf, text, &size)) << utf8;
        EXPECT_EQ(dc.GetFont(), *wxNORMAL_FONT);  // the context's font stays
        const wxSize exact = Exact(dc, lf, text);
        EXPECT_EQ(size.cx, exact.GetWidth()) << utf8 << " in " << lf.lfHeight;
        EXPECT_EQ(size.cy, exact.GetHeight()) << utf8 << " in " << lf.lfHeight;
      }
    }
    for (const char* utf8 : kMixedTexts) {
      const TString text = Text(utf8);
      GridSize size;
      if (!measure.TextSize(dc, lf, text, &size)) continue;
      const wxSize exact = Exact(dc, lf, text);
      EXPECT_EQ(size.cx, exact.GetWidth()) << utf8 << " in " << lf.lfHeight;
      EXPECT_EQ(size.cy, exact.GetHeight()) << utf8 << " in " << lf.lfHeight;
    }
    for (const char* utf8 : kExactTexts) {
      GridSize size;
      EXPECT_FALSE(measure.TextSize(dc, lf, Text(utf8), &size)) << utf8;
    }
  }
}

TEST_F(GridMeasureTest, RandomLatinTextsMeasureAsTheWindowSystemDoes) {
  std::vector<std::string> alphabet;
  for (char c : std::string("abcdefghijklmnopqrstuvwxyzAVWTYLPFfilrtyo0123456789 .,-'\"/:;()"))
    alphabet.emplace_back(1, c);
  for (const char* c : {"é", "è", "à", "ç", "ñ", "ö", "ü", "ß", "Æ", "Ł", "Œ", "€", "–"}) alphabet.emplace_back(c);
  std::mt19937 random(12345);
  GridTextMeasure measure;
  wxClientDC dc(grid);
  for (const GridLogFont& lf : Fonts()) {
    for (int i = 0; i < 300; ++i) {
      std::string utf8;
      for (size_t n = 1 + random() % 24; n > 0; --n) utf8 += alphabet[random() % alphabet.size()];
      const TString text = FromUtf8(utf8);
      GridSize size;
      ASSERT_TRUE(measure.TextSize(dc, lf, text, &size));
      const wxSize exact = Exact(dc, lf, text);
      EXPECT_EQ(size.cx, exact.GetWidth()) << ToUtf8(text);
      EXPECT_EQ(size.cy, exact.GetHeight()) << ToUtf8(text);
    }
  }
}

TEST_F(GridMeasureTest, AutoSizeGivesTheSizesOfExactMeasuring) {
  FillVaried();
  grid->SetRowHeight(5, 0);
  grid->SetColumnWidth(3, 0);
  grid->AutoSize();
  EXPECT_EQ(grid->GetRowHeight(5), 0);
  EXPECT_EQ(grid->GetColumnWidth(3), 0);
  ExpectSizedLikeExact(true);

  grid->SetColumnWidth(3, 10);
  grid->AutoSize();
  ExpectSizedLikeExact(true);
}

TEST_F(GridMeasureTest, AutoSizeColumnsAndRowsGiveTheSizesOfExactMeasuring) {
  FillVaried();
  grid->SetRowHeight(5, 0);
  grid->AutoSizeColumns(GVS_BOTH);
  grid->AutoSizeRows();
  EXPECT_EQ(grid->GetRowHeight(5), 0);
  ExpectSizedLikeExact(false);  // one column or row at a time measures hidden ones too

  grid->AutoSizeColumn(2, GVS_DATA);
  EXPECT_EQ(grid->GetColumnWidth(2), ExactColumnWidth(2, 1, grid->GetRowCount() - 1, false));
  grid->AutoSizeColumn(1, GVS_HEADER);
  EXPECT_EQ(grid->GetColumnWidth(1), ExactColumnWidth(1, 0, 0, false));
}

TEST_F(GridMeasureTest, AGridFontChangeIsMeasuredInTheNewFont) {
  FillVaried();
  grid->AutoSize();
  const int32_t before = grid->GetColumnWidth(4);
  GridLogFont big;
  big.lfHeight = -26;
  grid->SetGridFont(big);
  grid->AutoSize();
  EXPECT_GT(grid->GetColumnWidth(4), before);
  ExpectSizedLikeExact(true);
}

}  // namespace
}  // namespace dossel
