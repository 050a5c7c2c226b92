#pragma once
// The whole export of a table to one file, without windows: open, announce,
// write, close, and report a failure to the user through the installed
// user interface ("File <path> " followed by the file error text). Runs on
// the thread that owns the source (the UI thread in the program).

#include <functional>

#include "platform/text.h"
#include "result/export_source.h"
#include "result/export_writer.h"

namespace dossel {

// Receives the trace-pane line the export writes when writing starts
// ("Exporting results ...\r\n" or "Exporting selection ...\r\n"). The result
// library does not know the program's panes; the caller passes AppendTrace.
using ExportTrace = std::function<void(TStringView line)>;

// The message a selection export without a valid selection shows.
inline constexpr TStringView kNoSelectionText = DT("No cells are selected: nothing was saved.");

// Returns 1 when the file was written. 0 when it could not be opened (message
// shown, no trace line), when a selection export finds no valid selection
// (kNoSelectionText shown, no file opened, created or changed) or when a write
// or the close failed (message shown; a file already at the path keeps its
// old contents, and no new one is left behind).
int ExportToFile(TStringView path, const IExportSource& source, const ExportOptions& options, const ExportTrace& trace);

// The message shown for a file that failed for `cause`.
TString FileErrorMessage(TStringView path, FileErrorCause cause);

}  // namespace dossel
