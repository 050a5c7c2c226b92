// The result pane's Save As and Save Selection: export of the grid.

#include "app/pane_appender.h"
#include "grid/wx/grid_ctrl.h"
#include "result/wx/export_results.h"
#include "result/wx/result_view.h"

void CResultView::ExportResults(bool selectionOnly) {
  // In text format, and while a run writes the grid, there is nothing to export.
  if (!CanExport()) return;
  dossel::ExportResults(this, *m_pGrid, selectionOnly, [](dossel::TStringView line) { AppendTraceText(line); });
}
