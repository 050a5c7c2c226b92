#pragma once
// CDataTypes: the "Data Types" page: the driver's types in a list box and,
// for the selected one, its attributes and the types Convert() turns it
// into. It keeps its own copy of the type records (driver order) from the
// last Refresh. UI thread only.

#include <wx/listbox.h>

#include <vector>

#include "driverinfo/wx/info_page.h"

namespace dossel::driverinfo {

class CDataTypes : public CInfoPage {
 public:
  explicit CDataTypes(wxWindow* parent);

  wxListBox* GetTypeList() const { return m_typeList; }
  wxListBox* GetConversionList() const { return m_conversionList; }
  // Shows the first record named `typeName` ("<n/a>?" as its SQL type when
  // none is), or empties the fields for an empty name.
  void ShowType(const wxString& typeName);

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void WriteSection(const CInfoSnapshot& snapshot, TString& out) const override;
  void ShowRecord(const TypeRecord& record);
  void ClearFields(const TString& sqlType);

  const CInfoSnapshot* m_pSnapshot = nullptr;
  std::vector<TypeRecord> m_records;
  wxListBox* m_typeList;
  wxListBox* m_conversionList;
  wxStaticText *m_sqlType, *m_precision, *m_literal, *m_createParams, *m_nullable, *m_caseSensitive;
  wxStaticText *m_searchable, *m_unsigned, *m_money, *m_autoIncrement, *m_minimumScale, *m_maximumScale;
};

}  // namespace dossel::driverinfo
