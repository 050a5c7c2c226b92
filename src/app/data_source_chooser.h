#pragma once
// Connect To Data Source: the dialog shown when a connect asks the driver
// manager to prompt. It lists the data sources configured in the driver
// manager (user and system) and offers to open an SQLite file instead, and
// yields the connect string to use: "DSN=<name>" for a configured source,
// "DSN=<file name>;Database=<path>" for a file (a name the driver manager does
// not know, which DosselODBC opens through the SQLite driver).
//
// DataSourcePrompt is the prompt handler installed in DosselODBC at start-up.
// UI thread only; a prompt asked for on another thread is cancelled.

#include <wx/dialog.h>

#include <vector>

#include "app/connect_dlg.h"
#include "db/data_sources.h"
#include "db/odbc/dossel_odbc.h"
#include "platform/text.h"

class wxListCtrl;
class wxListEvent;

using DataSourceEntry = dossel::db::DataSourceEntry;

// The driver manager's data sources, as the chooser lists them.
inline std::vector<DataSourceEntry> ListConfiguredDataSources() { return dossel::db::ListDataSources(); }

// The data-source name under which a file is opened: its file name without
// extension, with the characters a data-source name may not hold replaced,
// and made different from every configured name (which would connect there).
dossel::TString FileDataSourceName(const dossel::TString& path, const std::vector<DataSourceEntry>& configured);

class CDataSourceChooserDlg : public wxDialog {
 public:
  enum : int { kIdList = 1100, kIdOpenFile = 1101 };

  explicit CDataSourceChooserDlg(wxWindow* parent);

  // The chosen connect string; empty until the dialog ends with OK.
  const dossel::TString& GetConnectString() const { return m_connectString; }
  const std::vector<DataSourceEntry>& DataSources() const { return m_sources; }
  wxListCtrl* List() const { return m_list; }

  void SetFilePicker(FilePicker picker) { m_filePicker = std::move(picker); }

 private:
  void OnOk(wxCommandEvent& event);
  void OnActivated(wxListEvent& event);
  void OnOpenFile(wxCommandEvent& event);
  void OnUpdateOk(wxUpdateUIEvent& event);
  void ChooseSelected();

  wxListCtrl* m_list = nullptr;
  std::vector<DataSourceEntry> m_sources;
  dossel::TString m_connectString;
  FilePicker m_filePicker;

  wxDECLARE_EVENT_TABLE();
};

// The DosselODBC prompt handler: shows the chooser, modal to the program's
// top window. 0 (cancelled) when the user cancels, when called off the UI
// thread, or when the choice does not fit into `chosenSize`.
int DataSourcePrompt(SQLHWND owner, const char* connectString, char* chosen, int chosenSize);
