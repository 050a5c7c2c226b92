#include "driverinfo/wx/identifiers_page.h"

#include "driverinfo/info_tables.h"
#include "driverinfo/report_writer.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

CIdentifiers::CIdentifiers(wxWindow* parent) : CInfoPage(parent, "Identifiers") {
  auto* grid = new wxFlexGridSizer(2, 2, 8);
  grid->AddGrowableCol(1);
  m_identifierCase = AddValue(grid, "Identifier Case:");
  m_quotedIdentifierCase = AddValue(grid, "Quoted Identifier Case:");
  m_searchPatternEscape = AddValue(grid, "Search Pattern Escape:");
  m_identifierQuoteChar = AddValue(grid, "Identifier Quote Character:");
  m_qualifierLocation = AddValue(grid, "Qualifier Location:");
  m_qualifierSeparator = AddValue(grid, "Qualifier Name Separator:");
  m_ownerTerm = AddValue(grid, "Owner Term:");
  m_procedureTerm = AddValue(grid, "Procedure Term:");
  m_qualifierTerm = AddValue(grid, "Qualifier Term:");
  m_tableTerm = AddValue(grid, "Table Term:");
  grid->Add(new wxStaticText(this, wxID_ANY, "Special Characters:"), 0, wxRIGHT, 4);
  m_specialCharacters =
      new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(-1, 60), wxTE_READONLY | wxTE_MULTILINE);
  grid->Add(m_specialCharacters, 1, wxEXPAND);

  // Created at a usable size: GTK allocates the scroll bar before the first layout.
  m_odbcKeywords = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(130, 120));
  m_driverKeywords = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(130, 120));
  for (const TString& keyword : SplitKeywords(OdbcReservedKeywords())) m_odbcKeywords->Append(ToWx(keyword));

  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  sizer->Add(grid, 1, wxALL, 8);
  for (auto [label, list] :
       {std::pair{"ODBC Keywords:", m_odbcKeywords}, std::pair{"Driver-Specific Keywords:", m_driverKeywords}}) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, label), 0, wxBOTTOM, 2);
    column->Add(list, 1, wxEXPAND);
    sizer->Add(column, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  }
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CIdentifiers::ShowValues(const CInfoSnapshot& snapshot) {
  const IdentifierValues v = MakeIdentifiers(snapshot);
  SetValue(m_identifierCase, v.identifierCase);
  SetValue(m_quotedIdentifierCase, v.quotedIdentifierCase);
  SetValue(m_searchPatternEscape, v.searchPatternEscape);
  SetValue(m_identifierQuoteChar, v.identifierQuoteChar);
  SetValue(m_qualifierLocation, v.qualifierLocation);
  SetValue(m_qualifierSeparator, v.qualifierSeparator);
  SetValue(m_ownerTerm, v.ownerTerm);
  SetValue(m_procedureTerm, v.procedureTerm);
  SetValue(m_qualifierTerm, v.qualifierTerm);
  SetValue(m_tableTerm, v.tableTerm);
  m_specialCharacters->ChangeValue(ToWx(v.specialCharacters));
  m_driverKeywords->Clear();
  for (const TString& keyword : v.keywords) m_driverKeywords->Append(ToWx(keyword));
}

void CIdentifiers::WriteSection(const CInfoSnapshot& snapshot, TString& out) const {
  WriteIdentifiersSection(snapshot, out);
}

}  // namespace dossel::driverinfo
