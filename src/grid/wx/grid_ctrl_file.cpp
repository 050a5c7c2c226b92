// CGridCtrl: saving the grid as delimited text and loading it back. Every
// row, fixed rows included, is one line of cell texts joined by the
// separator, written as UTF-8; nothing is quoted (grid_saved_file.h reads
// it). The saved file replaces the old one only once it is whole. UI thread.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "grid/grid_saved_file.h"
#include "grid/wx/grid_ctrl.h"
#include "platform/file_writer.h"
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

}  // namespace

bool CGridCtrl::SaveToFile(const TString& fileName, TChar separator) {
  if (m_bHandheld) return false;
  // Replaced as a whole: a failure part way leaves the file as it was.
  CReplacingFile file;
  if (!file.Open(ToUtf8(fileName))) {
    ReportOpenError(fileName, file.Error());
    return false;
  }
  // Written by length: a cell may hold a zero byte.
  for (int32_t row = 0; row < GetRowCount() && !file.Failed(); ++row)
    file.Append(SavedGridFileLine(m_store, row, separator));
  const bool ok = file.Commit();
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
  const bool ok = LoadSavedGrid(m_store, file.get(), separator, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  AfterStructureChange();
  Checked(true);
  AutoSizeColumns(m_nAutoSizeColumnStyle);
  if (!ok) ShowMessageBox(DT("Unable to load grid data"), DT("Dossel"), kMbOk | kMbIconError);
  return ok;
}

}  // namespace dossel
