#include "driverinfo/wx/misc_pages.h"

#include <sql.h>
#include <sqlext.h>

#include "driverinfo/report_writer.h"

namespace dossel::driverinfo {

CMisc1::CMisc1(wxWindow* parent) : CInfoPage(parent, "Misc. 1") {
  auto* grid = new wxFlexGridSizer(2, 2, 8);
  grid->AddGrowableCol(1);
  m_txnCapable = AddValue(grid, "Transaction Capabilities:");
  m_commitBehavior = AddValue(grid, "Cursor Commit Behavior:");
  m_rollbackBehavior = AddValue(grid, "Cursor Rollback Behavior:");
  m_defaultIsolation = AddValue(grid, "Default Transaction Isolation Level:");
  m_multipleActiveTxn = AddValue(grid, "Multiple Active Transactions:");

  auto* groups = new wxFlexGridSizer(2, 4, 8);
  groups->Add(MakeCheckGroup("Transaction Isolation Levels",
                             {{"Read Uncommitted", SQL_TXN_READ_UNCOMMITTED},
                              {"Read Committed", SQL_TXN_READ_COMMITTED},
                              {"Repeatable Read", SQL_TXN_REPEATABLE_READ},
                              {"Serializable", SQL_TXN_SERIALIZABLE}},
                             m_isolationLevels, 2),
              0, wxEXPAND);
  groups->Add(MakeCheckGroup("Bookmark Persistence",
                             {{"Close", SQL_BP_CLOSE},
                              {"Delete", SQL_BP_DELETE},
                              {"Drop", SQL_BP_DROP},
                              {"Scroll", SQL_BP_SCROLL},
                              {"Transaction", SQL_BP_TRANSACTION},
                              {"Update", SQL_BP_UPDATE},
                              {"Other HSTMT", SQL_BP_OTHER_HSTMT}},
                             m_bookmarkPersistence, 3),
              0, wxEXPAND);
  groups->Add(
      MakeCheckGroup("Lock Types",
                     {{"No Change", SQL_LCK_NO_CHANGE}, {"Exclusive", SQL_LCK_EXCLUSIVE}, {"Unlock", SQL_LCK_UNLOCK}},
                     m_lockTypes, 3),
      0, wxEXPAND);
  groups->Add(
      MakeCheckGroup("Static Sensitivity",
                     {{"Additions", SQL_SS_ADDITIONS}, {"Deletions", SQL_SS_DELETIONS}, {"Updates", SQL_SS_UPDATES}},
                     m_staticSensitivity, 3),
      0, wxEXPAND);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(grid, 0, wxEXPAND | wxALL, 8);
  sizer->Add(groups, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CMisc1::ShowValues(const CInfoSnapshot& snapshot) {
  const Misc1Values v = MakeMisc1(snapshot);
  SetValue(m_txnCapable, v.txnCapable);
  SetValue(m_commitBehavior, v.commitBehavior);
  SetValue(m_rollbackBehavior, v.rollbackBehavior);
  SetValue(m_defaultIsolation, v.defaultIsolation);
  SetValue(m_multipleActiveTxn, v.multipleActiveTxn);
  SetChecks(m_isolationLevels, v.isolationLevels);
  SetChecks(m_bookmarkPersistence, v.bookmarkPersistence);
  SetChecks(m_lockTypes, v.lockTypes);
  SetChecks(m_staticSensitivity, v.staticSensitivity);
}

void CMisc1::WriteSection(const CInfoSnapshot& snapshot, TString& out) const { WriteMisc1Section(snapshot, out); }

CMisc2::CMisc2(wxWindow* parent) : CInfoPage(parent, "Misc. 2") {
  auto* grid = new wxFlexGridSizer(4, 2, 8);
  grid->AddGrowableCol(1);
  grid->AddGrowableCol(3);
  m_needLongDataLen = AddValue(grid, "Need Long Data Length:");
  m_nonNullableColumns = AddValue(grid, "Non-Nullable Columns:");
  m_nullConcatenation = AddValue(grid, "Null Concatenation:");
  m_nullCollation = AddValue(grid, "Null Collation:");
  m_procedures = AddValue(grid, "Procedures:");
  m_rowUpdates = AddValue(grid, "Row Updates:");

  auto* groups = new wxFlexGridSizer(3, 4, 8);
  groups->Add(MakeCheckGroup("Fetch Direction",
                             {{"Next", SQL_FD_FETCH_NEXT},
                              {"First", SQL_FD_FETCH_FIRST},
                              {"Last", SQL_FD_FETCH_LAST},
                              {"Prior", SQL_FD_FETCH_PRIOR},
                              {"Absolute", SQL_FD_FETCH_ABSOLUTE},
                              {"Relative", SQL_FD_FETCH_RELATIVE},
                              {"Bookmark", SQL_FD_FETCH_BOOKMARK}},
                             m_fetchDirection, 2),
              0, wxEXPAND);
  groups->Add(MakeCheckGroup("GetData Extensions",
                             {{"Any Column", SQL_GD_ANY_COLUMN},
                              {"Any Order", SQL_GD_ANY_ORDER},
                              {"Block", SQL_GD_BLOCK},
                              {"Bound", SQL_GD_BOUND}},
                             m_getDataExtensions, 2),
              0, wxEXPAND);
  groups->Add(MakeCheckGroup("Positioned Operations",
                             {{"Position", SQL_POS_POSITION},
                              {"Refresh", SQL_POS_REFRESH},
                              {"Update", SQL_POS_UPDATE},
                              {"Delete", SQL_POS_DELETE},
                              {"Add", SQL_POS_ADD}},
                             m_positionedOperations, 2),
              0, wxEXPAND);
  groups->Add(MakeCheckGroup("Scroll Concurrency",
                             {{"Read Only", SQL_SCCO_READ_ONLY},
                              {"Lock", SQL_SCCO_LOCK},
                              {"Opt./RowVer", SQL_SCCO_OPT_ROWVER},
                              {"Opt./Values", SQL_SCCO_OPT_VALUES}},
                             m_scrollConcurrency, 2),
              0, wxEXPAND);
  groups->Add(MakeCheckGroup("Scroll Options",
                             {{"Forward Only", SQL_SO_FORWARD_ONLY},
                              {"Static", SQL_SO_STATIC},
                              {"Keyset Driven", SQL_SO_KEYSET_DRIVEN},
                              {"Dynamic", SQL_SO_DYNAMIC},
                              {"Mixed", SQL_SO_MIXED}},
                             m_scrollOptions, 2),
              0, wxEXPAND);
  for (auto [title, group] : {std::pair{"Owner Usage", &m_ownerUsage}, std::pair{"Qualifier Usage", &m_qualifierUsage}})
    groups->Add(MakeCheckGroup(title,
                               {{"DML Stmt.", SQL_OU_DML_STATEMENTS},
                                {"Proc. Invocation", SQL_OU_PROCEDURE_INVOCATION},
                                {"Table Def.", SQL_OU_TABLE_DEFINITION},
                                {"Index Def.", SQL_OU_INDEX_DEFINITION},
                                {"Privilege Def.", SQL_OU_PRIVILEGE_DEFINITION}},
                               *group, 2),
                0, wxEXPAND);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(grid, 0, wxEXPAND | wxALL, 8);
  sizer->Add(groups, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CMisc2::ShowValues(const CInfoSnapshot& snapshot) {
  const Misc2Values v = MakeMisc2(snapshot);
  SetValue(m_needLongDataLen, v.needLongDataLen);
  SetValue(m_nonNullableColumns, v.nonNullableColumns);
  SetValue(m_nullConcatenation, v.nullConcatenation);
  SetValue(m_nullCollation, v.nullCollation);
  SetValue(m_procedures, v.procedures);
  SetValue(m_rowUpdates, v.rowUpdates);
  SetChecks(m_fetchDirection, v.fetchDirection);
  SetChecks(m_getDataExtensions, v.getDataExtensions);
  SetChecks(m_positionedOperations, v.positionedOperations);
  SetChecks(m_scrollConcurrency, v.scrollConcurrency);
  SetChecks(m_scrollOptions, v.scrollOptions);
  SetChecks(m_ownerUsage, v.ownerUsage);
  SetChecks(m_qualifierUsage, v.qualifierUsage);
}

void CMisc2::WriteSection(const CInfoSnapshot& snapshot, TString& out) const { WriteMisc2Section(snapshot, out); }

}  // namespace dossel::driverinfo
