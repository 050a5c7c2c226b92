#pragma once
// A scratch SQLite database and an open connection on it, for the database
// layer's tests.

#include <gtest/gtest.h>

#include <string>

#include "db/db_connection.h"
#include "db/query_result_set.h"
#include "test_support.h"

namespace dossel::test {

class SqliteFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    m_databasePath = m_folder.File("test.db");
    RunSqlite(m_databasePath, "create table seed(x)");
    ASSERT_TRUE(m_connection.OpenWithOptions(SqliteConnectString(m_databasePath), db::kNoOdbcDialog));
  }

  // Runs `sql` and returns every value of the first result, row by row,
  // columns separated by "|".
  std::vector<TString> Query(const TString& sql) {
    db::CQueryResultSet rs(&m_connection);
    EXPECT_TRUE(rs.OpenSql(sql));
    std::vector<TString> rows;
    for (; rs.GetColumnCount() > 0 && !rs.IsAfterLast(); rs.MoveNext()) {
      TString row;
      for (int i = 0; i < rs.GetColumnCount(); ++i) {
        TString value;
        rs.GetFieldText(i, value);
        if (i) row += DT("|");
        row += value;
      }
      rows.push_back(row);
    }
    return rows;
  }

  TString One(const TString& sql) {
    const auto rows = Query(sql);
    return rows.empty() ? TString(DT("<no row>")) : rows.front();
  }

  ScratchFolder m_folder;
  std::string m_databasePath;
  db::CDbConnection m_connection;
};

}  // namespace dossel::test
