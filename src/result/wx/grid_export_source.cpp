#include "result/wx/grid_export_source.h"

namespace dossel {

TStringView GridExportSource::GetCellText(int32_t row, int32_t col) const {
  const CGridCellBase* cell = m_grid.GetCell(row, col);
  return cell ? cell->GetText() : TStringView();
}

bool GridExportSource::IsCellSelected(int32_t row, int32_t col) const {
  const CGridCellBase* cell = m_grid.GetCell(row, col);
  return cell && (cell->GetState() & GVIS_SELECTED) != 0;
}

ExportRange GridExportSource::GetSelectedRange() const {
  const CellRange range = m_grid.GetSelectedRange();
  return {range.minRow, range.minCol, range.maxRow, range.maxCol};
}

bool GridExportSource::IsValidRange(const ExportRange& range) const {
  return m_grid.IsValid(CellRange(range.minRow, range.minCol, range.maxRow, range.maxCol));
}

}  // namespace dossel
