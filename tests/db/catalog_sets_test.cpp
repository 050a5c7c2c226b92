// The catalog result sets against the real SQLite driver: what it reports
// for tables, views, columns, indexes, keys and types, read through the
// members, in both text widths.

#include <gtest/gtest.h>

#include <vector>

#include "db/catalog_sets.h"
#include "db_test_fixture.h"
#include "platform/format.h"

namespace dossel::test {
namespace {

using namespace db;

class CatalogSetsTest : public SqliteFixture {
 protected:
  void SetUp() override {
    // Made before the connection: the driver's first SQLForeignKeys after
    // another connection changed the schema answers from the old schema.
    RunSqlite(m_folder.File("test.db"),
              "create table customer(id integer primary key, name text not null, \"first name\" varchar(40),"
              " \"prénom\" varchar(20));"
              "create table orders(order_id integer primary key, customer_id integer references customer(id),"
              " amount numeric(10,2), placed date, note varchar(300), b blob, r real, i int not null, c char(3));"
              "create index orders_customer on orders(customer_id);"
              "create unique index customer_name on customer(name, \"first name\");"
              "create view big_orders as select * from orders where amount > 100;"
              "create table pair(a text, b text, primary key(a, b));"
              "create table \"café\"(x);"
              "create table \"order lines\"(line integer, \"é\" text);");
    SqliteFixture::SetUp();
  }

  std::vector<TString> Tables(const TChar* name, const TChar* type) {
    CTablesSet rs(&m_connection);
    EXPECT_TRUE(rs.Open(nullptr, nullptr, name, type, kForwardOnly));
    std::vector<TString> rows;
    for (; !rs.IsAfterLast(); rs.MoveNext())
      rows.push_back(rs.m_strTableQualifier + DT("|") + rs.m_strTableOwner + DT("|") + rs.m_strTableName + DT("|") +
                     rs.m_strTableType);
    return rows;
  }

  std::vector<TString> Columns(const TChar* table) {
    CColumnsSet rs(&m_connection);
    EXPECT_TRUE(rs.Open(nullptr, nullptr, table, nullptr, kForwardOnly));
    std::vector<TString> rows;
    for (; !rs.IsAfterLast(); rs.MoveNext())
      rows.push_back(Format(DT("%s %d %s %d %d"), rs.m_strColumnName, rs.m_nDataType, rs.m_strTypeName, rs.m_lPrecision,
                            rs.m_nNullable));
    return rows;
  }

  std::vector<TString> Indexes(const TChar* table, int openType) {
    CStatisticsSet rs(&m_connection);
    EXPECT_TRUE(rs.Open(nullptr, nullptr, table, openType));
    std::vector<TString> rows;
    for (; !rs.IsAfterLast(); rs.MoveNext())
      rows.push_back(Format(DT("%s %s unique=%d type=%d %d:%s"), rs.m_strTableName, rs.m_strIndexName,
                            rs.m_nNonUnique == 0, rs.m_nType, rs.m_nOrdinalPosition, rs.m_strColumnName));
    return rows;
  }
};

using Rows = std::vector<TString>;

TEST_F(CatalogSetsTest, TablesAndViewsFilteredByType) {
  EXPECT_EQ(Tables(nullptr, DT("'TABLE'")), (Rows{DT("||customer|TABLE"), DT("||orders|TABLE"), DT("||pair|TABLE"),
                                                  DT("||café|TABLE"), DT("||order lines|TABLE"), DT("||seed|TABLE")}));
  EXPECT_EQ(Tables(nullptr, DT("'VIEW'")), (Rows{DT("||big_orders|VIEW")}));
  // No restriction at all: every table-like object.
  EXPECT_EQ(Tables(nullptr, nullptr).size(), 7u);
  EXPECT_EQ(Tables(DT("order lines"), nullptr), (Rows{DT("||order lines|TABLE")}));
  EXPECT_EQ(Tables(DT("café"), DT("'TABLE'")), (Rows{DT("||café|TABLE")}));
  EXPECT_EQ(Tables(DT("big_orders"), DT("'TABLE'")), Rows{});
}

TEST_F(CatalogSetsTest, ColumnsWithTheTypesSizesAndNullabilityTheDriverReports) {
  // TEXT is a long varchar of size 0 here (65536 in result descriptions),
  // NUMERIC a double whose precision is its scale, DATE the ODBC 2 code 9.
  EXPECT_EQ(Columns(DT("orders")),
            (Rows{DT("order_id 4 INTEGER 9 1"), DT("customer_id 4 INTEGER 9 1"), DT("amount 8 numeric(10,2) 2 1"),
                  DT("placed 9 date 0 1"), DT("note -1 varchar(300) 300 1"), DT("b -2 BLOB 0 1"), DT("r 8 REAL 53 1"),
                  DT("i 4 INT 9 0"), DT("c 12 char(3) 3 1")}));
  EXPECT_EQ(Columns(DT("customer")), (Rows{DT("id 4 INTEGER 9 1"), DT("name -1 TEXT 0 0"),
                                           DT("first name 12 varchar(40) 40 1"), DT("prénom 12 varchar(20) 20 1")}));
  EXPECT_EQ(Columns(DT("order lines")), (Rows{DT("line 4 INTEGER 9 1"), DT("é -1 TEXT 0 1")}));
  EXPECT_EQ(Columns(DT("café")), (Rows{DT("x 12  0 1")}));
  EXPECT_EQ(Columns(DT("no such table")), Rows{});
}

TEST_F(CatalogSetsTest, ColumnRestrictionAndTheOtherMembers) {
  CColumnsSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, DT("customer"), DT("first name"), kForwardOnly));
  ASSERT_FALSE(rs.IsAfterLast());
  EXPECT_EQ(rs.m_strTableQualifier, DT(""));
  EXPECT_EQ(rs.m_strTableOwner, DT(""));
  EXPECT_EQ(rs.m_strTableName, DT("customer"));
  EXPECT_EQ(rs.m_strColumnName, DT("first name"));
  EXPECT_EQ(rs.m_lLength, 40);
  // The driver puts 10 and 0 in the scale and radix columns.
  EXPECT_EQ(rs.m_nScale, 10);
  EXPECT_EQ(rs.m_nRadix, 0);
  EXPECT_EQ(rs.m_strRemarks, DT(""));
  rs.MoveNext();
  EXPECT_TRUE(rs.IsAfterLast());
}

