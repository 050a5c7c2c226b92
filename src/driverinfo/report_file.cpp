#include "driverinfo/report_file.h"

#include "platform/format.h"
#include "platform/user_interface.h"

namespace dossel::driverinfo {

TString DefaultReportName(const TString& driverName) {
  const size_t dot = driverName.find(DT('.'));
  return dot == TString::npos ? driverName : driverName.substr(0, dot);
}

TString ReportFileErrorText(TStringView path, FileErrorCause cause) {
  return Format(DT("File Path Name: <%s> "), path) + TString(FileErrorText(cause));
}

bool SaveReportFile(TStringView path, const TString& report) {
  ExportFile file;
  if (file.Open(path)) {
    file.AppendText(report);
    if (file.Close()) return true;
  }
  ShowMessageBox(ReportFileErrorText(path, file.Cause()), DT("Dossel"), kMbOk | kMbIconError);
  return false;
}

}  // namespace dossel::driverinfo
