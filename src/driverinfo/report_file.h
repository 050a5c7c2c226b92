#pragma once
// Saving the driver-information report: the default file name and the write
// of the report text to a file, telling the user through IUserInterface
// when the file cannot be written. UI thread (it may show a message box).

#include "platform/text.h"
#include "result/export_file.h"

namespace dossel::driverinfo {

// The Save dialog's default name: the driver's name cut before its first ".".
TString DefaultReportName(const TString& driverName);

// The message shown when `path` cannot be written: "File Path Name: <path> "
// and the description of the file error.
TString ReportFileErrorText(TStringView path, FileErrorCause cause);

// Creates or truncates `path` and writes `report`; false, after a message
// box, when the file cannot be created or written.
bool SaveReportFile(TStringView path, const TString& report);

}  // namespace dossel::driverinfo
