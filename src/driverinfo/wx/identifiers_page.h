#pragma once
// CIdentifiers: the "Identifiers" page: how the driver treats identifiers,
// its special characters, the ODBC reserved keywords and the driver's own
// keywords, one keyword per list line. UI thread only.

#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "driverinfo/wx/info_page.h"

namespace dossel::driverinfo {

class CIdentifiers : public CInfoPage {
 public:
  explicit CIdentifiers(wxWindow* parent);

  wxListBox* GetOdbcKeywordList() const { return m_odbcKeywords; }
  wxListBox* GetDriverKeywordList() const { return m_driverKeywords; }

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void WriteSection(const CInfoSnapshot& snapshot, TString& out) const override;

  wxStaticText *m_identifierCase, *m_quotedIdentifierCase, *m_searchPatternEscape, *m_identifierQuoteChar;
  wxStaticText *m_qualifierLocation, *m_qualifierSeparator, *m_ownerTerm, *m_procedureTerm, *m_qualifierTerm;
  wxStaticText* m_tableTerm;
  wxTextCtrl* m_specialCharacters;
  wxListBox* m_odbcKeywords;
  wxListBox* m_driverKeywords;
};

}  // namespace dossel::driverinfo
