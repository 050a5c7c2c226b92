#include "driverinfo/wx/functions_page.h"

#include <wx/stattext.h>

#include <vector>

#include "driverinfo/info_tables.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

namespace {

// What an item carries while its list sorts: its own data and its text in
// the sorted column.
struct SortRecord {
  wxUIntPtr data;
  wxString text;
};

int wxCALLBACK CompareAscending(wxIntPtr a, wxIntPtr b, wxIntPtr) {
  return reinterpret_cast<const SortRecord*>(a)->text.CmpNoCase(reinterpret_cast<const SortRecord*>(b)->text);
}

int wxCALLBACK CompareDescending(wxIntPtr a, wxIntPtr b, wxIntPtr) {
  return reinterpret_cast<const SortRecord*>(b)->text.CmpNoCase(reinterpret_cast<const SortRecord*>(a)->text);
}

int Image(bool supported) { return supported ? kImageSupported : kImageNotSupported; }

}  // namespace

CFunctions::CFunctions(wxWindow* parent) : CInfoPage(parent, Page(PageId::kFunctions)) {
  m_apiList = new CListCtrlEx(this, wxID_ANY);
  m_apiList->SetImageList(GetImageList());
  m_apiList->InsertColumn(0, "Function", wxLIST_FORMAT_LEFT, 190);
  m_sqlList = new CListCtrlEx(this, kSqlFunctionsListId);
  m_sqlList->SetImageList(GetImageList());
  m_sqlList->InsertColumn(0, "Function", wxLIST_FORMAT_LEFT, 140);
  m_sqlList->InsertColumn(1, "Category", wxLIST_FORMAT_LEFT, 90);
  m_sqlList->Bind(wxEVT_LIST_COL_CLICK, &CFunctions::OnColumnClick, this);

  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  for (auto [label, list] : {std::pair{"ODBC API Functions:", m_apiList}, std::pair{"SQL Functions:", m_sqlList}}) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, label), 0, wxBOTTOM, 2);
    column->Add(list, 1, wxEXPAND);
    sizer->Add(column, 1, wxEXPAND | wxALL, 8);
  }
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CFunctions::ShowValues(const CInfoSnapshot& snapshot) {
  m_apiList->DeleteAllItems();
  m_sqlList->DeleteAllItems();
  // A closed connection's snapshot says no to every function.
  for (const ApiFunction& function : ApiFunctions())
    m_apiList->InsertItem(m_apiList->GetItemCount(), ToWx(function.name),
                          Image(snapshot.IsFunctionSupported(function.code)));
  for (const ScalarGroup& group : ScalarGroups()) {
    const uint32_t mask = snapshot.Number(group.infoType);
    for (const BitName& function : group.functions) {
      const long item =
          m_sqlList->InsertItem(m_sqlList->GetItemCount(), ToWx(function.name), Image((mask & function.bit) != 0));
      m_sqlList->SetItemText(item, 1, ToWx(group.category));
    }
  }
}

void CFunctions::OnColumnClick(wxListEvent& event) { SortSqlFunctions(event.GetColumn()); }

void CFunctions::SortSqlFunctions(int column) {
  m_bSortAscending = !m_bSortAscending;
  const int count = m_sqlList->GetItemCount();
  std::vector<SortRecord> records(count);
  for (int i = 0; i < count; ++i) {
    records[i] = {m_sqlList->GetItemData(i), m_sqlList->GetItemText(i, column)};
    m_sqlList->SetItemData(i, reinterpret_cast<wxUIntPtr>(&records[i]));
  }
  m_sqlList->SortItems(m_bSortAscending ? CompareAscending : CompareDescending, 0);
  for (int i = 0; i < count; ++i)
    m_sqlList->SetItemData(i, reinterpret_cast<const SortRecord*>(m_sqlList->GetItemData(i))->data);
}

}  // namespace dossel::driverinfo
