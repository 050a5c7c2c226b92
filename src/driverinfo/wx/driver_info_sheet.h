#pragma once
// CMyPropertySheet: the modal "ODBC Driver Info" sheet: the eight pages in
// order, the "Cursor Library Not Loaded" note at the left of the button row,
// "&Save As..." (which writes the report and keeps the sheet open) and
// "&Close". It owns the snapshot the pages show, read through the caller's
// connection call (which runs its argument on the connection's thread and
// waits) when the sheet starts, and again for the functions and types when
// the report is saved. UI thread only.

#include <wx/button.h>
#include <wx/propdlg.h>
#include <wx/stattext.h>

#include <functional>
#include <vector>

#include "driverinfo/info_snapshot.h"
#include "driverinfo/wx/info_page.h"

namespace dossel::db {
class CDbConnection;
}

namespace dossel::driverinfo {

using ConnectionCall = std::function<void(const std::function<void(db::CDbConnection&)>&)>;

class CMyPropertySheet : public wxPropertySheetDialog {
 public:
  CMyPropertySheet(wxWindow* parent, ConnectionCall call);

  size_t GetPageCount() const { return m_pages.size(); }
  CInfoPage* GetInfoPage(size_t index) const { return m_pages.at(index); }
  wxButton* GetSaveAsButton() const { return m_saveAs; }
  wxButton* GetCloseButton() const { return m_close; }
  wxStaticText* GetCursorLibraryNote() const { return m_cursorLibrary; }
  const CInfoSnapshot& GetSnapshot() const { return m_snapshot; }

  // The report text as Save As writes it, after asking the driver again for
  // its functions and types.
  TString MakeReport();
  // Asks for a file (the save dialog, or the test's hook) and writes the report.
  void SaveAs();

  // Tests stand in for the save dialog: the hook gets the default name and
  // returns the chosen path, or an empty text for a cancelled dialog.
  using SaveHook = std::function<wxString(const wxString& defaultName)>;
  static void SetSaveHook(SaveHook hook);

 private:
  void CreateButtonRow();
  wxString AskForFile(const wxString& defaultName);

  ConnectionCall m_call;
  CInfoSnapshot m_snapshot;
  std::vector<CInfoPage*> m_pages;
  wxStaticText* m_cursorLibrary = nullptr;
  wxButton* m_saveAs = nullptr;
  wxButton* m_close = nullptr;
};

}  // namespace dossel::driverinfo
