#include "result/wx/export_results.h"

#include "grid/wx/grid_ctrl.h"
#include "result/wx/export_dlg.h"
#include "result/wx/grid_export_source.h"

namespace dossel {

int ExportResults(wxWindow* parent, CGridCtrl& grid, bool selectionOnly, const ExportTrace& trace) {
  CExportDlg dlg(parent, selectionOnly);
  if (dlg.ShowModal() != wxID_OK) return 0;
  // A fill that began while the dialog was open owns the cells until it ends.
  if (grid.IsFilling()) return 0;
  const GridExportSource source(grid);
  return ExportToFile(dlg.GetExportPath(), source, dlg.GetOptions(), trace);
}

}  // namespace dossel
