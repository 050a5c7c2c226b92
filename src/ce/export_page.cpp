#include "ce/export_page.h"

#include <wx/sizer.h>

#include "result/wx/export_panel.h"

CExportPage::CExportPage(wxWindow* parent)
    : wxPanel(parent, kTemplateId), m_pPanel(new dossel::CExportPanel(this, false)) {
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(m_pPanel, 0, wxEXPAND | wxALL, FromDIP(4));
  SetSizer(column);
}

bool CExportPage::TransferDataFromWindow() {
  m_pPanel->StoreChoices();
  return true;
}

wxWindow* CExportPage::Create(wxWindow* book) { return new CExportPage(book); }
