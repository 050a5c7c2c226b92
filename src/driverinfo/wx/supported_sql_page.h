#pragma once
// CSupportedSQL: the "Supported SQL" page: the SQL the driver accepts, as
// value fields and check-box groups. UI thread only.

#include "driverinfo/wx/info_page.h"

namespace dossel::driverinfo {

class CSupportedSQL : public CInfoPage {
 public:
  explicit CSupportedSQL(wxWindow* parent);

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void WriteSection(const CInfoSnapshot& snapshot, TString& out) const override;

  wxStaticText *m_columnAliases, *m_correlationNames, *m_orderByExpressions, *m_groupBy, *m_likeEscape;
  wxStaticText *m_orderByInSelect, *m_outerJoins;
  CheckGroup m_alterTable, m_positionedStatements, m_subqueries, m_unions;
};

}  // namespace dossel::driverinfo
