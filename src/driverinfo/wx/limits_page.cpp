#include "driverinfo/wx/limits_page.h"

#include "driverinfo/report_writer.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

CLimits::CLimits(wxWindow* parent) : CInfoPage(parent, "Limits") {
  auto* grid = new wxFlexGridSizer(4, 2, 8);
  grid->AddGrowableCol(1);
  grid->AddGrowableCol(3);
  for (size_t i = 0; i < kLimitCount; ++i) {
    // The report's line, less its leading blanks and " - %s": "Max Row Size".
    wxString label = ToWx(LimitLines()[i].format).BeforeFirst('-').Strip(wxString::both);
    m_limits[i] = AddValue(grid, label + ":");
  }
  m_addIntervals = new CListCtrlEx(this, wxID_ANY);
  m_diffIntervals = new CListCtrlEx(this, wxID_ANY);
  auto* lists = new wxBoxSizer(wxVERTICAL);
  for (auto [label, list] : {std::pair{"Timestamp Add Intervals:", m_addIntervals},
                             std::pair{"Timestamp Diff. Intervals:", m_diffIntervals}}) {
    list->InsertColumn(0, "Interval", wxLIST_FORMAT_LEFT, 130);
    lists->Add(new wxStaticText(this, wxID_ANY, label), 0, wxBOTTOM, 2);
    lists->Add(list, 1, wxEXPAND | wxBOTTOM, 4);
  }
  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  sizer->Add(grid, 1, wxALL, 8);
  sizer->Add(lists, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CLimits::ShowValues(const CInfoSnapshot& snapshot) {
  const LimitValues v = MakeLimits(snapshot);
  for (size_t i = 0; i < kLimitCount; ++i) SetValue(m_limits[i], v.limits[i]);
  m_addIntervals->DeleteAllItems();
  m_diffIntervals->DeleteAllItems();
  if (!snapshot.IsConnected()) return;
  FillIntervals(m_addIntervals, v.addSupported, v.addIntervals);
  FillIntervals(m_diffIntervals, v.diffSupported, v.diffIntervals);
}

void CLimits::FillIntervals(CListCtrlEx* list, bool supported, uint32_t mask) {
  if (!supported) {
    list->InsertItem(0, "<n/a>");
    return;
  }
  for (const BitName& interval : IntervalNames())
    if (mask & interval.bit) list->InsertItem(list->GetItemCount(), ToWx(interval.name));
}

void CLimits::WriteSection(const CInfoSnapshot& snapshot, TString& out) const { WriteLimitsSection(snapshot, out); }

}  // namespace dossel::driverinfo
