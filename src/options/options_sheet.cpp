#include "options/options_sheet.h"

#include <wx/bookctrl.h>
#include <wx/weakref.h>

#include <algorithm>

#include "options/connections_page.h"
#include "options/schema_item_page.h"
#include "options/script_page.h"
#include "options/template_page.h"

namespace dossel {

COptionsSheet::COptionsSheet(wxWindow* parent, std::span<const OptionsPageSpec> extraPages)
    : wxPropertySheetDialog(parent, wxID_ANY, "Options") {
  CreateButtons(wxOK | wxCANCEL);
  wxBookCtrlBase* book = GetBookCtrl();
  m_pConnections = new CConnectionsPage(book);
  m_pScript = new CScriptPage(book);
  m_pTemplate = new CTemplatePage(book);
  m_pSchemaItem = new CSchemaItemPage(book);
  book->AddPage(m_pConnections, "Connections", true);
  book->AddPage(m_pScript, "Script");
  book->AddPage(m_pTemplate, "Template");
  book->AddPage(m_pSchemaItem, "Schema");
  for (const OptionsPageSpec& spec : extraPages) {
    wxWindow* page = spec.create(book);
    book->InsertPage(std::min(spec.position, book->GetPageCount()), page, spec.title);
    m_extraPages.push_back(page);
  }
  LayoutDialog();
  Bind(wxEVT_BUTTON, &COptionsSheet::OnOK, this, wxID_OK);
  book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGING, &COptionsSheet::OnPageChanging, this);
}

void COptionsSheet::OnOK(wxCommandEvent&) {
  wxWindow* active = GetBookCtrl()->GetCurrentPage();
  if (active && !active->TransferDataFromWindow()) return;
  for (wxWindow* page : m_extraPages)
    if (page != active && !page->TransferDataFromWindow()) return;
  m_pConnections->StoreTimeouts();
  EndModal(wxID_OK);
}

void COptionsSheet::OnPageChanging(wxBookCtrlEvent& event) {
  const int leaving = event.GetOldSelection();
  wxBookCtrlBase* book = GetBookCtrl();
  wxWindow* page = leaving != wxNOT_FOUND ? book->GetPage(static_cast<size_t>(leaving)) : nullptr;
  if (!page || page->TransferDataFromWindow()) {
    event.Skip();
    return;
  }
  event.Veto();
  // GTK 3 switches the page even so: bring the refused one back, with the
  // focus where the refusal put it.
  const wxWeakRef<wxWindow> focus = wxWindow::FindFocus();
  CallAfter([book, leaving, focus] {
    book->ChangeSelection(static_cast<size_t>(leaving));
    if (focus) focus->SetFocus();
  });
}

}  // namespace dossel
