#include "result/export_to_file.h"

#include "platform/format.h"
#include "platform/user_interface.h"

namespace dossel {

namespace {

void ReportFileError(TStringView path, FileErrorCause cause) {
  ShowMessageBox(FileErrorMessage(path, cause), DT("Dossel"), kMbOk | kMbIconError);
}

}  // namespace

TString FileErrorMessage(TStringView path, FileErrorCause cause) {
  return Format(DT("File %s "), path) + TString(FileErrorText(cause));
}

int ExportToFile(TStringView path, const IExportSource& source, const ExportOptions& options,
                 const ExportTrace& trace) {
  // Decided before the file is touched: the file the user named, which may
  // hold an earlier export, stays as it is.
  if (options.selectionOnly && !source.IsValidRange(source.GetSelectedRange())) {
    ShowMessageBox(kNoSelectionText, DT("Dossel"), kMbOk | kMbIconInformation);
    return 0;
  }
  ExportFile file;
  if (!file.Open(path)) {
    ReportFileError(path, file.Cause());
    return 0;
  }
  if (trace) trace(options.selectionOnly ? DT("Exporting selection ...\r\n") : DT("Exporting results ...\r\n"));
  const ExportStatus status = WriteExport(file, source, options);
  const bool closed = file.Close();
  if (status != ExportStatus::Written || !closed) {
    ReportFileError(path, file.Cause());
    return 0;
  }
  return 1;
}

}  // namespace dossel
