// The catalog cache against the real SQLite driver: what it reads and
// when, a run that changes the schema, a failed read, and the connection
// it follows.

#include <sqlite3.h>

#include "completion_fixture.h"

namespace dossel::test {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kLongQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";

class CatalogCacheTest : public CompletionTest {};

TEST_F(CatalogCacheTest, TablesAndViewsAreReadAtConnectAndColumnsWhenFirstAsked) {
  m_cache.Pump();
  EXPECT_FALSE(m_cache.IsConnected());
  Connect();
  m_cache.Pump();
  EXPECT_TRUE(m_cache.IsReading()) << "the names are asked for at once";
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(m_cache.NamesKnown());
  EXPECT_EQ(TableNames(), (Names{"best_orders", "customers", "order lines", "order_lines", "orders"}));
  const completion::CatalogTable* view = m_cache.FindTable({DT("BEST_ORDERS")});
  ASSERT_NE(view, nullptr) << "found ignoring case";
  EXPECT_TRUE(view->view);
  EXPECT_EQ(m_cache.Rules().quote, TChar('"'));

  // Columns come when first asked for, in the table's order, with their
  // types as the driver spells them.
  const completion::CatalogTable orders = *m_cache.FindTable({DT("orders")});
  EXPECT_EQ(m_cache.Columns(orders), nullptr);
  EXPECT_TRUE(m_cache.IsReading());
  ASSERT_TRUE(Settle());
  EXPECT_EQ(ColumnsOf("orders"), (Names{"order_id INTEGER", "customer_id INTEGER", "total REAL"}));
  // The catalog takes "order_lines" as a pattern; only that table's columns count.
  EXPECT_EQ(ColumnsOf("order_lines"),
            (Names{"order_id INTEGER", "line INTEGER", "product TEXT", "Unit Price numeric(8,2)"}));
  EXPECT_EQ(ColumnsOf("order lines"), (Names{"a INTEGER"}));
}

TEST_F(CatalogCacheTest, NothingIsReadWhileARunGoesOn) {
  Connect();
  Start(kLongQuery);
  m_cache.Pump();
  EXPECT_FALSE(m_cache.IsReading()) << "the run first";
  Pump(200);
  m_cache.Pump();
  EXPECT_FALSE(m_cache.IsReading());
  EXPECT_FALSE(m_cache.NamesKnown());
  ASSERT_TRUE(m_session.IsExecuting());
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(TableNames().size(), 5u);

  // A table's columns asked for during a run are read after it.
  const completion::CatalogTable customers = *m_cache.FindTable({DT("customers")});
  Start(kLongQuery);
  EXPECT_EQ(m_cache.Columns(customers), nullptr);
  Pump(100);
  EXPECT_FALSE(m_cache.IsReading());
  ASSERT_TRUE(m_session.IsExecuting());
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  ASSERT_TRUE(Settle());
  ASSERT_NE(m_cache.Columns(customers), nullptr);
  EXPECT_EQ(m_cache.Columns(customers)->size(), 3u);
}

TEST_F(CatalogCacheTest, ARunThatChangesTheSchemaIsFollowedByAFreshRead) {
  Connect();
  ASSERT_TRUE(Settle());
  EXPECT_EQ(ColumnsOf("customers").size(), 3u);

  // A run without such a statement reads nothing.
  const std::string select = "select * from customers";
  Start(select);
  m_cache.NoteRun(FromUtf8(select));
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  m_cache.Pump();
  EXPECT_TRUE(m_cache.IsIdle());

  // A split script with one: the names, and the altered table's columns
  // when next needed, are read again once the run has ended.
  const std::string script =
      "insert into customers(name) values ('Ann');\n"
      "create table fresh(id integer, note text);\n"
      "alter table customers add column phone text;";
  Start(script);
  m_cache.NoteRun(FromUtf8(script));
  m_cache.Pump();
  EXPECT_FALSE(m_cache.IsReading());
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  ASSERT_TRUE(Settle());
  EXPECT_NE(m_cache.FindTable({DT("fresh")}), nullptr);
  const completion::CatalogTable customers = *m_cache.FindTable({DT("customers")});
  ASSERT_NE(m_cache.Columns(customers), nullptr) << "the old columns while the new are read";
  EXPECT_EQ(m_cache.Columns(customers)->size(), 3u);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(ColumnsOf("customers"), (Names{"customer_id INTEGER", "name TEXT", "city varchar(30)", "phone TEXT"}));

  // A table dropped is gone after its run.
  Start("drop table fresh");
  m_cache.NoteRun(DT("drop table fresh"));
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(m_cache.FindTable({DT("fresh")}), nullptr);
}

TEST_F(CatalogCacheTest, AFailedReadKeepsWhatWasReadAndSaysNothing) {
  Connect();
  ASSERT_TRUE(Settle());
  ASSERT_EQ(TableNames().size(), 5u);
  const std::string traceBefore = m_view.Trace();

  // Another connection holds the database locked: the driver's reads fail.
  RunSqlite(m_database, "create table added(a integer);");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(m_database.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
  m_cache.Refresh();
  ASSERT_TRUE(Settle());
  ASSERT_EQ(TableNames().size(), 5u) << "the old names stay";
  const completion::CatalogTable orders = *m_cache.FindTable({DT("orders")});
  m_cache.Columns(orders);
  ASSERT_TRUE(Settle());
  EXPECT_NE(m_cache.Columns(orders), nullptr);
  EXPECT_EQ(m_view.Trace(), traceBefore);
  EXPECT_TRUE(m_ui.texts.empty());

  sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  m_cache.Refresh();
  ASSERT_TRUE(Settle());
  EXPECT_EQ(TableNames().size(), 6u);
}

TEST_F(CatalogCacheTest, TheCacheFollowsTheConnection) {
  Connect();
  ASSERT_TRUE(Settle());
  ASSERT_FALSE(m_cache.Tables().empty());
  int changes = 0;
  m_cache.SetOnChange([&] { ++changes; });
  m_session.Disconnect();
  m_cache.Pump();
  EXPECT_FALSE(m_cache.IsConnected());
  EXPECT_TRUE(m_cache.Tables().empty());
  EXPECT_EQ(changes, 1);

  // Another database: only its names.
  const std::string other = m_folder.File("other.db");
  RunSqlite(other, "create table elsewhere(a integer);");
  ASSERT_TRUE(ConnectTo("DSN=Other;Database=" + other));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(TableNames(), Names{"elsewhere"});

  // An answer asked of one connection never reaches the next one's names.
  m_cache.Refresh();
  EXPECT_TRUE(m_cache.IsReading());
  m_session.Disconnect();
  Connect();
  ASSERT_TRUE(Settle());
  EXPECT_EQ(TableNames().size(), 5u);
}

}  // namespace
}  // namespace dossel::test
