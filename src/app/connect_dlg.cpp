#include "app/connect_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "app/edition.h"
#include "app/focus_keeper.h"
#include "platform/user_interface.h"
#include "platform/wx/wx_text.h"
#include "settings/dsn_settings.h"

using dossel::TString;

namespace {

// The desktop's layout in dialog units: x, y, width, height.
constexpr ConnectDialogLayout kDesktopLayout{{0, 0, 204, 125},  {7, 11, 64, 8},
                                             {77, 8, 104, 12},  {17, 27, 54, 8},
                                             {77, 25, 104, 12}, {183, 25, 14, 13},
                                             {10, 43, 61, 8},   {77, 41, 62, 12},
                                             {77, 59, 44, 10},  {77, 73, 81, 10},
                                             {28, 97, 44, 14},  {80, 97, 44, 14},
                                             {132, 97, 44, 14}, false};

const wxString kBadNumberMessage = "Please enter a positive integer.";

bool ShowOpenDatabaseDialog(wxWindow* parent, TString& path) {
  wxFileDialog dialog(parent, "Open Database", wxEmptyString, wxEmptyString, "Dossel Database (*.*)|*.*", wxFD_OPEN);
  if (dialog.ShowModal() != wxID_OK) return false;
  path = dossel::FromWx(dialog.GetPath());
  return true;
}

}  // namespace

const ConnectDialogIds& CConnectDlg::DesktopIds() {
  static const ConnectDialogIds ids{kIdDsn,     kIdDatabase, kIdBrowse, kIdLockTimeout,
                                    kIdStepApi, kIdInMemory, kIdDelete, "Lock Timeout [ms]:"};
  return ids;
}

const ConnectDialogLayout& CConnectDlg::DesktopLayout() { return kDesktopLayout; }

const ConnectDialogLayout& CConnectDlg::TemplateLayout() {
  return Edition().connectDialogLayout ? *Edition().connectDialogLayout : kDesktopLayout;
}

const ConnectDialogIds& CConnectDlg::Ids() {
  return Edition().connectDialogIds ? *Edition().connectDialogIds : DesktopIds();
}

CConnectDlg::CConnectDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Connect"), m_filePicker(ShowOpenDatabaseDialog) {
  CreateControls();
  const ConnectDialogIds& ids = Ids();
  Bind(wxEVT_BUTTON, &CConnectDlg::OnBrowse, this, ids.browse);
  Bind(wxEVT_COMBOBOX, &CConnectDlg::OnDsnSelected, this, ids.dsn);
  Bind(wxEVT_TEXT, &CConnectDlg::OnDsnTyped, this, ids.dsn);
  Bind(wxEVT_CHECKBOX, &CConnectDlg::OnInMemory, this, ids.inMemory);
  Bind(wxEVT_BUTTON, &CConnectDlg::OnDelete, this, ids.deleteButton);
  SetClientSize(ConvertDialogToPixels(wxSize(TemplateLayout().dialog.w, TemplateLayout().dialog.h)));
  CentreOnParent();
}

