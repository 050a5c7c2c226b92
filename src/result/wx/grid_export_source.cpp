#include "result/wx/grid_export_source.h"

namespace dossel {

TStringView GridExportSource::GetCellText(int32_t row, int32_t col) const {
  if (!m_grid.IsValid(row, col)) return TStringView();
  if (m_row.Row() != row && !m_grid.GetStore().ReadRow(row, m_row)) return TStringView();
  return m_row.Text(col);
}

bool GridExportSource::IsCellSelected(int32_t row, int32_t col) const {
  return m_grid.IsValid(row, col) && m_grid.GetStore().IsCellSelected(row, col);
}

ExportRange GridExportSource::GetSelectedRange() const {
  const CellRange range = m_grid.GetSelectedRange();
  return {range.minRow, range.minCol, range.maxRow, range.maxCol};
}

bool GridExportSource::IsValidRange(const ExportRange& range) const {
  return m_grid.IsValid(CellRange(range.minRow, range.minCol, range.maxRow, range.maxCol));
}

}  // namespace dossel
