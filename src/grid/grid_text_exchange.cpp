#include "grid/grid_text_exchange.h"

#include <algorithm>

namespace dossel {

namespace {

bool IsBlank(TChar c) {
  return c == DT(' ') || c == DT('\t') || c == DT('\r') || c == DT('\n') || c == DT('\v') || c == DT('\f');
}

TString Trimmed(TStringView text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return TString(text.substr(first, last - first));
}

}  // namespace

TString BuildSelectionText(const CGridStore& store, const CellRange& range) {
  TString text;
  if (!store.IsValid(range)) return text;
  bool firstRow = true;
  for (int32_t row = range.minRow; row <= range.maxRow; ++row) {
    if (store.GetRowHeight(row) <= 0) continue;
    if (!firstRow) text += DT("\r\n");
    firstRow = false;
    bool firstCol = true;
    for (int32_t col = range.minCol; col <= range.maxCol; ++col) {
      if (store.GetColumnWidth(col) <= 0) continue;
      // Separators only between shown fields: one after the last shown
      // column would paste an empty field over the next column's cell.
      if (!firstCol) text += DT('\t');
      firstCol = false;
      if (store.IsCellSelected(row, col)) text += store.GetCellText(row, col);
    }
  }
  // A paste drops one closing line end, so an empty last line needs one.
  if (!text.empty() && text.back() == DT('\n')) text += DT("\r\n");
  return text;
}

std::vector<std::vector<TString>> SplitPastedText(TStringView text, bool bTabsOnly) {
  const size_t zero = text.find(TChar(0));
  if (zero != TStringView::npos) text = text.substr(0, zero);
  // A closing line end (as spreadsheets leave) would otherwise paste an
  // empty field over the next row.
  if (!text.empty() && text.back() == DT('\n')) text.remove_suffix(1);
  std::vector<std::vector<TString>> lines;
  const TStringView separators = bTabsOnly ? TStringView(DT("\t")) : TStringView(DT("\t,"));
  size_t start = 0;
  while (true) {
    const size_t end = std::min(text.find(DT('\n'), start), text.size());
    const TStringView line = text.substr(start, end - start);
    std::vector<TString>& fields = lines.emplace_back();
    size_t from = 0;
    while (true) {
      const size_t to = std::min(line.find_first_of(separators, from), line.size());
      fields.push_back(Trimmed(line.substr(from, to - from)));
      if (to >= line.size()) break;
      from = to + 1;
    }
    if (end >= text.size()) break;
    start = end + 1;
  }
  return lines;
}

CellRange PlacePastedFields(const CGridStore& store, CellId cell, const std::vector<std::vector<TString>>& lines,
                            const std::function<void(int32_t, int32_t, const TString&)>& put) {
  CellRange placed(cell.row, cell.col, -1, -1);
  const int32_t rows = store.GetRowCount(), cols = store.GetColumnCount();
  int32_t row = cell.row;
  for (const std::vector<TString>& fields : lines) {
    while (row < rows && store.GetRowHeight(row) == 0) ++row;
    if (row >= rows) break;
    int32_t col = cell.col;
    for (const TString& field : fields) {
      while (col < cols && store.GetColumnWidth(col) == 0) ++col;
      if (col >= cols) break;
      put(row, col, field);
      placed.maxRow = std::max(placed.maxRow, row);
      placed.maxCol = std::max(placed.maxCol, col);
      ++col;
    }
    ++row;
  }
  return placed;
}

TString SavedGridLine(const CGridStore& store, int32_t row, TChar separator) {
  TString line;
  for (int32_t col = 0; col < store.GetColumnCount(); ++col) {
    if (col > 0) line += separator;
    line += store.GetCellText(row, col);
  }
  return line;
}

std::vector<TString> SplitSavedLine(TStringView line, TChar separator) {
  std::vector<TString> fields;
  size_t from = 0;
  while (true) {
    const size_t to = std::min(line.find(separator, from), line.size());
    fields.emplace_back(line.substr(from, to - from));
    if (to >= line.size()) break;
    from = to + 1;
  }
  return fields;
}

}  // namespace dossel
