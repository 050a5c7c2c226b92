#include "ce/general_page.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

CGeneralPage::CGeneralPage(wxWindow* parent)
    : wxPanel(parent, kTemplateId),
      m_pRowsetLabel(new wxStaticText(this, wxID_ANY, "Rowset Size:")),
      m_pRowsetSize(new wxTextCtrl(this, IDC_ROWSET_SIZE, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                                   wxTextValidator(wxFILTER_DIGITS))) {
  auto* reset = new wxButton(this, IDC_RESET_ALL, "&Reset All");
  m_pRowsetLabel->Hide();
  m_pRowsetSize->Hide();
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(m_pRowsetLabel, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
  row->Add(m_pRowsetSize, 0);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(row, 0, wxALL, FromDIP(6));
  column->AddStretchSpacer();
  column->Add(reset, 0, wxALIGN_RIGHT | wxALL, FromDIP(6));
  SetSizer(column);
  reset->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_pRowsetSize->Clear(); });
}

wxWindow* CGeneralPage::Create(wxWindow* book) { return new CGeneralPage(book); }
