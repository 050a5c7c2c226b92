// The place of the caret in a statement: what is expected there, the typed
// word and its qualifier, and the tables and aliases the statement names
// that the caret sees. "|" in a text marks the caret.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "completion/statement_context.h"

namespace dossel::completion {
namespace {

struct Analyzed {
  TString text;
  CompletionContext context;
};

Analyzed Analyze(const std::string& marked) {
  const size_t caret = marked.find('|');
  std::string plain = marked;
  plain.erase(caret, 1);
  Analyzed a{FromUtf8(plain), {}};
  a.context = AnalyzeCompletion(a.text, FromUtf8(plain.substr(0, caret)).size());
  return a;
}

// "name alias" (or "name" without one) of each table the caret sees; a
// subquery shows as "(subquery)".
std::vector<std::string> Visible(const CompletionContext& c) {
  std::vector<std::string> out;
  for (size_t r : c.visible) {
    const TableRef& ref = c.refs[r];
    std::string name;
    for (const TString& part : ref.name) name += (name.empty() ? "" : ".") + ToUtf8(part);
    if (ref.name.empty()) name = "(subquery)";
    out.push_back(ref.alias.empty() ? name : name + " " + ToUtf8(ref.alias));
  }
  return out;
}

std::vector<std::string> Qualifier(const CompletionContext& c) {
  std::vector<std::string> out;
  for (const TString& part : c.qualifier) out.push_back(ToUtf8(part));
  return out;
}

using Names = std::vector<std::string>;

TEST(StatementContextTest, WhatEachPartOfAStatementExpects) {
  EXPECT_EQ(Analyze("select * from or|").context.place, Place::Tables);
  EXPECT_EQ(Analyze("select * from orders o join cu|").context.place, Place::Tables);
  EXPECT_EQ(Analyze("select * from orders, |").context.place, Place::Tables);
  EXPECT_EQ(Analyze("insert into |").context.place, Place::Tables);
  EXPECT_EQ(Analyze("update |").context.place, Place::Tables);
  EXPECT_EQ(Analyze("delete from |").context.place, Place::Tables);
  EXPECT_EQ(Analyze("drop table |").context.place, Place::Tables);
  EXPECT_EQ(Analyze("create index i on |").context.place, Place::Tables);

  EXPECT_EQ(Analyze("select | from orders").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select a, | from orders").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select count(|) from orders").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select * from orders where |").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select * from orders where id in (|)").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select * from a join b on |").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select * from orders order by |").context.place, Place::Columns);
  EXPECT_EQ(Analyze("update orders set |").context.place, Place::Columns);
  EXPECT_EQ(Analyze("insert into orders (id, |)").context.place, Place::Columns);

  EXPECT_EQ(Analyze("|").context.place, Place::Keywords);
  EXPECT_EQ(Analyze("sel|").context.place, Place::Keywords);
  EXPECT_EQ(Analyze("select * from orders o |").context.place, Place::Keywords);
  EXPECT_EQ(Analyze("select * from orders |").context.place, Place::Keywords);
}

