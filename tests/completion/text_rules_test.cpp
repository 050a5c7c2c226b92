// The rules completion applies to text: matching a typed word against
// names, writing a name into SQL, and telling a run that changes the
// schema from one that does not.

#include <gtest/gtest.h>

#include "completion/completion_list.h"
#include "completion/name_matcher.h"
#include "completion/schema_change.h"

namespace dossel::completion {
namespace {

MatchKind MatchOf(const char* typed, const char* name) {
  return CTypedWord(FromUtf8(typed)).Match(MakeMatchKey(FromUtf8(name)));
}

TEST(NameMatcherTest, ByPrefixIgnoringCase) {
  EXPECT_EQ(MatchOf("ord", "orders"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("ORD", "orders"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("Ord", "ORDER_LINES"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("", "anything"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("orders", "orders"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("ordersx", "orders"), MatchKind::None);
  EXPECT_EQ(MatchOf("x", "orders"), MatchKind::None);
}

TEST(NameMatcherTest, ByWordPartsInOrder) {
  EXPECT_EQ(MatchOf("ord_li", "order_lines"), MatchKind::WordParts);
  EXPECT_EQ(MatchOf("o_l", "order_lines"), MatchKind::WordParts);
  EXPECT_EQ(MatchOf("lines", "order_lines"), MatchKind::WordParts);
  EXPECT_EQ(MatchOf("cu_id", "order_customer_id"), MatchKind::WordParts);
  EXPECT_EQ(MatchOf("ordLi", "orderLines"), MatchKind::WordParts);
  EXPECT_EQ(MatchOf("ord_li", "OrderLines"), MatchKind::WordParts);
  EXPECT_EQ(MatchOf("ord_", "order_lines"), MatchKind::WordParts);
  EXPECT_EQ(MatchOf("ord_", "orders"), MatchKind::None) << "a part must follow";
  EXPECT_EQ(MatchOf("li_ord", "order_lines"), MatchKind::None) << "parts keep their order";
  EXPECT_EQ(MatchOf("rder", "order_lines"), MatchKind::None) << "a part matches from its start";
  EXPECT_EQ(MatchOf("ord_li", "ordxlines"), MatchKind::None);
}

TEST(NameMatcherTest, CaseBeyondAsciiIsFoldedToo) {
  EXPECT_EQ(MatchOf("größe", "GRÖSSE_X"), MatchKind::None);
  EXPECT_EQ(MatchOf("GRÖ", "größe"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("ЗАК", "заказы"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("Σπ", "σπίτι"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("łó", "ŁÓDŹ"), MatchKind::Prefix);
  EXPECT_EQ(MatchOf("зак_стр", "заказ_строки"), MatchKind::WordParts);
  EXPECT_EQ(FoldCase(U'İ'), U'İ') << "no pair of its own";
}

TEST(NameWriterTest, NamesThatNeedQuotesAreQuotedWithTheDriversCharacter) {
  const CWordList reserved(DT("select order user"));
  const CNameWriter ansi(NameRules{TChar('"'), IdentifierCase::Mixed}, reserved);
  EXPECT_EQ(ansi.Write(DT("orders")), DT("orders"));
  EXPECT_EQ(ansi.Write(DT("Orders")), DT("Orders"));
  EXPECT_EQ(ansi.Write(DT("order lines")), DT("\"order lines\""));
  EXPECT_EQ(ansi.Write(DT("a\"b")), DT("\"a\"\"b\""));
  EXPECT_EQ(ansi.Write(DT("ORDER")), DT("\"ORDER\"")) << "a reserved word in any case";
  EXPECT_EQ(ansi.Write(DT("2nd")), DT("\"2nd\""));
  EXPECT_EQ(ansi.Write(FromUtf8("größe")), FromUtf8("\"größe\""));
  EXPECT_EQ(ansi.Write(DT("orders"), TChar('[')), DT("[orders]")) << "the quote the user typed";
  EXPECT_EQ(ansi.Write(DT("a]b"), TChar('[')), DT("[a]]b]"));

  const CNameWriter backtick(NameRules{TChar('`'), IdentifierCase::Mixed}, reserved);
  EXPECT_EQ(backtick.Write(DT("order lines")), DT("`order lines`"));
  // A server that folds unquoted names keeps other cases only when quoted.
  const CNameWriter lower(NameRules{TChar('"'), IdentifierCase::Lower}, reserved);
  EXPECT_EQ(lower.Write(DT("orders")), DT("orders"));
  EXPECT_EQ(lower.Write(DT("Orders")), DT("\"Orders\""));
  const CNameWriter upper(NameRules{TChar('"'), IdentifierCase::Upper}, reserved);
  EXPECT_EQ(upper.Write(DT("ORDERS")), DT("ORDERS"));
  EXPECT_EQ(upper.Write(DT("orders")), DT("\"orders\""));
  // Without a quote character a name goes in as it is.
  const CNameWriter none(NameRules{TChar(' '), IdentifierCase::Mixed}, reserved);
  EXPECT_EQ(none.Write(DT("order lines")), DT("order lines"));
}

TEST(SchemaChangeTest, StatementsThatChangeTheNames) {
  for (const char* sql :
       {"create table t(a int)", "CREATE VIEW v AS SELECT 1", "alter table t add b int", "drop table t",
        "  -- why\n /* what */ DROP VIEW v", "rename table a to b", "use other", "attach database 'x.db' as x",
        "detach x", "exec sp_rename 'a', 'b'", "select * into archive from orders", "select a into \"New\" from t",
        "(create table t(a int))"})
    EXPECT_TRUE(ChangesSchema(FromUtf8(sql))) << sql;
}

TEST(SchemaChangeTest, StatementsThatDoNot) {
  for (const char* sql : {"select * from t", "insert into t values (1)", "update t set a = 'drop table x'",
                          "delete from t -- drop table t", "/* create table x */ select 1", "select 'create'",
                          "select a into @v from t", "select a from t where b in (select c into x from u)",
                          "truncate table t", "select created, dropped from t", ""})
    EXPECT_FALSE(ChangesSchema(FromUtf8(sql))) << sql;
}

TEST(SchemaChangeTest, AnyStatementOfAScript) {
  EXPECT_TRUE(ChangesSchema(DT("select 1;\ninsert into t values (1);\ncreate table u(a int);\nselect 2;")));
  EXPECT_FALSE(ChangesSchema(DT("select 'a;create table x(a)';\nselect 2; -- ;drop table t")));
  // A backslash escapes a quote only where the dialect says so.
  EXPECT_FALSE(ChangesSchema(DT("select 'it\\'s; drop table t'"), true));
  EXPECT_TRUE(ChangesSchema(DT("select 'it\\'s; drop table t'"), false));
}

}  // namespace
}  // namespace dossel::completion
