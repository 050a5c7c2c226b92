// The list completion offers at a place of the text, from the catalog the
// SQLite driver gives and the keyword list. "|" in a text marks the caret.

#include "completion/completion_list.h"
#include "completion_fixture.h"

namespace dossel::test {
namespace {

using completion::ItemKind;
using Names = std::vector<std::string>;

class CompletionListTest : public CompletionTest {
 protected:
  void SetUp() override {
    CompletionTest::SetUp();
    Connect();
    ASSERT_TRUE(Settle());
  }

  // The list at the caret; with `settle`, after the cache has read what the
  // first list asked for.
  completion::CompletionList ListAt(const std::string& marked, bool settle = true) {
    const size_t caret = marked.find('|');
    std::string plain = marked;
    plain.erase(caret, 1);
    const TString text = FromUtf8(plain);
    const completion::CompletionContext context =
        completion::AnalyzeCompletion(text, FromUtf8(plain.substr(0, caret)).size());
    completion::CompletionList list = completion::BuildCompletionList(text, context, &m_cache, m_keywords, m_reserved);
    if (!settle || !list.waiting) return list;
    Settle();
    return completion::BuildCompletionList(text, context, &m_cache, m_keywords, m_reserved);
  }

  Names Texts(const completion::CompletionList& list, size_t count = 100) {
    Names texts;
    for (size_t i = 0; i < list.items.size() && i < count; ++i) texts.push_back(ToUtf8(list.items[i].text));
    return texts;
  }

