#include "result/wx/export_panel.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/wx/wx_text.h"
#include "result/export_choices.h"
#include "settings/settings_store.h"

namespace dossel {

namespace {

wxComboBox* MakeList(wxWindow* parent, int id, long sortStyle) {
  return new wxComboBox(parent, id, wxEmptyString, wxDefaultPosition, wxSize(150, -1), 0, nullptr,
                        wxCB_DROPDOWN | sortStyle);
}

// Puts the items in once and selects the first one beginning with the
// stored value (trimmed; `fallback` when empty); no match leaves it empty.
void FillAndSelect(wxComboBox* list, const std::vector<TString>& items, TStringView valueName, TStringView fallback) {
  list->Clear();
  for (const TString& item : items) list->Append(ToWx(item));
  TString stored;
  KeyReadString(HKEY_LOCAL_MACHINE, kExportSettingsKey, valueName, fallback, stored);
  TString wanted = TrimBlanks(stored);
  if (wanted.empty()) wanted = TString(fallback);
  list->SetValue(wxEmptyString);
  for (unsigned i = 0; i < list->GetCount(); ++i) {
    if (StartsWithNoCase(FromWx(list->GetString(i)), wanted)) {
      list->SetSelection(static_cast<int>(i));
      break;
    }
  }
}

}  // namespace

CExportPanel::CExportPanel(wxWindow* parent, bool selectionOnly)
    : wxPanel(parent, wxID_ANY), m_bSelectionOnly(selectionOnly) {
  CreateControls();
  LoadChoices();
}

void CExportPanel::CreateControls() {
  m_pDelimit = new wxRadioButton(this, IDC_EXPORT_DELIMIT, "Delimiter:", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  m_pDelimiter = MakeList(this, IDC_EXPORT_DELIMITER, wxCB_SORT);
  m_pTag = new wxRadioButton(this, IDC_EXPORT_TAG, "Tag:");
  m_pRowBegin = MakeList(this, IDC_EXPORT_ROW_BEGIN, 0);
  m_pRowEnd = MakeList(this, IDC_EXPORT_ROW_END, 0);
  m_pColBegin = MakeList(this, IDC_EXPORT_COL_BEGIN, 0);
  m_pColEnd = MakeList(this, IDC_EXPORT_COL_END, 0);
  m_pHeader = new wxCheckBox(this, IDC_EXPORT_HEADER, "Include Header");

  auto* grid = new wxFlexGridSizer(4, wxSize(8, 4));
  const auto label = [this](const char* text) { return new wxStaticText(this, wxID_ANY, text); };
  grid->Add(m_pDelimit, wxSizerFlags().CenterVertical());
  grid->Add(m_pDelimiter, wxSizerFlags().CenterVertical());
  grid->AddSpacer(0);
  grid->AddSpacer(0);
  grid->Add(m_pTag, wxSizerFlags().CenterVertical());
  grid->Add(label("Row:"), wxSizerFlags().CenterVertical());
  grid->Add(m_pRowBegin);
  grid->Add(m_pRowEnd);
  grid->AddSpacer(0);
  grid->Add(label("Column:"), wxSizerFlags().CenterVertical());
  grid->Add(m_pColBegin);
  grid->Add(m_pColEnd);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(grid, wxSizerFlags().Border(wxALL, 4));
  column->Add(m_pHeader, wxSizerFlags().Border(wxLEFT | wxBOTTOM, 4));
  SetSizerAndFit(column);

  Bind(wxEVT_RADIOBUTTON, &CExportPanel::OnModeClicked, this, IDC_EXPORT_DELIMIT);
  Bind(wxEVT_RADIOBUTTON, &CExportPanel::OnModeClicked, this, IDC_EXPORT_TAG);
}

void CExportPanel::LoadChoices() {
  FillAndSelect(m_pDelimiter, DelimiterItems(), DT("Delimiter"), kCommaDelimited);
  FillAndSelect(m_pRowBegin, {kDefaultRowBegin}, DT("RowBegin"), kDefaultRowBegin);
  FillAndSelect(m_pRowEnd, {kDefaultRowEnd}, DT("RowEnd"), kDefaultRowEnd);
  FillAndSelect(m_pColBegin, {kDefaultColBegin}, DT("ColBegin"), kDefaultColBegin);
  FillAndSelect(m_pColEnd, {kDefaultColEnd}, DT("ColEnd"), kDefaultColEnd);
  m_pHeader->SetValue(KeyReadInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Header"), 1) != 0);
  m_pHeader->Enable(!m_bSelectionOnly);
  const int mode = KeyReadInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Delimit"), 0);
  SetMode(mode == 1 ? ExportMode::Tagged : ExportMode::Delimited);
}

ExportMode CExportPanel::GetMode() const { return m_pTag->GetValue() ? ExportMode::Tagged : ExportMode::Delimited; }

void CExportPanel::SetMode(ExportMode mode) {
  const bool tagged = mode == ExportMode::Tagged;
  m_pDelimit->SetValue(!tagged);
  m_pTag->SetValue(tagged);
  m_pDelimiter->Enable(!tagged);
  for (wxComboBox* list : {m_pRowBegin, m_pRowEnd, m_pColBegin, m_pColEnd}) list->Enable(tagged);
}

void CExportPanel::OnModeClicked(wxCommandEvent& event) {
  SetMode(event.GetId() == IDC_EXPORT_TAG ? ExportMode::Tagged : ExportMode::Delimited);
}

ExportOptions CExportPanel::GetOptions() const {
  ExportOptions options;
  options.mode = GetMode();
  options.delimiter = ResolveDelimiter(FromWx(m_pDelimiter->GetValue()));
  options.rowBegin = FromWx(m_pRowBegin->GetValue());
  options.rowEnd = FromWx(m_pRowEnd->GetValue());
  options.colBegin = FromWx(m_pColBegin->GetValue());
  options.colEnd = FromWx(m_pColEnd->GetValue());
  options.header = m_pHeader->GetValue();
  options.selectionOnly = m_bSelectionOnly;
  return options;
}

void CExportPanel::StoreChoices() const {
  const TStringView key = kExportSettingsKey;
  KeyWriteString(HKEY_LOCAL_MACHINE, key, DT("Delimiter"), FromWx(m_pDelimiter->GetValue()));
  KeyWriteInteger(HKEY_LOCAL_MACHINE, key, DT("Header"), m_pHeader->GetValue() ? 1 : 0);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, key, DT("Delimit"), static_cast<int>(GetMode()));
  KeyWriteString(HKEY_LOCAL_MACHINE, key, DT("RowBegin"), FromWx(m_pRowBegin->GetValue()));
  KeyWriteString(HKEY_LOCAL_MACHINE, key, DT("RowEnd"), FromWx(m_pRowEnd->GetValue()));
  KeyWriteString(HKEY_LOCAL_MACHINE, key, DT("ColBegin"), FromWx(m_pColBegin->GetValue()));
  KeyWriteString(HKEY_LOCAL_MACHINE, key, DT("ColEnd"), FromWx(m_pColEnd->GetValue()));
}

}  // namespace dossel
