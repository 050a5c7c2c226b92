// The streaming mode's decisions that need no server: what the data source
// sets (connect string before odbc.ini), what PostgreSQL's driver is asked
// for, the text it is sent, and which failures run a statement again. The
// mode against the real servers is in tests/servers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "db/odbc/dossel_odbc.h"
#include "db/streaming_mode.h"
#include "db_test_fixture.h"

namespace dossel::test {
namespace {

using db::DiagnosticRecord;

// The value DosselOdbcDataSourceValue gives, or "<unset>".
std::string ValueOf(const char* connect, const char* dsn, const char* key) {
  char value[64] = "junk";
  return DosselOdbcDataSourceValue(connect, dsn, key, value, sizeof value) ? std::string(value) : "<unset>";
}

TEST(StreamingModeTest, TheDataSourceSetsWhatItsConnectStringOrItsEntrySays) {
  ScratchFolder folder;
  const std::string ini = folder.File("odbc.ini");
  std::ofstream(ini) << "[Pg]\nDriver=/nowhere/psqlodbcw.so\nFetch = 250\nUseDeclareFetch=\n";
  const char* previous = std::getenv("ODBCINI");
  setenv("ODBCINI", ini.c_str(), 1);

  EXPECT_EQ(ValueOf("DSN=Pg", "", "Fetch"), "250");
  EXPECT_EQ(ValueOf("DSN=Pg", "", "fetch"), "250") << "keys compare without case";
  EXPECT_EQ(ValueOf("DSN=Pg;Fetch=9", "", "Fetch"), "9") << "the connect string first";
  EXPECT_EQ(ValueOf("DSN=Pg;Fetch=", "", "Fetch"), "") << "an empty attribute is a value";
  EXPECT_EQ(ValueOf("DSN=Pg", "", "UseDeclareFetch"), "<unset>") << "an empty entry is none";
  EXPECT_EQ(ValueOf("DSN=Pg", "", "Port"), "<unset>");
  EXPECT_EQ(ValueOf("", "Pg", "Fetch"), "250") << "the name the driver reports after a prompt";
  EXPECT_EQ(ValueOf("DSN=Other", "Pg", "Fetch"), "<unset>") << "the connect string's own name first";
  EXPECT_EQ(ValueOf("DRIVER={PostgreSQL Unicode};Fetch=3", "", "Fetch"), "3");
  EXPECT_EQ(ValueOf(nullptr, nullptr, "Fetch"), "<unset>");
  char small[3];
  ASSERT_EQ(DosselOdbcDataSourceValue("DSN=Pg", "", "Driver", small, sizeof small), 1);
  EXPECT_STREQ(small, "/n") << "cut to the room given";

  if (previous)
    setenv("ODBCINI", previous, 1);
  else
    unsetenv("ODBCINI");
}

TEST(StreamingModeTest, WhatPostgresIsAskedFor) {
  EXPECT_TRUE(db::IsPostgresDriver(DT("psqlodbcw.so")));
  EXPECT_TRUE(db::IsPostgresDriver(DT("PSQLODBCA.SO")));
  EXPECT_FALSE(db::IsPostgresDriver(DT("libmaodbc.so")));
  EXPECT_FALSE(db::IsPostgresDriver(DT("sqlite3odbc.so")));

  const TString on = DT("1"), off = DT("0"), fifty = DT("50");
  EXPECT_EQ(db::DeclareFetchRowsToAsk(nullptr, nullptr), db::kDeclareFetchRows);
  EXPECT_EQ(db::DeclareFetchRowsToAsk(nullptr, &fifty), 50u);
  EXPECT_EQ(db::DeclareFetchRowsToAsk(&off, nullptr), 0u) << "the data source's choice stands";
  EXPECT_EQ(db::DeclareFetchRowsToAsk(&on, &fifty), 0u);
  for (const TString bad : {DT(""), DT("0"), DT("-5"), DT("12x"), DT("99999999999")})
    EXPECT_EQ(db::DeclareFetchRowsToAsk(nullptr, &bad), db::kDeclareFetchRows) << ToUtf8(bad);

  // A comment on the last line would swallow the driver's next command.
  EXPECT_EQ(db::DeclareFetchText(DT("select 1 -- note")), DT("select 1 -- note\n"));
  EXPECT_EQ(db::DeclareFetchText(DT("select 1 -- a\r\n-- b")), DT("select 1 -- a\r\n-- b\n"));
  EXPECT_EQ(db::DeclareFetchText(DT("select 1 -- a\n")), DT("select 1 -- a\n"));
  EXPECT_EQ(db::DeclareFetchText(DT("select 1 /* c */")), DT("select 1 /* c */"));
}

TEST(StreamingModeTest, OnlyTheCursorsOwnRefusalsRunAgain) {
  EXPECT_TRUE(db::BeginsWithWith(DT("with x as (select 1) insert into t select * from x")));
  EXPECT_TRUE(db::BeginsWithWith(DT("  -- first\n/* then */ (WITH\tx as (select 1) select * from x)")));
  EXPECT_FALSE(db::BeginsWithWith(DT("without")));
  EXPECT_FALSE(db::BeginsWithWith(DT("select 'with'")));
  EXPECT_FALSE(db::BeginsWithWith(DT("-- with")));
  EXPECT_TRUE(db::BeginsWithWith(DT("with")));

  const TString withInsert = DT("with x as (select 1 as a) insert into t select a from x");
  const std::vector<DiagnosticRecord> syntax{{"42601", "ERROR: syntax error at or near \"insert\";"}};
  const std::vector<DiagnosticRecord> changing{
      {"0A000", "ERROR: DECLARE CURSOR must not contain data-modifying statements in WITH;"}};
  EXPECT_TRUE(db::DeclareFetchRefused(withInsert, syntax));
  EXPECT_TRUE(db::DeclareFetchRefused(withInsert, changing));
  // What ran, or may have: never again.
  EXPECT_FALSE(db::DeclareFetchRefused(DT("select 1 from"), syntax));
  EXPECT_FALSE(db::DeclareFetchRefused(withInsert, {{"22012", "ERROR: division by zero;"}}));
  EXPECT_FALSE(db::DeclareFetchRefused(withInsert, {{"0A000", "ERROR: cannot do that"}}));
  EXPECT_FALSE(db::DeclareFetchRefused(withInsert, {}));
}

TEST_F(SqliteFixture, TheSqliteDriverIsLeftAsItsConnectStringSays) {
  const db::StreamingMode& mode = m_connection.GetStreamingMode();
  EXPECT_FALSE(mode.declareFetch || mode.declareFetchAsked);
  EXPECT_EQ(One(DT("select 2")), DT("2"));
}

}  // namespace
}  // namespace dossel::test
