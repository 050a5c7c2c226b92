// The column reader and the generated scripts against the real SQLite driver:
// the columns as the driver reports them, names the catalog treats as
// patterns, and hostile or unusual names run through the scripts, in both
// text widths.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "db/catalog_sets.h"
#include "db/db_connection.h"
#include "db/query_result_set.h"
#include "platform/format.h"
#include "schema/catalog_queries.h"
#include "schema/column_reader.h"
#include "schema/script_texts.h"
#include "schema/sql_names.h"
#include "test_support.h"

namespace dossel::schema {
namespace {

using Rows = std::vector<TString>;

class ColumnReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = m_folder.File("schema.db");
    test::RunSqlite(m_path,
                    "create table people(id integer primary key, \"first name\" varchar(40) not null,"
                    " \"pr\xC3\xA9nom\" text, b blob, \"say \"\"hi\"\"\" char(3));"
                    "create table \"t; drop table u\"(a integer, \"b c\" text);"
                    "create table u(x integer);"
                    "insert into u values (1);"
                    "create table order_lines(line integer);"
                    "create table orderxlines(other text);"
                    "create table \"caf\xC3\xA9\"(x integer);"
                    "insert into \"caf\xC3\xA9\" values (42);"
                    "create table \"it's\"(v integer);"
                    "create trigger \"it's_audit\" after insert on \"it's\" begin select 1; end;");
    ASSERT_TRUE(m_connection.OpenWithOptions(test::SqliteConnectString(m_path), db::kNoOdbcDialog));
    m_quote = m_connection.m_chIDQuoteChar;
  }

  // Runs `sql`; every row of its result, columns joined by "|".
  Rows Query(const TString& sql, bool* ran = nullptr) {
    db::CQueryResultSet rs(&m_connection);
    const bool ok = rs.OpenSql(sql);
    if (ran) *ran = ok;
    Rows rows;
    for (; ok && rs.GetColumnCount() > 0 && !rs.IsAfterLast(); rs.MoveNext()) {
      TString row;
      for (int i = 0; i < rs.GetColumnCount(); ++i) {
        TString value;
        rs.GetFieldText(i, value);
        row += (i ? DT("|") : DT("")) + value;
      }
      rows.push_back(row);
    }
    return rows;
  }

  bool Run(const TString& sql) {
    bool ran = false;
    Query(sql, &ran);
    return ran;
  }

  Rows Tables() { return Query(DT("select name from sqlite_master where type='table' order by name")); }

  TString Script(Generator generator, const TString& table, ObjectKind kind = ObjectKind::UserTables) {
    const ScriptTarget target{table, DT(""), kind, std::nullopt, TString()};
    return GenerateScript(generator, target, ReadColumns(m_connection, table), m_quote, {}).text;
  }

  static Rows Describe(const ColumnList& columns) {
    Rows rows;
    for (const ColumnInfo& c : columns)
      rows.push_back(Format(DT("%s %d %s %d %d"), c.name, c.dataType, c.typeName, c.precision, c.nullable));
    return rows;
  }

  test::ScratchFolder m_folder;
  std::string m_path;
  db::CDbConnection m_connection;
  TChar m_quote = kNoIdentifierQuote;
};

TEST_F(ColumnReaderTest, ColumnsInCatalogOrderWithTheDriversTypes) {
  EXPECT_EQ(m_quote, TChar('"'));
  // The driver's own view: declared types as written or upper case, char(3)
  // as varchar, no size for text or blob, and the row id reported nullable.
  EXPECT_EQ(Describe(ReadColumns(m_connection, DT("people"))),
            (Rows{DT("id 4 INTEGER 9 1"), DT("first name 12 varchar(40) 40 0"), FromUtf8("pr\xC3\xA9nom -1 TEXT 0 1"),
                  DT("b -2 BLOB 0 1"), DT("say \"hi\" 12 char(3) 3 1")}));
}

TEST_F(ColumnReaderTest, OnlyTheNamedTableThoughTheCatalogTakesAPattern) {
  db::CColumnsSet raw(&m_connection);
  ASSERT_TRUE(raw.Open(nullptr, nullptr, DT("order_lines"), nullptr, db::kForwardOnly));
  Rows rawTables;
  for (; !raw.IsAfterLast(); raw.MoveNext()) rawTables.push_back(raw.m_strTableName);
  EXPECT_EQ(rawTables, (Rows{DT("order_lines"), DT("orderxlines")}));

  EXPECT_EQ(Describe(ReadColumns(m_connection, DT("order_lines"))), (Rows{DT("line 4 INTEGER 9 1")}));
  EXPECT_EQ(ReadColumns(m_connection, DT("order%")).size(), 0u);
  EXPECT_EQ(ReadColumns(m_connection, DT("missing")).size(), 0u);
}