void CConnectDlg::CreateControls() {
  using Rect = ConnectDialogLayout::Rect;
  const ConnectDialogLayout& layout = TemplateLayout();
  auto place = [this](wxWindow* control, const Rect& r) {
    control->SetSize(wxRect(ConvertDialogToPixels(wxPoint(r.x, r.y)), ConvertDialogToPixels(wxSize(r.w, r.h))));
    return control;
  };
  // A label whose text is wider here than its template width keeps its
  // text whole: one before its field grows to the left, one above it to
  // the right.
  auto label = [&](const char* text, const Rect& r) {
    auto* control = new wxStaticText(this, wxID_ANY, text, wxDefaultPosition, wxDefaultSize,
                                     layout.labelsAbove ? 0 : wxALIGN_RIGHT);
    const wxPoint origin = ConvertDialogToPixels(wxPoint(r.x, r.y));
    const wxSize size = ConvertDialogToPixels(wxSize(r.w, r.h));
    const int width = std::max(size.x, control->GetBestSize().x);
    const int x = layout.labelsAbove ? origin.x : std::max(0, origin.x + size.x - width);
    control->SetSize(wxRect(x, origin.y, width, size.y));
  };
  const ConnectDialogIds& ids = Ids();
  // Created in tab order.
  label("Data Source Name:", layout.dsnLabel);
  m_dsn = new wxComboBox(this, ids.dsn, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                         wxCB_DROPDOWN | wxCB_SORT);
  place(m_dsn, layout.dsnCombo);
  label("Database Name:", layout.databaseLabel);
  m_database = new wxTextCtrl(this, ids.database);
  place(m_database, layout.databaseEdit);
  m_browse = new wxButton(this, ids.browse, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  place(m_browse, layout.browse);
  label(ids.lockLabel, layout.lockLabel);
  m_lockTimeout = new wxTextCtrl(this, ids.lockTimeout);
  place(m_lockTimeout, layout.lockEdit);
  m_stepApi = new wxCheckBox(this, ids.stepApi, "Step API");
  place(m_stepApi, layout.stepApi);
  // Created hidden: no command shows it; its enable rule works all the same.
  m_inMemory = new wxCheckBox(this, ids.inMemory, "In-Memory Database");
  place(m_inMemory, layout.inMemory);
  m_inMemory->Hide();
  auto* ok = new wxButton(this, wxID_OK, "OK");
  place(ok, layout.ok);
  ok->SetDefault();
  place(new wxButton(this, wxID_CANCEL, "Cancel"), layout.cancel);
  place(new wxButton(this, ids.deleteButton, "&Delete"), layout.remove);
}

bool CConnectDlg::TransferDataToWindow() {
  m_stepApi->SetValue(m_bStepApi != 0);
  m_dsn->Clear();
  for (const TString& name : dossel::ListDsnNames()) m_dsn->Append(dossel::ToWx(name));
  m_dsn->ChangeValue(dossel::ToWx(m_strDsn));
  m_database->ChangeValue(dossel::ToWx(m_strDatabase));
  m_lockTimeout->ChangeValue(wxString::Format("%u", m_nLockTimeout));
  m_inMemory->SetValue(m_bInMemory != 0);
  // The caller's values are what the fields show for its name.
  m_strShownDsn = m_strDsn;
  return true;
}

bool CConnectDlg::TransferDataFromWindow() {
  // In the order of the data exchange: a bad time-out stops the transfer
  // after the fields before it were taken.
  // OK saves the fields under the name: they must be the name's own
  // values, not what was left in them by another name.
  ShowStoredValuesOfTypedName();
  m_bStepApi = m_stepApi->GetValue() ? 1 : 0;
  m_strDsn = dossel::FromWx(m_dsn->GetValue());
  m_strDatabase = dossel::FromWx(m_database->GetValue());
  uint32_t lockTimeout = 0;
  if (!ParseUnsignedNumber(m_lockTimeout->GetValue(), lockTimeout)) {
    dossel::ShowMessageBox(dossel::FromWx(kBadNumberMessage), DT("Dossel"), dossel::kMbOk | dossel::kMbIconWarning);
    m_lockTimeout->SetFocus();
    m_lockTimeout->SelectAll();
    return false;
  }
  m_nLockTimeout = lockTimeout;
  m_bInMemory = m_inMemory->GetValue() ? 1 : 0;
  return true;
}

TString CConnectDlg::BuildConnectString() const {
  return dossel::BuildDsnConnectString(m_strDsn, {m_strDatabase, m_nLockTimeout, m_bStepApi});
}

void CConnectDlg::OnBrowse(wxCommandEvent&) {
  TString path;
  if (m_filePicker && m_filePicker(this, path)) m_database->SetValue(dossel::ToWx(path));
}

void CConnectDlg::OnDsnSelected(wxCommandEvent&) {
  const int selection = m_dsn->GetSelection();
  if (selection == wxNOT_FOUND) return;
  ShowDsnValues(dossel::FromWx(m_dsn->GetString(selection)));
  // A pick with the mouse leaves the focus on the list's arrow button, where
  // Return would open the list again instead of pressing OK.
  CallAfter([this] { m_dsn->SetFocus(); });
}

// A typed name that is a remembered one shows its values at once, as a
// picked one does, so that what OK saves is what the user saw.
void CConnectDlg::OnDsnTyped(wxCommandEvent& event) {
  event.Skip();
  ShowStoredValuesOfTypedName();
}

void CConnectDlg::ShowStoredValuesOfTypedName() {
  const wxString typed = m_dsn->GetValue();
  if (typed.IsSameAs(dossel::ToWx(m_strShownDsn), false)) return;
  // Names compare without case, as the store's keys do.
  const int entry = m_dsn->FindString(typed, false);
  if (entry != wxNOT_FOUND) ShowDsnValues(dossel::FromWx(m_dsn->GetString(static_cast<unsigned>(entry))));
}

void CConnectDlg::ShowDsnValues(const TString& name) {
  m_strShownDsn = name;
  const dossel::DsnSettings values = dossel::LoadDsnSettings(name);
  m_database->ChangeValue(dossel::ToWx(values.database));
  m_lockTimeout->ChangeValue(wxString::Format("%u", values.lockTimeout));
  m_stepApi->SetValue(values.stepApi != 0);
}

void CConnectDlg::OnInMemory(wxCommandEvent&) {
  const bool enable = !m_inMemory->GetValue();
  for (wxWindow* control : {static_cast<wxWindow*>(m_dsn), static_cast<wxWindow*>(m_database),
                            static_cast<wxWindow*>(m_lockTimeout), static_cast<wxWindow*>(m_browse)})
    control->Enable(enable);
}

void CConnectDlg::OnDelete(wxCommandEvent&) {
  // A bad time-out is reported, but the name and the rest were taken.
  TransferDataFromWindow();
  if (!m_strDsn.empty()) {
    // The list entry of the name being forgotten (names compare without case,
    // as the store's keys do).
    const int entry = m_dsn->FindString(dossel::ToWx(m_strDsn), false);
    if (entry != wxNOT_FOUND) {
      m_dsn->Delete(static_cast<unsigned>(entry));
      m_dsn->SetSelection(wxNOT_FOUND);
      m_dsn->ChangeValue(wxEmptyString);
    }
    dossel::DeleteDsnSettings(m_strDsn);
  }
  ResetFields();
}

void CConnectDlg::ResetFields() {
  m_strShownDsn.clear();
  m_database->ChangeValue(wxEmptyString);
  m_lockTimeout->ChangeValue("1000");
  // The name is forgotten: the box shows what a name without stored values gets.
  m_stepApi->SetValue(dossel::kDefaultStepApi != 0);
}

bool ParseUnsignedNumber(const wxString& text, uint32_t& value) {
  wxString trimmed = text;
  trimmed.Trim(true).Trim(false);
  if (trimmed.empty() || trimmed.length() > 10) return false;
  unsigned long long number = 0;
  for (const wxUniChar c : trimmed) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<unsigned>(c.GetValue() - '0');
  }
  if (number > 0xFFFFFFFFull) return false;
  value = static_cast<uint32_t>(number);
  return true;
}

bool ConnectWithDialogValues(const CConnectDlg& dialog, const ConnectCallback& connect) {
  const TString connectString = dialog.BuildConnectString();
  dossel::SaveDsnSettings(dialog.m_strDsn, {dialog.m_strDatabase, dialog.m_nLockTimeout, dialog.m_bStepApi});
  return connect ? connect(connectString) : false;
}

bool RunConnectDialog(wxWindow* parent, const ConnectCallback& connect) {
  const CFocusKeeper focus;
  CConnectDlg dialog(parent);
  return dialog.ShowModal() == wxID_OK && ConnectWithDialogValues(dialog, connect);
}