TEST_F(CatalogSetsTest, IndexesIncludingTheInventedOneForAnIntegerPrimaryKey) {
  const Rows customer{DT("customer sqlite_autoindex_0 unique=1 type=3 1:id"),
                      DT("customer customer_name unique=1 type=3 1:name"),
                      DT("customer customer_name unique=1 type=3 2:first name")};
  // The schema tree opens indexes keyset-driven; the rows are the same.
  EXPECT_EQ(Indexes(DT("customer"), kDynaset), customer);
  EXPECT_EQ(Indexes(DT("customer"), kForwardOnly), customer);
  EXPECT_EQ(Indexes(DT("orders"), kDynaset), (Rows{DT("orders sqlite_autoindex_0 unique=1 type=3 1:order_id"),
                                                   DT("orders orders_customer unique=0 type=3 1:customer_id")}));
  EXPECT_EQ(Indexes(DT("pair"), kDynaset), (Rows{DT("pair sqlite_autoindex_pair_1 unique=1 type=3 1:a"),
                                                 DT("pair sqlite_autoindex_pair_1 unique=1 type=3 2:b")}));
  EXPECT_EQ(Indexes(DT("order lines"), kDynaset), Rows{});
}

TEST_F(CatalogSetsTest, PrimaryKeysHaveNoNames) {
  Rows keys;
  for (const TChar* table : {DT("customer"), DT("pair"), DT("order lines")}) {
    CPrimaryKeysSet rs(&m_connection);
    ASSERT_TRUE(rs.Open(nullptr, nullptr, table, kDynaset));
    for (; !rs.IsAfterLast(); rs.MoveNext())
      keys.push_back(Format(DT("%s.%s %d [%s]"), rs.m_strTableName, rs.m_strColumnName, rs.m_nKeySeq, rs.m_strPkName));
  }
  EXPECT_EQ(keys, (Rows{DT("customer.id 1 []"), DT("pair.a 1 []"), DT("pair.b 2 []")}));
}