TEST_F(ColumnReaderTest, AClosedConnectionGivesAnEmptyListAndTheTextStillComes) {
  db::CDbConnection closed;
  EXPECT_TRUE(ReadColumns(closed, DT("people")).empty());
  const ScriptTarget target{DT("orders"), DT(""), ObjectKind::UserTables, std::nullopt, TString()};
  EXPECT_EQ(GenerateScript(Generator::Select, target, ReadColumns(closed, DT("orders")), m_quote, {}).text,
            DT("SELECT  \r\nFROM orders;"));
}

TEST_F(ColumnReaderTest, ScriptsOfAHostileTableNameTouchOnlyThatTable) {
  const TString hostile = DT("t; drop table u");
  const TString select = Script(Generator::Select, hostile);
  EXPECT_EQ(select, DT("SELECT a,\"b c\" \r\nFROM \"t; drop table u\";"));
  EXPECT_TRUE(Run(select));
  EXPECT_TRUE(Run(Script(Generator::Delete, hostile)));

  const TString drop = Script(Generator::Drop, hostile);
  EXPECT_EQ(drop, DT("DROP TABLE \"t; drop table u\";"));
  EXPECT_TRUE(Run(drop));
  const Rows tables = Tables();
  EXPECT_EQ(std::count(tables.begin(), tables.end(), DT("u")), 1);
  EXPECT_EQ(std::count(tables.begin(), tables.end(), hostile), 0);
  EXPECT_EQ(Query(DT("select x from u")), Rows{DT("1")});
}

TEST_F(ColumnReaderTest, CreateTextRebuildsTheTableFromItsColumns) {
  const TString create = Script(Generator::Create, DT("people"));
  EXPECT_EQ(create, FromUtf8("CREATE TABLE people ( \r\n\tid INTEGER NULL, \r\n\t\"first name\" varchar (40) NOT "
                             "NULL, \r\n\t\"pr\xC3\xA9nom\" TEXT NULL, \r\n\tb BLOB (0) NULL, \r\n\t\"say \"\"hi\"\"\" "
                             "char (3) NULL\r\n); "));
  ASSERT_TRUE(Run(Script(Generator::Drop, DT("people"))));
  ASSERT_TRUE(Run(create));
  // The same names, codes, sizes and nullability; the declared types now
  // read as the script wrote them.
  EXPECT_EQ(Describe(ReadColumns(m_connection, DT("people"))),
            (Rows{DT("id 4 INTEGER 9 1"), DT("first name 12 varchar (40) 40 0"), FromUtf8("pr\xC3\xA9nom -1 TEXT 0 1"),
                  DT("b -2 BLOB (0) 0 1"), DT("say \"hi\" 12 char (3) 3 1")}));
}

TEST_F(ColumnReaderTest, ColumnScriptsUseTheCatalogName) {
  const ColumnList columns = ReadColumns(m_connection, DT("people"));
  ASSERT_GE(columns.size(), 2u);
  const ScriptTarget column{DT("people"), ColumnCaption(columns[1]), ObjectKind::Columns, columns[1].name, TString()};
  EXPECT_EQ(column.subobject, DT("first [varchar(40),Not Null]"));
  ASSERT_TRUE(Run(DT("insert into people values (1, 'Ada', 'A', null, 'x')")));
  const TString select = GenerateScript(Generator::Select, column, columns, m_quote, {}).text;
  EXPECT_EQ(select, DT("SELECT \"first name\" \r\nFROM people;"));
  EXPECT_EQ(Query(select), Rows{DT("Ada")});
}

TEST_F(ColumnReaderTest, NonAsciiNamesRunInBothWidths) {
  const TString cafe = FromUtf8("caf\xC3\xA9");
  const TString select = Script(Generator::Select, cafe);
  EXPECT_EQ(ToUtf8(select), "SELECT x \r\nFROM \"caf\xC3\xA9\";");
  EXPECT_EQ(Query(select), Rows{DT("42")});
  EXPECT_EQ(Query(EmptySelectQuery(cafe, m_quote)), Rows{});
  EXPECT_TRUE(Run(EmptySelectQuery(cafe, m_quote)));
}

TEST_F(ColumnReaderTest, TreeQueriesWithAQuoteInTheName) {
  EXPECT_EQ(Query(TriggerListQuery(DbmsFamily::SQLite, DT("it's"))), Rows{DT("it's_audit")});
  EXPECT_EQ(Query(TriggerListQuery(DbmsFamily::SQLite, DT("x' or '1'='1"))), Rows{});
  bool ran = false;
  Query(EmptySelectQuery(DT("t; drop table u"), m_quote), &ran);
  EXPECT_TRUE(ran);
  EXPECT_EQ(Query(DT("select x from u")), Rows{DT("1")});
}

}  // namespace
}  // namespace dossel::schema
