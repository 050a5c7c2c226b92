#include "driverinfo/wx/supported_sql_page.h"

#include <sql.h>
#include <sqlext.h>

#include "driverinfo/report_writer.h"

namespace dossel::driverinfo {

CSupportedSQL::CSupportedSQL(wxWindow* parent) : CInfoPage(parent, "Supported SQL") {
  auto* grid = new wxFlexGridSizer(2, 2, 8);
  grid->AddGrowableCol(1);
  m_columnAliases = AddValue(grid, "Column Aliases:");
  m_correlationNames = AddValue(grid, "Correlation Names:");
  m_orderByExpressions = AddValue(grid, "Expressions in ORDER BY:");
  m_groupBy = AddValue(grid, "GROUP BY and Non-Aggregated Columns:");
  m_likeEscape = AddValue(grid, "LIKE Escape Character:");
  m_orderByInSelect = AddValue(grid, "ORDER BY Columns Must Be In SELECT:");
  m_outerJoins = AddValue(grid, "Outer Join Support:");

  auto* groups = new wxFlexGridSizer(2, 4, 8);
  groups->Add(MakeCheckGroup("ALTER TABLE support",
                             {{"ADD Column", SQL_AT_ADD_COLUMN}, {"DROP Column", SQL_AT_DROP_COLUMN}}, m_alterTable, 2),
              0, wxEXPAND);
  groups->Add(MakeCheckGroup("Positioned Statements",
                             {{"Delete", SQL_PS_POSITIONED_DELETE},
                              {"Update", SQL_PS_POSITIONED_UPDATE},
                              {"Select for Update", SQL_PS_SELECT_FOR_UPDATE}},
                             m_positionedStatements, 3),
              0, wxEXPAND);
  groups->Add(MakeCheckGroup("Subquery Support",
                             {{"Correlated", SQL_SQ_CORRELATED_SUBQUERIES},
                              {"Comparison", SQL_SQ_COMPARISON},
                              {"EXISTS", SQL_SQ_EXISTS},
                              {"IN", SQL_SQ_IN},
                              {"Quantified", SQL_SQ_QUANTIFIED}},
                             m_subqueries, 3),
              0, wxEXPAND);
  groups->Add(
      MakeCheckGroup("UNION Support", {{"UNION", SQL_U_UNION}, {"UNION with ALL", SQL_U_UNION_ALL}}, m_unions, 2), 0,
      wxEXPAND);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(grid, 0, wxEXPAND | wxALL, 8);
  sizer->Add(groups, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CSupportedSQL::ShowValues(const CInfoSnapshot& snapshot) {
  const SupportedSqlValues v = MakeSupportedSql(snapshot);
  SetValue(m_columnAliases, v.columnAliases);
  SetValue(m_correlationNames, v.correlationNames);
  SetValue(m_orderByExpressions, v.orderByExpressions);
  SetValue(m_groupBy, v.groupBy);
  SetValue(m_likeEscape, v.likeEscape);
  SetValue(m_orderByInSelect, v.orderByInSelect);
  SetValue(m_outerJoins, v.outerJoins);
  SetChecks(m_alterTable, v.alterTable);
  SetChecks(m_positionedStatements, v.positionedStatements);
  SetChecks(m_subqueries, v.subqueries);
  SetChecks(m_unions, v.unions);
}

void CSupportedSQL::WriteSection(const CInfoSnapshot& snapshot, TString& out) const {
  WriteSupportedSqlSection(snapshot, out);
}

}  // namespace dossel::driverinfo
