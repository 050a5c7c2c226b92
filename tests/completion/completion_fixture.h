#pragma once
// A session on a small shop database of the SQLite driver, with the
// catalog cache completion keeps for it.

#include <string>
#include <vector>

#include "completion/catalog_cache.h"
#include "session_fixture.h"

namespace dossel::test {

inline constexpr const char* kShopSchema =
    "create table customers(customer_id integer primary key, name text not null, city varchar(30));"
    "create table orders(order_id integer primary key, customer_id integer references customers, total real);"
    "create table order_lines(order_id integer, line integer, product text, \"Unit Price\" numeric(8,2));"
    "create table \"order lines\"(a integer);"
    "create view best_orders as select * from orders where total > 100;";

class CompletionTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database, kShopSchema);
  }

  void Connect() {
    // A short busy time-out, so that a locked database fails a read quickly.
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database + ";Timeout=200"));
  }

  // Pumps the cache and the posted answers until nothing is wanted.
  bool Settle() {
    return PumpUntil([&] {
      m_cache.Pump();
      return m_cache.IsIdle();
    });
  }

  std::vector<std::string> TableNames() const {
    std::vector<std::string> names;
    for (const completion::CCatalogCache::Table& table : m_cache.Tables()) names.push_back(ToUtf8(table.table.name));
    return names;
  }

  // The columns of `table` as "name type", after reading them.
  std::vector<std::string> ColumnsOf(const char* table) {
    const completion::CatalogTable* found = m_cache.FindTable({FromUtf8(table)});
    if (!found) return {"no table " + std::string(table)};
    const completion::CatalogTable copy = *found;
    m_cache.Columns(copy);
    Settle();
    const auto* columns = m_cache.Columns(copy);
    if (!columns) return {"not read"};
    std::vector<std::string> out;
    for (const auto& c : *columns) out.push_back(ToUtf8(c.column.name) + " " + ToUtf8(c.column.type));
    return out;
  }

  std::string m_database;
  completion::CCatalogCache m_cache{m_session};
};

}  // namespace dossel::test
