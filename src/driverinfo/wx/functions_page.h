#pragma once
// CFunctions: the "Functions" page: the ODBC API functions and the scalar
// SQL functions, each with the supported or not-supported image; the SQL
// functions sort by a click on a column header, descending first, then
// reversing with every click. UI thread only.

#include "driverinfo/wx/info_page.h"
#include "driverinfo/wx/list_ctrl_ex.h"

namespace dossel::driverinfo {

// The control id of the "SQL Functions:" list.
inline constexpr int kSqlFunctionsListId = 1004;

class CFunctions : public CInfoPage {
 public:
  explicit CFunctions(wxWindow* parent);

  CListCtrlEx* GetApiList() const { return m_apiList; }
  CListCtrlEx* GetSqlList() const { return m_sqlList; }
  // Sorts the SQL functions by the texts of `column`, as a header click does.
  void SortSqlFunctions(int column);

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void OnColumnClick(wxListEvent& event);

  CListCtrlEx* m_apiList;
  CListCtrlEx* m_sqlList;
  bool m_bSortAscending = true;
};

}  // namespace dossel::driverinfo
