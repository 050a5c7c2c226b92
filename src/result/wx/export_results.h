#pragma once
// The result pane's two export commands: all rows ("Save As...") or the
// selected cells ("Save Selection...") of the results grid to a file chosen
// in CExportDlg. UI thread only.

#include "result/export_to_file.h"

class wxWindow;

namespace dossel {

class CGridCtrl;

// Runs the dialog and, on OK, writes the file. Returns 1 when a file was
// written, 0 on Cancel, on a file that cannot be opened or written (a message
// box tells the user), when there is no valid selection (the file is deleted)
// and while the grid is being filled (its cells belong to the store writer
// until the fill ends). `trace` gets "Exporting results ...\r\n" or
// "Exporting selection ...\r\n" when writing starts; pass the trace pane's append.
int ExportResults(wxWindow* parent, CGridCtrl& grid, bool selectionOnly, const ExportTrace& trace = {});

}  // namespace dossel
