#include "driverinfo/wx/driver_info_page.h"

#include "driverinfo/report_writer.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

CDriverInfo::CDriverInfo(wxWindow* parent) : CInfoPage(parent, "Driver Information") {
  auto* grid = new wxFlexGridSizer(4, 2, 8);
  grid->AddGrowableCol(1);
  grid->AddGrowableCol(3);
  m_dataSourceName = AddValue(grid, "Data Source Name:");
  m_userName = AddValue(grid, "User Name:");
  m_serverName = AddValue(grid, "Server Name:");
  grid->Add(new wxStaticText(this, wxID_ANY, "Database Name:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  m_databaseName = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
  grid->Add(m_databaseName, 1, wxEXPAND | wxBOTTOM, 2);
  m_dbmsName = AddValue(grid, "DBMS Name:");
  m_dbmsVersion = AddValue(grid, "DBMS Version:");
  m_driverName = AddValue(grid, "Driver Name:");
  m_driverVersion = AddValue(grid, "Driver Version:");
  m_driverOdbcVersion = AddValue(grid, "Driver ODBC Version:");
  m_odbcVersion = AddValue(grid, "ODBC Version:");
  m_apiConformance = AddValue(grid, "ODBC API Conformance:");
  m_sqlConformance = AddValue(grid, "ODBC SQL Conformance:");
  m_sagCompliant = AddValue(grid, "SAG Compliant:");
  m_optionalIef = AddValue(grid, "Optional IEF:");
  m_activeConnections = AddValue(grid, "Active Connections:");
  m_activeStatements = AddValue(grid, "Active Statements:");
  m_multipleResultSets = AddValue(grid, "Multiple Result Sets:");
  m_fileUsage = AddValue(grid, "File Usage:");
  m_readWrite = AddValue(grid, "Read-Write Status:");
  m_accessibleProcedures = AddValue(grid, "Accessible Procedures:");
  m_accessibleTables = AddValue(grid, "Accessible Tables:");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(grid, 1, wxEXPAND | wxALL, 8);
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CDriverInfo::ShowValues(const CInfoSnapshot& snapshot) {
  const DriverInfoValues v = MakeDriverInfo(snapshot);
  SetValue(m_dataSourceName, v.dataSourceName);
  SetValue(m_userName, v.userName);
  SetValue(m_serverName, v.serverName);
  m_databaseName->ChangeValue(ToWx(v.databaseName));
  SetValue(m_dbmsName, v.dbmsName);
  SetValue(m_dbmsVersion, v.dbmsVersion);
  SetValue(m_driverName, v.driverName);
  SetValue(m_driverVersion, v.driverVersion);
  SetValue(m_driverOdbcVersion, v.driverOdbcVersion);
  SetValue(m_odbcVersion, v.odbcVersion);
  SetValue(m_apiConformance, v.apiConformance);
  SetValue(m_sqlConformance, v.sqlConformance);
  SetValue(m_sagCompliant, v.sagCliConformance);
  SetValue(m_optionalIef, v.optionalIef);
  SetValue(m_activeConnections, v.activeConnections);
  SetValue(m_activeStatements, v.activeStatements);
  SetValue(m_multipleResultSets, v.multipleResultSets);
  SetValue(m_fileUsage, v.fileUsage);
  SetValue(m_readWrite, v.readWriteStatus);
  SetValue(m_accessibleProcedures, v.accessibleProcedures);
  SetValue(m_accessibleTables, v.accessibleTables);
}

void CDriverInfo::WriteSection(const CInfoSnapshot& snapshot, TString& out) const {
  WriteDriverInfoSection(snapshot, out);
}

}  // namespace dossel::driverinfo
