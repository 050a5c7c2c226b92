#pragma once
// CDriverInfo: the "Driver Information" page: names, versions, conformance
// levels and the data source's general facts. UI thread only.

#include <wx/textctrl.h>

#include "driverinfo/wx/info_page.h"

namespace dossel::driverinfo {

class CDriverInfo : public CInfoPage {
 public:
  explicit CDriverInfo(wxWindow* parent);

 private:
  void ShowValues(const CInfoSnapshot& snapshot) override;
  void WriteSection(const CInfoSnapshot& snapshot, TString& out) const override;

  wxStaticText *m_dataSourceName, *m_userName, *m_serverName;
  wxTextCtrl* m_databaseName;
  wxStaticText *m_dbmsName, *m_dbmsVersion, *m_driverName, *m_driverVersion, *m_driverOdbcVersion, *m_odbcVersion;
  wxStaticText *m_apiConformance, *m_sqlConformance, *m_sagCompliant, *m_optionalIef;
  wxStaticText *m_activeConnections, *m_activeStatements, *m_multipleResultSets, *m_fileUsage, *m_readWrite;
  wxStaticText *m_accessibleProcedures, *m_accessibleTables;
};

}  // namespace dossel::driverinfo
