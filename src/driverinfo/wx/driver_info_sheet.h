#pragma once
// CMyPropertySheet: the modal "ODBC Driver Info" sheet: the eight pages in
// order, the "Cursor Library Not Loaded" note at the left of the button row,
// "&Save As..." (which writes the report and keeps the sheet open) and
// "&Close". It owns the snapshot the pages show, read through the caller's
// connection ask (which runs its read on the connection's thread and hands
// the end back to the UI thread, never waiting) when the sheet starts, and
// again for the functions and types when the report is saved: the pages
// fill, and the report is written, when the answer comes. UI thread only.

#include <wx/button.h>
#include <wx/propdlg.h>
#include <wx/stattext.h>

#include <functional>
#include <memory>
#include <vector>

#include "driverinfo/info_snapshot.h"
#include "driverinfo/wx/info_page.h"

namespace dossel::db {
class CDbConnection;
}

namespace dossel::driverinfo {

// Runs `read` with the connection on the connection's thread and then,
// without the caller waiting, `then` on the UI thread; false, calling
// neither, when it cannot (no connection).
using ConnectionAsk = std::function<bool(std::function<void(db::CDbConnection&)> read, std::function<void()> then)>;

class CMyPropertySheet : public wxPropertySheetDialog {
 public:
  CMyPropertySheet(wxWindow* parent, ConnectionAsk ask);

  size_t GetPageCount() const { return m_pages.size(); }
  CInfoPage* GetInfoPage(size_t index) const { return m_pages.at(index); }
  wxButton* GetSaveAsButton() const { return m_saveAs; }
  wxButton* GetCloseButton() const { return m_close; }
  wxStaticText* GetCursorLibraryNote() const { return m_cursorLibrary; }
  const CInfoSnapshot& GetSnapshot() const { return m_snapshot; }

  // The report text as Save As writes it, given to `done` after the driver
  // was asked again for its functions and types (at once when it cannot be).
  void MakeReport(std::function<void(const TString& report)> done);
  // Asks for a file (the save dialog, or the test's hook) and writes the report.
  void SaveAs();

  // Tests stand in for the save dialog: the hook gets the default name and
  // returns the chosen path, or an empty text for a cancelled dialog.
  using SaveHook = std::function<wxString(const wxString& defaultName)>;
  static void SetSaveHook(SaveHook hook);

 private:
  void CreateButtonRow();
  wxString AskForFile(const wxString& defaultName);
  // Runs `read` on a copy of the snapshot on the connection's thread; the
  // copy replaces the snapshot, and `then` follows, on the UI thread unless
  // the sheet has gone. Both at once on the snapshot when it cannot be asked.
  void AskSnapshot(std::function<void(CInfoSnapshot&, db::CDbConnection&)> read, std::function<void()> then);
  void ShowSnapshot();

  ConnectionAsk m_ask;
  CInfoSnapshot m_snapshot;
  std::shared_ptr<int> m_alive = std::make_shared<int>(0);
  std::vector<CInfoPage*> m_pages;
  wxStaticText* m_cursorLibrary = nullptr;
  wxButton* m_saveAs = nullptr;
  wxButton* m_close = nullptr;
};

}  // namespace dossel::driverinfo