TEST(StatementContextTest, NoListInAStringACommentOrANumber) {
  EXPECT_EQ(Analyze("select 'fr|om' from t").context.place, Place::None);
  EXPECT_EQ(Analyze("select * from t where a = 'o|").context.place, Place::None);
  EXPECT_EQ(Analyze("select * -- from o|").context.place, Place::None);
  EXPECT_EQ(Analyze("select * /* from o| */ from t").context.place, Place::None);
  EXPECT_EQ(Analyze("select * /* from o|").context.place, Place::None);
  EXPECT_EQ(Analyze("select 12|").context.place, Place::None);
  EXPECT_EQ(Analyze("select 1.|").context.place, Place::None);
  // Just after a closed string or comment the caret is outside it.
  EXPECT_EQ(Analyze("select 'x' |").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select /* c */ |").context.place, Place::Columns);
  EXPECT_EQ(Analyze("select 1 -- c\nfrom |").context.place, Place::Tables);
}

TEST(StatementContextTest, TheTypedWordAndWhatItReplaces) {
  Analyzed a = Analyze("select * from or|");
  EXPECT_EQ(a.context.prefix, DT("or"));
  EXPECT_EQ(a.context.wordStart, 14u);
  EXPECT_EQ(a.context.wordEnd, 16u);
  // The caret inside a word: the part before it.
  a = Analyze("select * from cus|tomers");
  EXPECT_EQ(a.context.prefix, DT("cus"));
  EXPECT_EQ(a.context.wordStart, 14u);
  // A quoted name being typed replaces from its quote.
  a = Analyze("select * from \"Order Li|");
  EXPECT_EQ(a.context.place, Place::Tables);
  EXPECT_EQ(a.context.prefix, DT("Order Li"));
  EXPECT_TRUE(a.context.quotedPrefix);
  EXPECT_EQ(a.context.wordStart, 14u);
  EXPECT_EQ(Analyze("select * from \"Ord|er\"").context.place, Place::None);
  EXPECT_EQ(Analyze("select * from |").context.prefix, DT(""));
}

TEST(StatementContextTest, AliasesAndTablesOfJoins) {
  Analyzed a = Analyze("select o.| from orders o join customers as c on c.id = o.customer_id left join lines");
  EXPECT_EQ(a.context.place, Place::Member);
  EXPECT_EQ(Qualifier(a.context), Names{"o"});
  EXPECT_EQ(Visible(a.context), (Names{"orders o", "customers c", "lines"}));
  a = Analyze("select * from orders o, customers c where c.|");
  EXPECT_EQ(Qualifier(a.context), Names{"c"});
  EXPECT_EQ(Visible(a.context), (Names{"orders o", "customers c"}));
  // Clause words after a table are no alias.
  a = Analyze("select * from orders where |");
  EXPECT_EQ(Visible(a.context), Names{"orders"});
  a = Analyze("update orders set status = 1 where |");
  EXPECT_EQ(Visible(a.context), Names{"orders"});
  a = Analyze("select * from (orders o join customers c on c.id = o.customer_id) where |");
  EXPECT_EQ(Visible(a.context), (Names{"orders o", "customers c"}));
}

TEST(StatementContextTest, QuotedAndSchemaQualifiedNames) {
  Analyzed a = Analyze("select x.| from \"My Schema\".\"Order Lines\" x, sales.public.orders");
  EXPECT_EQ(Visible(a.context), (Names{"My Schema.Order Lines x", "sales.public.orders"}));
  a = Analyze("select * from [dbo].[a]]b] where |");
  EXPECT_EQ(Visible(a.context), Names{"dbo.a]b"});
  a = Analyze("select * from `db`.`t``x` t where t.|");
  EXPECT_EQ(Visible(a.context), Names{"db.t`x t"});
  EXPECT_EQ(Qualifier(a.context), Names{"t"});

  a = Analyze("select * from public.|");
  EXPECT_EQ(a.context.place, Place::Member);
  EXPECT_TRUE(a.context.tableExpected);
  EXPECT_EQ(Qualifier(a.context), Names{"public"});
  EXPECT_TRUE(a.context.refs.empty()) << "the name being typed names no table yet";
  a = Analyze("select s.t.| from s.t");
  EXPECT_FALSE(a.context.tableExpected);
  EXPECT_EQ(Qualifier(a.context), (Names{"s", "t"}));
  a = Analyze("select \"a b\".| from t \"a b\"");
  EXPECT_EQ(Qualifier(a.context), Names{"a b"});
  EXPECT_EQ(Visible(a.context), Names{"t a b"});
}

TEST(StatementContextTest, SubqueriesSeeTheirOwnTablesAndTheEnclosingOnes) {
  const std::string text =
      "select | from orders o where exists (select 1 from lines l where l.order_id = o.id and ^) "
      "and o.customer_id in (select id from customers)";
  std::string outer = text, inner = text;
  outer.erase(outer.find('^'), 1);
  inner.erase(inner.find('|'), 1);
  std::replace(inner.begin(), inner.end(), '^', '|');
  EXPECT_EQ(Visible(Analyze(outer).context), Names{"orders o"});
  EXPECT_EQ(Visible(Analyze(inner).context), (Names{"lines l", "orders o"}));
  EXPECT_EQ(Analyze(inner).context.place, Place::Columns);
}

TEST(StatementContextTest, SubqueriesAndWithEntriesGiveTheColumnsTheySelect) {
  Analyzed a = Analyze(
      "select t.| from (select o.id, o.total * 2 as doubled, count(*) n, o.total + 1, c.* "
      "from orders o join customers c on c.id = o.customer_id) t");
  ASSERT_EQ(Visible(a.context), Names{"(subquery) t"});
  const TableRef& t = a.context.refs[a.context.visible[0]];
  ASSERT_GE(t.derived, 0);
  const DerivedTable& derived = a.context.derived[t.derived];
  std::vector<std::string> columns;
  for (const TString& c : derived.columns) columns.push_back(ToUtf8(c));
  EXPECT_EQ(columns, (Names{"id", "doubled", "n"}));
  EXPECT_TRUE(derived.star);
  std::vector<std::string> own;
  for (size_t r : RefsOfScope(a.context, derived.scope)) own.push_back(ToUtf8(a.context.refs[r].name.back()));
  EXPECT_EQ(own, (Names{"orders", "customers"}));

  a = Analyze(
      "with recursive big(total, who) as (select total, customer_id from orders), "
      "few as (select id from customers) select b.| from big b join few f on f.id = b.who");
  EXPECT_EQ(Visible(a.context), (Names{"big b", "few f"}));
  const TableRef& big = a.context.refs[a.context.visible[0]];
  const TableRef& few = a.context.refs[a.context.visible[1]];
  ASSERT_GE(big.derived, 0);
  ASSERT_GE(few.derived, 0);
  EXPECT_EQ(a.context.derived[big.derived].columns, (std::vector<TString>{DT("total"), DT("who")}));
  EXPECT_EQ(a.context.derived[few.derived].columns, (std::vector<TString>{DT("id")}));
}

TEST(StatementContextTest, AStatementCutInTheMiddle) {
  Analyzed a = Analyze("select o.| from orders o where (select max(x) from (select");
  EXPECT_EQ(a.context.place, Place::Member);
  EXPECT_EQ(Visible(a.context), Names{"orders o"});
  a = Analyze("select * from orders o join |");
  EXPECT_EQ(a.context.place, Place::Tables);
  EXPECT_EQ(Visible(a.context), Names{"orders o"});
  a = Analyze("select ) from orders where |");
  EXPECT_EQ(Visible(a.context), Names{"orders"});
  a = Analyze("select * from orders o where o.name = 'unclosed and o.|");
  EXPECT_EQ(a.context.place, Place::None);
}

TEST(StatementContextTest, OnlyTheStatementAroundTheCaretCounts) {
  const std::string script =
      "select * from customers c;\n"
      "select c.| from orders c where c.note = ';';\n"
      "select * from lines c";
  Analyzed a = Analyze(script);
  EXPECT_EQ(Visible(a.context), Names{"orders c"});
  a = Analyze("select * from customers;\nselect * from |");
  EXPECT_EQ(a.context.place, Place::Tables);
  EXPECT_TRUE(a.context.refs.empty());
  // Right after a statement's ";" the next one begins.
  a = Analyze("select * from customers;|");
  EXPECT_EQ(a.context.place, Place::Keywords);
  EXPECT_TRUE(a.context.refs.empty());
  // Right before it the statement is still the one before.
  a = Analyze("select * from customers where |;");
  EXPECT_EQ(Visible(a.context), Names{"customers"});
}

TEST(StatementContextTest, NamesBeyondAscii) {
  Analyzed a = Analyze("select k.| from Kunden_Größe k join заказы з on з.id = k.id where größe > 1");
  EXPECT_EQ(Visible(a.context), (Names{"Kunden_Größe k", "заказы з"}));
  a = Analyze("select з.ци| from заказы з");
  EXPECT_EQ(a.context.prefix, FromUtf8("ци"));
  EXPECT_EQ(Qualifier(a.context), Names{"з"});
  EXPECT_EQ(a.context.wordStart, FromUtf8("select з.").size());
}

}  // namespace
}  // namespace dossel::completion
