#pragma once
// IExportSource: what the export writer reads of a table of text cells. The
// writer never sees the grid class; the window side adapts the results grid
// to this interface and tests use a table of their own. Called only on the
// thread that owns the cells (the UI thread for the grid).

#include <cstdint>

#include "platform/text.h"

namespace dossel {

// An inclusive block of cells; all four -1 is the empty range.
struct ExportRange {
  int32_t minRow = -1;
  int32_t minCol = -1;
  int32_t maxRow = -1;
  int32_t maxCol = -1;
};

class IExportSource {
 public:
  virtual ~IExportSource() = default;
  virtual int32_t GetRowCount() const = 0;
  virtual int32_t GetColumnCount() const = 0;
  // The cell's text, empty for a missing cell. Valid until the next call.
  virtual TStringView GetCellText(int32_t row, int32_t col) const = 0;
  // True when the cell exists and is selected.
  virtual bool IsCellSelected(int32_t row, int32_t col) const = 0;
  // The smallest block holding every selected cell.
  virtual ExportRange GetSelectedRange() const = 0;
  virtual bool IsValidRange(const ExportRange& range) const = 0;
};

}  // namespace dossel