TEST_F(CatalogSetsTest, ForeignKeysOfTheReferencingTable) {
  CForeignKeysSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, nullptr, nullptr, nullptr, DT("orders"), kDynaset));
  ASSERT_FALSE(rs.IsAfterLast());
  EXPECT_EQ(rs.m_strPkTableName, DT("customer"));
  EXPECT_EQ(rs.m_strPkColumnName, DT("id"));
  EXPECT_EQ(rs.m_strFkTableName, DT("orders"));
  EXPECT_EQ(rs.m_strFkColumnName, DT("customer_id"));
  EXPECT_EQ(rs.m_nKeySeq, 1);
  EXPECT_EQ(rs.m_nUpdateRule, SQL_NO_ACTION);
  EXPECT_EQ(rs.m_nDeleteRule, SQL_NO_ACTION);
  EXPECT_EQ(rs.m_nDeferrability, SQL_NOT_DEFERRABLE);
  // NULL even though the driver could have named them.
  EXPECT_EQ(rs.m_strFkName, DT(""));
  EXPECT_EQ(rs.m_strPkName, DT(""));
  rs.MoveNext();
  EXPECT_TRUE(rs.IsAfterLast());

  CForeignKeysSet none(&m_connection);
  ASSERT_TRUE(none.Open(nullptr, nullptr, nullptr, nullptr, nullptr, DT("customer"), kDynaset));
  EXPECT_TRUE(none.IsAfterLast());
}

TEST_F(CatalogSetsTest, SeventeenTypesWithNullMarkersForUnsetNumbers) {
  CTypeInfoSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(SQL_ALL_TYPES));
  Rows names;
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    names.push_back(rs.m_strTypeName);
    if (rs.m_strTypeName != DT("varchar")) continue;
    EXPECT_EQ(rs.m_nDataType, SQL_VARCHAR);
    EXPECT_EQ(rs.m_lPrecision, 255);
    EXPECT_EQ(rs.m_strLiteralPrefix, DT("'"));
    EXPECT_EQ(rs.m_strLiteralSuffix, DT("'"));
    EXPECT_EQ(rs.m_strCreateParams, DT("length"));
    EXPECT_EQ(rs.m_nNullable, SQL_NULLABLE);
    EXPECT_EQ(rs.m_nSearchable, SQL_SEARCHABLE);
    EXPECT_EQ(rs.m_nUnsignedAttribute, kNullInt);
    EXPECT_EQ(rs.m_strLocalTypeName, DT("varchar"));
    EXPECT_EQ(rs.m_nMinimumScale, kNullInt);
    EXPECT_EQ(rs.m_nMaximumScale, kNullInt);
  }
  ASSERT_EQ(names.size(), 17u);
  EXPECT_EQ(names.front(), DT("bit"));

  CTypeInfoSet one(&m_connection);
  ASSERT_TRUE(one.Open(SQL_TIMESTAMP, kForwardOnly));
  ASSERT_FALSE(one.IsAfterLast());
  EXPECT_EQ(one.m_strTypeName, DT("timestamp"));
  EXPECT_EQ(one.m_nMaximumScale, 3);
  one.MoveNext();
  EXPECT_TRUE(one.IsAfterLast());
}

TEST_F(CatalogSetsTest, NoProceduresIsAnEmptyList) {
  CProceduresSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, nullptr, kForwardOnly));
  EXPECT_TRUE(rs.IsBeforeFirst());
  EXPECT_TRUE(rs.IsAfterLast());
  EXPECT_FALSE(rs.ExecuteFailed());
}

TEST_F(CatalogSetsTest, ASetOpenedAgainAnswersTheNewQuestion) {
  CColumnsSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, DT("customer"), nullptr, kForwardOnly));
  EXPECT_EQ(rs.m_strColumnName, DT("id"));
  ASSERT_TRUE(rs.Open(nullptr, nullptr, DT("order lines"), DT("é"), kDynaset));
  ASSERT_FALSE(rs.IsAfterLast());
  EXPECT_EQ(rs.m_strTableName, DT("order lines"));
  EXPECT_EQ(rs.m_strColumnName, DT("é"));
  EXPECT_EQ(m_connection.ResultSetCount(), 1u);
  rs.Close();
  EXPECT_EQ(m_connection.ResultSetCount(), 0u);
  // Closed, the set gets a statement of its own at the next open.
  ASSERT_TRUE(rs.Open(nullptr, nullptr, DT("pair"), nullptr, kForwardOnly));
  EXPECT_EQ(rs.m_strColumnName, DT("a"));
}

TEST_F(CatalogSetsTest, NothingOpensWithoutAConnection) {
  CDbConnection closed;
  CTablesSet tables(&closed);
  EXPECT_FALSE(tables.Open(nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(tables.GetStatement(), nullptr);
  EXPECT_TRUE(tables.IsAfterLast());
  CTypeInfoSet types(&closed);
  EXPECT_FALSE(types.Open(SQL_ALL_TYPES));
}

}  // namespace
}  // namespace dossel::test
