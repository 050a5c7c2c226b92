#include "driverinfo/wx/info_page.h"

#include <wx/bitmap.h>

#include "driverinfo/report_writer.h"
#include "platform/wx/wx_text.h"
#include "res/images/images.h"

namespace dossel::driverinfo {

wxImageList* CInfoPage::s_pImages = nullptr;
int CInfoPage::s_nPages = 0;

CInfoPage::CInfoPage(wxWindow* parent, const PageSpec& spec)
    : wxPanel(parent, wxID_ANY), m_spec(spec), m_title(ToWx(spec.title)) {
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
  if (m_pSnapshot) WriteSection(m_spec.id, *m_pSnapshot, out);
}

wxStaticText* CInfoPage::AddValue(wxSizer* grid, const wxString& caption) {
  grid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  auto* value = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                 wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END | wxBORDER_SUNKEN);
  value->SetName(caption);
  grid->Add(value, 1, wxEXPAND | wxALIGN_CENTER_VERTICAL | wxBOTTOM, 2);
  return value;
}

void CInfoPage::SetValue(wxStaticText* field, const TString& value) { field->SetLabelText(ToWx(value)); }

}  // namespace dossel::driverinfo
