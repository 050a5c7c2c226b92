#include "history/wx/history_page.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <climits>

#include "history/data_folder.h"
#include "history/history.h"
#include "platform/user_interface.h"
#include "platform/wx/wx_text.h"
#include "settings/settings_store.h"

namespace dossel::history {

CHistoryPage::CHistoryPage(wxWindow* parent, const std::string& historyPath) : wxPanel(parent, wxID_ANY) {
  const int gap = ConvertDialogToPixels(wxSize(7, 0)).x;
  m_record = new wxCheckBox(this, kIdRecord, "&Record every run in the history");
  m_record->SetValue(KeyReadInteger(HKEY_LOCAL_MACHINE, kHistoryKey, DT("Record"), 1) != 0);
  int maxRuns = KeyReadInteger(HKEY_LOCAL_MACHINE, kHistoryKey, DT("MaxRuns"), static_cast<int>(kDefaultMaxRuns));
  if (maxRuns < 1) maxRuns = static_cast<int>(kDefaultMaxRuns);
  m_maxRuns = new wxTextCtrl(this, kIdMaxRuns, wxString::Format("%d", maxRuns), wxDefaultPosition,
                             wxSize(ConvertDialogToPixels(wxSize(50, 0)).x, -1), 0, wxTextValidator(wxFILTER_DIGITS));
  auto* bound = new wxBoxSizer(wxHORIZONTAL);
  bound->Add(new wxStaticText(this, wxID_ANY, "&Keep at most:"), wxSizerFlags().CenterVertical().Border(wxRIGHT, gap));
  bound->Add(m_maxRuns, wxSizerFlags().CenterVertical().Border(wxRIGHT, gap));
  bound->Add(new wxStaticText(this, wxID_ANY, "runs (the oldest go first)"), wxSizerFlags().CenterVertical());
  auto* file = new wxStaticText(this, wxID_ANY, "File: " + wxString::FromUTF8(historyPath));
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(m_record, wxSizerFlags().Border(wxALL, gap));
  column->Add(bound, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM, gap));
  column->Add(file, wxSizerFlags().Border(wxLEFT | wxRIGHT, gap));
  SetSizer(column);
}

wxWindow* CHistoryPage::Create(wxWindow* book) { return new CHistoryPage(book, HistoryFilePath()); }

bool CHistoryPage::TransferDataFromWindow() {
  long maxRuns = 0;
  if (!m_maxRuns->GetValue().Trim().Trim(false).ToLong(&maxRuns) || maxRuns < 1 || maxRuns > INT_MAX) {
    ShowMessageBox(DT("Please enter an integer."), DT("Dossel"), kMbOk | kMbIconWarning);
    m_maxRuns->SetFocus();
    m_maxRuns->SelectAll();
    return false;
  }
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kHistoryKey, DT("Record"), m_record->GetValue() ? 1 : 0);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kHistoryKey, DT("MaxRuns"), static_cast<int>(maxRuns));
  return true;
}

}  // namespace dossel::history
