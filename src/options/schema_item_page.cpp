#include "options/schema_item_page.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "settings/settings_store.h"

namespace dossel {

namespace {

struct BoxInfo {
  const char* label;
  const TChar* value;
};

// In the order of the page; the first eight stand under "Show:".
constexpr BoxInfo kBoxes[CSchemaItemPage::kBoxCount] = {
    {"User Table", DT("UserTable")},
    {"System Table", DT("SystemTable")},
    {"View", DT("View")},
    {"Stored Procedure", DT("Procedure")},
    {"Column", DT("Column")},
    {"Index", DT("Index")},
    {"Constraint", DT("Constraint")},
    {"Trigger", DT("Trigger")},
    {"Highlight After Scripting", DT("Highlight")},
    {"Switch View After Scripting", DT("SwitchView")},
};
constexpr int kShownFolders = 8;

}  // namespace

const TChar* CSchemaItemPage::ValueName(int index) { return kBoxes[index].value; }

CSchemaItemPage::CSchemaItemPage(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
  for (int i = 0; i < kBoxCount; ++i) m_bShow[i] = KeyReadInteger(HKEY_LOCAL_MACHINE, kSchemaKey, ValueName(i), 1);
  CreateControls();
  TransferDataToWindow();
}

void CSchemaItemPage::CreateControls() {
  const int gap = ConvertDialogToPixels(wxSize(7, 0)).x;
  const int indent = ConvertDialogToPixels(wxSize(10, 0)).x;
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(new wxStaticText(this, wxID_ANY, "Show:"), wxSizerFlags().Border(wxALL, gap));
  for (int i = 0; i < kBoxCount; ++i) {
    if (i == kShownFolders) column->AddSpacer(gap);
    m_boxes[i] = new wxCheckBox(this, kIdFirstBox + i, kBoxes[i].label);
    const int left = i < kShownFolders ? gap + indent : gap;
    column->Add(m_boxes[i], wxSizerFlags().Border(wxLEFT, left));
    column->AddSpacer(gap / 3);
    m_boxes[i]->Bind(wxEVT_CHECKBOX, &CSchemaItemPage::OnBoxClicked, this);
  }
  column->AddSpacer(gap);
  SetSizer(column);
}

bool CSchemaItemPage::TransferDataToWindow() {
  for (int i = 0; i < kBoxCount; ++i) m_boxes[i]->SetValue(m_bShow[i] != 0);
  return true;
}

bool CSchemaItemPage::TransferDataFromWindow() {
  for (int i = 0; i < kBoxCount; ++i) m_bShow[i] = m_boxes[i]->GetValue() ? 1 : 0;
  return true;
}

void CSchemaItemPage::OnBoxClicked(wxCommandEvent& event) {
  TransferDataFromWindow();
  const int index = event.GetId() - kIdFirstBox;
  if (index < 0 || index >= kBoxCount) return;
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kSchemaKey, ValueName(index), m_bShow[index]);
}

}  // namespace dossel
