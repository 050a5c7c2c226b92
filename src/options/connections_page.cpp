#include "options/connections_page.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "options/timeout_field.h"
#include "platform/user_interface.h"
#include "platform/wx/wx_text.h"
#include "settings/settings_store.h"

namespace dossel {

namespace {

// The page's size in dialog units; the controls are laid out by sizers inside it.
const wxSize kPageSize(176, 132);

}  // namespace

CConnectionsPage::CConnectionsPage(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
  LoadTimeouts();
  CreateControls();
  TransferDataToWindow();
}

namespace {
CConnectionsPage::Ids s_ids = CConnectionsPage::kDesktopIds;
}  // namespace

void CConnectionsPage::SetControlIds(const Ids& ids) { s_ids = ids; }
const CConnectionsPage::Ids& CConnectionsPage::ControlIds() { return s_ids; }

void CConnectionsPage::CreateControls() {
  const int gap = ConvertDialogToPixels(wxSize(7, 0)).x;
  auto* fields = new wxFlexGridSizer(2, wxSize(gap, gap));
  const auto addField = [&](const char* label, int id) {
    fields->Add(new wxStaticText(this, wxID_ANY, label), wxSizerFlags().CenterVertical());
    auto* edit =
        new wxTextCtrl(this, id, wxEmptyString, wxDefaultPosition, wxSize(ConvertDialogToPixels(wxSize(50, 0)).x, -1),
                       0, wxTextValidator(wxFILTER_DIGITS));
    fields->Add(edit);
    return edit;
  };
  const Ids& ids = ControlIds();
  m_loginEdit = addField("Login Timeout (secs):", ids.loginTimeout);
  m_queryEdit = addField("Query Timeout (secs):", ids.queryTimeout);
  auto* reset = new wxButton(this, ids.resetAll, "&Reset All");
  reset->Bind(wxEVT_BUTTON, &CConnectionsPage::OnResetAll, this);

  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(fields, wxSizerFlags().Border(wxALL, gap));
  column->Add(reset, wxSizerFlags().Border(wxLEFT | wxRIGHT, gap));
  SetSizer(column);
  SetMinSize(ConvertDialogToPixels(kPageSize));
}

void CConnectionsPage::LoadTimeouts() {
  m_nLoginTimeout = KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("LoginTimeOut"), 0);
  m_nQueryTimeout = KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("QueryTimeOut"), 0);
}

void CConnectionsPage::StoreTimeouts() const {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("LoginTimeOut"), m_nLoginTimeout);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("QueryTimeOut"), m_nQueryTimeout);
}

bool CConnectionsPage::TransferDataToWindow() {
  m_loginEdit->ChangeValue(wxString::Format("%d", m_nLoginTimeout));
  m_queryEdit->ChangeValue(wxString::Format("%d", m_nQueryTimeout));
  return true;
}

bool CConnectionsPage::TransferDataFromWindow() {
  return TakeTimeout(m_loginEdit, m_nLoginTimeout) && TakeTimeout(m_queryEdit, m_nQueryTimeout);
}

bool CConnectionsPage::TakeTimeout(wxTextCtrl* edit, int32_t& member) {
  int32_t value = 0;
  if (!ParseTimeout(edit->GetValue(), value)) {
    ShowMessageBox(kBadTimeoutMessage, DT("Dossel"), kMbOk | kMbIconWarning);
    edit->SetFocus();
    edit->SelectAll();
    return false;
  }
  member = value;
  return true;
}

void CConnectionsPage::OnResetAll(wxCommandEvent&) {
  LoadTimeouts();
  TransferDataToWindow();
}

}  // namespace dossel
