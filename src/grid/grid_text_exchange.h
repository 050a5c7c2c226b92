#pragma once
// The texts the grid exchanges with the clipboard and with files: the
// selection as tab-separated lines, pasted text split into fields and
// placed into cells, and the lines of a saved grid. No wx; the caller's
// thread, as for the store it reads.

#include <functional>
#include <vector>

#include "grid/grid_store.h"

namespace dossel {

// The cells of range as lines of tab-separated fields: a selected cell
// gives its text, any other cell an empty field; rows of height 0 and
// columns of width 0 are left out; lines are joined by "\r\n", and an empty
// last line is closed by one more (SplitPastedText drops one).
TString BuildSelectionText(const CGridStore& store, const CellRange& range);

// Pasted text as lines of fields: lines end at "\n", fields at a tab or,
// unless bTabsOnly, a comma; every field is trimmed of white space. The
// text ends at its first zero, and a line end at its very end starts no
// further (empty) line.
std::vector<std::vector<TString>> SplitPastedText(TStringView text, bool bTabsOnly);

// Places the fields from cell on: line n goes to the n-th shown row from
// cell's row, field m to the m-th shown column from cell's column (rows of
// height 0 and columns of width 0 are passed over); put(row, column, text)
// is called for every place inside the grid, the rest is dropped. Returns
// the range placed into (maxRow and maxCol -1 when nothing was).
CellRange PlacePastedFields(const CGridStore& store, CellId cell, const std::vector<std::vector<TString>>& lines,
                            const std::function<void(int32_t, int32_t, const TString&)>& put);

// A saved grid's line: every cell's text of the row, joined by separator.
TString SavedGridLine(const CGridStore& store, int32_t row, TChar separator);
// The fields of a saved line (without its line end): empty fields between
// separators count, an empty line is one empty field.
std::vector<TString> SplitSavedLine(TStringView line, TChar separator);

}  // namespace dossel
