#pragma once
// GridExportSource: the results grid seen as an IExportSource. It reads the
// grid's store a row at a time, in place (no copy), and holds only a
// reference to the grid, which must outlive it. UI thread only, like every
// read of the grid's cells while drawing is on.

#include "grid/grid_store.h"
#include "grid/wx/grid_ctrl.h"
#include "result/export_source.h"

namespace dossel {

class GridExportSource : public IExportSource {
 public:
  explicit GridExportSource(const CGridCtrl& grid) : m_grid(grid) {}

  int32_t GetRowCount() const override { return m_grid.GetRowCount(); }
  int32_t GetColumnCount() const override { return m_grid.GetColumnCount(); }
  TStringView GetCellText(int32_t row, int32_t col) const override;
  bool IsCellSelected(int32_t row, int32_t col) const override;
  ExportRange GetSelectedRange() const override;
  bool IsValidRange(const ExportRange& range) const override;

 private:
  const CGridCtrl& m_grid;
  // The row read last: an export reads a row's cells one after another.
  mutable CGridRowTexts m_row;
};

}  // namespace dossel
