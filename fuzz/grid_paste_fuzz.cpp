// The grid's pasted-text splitter over any text, plain (tabs and commas)
// and the grid's own (tabs only), and a copy of cells pasted back. Besides
// not faulting:
// - the text ends at its first zero and one closing line end is dropped;
//   there is one line per line end left, plus one, and one field per
//   separator on its line, plus one;
// - no field holds a separator, a line end or a zero, or starts or ends
//   with a blank, and nothing but blanks, separators and line ends is lost;
// - the fields joined by tabs, each line closed by "\r\n" (as a spreadsheet
//   copies them), split to the same fields again (plain text's fields in
//   either mode);
// - a grid's selection copied (BuildSelectionText) and pasted into another
//   grid with the same rows and columns hidden puts every copied field into
//   the cell it came from and touches no cell beyond the selection (when
//   any of its cells is shown).
// Built in both text widths: the UTF-16 target reads the input as
// little-endian code units (any units, unpaired surrogates too).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "grid/grid_text_exchange.h"

namespace {

using dossel::CellId;
using dossel::CellRange;
using dossel::CGridStore;
using dossel::TChar;
using dossel::TString;
using dossel::TStringView;
using Lines = std::vector<std::vector<TString>>;

// Bounds the grid of the copy check, so that a long text stays a quick run.
constexpr size_t kMaxCopyCells = 4096;
constexpr int32_t kShown = 20;

bool IsBlank(TChar c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool IsSeparator(TChar c, bool tabsOnly) { return c == '\t' || (!tabsOnly && c == ','); }

// What must survive the split: every character but blanks, separators and
// line ends, in order.
TString Kept(TStringView text, bool tabsOnly) {
  TString kept;
  for (const TChar c : text)
    if (!IsBlank(c) && !IsSeparator(c, tabsOnly)) kept += c;
  return kept;
}

TString Joined(const Lines& lines) {
  TString text;
  for (const std::vector<TString>& fields : lines) {
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) text += TChar('\t');
      text += fields[i];
    }
    text += TChar('\r');
    text += TChar('\n');
  }
  return text;
}

void CheckSplit(TStringView text, bool tabsOnly) {
  const Lines lines = dossel::SplitPastedText(text, tabsOnly);
  TStringView rest = text.substr(0, text.find(TChar(0)));
  if (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
  FUZZ_CHECK(lines.size() == static_cast<size_t>(std::count(rest.begin(), rest.end(), TChar('\n'))) + 1);

  TString keptFields;
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t end = std::min(rest.find(TChar('\n')), rest.size());
    const TStringView line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const auto separators = std::count_if(line.begin(), line.end(), [&](TChar c) { return IsSeparator(c, tabsOnly); });
    FUZZ_CHECK(lines[i].size() == static_cast<size_t>(separators) + 1);
    for (const TString& field : lines[i]) {
      for (const TChar c : field) FUZZ_CHECK(c != 0 && c != '\n' && !IsSeparator(c, tabsOnly));
      FUZZ_CHECK(field.empty() || (!IsBlank(field.front()) && !IsBlank(field.back())));
      keptFields += field;
    }
  }
  FUZZ_CHECK(Kept(keptFields, tabsOnly) == Kept(text.substr(0, text.find(TChar(0))), tabsOnly));

  const TString joined = Joined(lines);
  FUZZ_CHECK(dossel::SplitPastedText(joined, true) == lines);
  if (!tabsOnly) FUZZ_CHECK(dossel::SplitPastedText(joined, false) == lines);
}

void Shape(CGridStore& store, int32_t rows, int32_t cols, unsigned hidden) {
  store.SetRowCount(rows);
  store.SetColumnCount(cols);
  for (int32_t row = 0; row < rows; ++row) store.SetRowHeight(row, (hidden >> (row % 8)) & 1 ? 0 : kShown);
  for (int32_t col = 0; col < cols; ++col) store.SetColumnWidth(col, (hidden >> (8 + col % 8)) & 1 ? 0 : kShown);
}

// The split lines as a grid's cells, copied and pasted at (0, 0) into a
// grid one row and one column bigger whose extra cells must stay as they
// were. hidden picks the rows and columns hidden in both grids.
void CheckCopyPaste(const Lines& lines, unsigned hidden) {
  size_t cols = 0;
  for (const std::vector<TString>& fields : lines) cols = std::max(cols, fields.size());
  if (lines.size() * cols > kMaxCopyCells) return;
  const int32_t nRows = static_cast<int32_t>(lines.size()), nCols = static_cast<int32_t>(cols);
  CGridStore from, to;
  Shape(from, nRows, nCols, hidden);
  Shape(to, nRows + 1, nCols + 1, hidden);
  // With no shown row or no shown column nothing is copied.
  bool rowShown = false, colShown = false;
  for (int32_t row = 0; row < nRows; ++row) rowShown = rowShown || from.GetRowHeight(row) > 0;
  for (int32_t col = 0; col < nCols; ++col) colShown = colShown || from.GetColumnWidth(col) > 0;
  if (!rowShown || !colShown) return;
  const TString untouched = DT("untouched");
  for (int32_t row = 0; row <= nRows; ++row)
    for (int32_t col = 0; col <= nCols; ++col) to.SetCellText(row, col, untouched);
  for (int32_t row = 0; row < nRows; ++row)
    for (size_t col = 0; col < lines[row].size(); ++col) {
      from.SetCellText(row, static_cast<int32_t>(col), lines[row][col]);
      from.SetCellState(row, static_cast<int32_t>(col), dossel::GVIS_SELECTED);
    }

  const TString copied = dossel::BuildSelectionText(from, CellRange(0, 0, nRows - 1, nCols - 1));
  dossel::PlacePastedFields(to, CellId(0, 0), dossel::SplitPastedText(copied, true),
                            [&](int32_t row, int32_t col, const TString& text) {
                              FUZZ_CHECK(row < nRows && col < nCols);
                              FUZZ_CHECK(to.GetRowHeight(row) > 0 && to.GetColumnWidth(col) > 0);
                              to.SetCellText(row, col, text);
                            });
  for (int32_t row = 0; row <= nRows; ++row)
    for (int32_t col = 0; col <= nCols; ++col) {
      const bool shown = row < nRows && col < nCols && from.GetRowHeight(row) > 0 && from.GetColumnWidth(col) > 0;
      FUZZ_CHECK(to.GetCellText(row, col) == (shown ? from.GetCellText(row, col) : untouched));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TString text;
  constexpr size_t kUnit = sizeof(TChar);
  for (size_t i = 0; i + kUnit <= size; i += kUnit) {
    uint32_t unit = 0;
    for (size_t b = 0; b < kUnit; ++b) unit |= static_cast<uint32_t>(data[i + b]) << (8 * b);
    text += static_cast<TChar>(unit);
  }
  CheckSplit(text, false);
  CheckSplit(text, true);
  const Lines lines = dossel::SplitPastedText(text, true);
  CheckCopyPaste(lines, static_cast<unsigned>(size * 2654435761u) >> 16);
  return 0;
}
