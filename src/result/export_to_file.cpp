#include "result/export_to_file.h"

#include <unistd.h>

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
  ExportFile file;
  if (!file.Open(path)) {
    ReportFileError(path, file.Cause());
    return 0;
  }
  if (trace) trace(options.selectionOnly ? DT("Exporting selection ...\r\n") : DT("Exporting results ...\r\n"));
  const ExportStatus status = WriteExport(file, source, options);
  const bool closed = file.Close();
  if (status == ExportStatus::NoSelection) {
    // Only an ordinary file is removed: a device the user named stays.
    if (file.IsRegularFile()) ::unlink(ToUtf8(path).c_str());
    return 0;
  }
  if (status == ExportStatus::WriteFailed || !closed) {
    ReportFileError(path, file.Cause());
    return 0;
  }
  return 1;
}

}  // namespace dossel
