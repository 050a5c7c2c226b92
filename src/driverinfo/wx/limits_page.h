#pragma once
// CLimits: the "Limits" page: the nineteen size and count limits and the
// intervals TIMESTAMPADD and TIMESTAMPDIFF accept. UI thread only.

#include <array>

#include "driverinfo/section_values.h"
#include "driverinfo/wx/info_page.h"
#include "driverinfo/wx/list_ctrl_ex.h"

namespace dossel::driverinfo {

class CLimits : public CInfoPage {
 public:
  explicit CLimits(wxWindow* parent);

  CListCtrlEx* GetAddIntervals() const { return m_addIntervals; }
  CListCtrlEx* GetDiffIntervals() const { return m_diffIntervals; }

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void WriteSection(const CInfoSnapshot& snapshot, TString& out) const override;
  static void FillIntervals(CListCtrlEx* list, bool supported, uint32_t mask);

  std::array<wxStaticText*, kLimitCount> m_limits{};
  CListCtrlEx* m_addIntervals;
  CListCtrlEx* m_diffIntervals;
};

}  // namespace dossel::driverinfo