  completion::CWordList m_keywords{DT("and as from join or order select where")};
  completion::CWordList m_reserved{DT("order select")};
};

TEST_F(CompletionListTest, TablesAndViewsWhereATableIsNamed) {
  // By prefix first, then by word parts.
  EXPECT_EQ(Texts(ListAt("select * from or|")), (Names{"\"order lines\"", "order_lines", "orders", "best_orders"}));
  const completion::CompletionList all = ListAt("select * from |");
  EXPECT_EQ(Texts(all), (Names{"best_orders", "customers", "\"order lines\"", "order_lines", "orders"}));
  EXPECT_EQ(all.items[0].kind, ItemKind::View);
  EXPECT_EQ(all.items[1].kind, ItemKind::Table);
  EXPECT_EQ(Texts(ListAt("select * from orders o join CU|")), Names{"customers"});
  EXPECT_EQ(Texts(ListAt("insert into ord_li|")), Names{"order_lines"});
  EXPECT_EQ(Texts(ListAt("update lines|")), Names{"order_lines"});
  EXPECT_EQ(Texts(ListAt("select * from best|")), Names{"best_orders"});
  EXPECT_EQ(Texts(ListAt("select * from \"order|")),
            (Names{"\"order lines\"", "\"order_lines\"", "\"orders\"", "\"best_orders\""}));
}

TEST_F(CompletionListTest, AGroupOfManyNamesShowsItsFirstAndTheNextKeyNarrowsIt) {
  std::string sql = "begin;";
  for (int i = 0; i < 1200; ++i) sql += "create table many" + std::to_string(10000 + i).substr(1) + "(a integer);";
  sql += "create table wide(c0 integer";
  for (int i = 1; i < 600; ++i) sql += ", c" + std::to_string(i) + " integer";
  sql += ");commit;";
  RunSqlite(m_database, sql);
  m_cache.Refresh();
  ASSERT_TRUE(Settle());
  ASSERT_EQ(m_cache.Tables().size(), 1206u);

  completion::CompletionList list = ListAt("select * from |");
  EXPECT_TRUE(list.cut);
  ASSERT_EQ(list.items.size(), completion::kMaxGroupItems);
  EXPECT_EQ(Texts(list, 3), (Names{"best_orders", "customers", "many0000"}));
  // What the first list left out, after one more key.
  list = ListAt("select * from many11|");
  EXPECT_FALSE(list.cut);
  ASSERT_EQ(list.items.size(), 100u);
  EXPECT_EQ(ToUtf8(list.items.back().text), "many1199");
  // A group that was cut keeps the groups after it.
  list = ListAt("select | from wide");
  EXPECT_TRUE(list.cut);
  ASSERT_EQ(list.items.size(), completion::kMaxGroupItems + 1 + 8);
  EXPECT_EQ(ToUtf8(list.items[completion::kMaxGroupItems].text), "wide");
  EXPECT_EQ(ToUtf8(list.items.back().text), "WHERE");
}

TEST_F(CompletionListTest, AnAliasOrATableFollowedByADotOffersItsColumns) {
  completion::CompletionList list = ListAt("select o.| from orders o", false);
  EXPECT_TRUE(list.waiting) << "the columns are read when first needed";
  EXPECT_TRUE(list.items.empty());
  list = ListAt("select o.| from orders o");
  EXPECT_FALSE(list.waiting);
  EXPECT_EQ(Texts(list), (Names{"order_id", "customer_id", "total"}));
  EXPECT_EQ(list.items[0].kind, ItemKind::Column);
  EXPECT_EQ(Texts(ListAt("select ORDERS.cu| from orders")), Names{"customer_id"});
  EXPECT_EQ(Texts(ListAt("select * from order_lines l where l.un|")), Names{"\"Unit Price\""});
  EXPECT_EQ(Texts(ListAt("select * from order_lines l where l.pri|")), Names{"\"Unit Price\""});
  // A table of the catalog the statement does not name yet.
  EXPECT_EQ(Texts(ListAt("select customers.|")), (Names{"customer_id", "name", "city"}));
  // Nothing for a name that is no table.
  list = ListAt("select x.| from orders o");
  EXPECT_TRUE(list.items.empty());
  EXPECT_FALSE(list.waiting);
}

TEST_F(CompletionListTest, ASelectListOffersTheStatementsColumnsThenKeywords) {
  // Before the columns are read: what there is, and the list is to be made again.
  completion::CompletionList waiting = ListAt("select | from customers", false);
  EXPECT_TRUE(waiting.waiting);
  EXPECT_EQ(Texts(waiting, 3), (Names{"customers", "AND", "AS"}));
  EXPECT_EQ(Texts(ListAt("select | from customers"), 4), (Names{"customer_id", "name", "city", "customers"}));

  const completion::CompletionList list =
      ListAt("select | from orders o join customers c on c.customer_id = o.customer_id");
  EXPECT_EQ(Texts(list), (Names{"order_id", "customer_id", "total", "name", "city", "o", "c", "AND", "AS", "FROM",
                                "JOIN", "OR", "ORDER", "SELECT", "WHERE"}));
  EXPECT_EQ(Texts(ListAt("select * from orders where o|")), (Names{"order_id", "orders", "or", "order"}));
  EXPECT_EQ(Texts(ListAt("select * from orders where TO|")), Names{"total"});
  EXPECT_EQ(Texts(ListAt("select * from orders where Or|")), (Names{"order_id", "orders", "OR", "ORDER"}));
  // Keywords alone at a statement's start.
  EXPECT_EQ(Texts(ListAt("sel|")), Names{"select"});
  EXPECT_EQ(Texts(ListAt("select * from orders o wh|")), Names{"where"});
}

TEST_F(CompletionListTest, SubqueryAndWithColumns) {
  EXPECT_EQ(Texts(ListAt("select t.| from (select order_id, total * 2 as twice from orders) t")),
            (Names{"order_id", "twice"}));
  EXPECT_EQ(Texts(ListAt("select t.| from (select * from customers) t")), (Names{"customer_id", "name", "city"}));
  EXPECT_EQ(Texts(ListAt("with big as (select order_id, total from orders where total > 9) "
                         "select | from big")),
            (Names{"order_id", "total", "big", "AND", "AS", "FROM", "JOIN", "OR", "ORDER", "SELECT", "WHERE"}));
}

TEST_F(CompletionListTest, NothingInAStringOrAComment) {
  for (const char* text : {"select * from orders where name = 'o|", "select * -- from o|", "select /* o| */ 1"}) {
    const completion::CompletionList list = ListAt(text);
    EXPECT_TRUE(list.items.empty()) << text;
    EXPECT_FALSE(list.waiting) << text;
  }
}

TEST_F(CompletionListTest, WithoutAConnectionTheStatementsOwnNamesAndKeywords) {
  const TString text = DT("select * from orders where o");
  const completion::CompletionContext context = completion::AnalyzeCompletion(text, text.size());
  const completion::CompletionList list =
      completion::BuildCompletionList(text, context, nullptr, m_keywords, m_reserved);
  EXPECT_EQ(Texts(list), (Names{"orders", "or", "order"}));
  EXPECT_FALSE(list.waiting);
}

}  // namespace
}  // namespace dossel::test
