#include "driverinfo/wx/info_page.h"

#include <wx/bitmap.h>
#include <wx/statbox.h>

#include "platform/wx/wx_text.h"
#include "res/images/images.h"

namespace dossel::driverinfo {

wxImageList* CInfoPage::s_pImages = nullptr;
int CInfoPage::s_nPages = 0;

CInfoPage::CInfoPage(wxWindow* parent, const wxString& title) : wxPanel(parent, wxID_ANY), m_title(title) {
  if (s_nPages++ == 0) {
    s_pImages = new wxImageList(16, 16, true, 2);
    s_pImages->Add(wxBitmap(function_unsupported_xpm));
    s_pImages->Add(wxBitmap(function_supported_xpm));
  }
}

CInfoPage::~CInfoPage() {
  if (--s_nPages == 0) {
    delete s_pImages;
    s_pImages = nullptr;
  }
}

void CInfoPage::Refresh(const CInfoSnapshot& snapshot) {
  m_pSnapshot = &snapshot;
  ShowValues(snapshot);
}

void CInfoPage::WriteReport(TString& out) const {
  if (m_pSnapshot) WriteSection(*m_pSnapshot, out);
}

wxStaticText* CInfoPage::AddValue(wxSizer* grid, const wxString& label) {
  grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  auto* value = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                 wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END | wxBORDER_SUNKEN);
  value->SetName(label);
  grid->Add(value, 1, wxEXPAND | wxALIGN_CENTER_VERTICAL | wxBOTTOM, 2);
  return value;
}

wxSizer* CInfoPage::MakeCheckGroup(const wxString& title, std::initializer_list<CheckLabel> labels, CheckGroup& group,
                                   int columns) {
  auto* box = new wxStaticBoxSizer(wxVERTICAL, this, title);
  auto* grid = new wxGridSizer(columns, 0, 8);
  for (const CheckLabel& label : labels) {
    auto* check = new wxCheckBox(box->GetStaticBox(), wxID_ANY, wxString::FromUTF8(label.label));
    // The boxes only show the driver's answer: a click puts the box back.
    check->Bind(wxEVT_CHECKBOX,
                [check, bit = label.bit, &group](wxCommandEvent&) { check->SetValue((group.mask & bit) != 0); });
    group.boxes.emplace_back(check, label.bit);
    grid->Add(check);
  }
  box->Add(grid, 0, wxALL, 2);
  return box;
}

void CInfoPage::SetChecks(CheckGroup& group, uint32_t mask) {
  group.mask = mask;
  for (auto& [box, bit] : group.boxes) box->SetValue((mask & bit) != 0);
}

void CInfoPage::SetValue(wxStaticText* field, const TString& value) { field->SetLabelText(ToWx(value)); }

}  // namespace dossel::driverinfo
