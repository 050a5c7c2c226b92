#include "ce/ce_property_sheet.h"

#include <wx/bookctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include "res/command_ids.h"

wxString CCePropertySheet::s_strTitle;
wxString CCePropertySheet::s_strLink;

CCePropertySheet::CCePropertySheet(const wxString& caption, wxWindow* parent, int selectPage)
    : wxPropertySheetDialog(parent, wxID_ANY, caption),
      m_previousCallback(FrameworkCallback),
      m_nSelectPage(selectPage) {
  s_strTitle = caption;
  CreateButtons(wxOK | wxCANCEL);
}

void CCePropertySheet::AddPage(wxWindow* page, const wxString& title) { GetBookCtrl()->AddPage(page, title); }

// The framework's own answer to the requests: it adds nothing.
void CCePropertySheet::FrameworkCallback(CCePropertySheet*, int, wxString&) {}

void CCePropertySheet::SheetCallback(CCePropertySheet* sheet, int code, wxString& buffer) {
  if (code == kGetTitle && !s_strTitle.empty()) buffer = s_strTitle;
  if (code == kGetLinkText && !s_strLink.empty()) buffer = s_strLink;
  sheet->m_previousCallback(sheet, code, buffer);
}

void CCePropertySheet::CreateSheetWindow() {
  if (m_pCommandBar) return;
  wxString title, link;
  SheetCallback(this, kGetTitle, title);
  SheetCallback(this, kGetLinkText, link);
  wxSizer* inner = GetInnerSizer();
  m_pTitleLine = new wxStaticText(this, wxID_ANY, title);
  m_pTitleLine->SetFont(m_pTitleLine->GetFont().Bold());
  inner->Insert(0, m_pTitleLine, 0, wxBOTTOM, FromDIP(4));
  m_pLinkLine = new wxStaticText(this, wxID_ANY, link);
  m_pLinkLine->Show(!link.empty());
  inner->Insert(1, m_pLinkLine, 0, wxBOTTOM, FromDIP(4));
  m_pCommandBar = new wxToolBar(this, dossel::res::ToWxId(dossel::res::AFX_IDW_TOOLBAR), wxDefaultPosition,
                                wxDefaultSize, wxTB_HORIZONTAL | wxTB_TOP | wxTB_FLAT);
  m_pCommandBar->Realize();
  GetSizer()->Insert(0, m_pCommandBar, 0, wxEXPAND);
  if (m_nSelectPage >= 0 && static_cast<size_t>(m_nSelectPage) < GetBookCtrl()->GetPageCount())
    GetBookCtrl()->SetSelection(static_cast<size_t>(m_nSelectPage));
  LayoutDialog();
}

int CCePropertySheet::DoModal() {
  CreateSheetWindow();
  return ShowModal();
}
