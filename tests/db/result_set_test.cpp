// Result sets and field exchange against the real SQLite driver.

#include <gtest/gtest.h>

#include "db/field_exchange.h"
#include "db_test_fixture.h"

namespace dossel::test {
namespace {

using db::CDbColumnInfo;
using db::CQueryResultSet;

TEST_F(SqliteFixture, NullAndEmptyTextBothReadAsEmpty) {
  EXPECT_EQ(One(DT("select NULL, '', 'x'")), DT("||x"));
  EXPECT_EQ(One(DT("select 7, 2.5, -3")), DT("7|2.5|-3"));
}

TEST_F(SqliteFixture, LongTextIsReadWhole) {
  RunSqlite(m_databasePath, "create table big(t text); insert into big values (printf('%.70000c', 'q') || 'end')");
  const TString value = One(DT("select t from big"));
  ASSERT_EQ(value.size(), 70003u);
  EXPECT_EQ(value.substr(69998), DT("qqend"));
}

TEST_F(SqliteFixture, ExpressionLongerThanItsDescribedSizeIsReadWhole) {
  // Described as VARCHAR(255); the value is 300 characters.
  const TString value = One(DT("select printf('%.300c', 'x') || 'yz'"));
  EXPECT_EQ(value.size(), 302u);
  EXPECT_EQ(value.substr(298), DT("xxyz"));
}

TEST_F(SqliteFixture, BinaryValuesReadAsHexDigits) {
  RunSqlite(m_databasePath,
            "create table b(id, v blob);"
            "insert into b values (1, x'0102'), (2, zeroblob(0)), (3, NULL), (4, randomblob(1000));");
  EXPECT_EQ(One(DT("select v from b where id = 1")), DT("0x0102"));
  EXPECT_EQ(One(DT("select v from b where id = 2")), DT(""));
  EXPECT_EQ(One(DT("select v from b where id = 3")), DT(""));
  const TString big = One(DT("select v from b where id = 4"));
  ASSERT_EQ(big.size(), 2u + 2000u);
  EXPECT_EQ(big.substr(0, 2), DT("0x"));
  EXPECT_EQ(big.substr(2), One(DT("select hex(v) from b where id = 4")));
}

// A whole row read at once gives what reading each value gives, whatever
// the type: NULL, binary, a long text, an expression.
TEST_F(SqliteFixture, WholeRowReadsAsEachValueReads) {
  RunSqlite(m_databasePath,
            "create table r(a, b blob, c text, d);"
            "insert into r values (NULL, x'0a0b', printf('%.5000c', 'w'), 'last'), (1, NULL, '', 2.5);");
  const TString sql = DT("select a, b, c, d, a + 1 from r order by rowid");
  // Each value can be read once per row, so the two ways read two runs.
  std::vector<TString> byRow;
  std::vector<TString> byValue;
  CQueryResultSet rows(&m_connection);
  ASSERT_TRUE(rows.OpenSql(sql));
  for (; !rows.IsAfterLast(); rows.MoveNext()) {
    std::vector<TString> row(5, DT("stale"));
    rows.GetRowTexts(row.data(), 5);
    byRow.insert(byRow.end(), row.begin(), row.end());
  }
  CQueryResultSet values(&m_connection);
  ASSERT_TRUE(values.OpenSql(sql));
  for (; !values.IsAfterLast(); values.MoveNext()) {
    for (int i = 0; i < 5; ++i) {
      TString one = DT("stale");
      values.GetFieldText(i, one);
      byValue.push_back(one);
    }
  }
  ASSERT_EQ(byRow.size(), 10u);
  EXPECT_TRUE(byRow == byValue);
  EXPECT_EQ(byRow[1], DT("0x0A0B"));
  EXPECT_EQ(byRow[2].size(), 5000u);
  EXPECT_EQ(byRow[5], DT("1"));
  EXPECT_EQ(byRow[6], DT(""));
}

TEST_F(SqliteFixture, EmptySelectIsBothBeforeFirstAndAfterLast) {
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("select x from seed")));
  EXPECT_EQ(rs.GetColumnCount(), 1);
  EXPECT_TRUE(rs.IsBeforeFirst());
  EXPECT_TRUE(rs.IsAfterLast());
  EXPECT_TRUE(rs.IsOpen());
}

TEST_F(SqliteFixture, InsertHasNoColumnsAndIsNotFetched) {
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("insert into seed values (1)")));
  EXPECT_EQ(rs.GetColumnCount(), 0);
  EXPECT_EQ(rs.IsBeforeFirst(), rs.IsAfterLast());
  SQLLEN rows = 0;
  EXPECT_EQ(SQLRowCount(rs.GetStatement(), &rows), SQL_SUCCESS);
  EXPECT_EQ(rows, 1);
  TString untouched = DT("keep");
  rs.GetFieldText(0, untouched);
  EXPECT_EQ(untouched, DT("keep"));
  EXPECT_FALSE(rs.NextResultSet());
}

