// CGridCtrl: saving the grid as delimited text and loading it back. Every
// row, fixed rows included, is one line of cell texts joined by the
// separator, written as UTF-8; nothing is quoted. UI thread.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "grid/grid_ctrl.h"
#include "grid/grid_text_exchange.h"
#include "platform/user_interface.h"

namespace dossel {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void ReportOpenError(const TString& fileName, int error) {
  ShowMessageBox(Format(DT("%s\nThe file could not be opened: %s"), fileName, FromUtf8(std::strerror(error))),
                 DT("Dossel"), kMbOk | kMbIconError);
}

// One line without its line end (a "\r" before it goes too); false at the
// end of the file or on a read error.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  char buffer[1024];
  while (std::fgets(buffer, sizeof buffer, file)) {
    line += buffer;
    if (!line.empty() && line.back() == '\n') break;
  }
  if (line.empty()) return false;
  if (line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

bool CGridCtrl::SaveToFile(const TString& fileName, TChar separator) {
  if (m_bHandheld) return false;
  FilePtr file(std::fopen(ToUtf8(fileName).c_str(), "w"));
  if (!file) {
    ReportOpenError(fileName, errno);
    return false;
  }
  bool ok = true;
  for (int32_t row = 0; row < GetRowCount() && ok; ++row) {
    const std::string line = ToUtf8(SavedGridLine(m_store, row, separator)) + "\n";
    ok = std::fputs(line.c_str(), file.get()) >= 0;
  }
  ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) ShowMessageBox(DT("Unable to save grid list"), DT("Dossel"), kMbOk | kMbIconError);
  return ok;
}

bool CGridCtrl::LoadFromFile(const TString& fileName, TChar separator) {
  if (GetVirtualMode() || m_bFilling || m_bHandheld) return false;
  FilePtr file(std::fopen(ToUtf8(fileName).c_str(), "r"));
  if (!file) {
    ReportOpenError(fileName, errno);
    return false;
  }
  DeleteAllCells();
  // A line is read whole however long: pieces of one would become rows.
  std::string line;
  if (ReadLine(file.get(), line)) {
    for (const TString& heading : SplitSavedLine(FromUtf8(line), separator))
      InsertColumn(heading, DT_CENTER | DT_VCENTER | DT_SINGLELINE, -1);
    for (int32_t row = 1; ReadLine(file.get(), line); ++row) {
      const std::vector<TString> fields = SplitSavedLine(FromUtf8(line), separator);
      InsertRow(fields[0], -1);
      for (size_t col = 1; col < fields.size(); ++col) SetCellText(row, static_cast<int32_t>(col), fields[col]);
    }
  }
  const bool ok = !std::ferror(file.get());
  AutoSizeColumns(m_nAutoSizeColumnStyle);
  if (!ok) ShowMessageBox(DT("Unable to load grid data"), DT("Dossel"), kMbOk | kMbIconError);
  return ok;
}

}  // namespace dossel
