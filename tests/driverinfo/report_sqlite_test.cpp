// The whole report on the real SQLite driver, against a checked-in copy
// (expected_sqlite_report.txt) whose values were checked one by one against
// the driver's own SQLGetInfo, SQLGetFunctions and SQLGetTypeInfo answers.
// The lines that name the database file and the driver's versions are
// masked, since they change with the machine.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "db/db_connection.h"
#include "db/odbc_constants.h"
#include "driverinfo/report_writer.h"
#include "test_support.h"

namespace dossel::test {
namespace {

// Lines starting with these hold the machine's path and versions.
const char* const kMaskedLines[] = {"        Database Name - ", "          Server Name - ", "                 DBMS - ",
                                    "               Driver - ", "         ODBC Version - "};

std::string Masked(const std::string& report) {
  std::istringstream in(report);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    for (const char* start : kMaskedLines)
      if (line.rfind(start, 0) == 0) line = std::string(start) + "<masked>";
    out += line + "\n";
  }
  return out;
}

class ReportSqliteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_databasePath = m_folder.File("test.db");
    RunSqlite(m_databasePath, "create table seed(x)");
    ASSERT_TRUE(m_connection.OpenWithOptions(SqliteConnectString(m_databasePath), db::kNoOdbcDialog));
    m_snapshot.Read(m_connection);
  }

  ScratchFolder m_folder;
  std::string m_databasePath;
  db::CDbConnection m_connection;
  driverinfo::CInfoSnapshot m_snapshot;
};

TEST_F(ReportSqliteTest, WholeReportMatchesTheCheckedCopy) {
  const std::string report = ToUtf8(driverinfo::BuildReport(m_snapshot));
  const std::string expected = ReadFile(DOSSEL_DRIVERINFO_EXPECTED);
  EXPECT_EQ(Masked(report), expected);
}

TEST_F(ReportSqliteTest, MaskedLinesCarryTheDriversAnswers) {
  const TString report = driverinfo::BuildReport(m_snapshot);
  EXPECT_NE(report.find(DT("        Database Name - ") + FromUtf8(m_databasePath) + DT("\n")), TString::npos);
  EXPECT_NE(report.find(DT("                 DBMS - SQLite version ") + m_connection.GetInfoText(SQL_DBMS_VER)),
            TString::npos);
  EXPECT_NE(report.find(DT("               Driver - sqlite3odbc.so version ") +
                        m_connection.GetInfoText(SQL_DRIVER_VER) + DT("\n")),
            TString::npos);
}

TEST_F(ReportSqliteTest, TypeRowsAreTheDriversInItsOrder) {
  // One row per SQLGetTypeInfo row in each of the four tables.
  ASSERT_FALSE(m_snapshot.Types().empty());
  const TString report = driverinfo::BuildReport(m_snapshot);
  const TString& first = m_snapshot.Types().front().typeName;
  size_t rows = 0;
  for (size_t at = report.find(DT("\n") + first + DT(" ")); at != TString::npos;
       at = report.find(DT("\n") + first + DT(" "), at + 1))
    ++rows;
  EXPECT_EQ(rows, 4u);
}

}  // namespace
}  // namespace dossel::test
