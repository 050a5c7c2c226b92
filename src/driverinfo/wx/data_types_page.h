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
  void ShowRecord(const TypeRecord& record);
  void ClearFields(const TString& sqlType);

  const CInfoSnapshot* m_pSnapshot = nullptr;
  std::vector<TypeRecord> m_records;
  wxListBox* m_typeList;
  wxListBox* m_conversionList;
  std::vector<wxStaticText*> m_fields;  // one per record field, SQL Type first
};

}  // namespace dossel::driverinfo
