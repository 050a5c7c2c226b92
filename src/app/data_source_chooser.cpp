#include "app/data_source_chooser.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/thread.h>

#include <cstring>
#include <type_traits>

#include "platform/format.h"
#include "platform/user_interface.h"
#include "platform/wx/wx_text.h"

using dossel::TString;

namespace {

// Characters a data-source name may not hold (they delimit connect strings
// and driver-manager sections).
constexpr const char* kForbiddenInDsn = "[]{}(),;?*=!@\\";

bool IsConfigured(const TString& name, const std::vector<DataSourceEntry>& configured) {
  for (const DataSourceEntry& entry : configured)
    if (dossel::EqualsNoCase(entry.name, name)) return true;
  return false;
}

bool ShowSqliteFileDialog(wxWindow* parent, TString& path) {
  wxFileDialog dialog(parent, "Open SQLite File", wxEmptyString, wxEmptyString,
                      "SQLite Databases (*.db;*.sqlite;*.sqlite3)|*.db;*.sqlite;*.sqlite3|All Files (*.*)|*.*",
                      wxFD_OPEN);
  if (dialog.ShowModal() != wxID_OK) return false;
  path = dossel::FromWx(dialog.GetPath());
  return true;
}

}  // namespace

TString FileDataSourceName(const TString& path, const std::vector<DataSourceEntry>& configured) {
  TString stem = dossel::FromWx(wxFileName(dossel::ToWx(path)).GetName());
  for (dossel::TChar& c : stem) {
    const auto unit = static_cast<std::make_unsigned_t<dossel::TChar>>(c);
    if (unit != 0 && unit < 0x80 && std::strchr(kForbiddenInDsn, static_cast<char>(unit))) c = DT('_');
  }
  if (stem.empty()) stem = DT("SQLite");
  TString name = stem;
  for (int n = 2; IsConfigured(name, configured); ++n) name = dossel::Format(DT("%s_%d"), stem, n);
  return name;
}

wxBEGIN_EVENT_TABLE(CDataSourceChooserDlg, wxDialog) EVT_BUTTON(wxID_OK, CDataSourceChooserDlg::OnOk)
    EVT_BUTTON(CDataSourceChooserDlg::kIdOpenFile, CDataSourceChooserDlg::OnOpenFile)
        EVT_LIST_ITEM_ACTIVATED(CDataSourceChooserDlg::kIdList, CDataSourceChooserDlg::OnActivated)
            EVT_UPDATE_UI(wxID_OK, CDataSourceChooserDlg::OnUpdateOk) wxEND_EVENT_TABLE()

                CDataSourceChooserDlg::CDataSourceChooserDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Connect To Data Source", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_sources(ListConfiguredDataSources()),
      m_filePicker(ShowSqliteFileDialog) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, "Select a data source, or open an SQLite database file:"),
           wxSizerFlags().Border(wxALL, ConvertDialogToPixels(wxSize(7, 0)).x));
  m_list = new wxListCtrl(this, kIdList, wxDefaultPosition, ConvertDialogToPixels(wxSize(220, 90)),
                          wxLC_REPORT | wxLC_SINGLE_SEL);
  m_list->AppendColumn("Data Source", wxLIST_FORMAT_LEFT, ConvertDialogToPixels(wxSize(90, 0)).x);
  m_list->AppendColumn("Driver", wxLIST_FORMAT_LEFT, ConvertDialogToPixels(wxSize(120, 0)).x);
  for (size_t i = 0; i < m_sources.size(); ++i) {
    const long row = m_list->InsertItem(static_cast<long>(i), dossel::ToWx(m_sources[i].name));
    m_list->SetItem(row, 1, dossel::ToWx(m_sources[i].description));
  }
  if (!m_sources.empty())
    m_list->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  top->Add(m_list, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, ConvertDialogToPixels(wxSize(7, 0)).x));

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(new wxButton(this, kIdOpenFile, "Open SQLite &File..."));
  buttons->AddStretchSpacer();
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  buttons->Add(ok, wxSizerFlags().Border(wxRIGHT, ConvertDialogToPixels(wxSize(4, 0)).x));
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
  top->Add(buttons, wxSizerFlags().Expand().Border(wxALL, ConvertDialogToPixels(wxSize(7, 0)).x));
  SetSizerAndFit(top);
  CentreOnParent();
}

void CDataSourceChooserDlg::ChooseSelected() {
  const long row = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (row < 0 || static_cast<size_t>(row) >= m_sources.size()) return;
  m_connectString = DT("DSN=") + m_sources[static_cast<size_t>(row)].name;
  EndModal(wxID_OK);
}

void CDataSourceChooserDlg::OnOk(wxCommandEvent&) { ChooseSelected(); }
void CDataSourceChooserDlg::OnActivated(wxListEvent&) { ChooseSelected(); }

void CDataSourceChooserDlg::OnOpenFile(wxCommandEvent&) {
  TString path;
  if (!m_filePicker || !m_filePicker(this, path) || path.empty()) return;
  // The SQLite driver reads a connect-string value up to the next ";" and
  // knows no quoting, so such a path would open some other file.
  if (path.find(DT(';')) != TString::npos) {
    dossel::ShowMessageBox(DT("The SQLite driver cannot open a file whose path contains \";\"."), DT("Dossel"),
                           dossel::kMbOk | dossel::kMbIconWarning);
    return;
  }
  // With the step interface, as the Connect dialog's default: without it the
  // driver reads a whole result before the first row.
  m_connectString = dossel::Format(DT("DSN=%s;Database=%s;StepAPI=1"), FileDataSourceName(path, m_sources), path);
  EndModal(wxID_OK);
}

void CDataSourceChooserDlg::OnUpdateOk(wxUpdateUIEvent& event) { event.Enable(m_list->GetSelectedItemCount() > 0); }

int DataSourcePrompt(SQLHWND owner, const char* connectString, char* chosen, int chosenSize) {
  (void)connectString;
  if (!wxIsMainThread() || !wxTheApp || !chosen || chosenSize <= 0) return 0;
  // The owner handed to the driver manager is the program's top window.
  wxWindow* top = wxTheApp->GetTopWindow();
  wxWindow* parent = owner && owner == static_cast<SQLHWND>(top) ? top : nullptr;
  CDataSourceChooserDlg dialog(parent);
  const int answer = dialog.ShowModal();
  if (answer != wxID_OK || dialog.GetConnectString().empty()) return 0;
  const std::string utf8 = dossel::ToUtf8(dialog.GetConnectString());
  if (utf8.size() >= static_cast<size_t>(chosenSize)) return 0;
  std::memcpy(chosen, utf8.c_str(), utf8.size() + 1);
  return 1;
}