TEST_F(SqliteFixture, RowsAndDescribedColumnsInOrder) {
  RunSqlite(m_databasePath, "create table t(a integer, b text); insert into t values (1,'x'),(2,'y'),(3,NULL)");
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("select a, b as second from t order by a")));
  ASSERT_EQ(rs.GetColumnCount(), 2);
  CDbColumnInfo info;
  rs.GetDescribedColumn(1, info);
  EXPECT_EQ(info.m_strName, DT("second"));
  EXPECT_EQ(info.m_nSQLType, SQL_LONGVARCHAR);
  std::vector<TString> seen;
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    TString a, b;
    rs.GetFieldText(0, a);
    rs.GetFieldText(1, b);
    seen.push_back(a + DT(":") + b);
  }
  EXPECT_EQ(seen, (std::vector<TString>{DT("1:x"), DT("2:y"), DT("3:")}));
  EXPECT_FALSE(rs.IsBeforeFirst());
}

TEST_F(SqliteFixture, BadSqlOpensAtEndOfResult) {
  CQueryResultSet rs(&m_connection);
  EXPECT_TRUE(rs.OpenSql(DT("selec nothing")));
  // The driver gives no column count after a failed execute.
  EXPECT_EQ(rs.GetColumnCount(), -1);
  EXPECT_TRUE(rs.IsAfterLast());
}

TEST_F(SqliteFixture, ClosedSetReopensOnANewStatement) {
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("select 1")));
  rs.Close();
  EXPECT_FALSE(rs.IsOpen());
  EXPECT_EQ(rs.GetColumnCount(), -1);
  ASSERT_TRUE(rs.OpenSql(DT("select 2")));
  TString v;
  rs.GetFieldText(0, v);
  EXPECT_EQ(v, DT("2"));
}

TEST_F(SqliteFixture, NonAsciiTextRoundTrips) {
  CQueryResultSet insert(&m_connection);
  ASSERT_TRUE(insert.OpenSql(FromUtf8("insert into seed values ('caf\xC3\xA9 \xE4\xB8\xAD')")));
  insert.Close();
  EXPECT_EQ(One(DT("select x from seed")), FromUtf8("caf\xC3\xA9 \xE4\xB8\xAD"));
  // What was stored is UTF-8, as SQLite itself reads it.
  EXPECT_EQ(One(DT("select hex(x) from seed")), DT("636166C3A920E4B8AD"));
}

// A set that binds three members by position, as the catalog sets do.
class BoundSet : public db::CDbResultSet {
 public:
  explicit BoundSet(db::CDbConnection* connection) : CDbResultSet(connection) { m_nFields = 5; }
  void ExchangeFields(db::CDbFieldExchange* fx) override {
    db::DFX_Text(fx, DT("NAME"), m_name);
    db::DFX_Int(fx, DT("SMALL"), m_small);
    db::DFX_Long(fx, DT("BIG"), m_big);
    db::DFX_Int(fx, DT("NULL_SMALL"), m_nullSmall);
    db::DFX_Long(fx, DT("NULL_BIG"), m_nullBig);
  }
  TString m_name;
  int32_t m_small = 0, m_big = 0, m_nullSmall = 0, m_nullBig = 0;
};

TEST_F(SqliteFixture, FieldExchangeBindsByPositionAndMarksNulls) {
  RunSqlite(m_databasePath,
            "create table f(n text, s int, b int);"
            "insert into f values ('first', 5, 100000), (NULL, NULL, NULL), (printf('%.300c','r'), 1, 2)");
  BoundSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(db::kForwardOnly, DT("select n, s, b, NULL, NULL from f order by rowid"), db::kExecuteDirect));
  EXPECT_EQ(rs.m_name, DT("first"));
  EXPECT_EQ(rs.m_small, 5);
  EXPECT_EQ(rs.m_big, 100000);
  EXPECT_EQ(rs.m_nullSmall, db::kNullInt);
  EXPECT_EQ(rs.m_nullBig, db::kNullLong);
  rs.MoveNext();
  EXPECT_EQ(rs.m_name, DT(""));
  EXPECT_TRUE(rs.IsFieldNull(1));
  EXPECT_EQ(rs.m_small, 32484);
  EXPECT_EQ(rs.m_big, 0x4A4D4120);
  rs.MoveNext();
  // A text member holds at most its maximum length.
  EXPECT_EQ(rs.m_name.size(), 255u);
  rs.MoveNext();
  EXPECT_TRUE(rs.IsAfterLast());
}

TEST(FieldExchangeTest, TextBufferRule) {
  // A need of at least 256 within the maximum is used; otherwise the maximum.
  EXPECT_EQ(db::TextBufferLength(SQL_VARCHAR, 300, 1000), 300);
  EXPECT_EQ(db::TextBufferLength(SQL_VARCHAR, 100, 1000), 1000);
  EXPECT_EQ(db::TextBufferLength(SQL_VARCHAR, 300, 255), 255);
  EXPECT_EQ(db::TextBufferLength(SQL_DECIMAL, 254, 1000), 256);
  EXPECT_EQ(db::TextBufferLength(SQL_INTEGER, 255, 1000), 256);
  EXPECT_EQ(db::TextBufferLength(SQL_DOUBLE, 246, 1000), 256);
}

}  // namespace
}  // namespace dossel::test
