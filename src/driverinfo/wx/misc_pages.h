#pragma once
// CMisc1 and CMisc2: the "Misc. 1" page (transactions, isolation, bookmarks,
// locks, static cursors) and the "Misc. 2" page (long data, NULLs,
// procedures, fetching, positioning, scrolling, owner and qualifier usage),
// value fields and check-box groups. UI thread only.

#include "driverinfo/wx/info_page.h"

namespace dossel::driverinfo {

class CMisc1 : public CInfoPage {
 public:
  explicit CMisc1(wxWindow* parent);

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void WriteSection(const CInfoSnapshot& snapshot, TString& out) const override;

  wxStaticText *m_txnCapable, *m_commitBehavior, *m_rollbackBehavior, *m_defaultIsolation, *m_multipleActiveTxn;
  CheckGroup m_isolationLevels, m_bookmarkPersistence, m_lockTypes, m_staticSensitivity;
};

class CMisc2 : public CInfoPage {
 public:
  explicit CMisc2(wxWindow* parent);

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void WriteSection(const CInfoSnapshot& snapshot, TString& out) const override;

  wxStaticText *m_needLongDataLen, *m_nonNullableColumns, *m_nullConcatenation, *m_nullCollation, *m_procedures;
  wxStaticText* m_rowUpdates;
  CheckGroup m_fetchDirection, m_getDataExtensions, m_positionedOperations, m_scrollConcurrency, m_scrollOptions;
  CheckGroup m_ownerUsage, m_qualifierUsage;
};

}  // namespace dossel::driverinfo
