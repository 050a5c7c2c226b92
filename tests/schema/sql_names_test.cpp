// Names put into SQL: what stays as it is, what gets quoted and how, and the
// scripts built from names a catalog could return, in both text widths.

#include <gtest/gtest.h>

#include "schema/catalog_queries.h"
#include "schema/column_lists.h"
#include "schema/script_texts.h"
#include "schema/sql_names.h"

namespace dossel::schema {
namespace {

constexpr TChar kDouble = TChar('"');
constexpr TChar kBacktick = TChar('`');

TEST(SqlNames, PlainIdentifiersStayAsTheyAre) {
  for (const TChar* name : {DT("orders"), DT("Order_Lines2"), DT("_x"), DT("a"), DT("Z9_")}) {
    EXPECT_TRUE(IsPlainIdentifier(name)) << ToUtf8(name);
    EXPECT_EQ(QuoteName(name, kDouble), name);
  }
}

TEST(SqlNames, OtherNamesAreQuotedWithTheDriversCharacter) {
  EXPECT_EQ(QuoteName(DT("t; drop table u"), kDouble), DT("\"t; drop table u\""));
  EXPECT_EQ(QuoteName(DT("first name"), kDouble), DT("\"first name\""));
  EXPECT_EQ(QuoteName(DT("first name"), kBacktick), DT("`first name`"));
  EXPECT_EQ(QuoteName(DT("1st"), kDouble), DT("\"1st\""));
  EXPECT_EQ(QuoteName(DT("a-b"), kDouble), DT("\"a-b\""));
  EXPECT_EQ(QuoteName(DT("a.b"), kDouble), DT("\"a.b\""));
  EXPECT_EQ(QuoteName(DT("#temp"), kDouble), DT("\"#temp\""));
  EXPECT_EQ(QuoteName(DT("it's"), kDouble), DT("\"it's\""));
}

TEST(SqlNames, TheQuoteCharacterInsideIsDoubled) {
  EXPECT_EQ(QuoteName(DT("say \"hi\""), kDouble), DT("\"say \"\"hi\"\"\""));
  EXPECT_EQ(QuoteName(DT("\""), kDouble), DT("\"\"\"\""));
  EXPECT_EQ(QuoteName(DT("x\"; drop table u; --"), kDouble), DT("\"x\"\"; drop table u; --\""));
  EXPECT_EQ(QuoteName(DT("a`b"), kBacktick), DT("`a``b`"));
  // Only the driver's own character is doubled.
  EXPECT_EQ(QuoteName(DT("a`b"), kDouble), DT("\"a`b\""));
}

TEST(SqlNames, NoQuoteCharacterOrNoNameLeavesTheNameAlone) {
  EXPECT_EQ(QuoteName(DT("first name"), kNoIdentifierQuote), DT("first name"));
  EXPECT_EQ(QuoteName(DT("t; drop table u"), TChar(0)), DT("t; drop table u"));
  EXPECT_EQ(QuoteName(DT(""), kDouble), DT(""));
  EXPECT_FALSE(IsPlainIdentifier(DT("")));
}

TEST(SqlNames, ReservedWordsAreQuotedInAnyCase) {
  for (const TChar* word : {DT("order"), DT("ORDER"), DT("Group"), DT("select"), DT("values"), DT("date"), DT("user"),
                            DT("current_timestamp")}) {
    EXPECT_TRUE(NeedsQuotes(word)) << ToUtf8(word);
    EXPECT_EQ(QuoteName(word, kDouble), DT("\"") + TString(word) + DT("\"")) << ToUtf8(word);
  }
  // Words that only begin or end like one, and words outside the list, stay.
  for (const TChar* name : {DT("orders"), DT("order_id"), DT("my_select"), DT("pragma"), DT("name")})
    EXPECT_EQ(QuoteName(name, kDouble), name) << ToUtf8(name);
  const ScriptTarget target{DT("order"), DT(""), ObjectKind::UserTables, std::nullopt, TString()};
  const ColumnList columns = {{DT("id"), DT("integer"), 4, 10, 0}, {DT("value"), DT("text"), -1, 100, 1}};
  EXPECT_EQ(GenerateScript(Generator::Select, target, columns, kDouble, {}).text,
            DT("SELECT id,\"value\" \r\nFROM \"order\";"));
  EXPECT_EQ(GenerateScript(Generator::Update, target, columns, kBacktick, {}).text,
            DT("UPDATE `order` \r\nSET id=,`value`= ;"));
}

TEST(SqlNames, AQuoterKeepsTheFirstNameItCouldNotQuote) {
  const CNameQuoter none(kNoIdentifierQuote);
  EXPECT_EQ(none.Quote(DT("plain")), DT("plain"));
  EXPECT_FALSE(none.Unquoted()) << "a plain name needs no quotes";
  EXPECT_EQ(none.Quote(DT("x; delete from t")), DT("x; delete from t"));
  EXPECT_EQ(none.Quote(DT("order")), DT("order"));
  ASSERT_TRUE(none.Unquoted());
  EXPECT_EQ(*none.Unquoted(), DT("x; delete from t"));

  const CNameQuoter nul(TChar(0));
  nul.Quote(DT("select"));
  EXPECT_EQ(nul.Unquoted().value_or(DT("")), DT("select")) << "a reserved word needs quotes too";

  const CNameQuoter quoted(kDouble);
  EXPECT_EQ(quoted.Quote(DT("x; delete from t")), DT("\"x; delete from t\""));
  EXPECT_EQ(quoted.QuoteQualified(DT("Odd Schema"), DT("t")), DT("\"Odd Schema\".t"));
  EXPECT_EQ(quoted.QuoteQualified(DT("a"), DT("user")), DT("a.\"user\""));
  EXPECT_EQ(quoted.QuoteQualified(DT(""), DT("t")), DT("t"));
  EXPECT_FALSE(quoted.Unquoted());
}

TEST(SqlNames, ATextWithAnUnquotableNameIsShownNotRun) {
  const ScriptTarget hostile{DT("x; delete from t"), DT(""), ObjectKind::UserTables, std::nullopt, TString()};
  const ColumnList columns = {{DT("a"), DT("integer"), 4, 10, 1}};
  const ScriptOptions runAtOnce{true, true, false};
  const GeneratedScript open = GenerateScript(Generator::Select, hostile, columns, kNoIdentifierQuote, runAtOnce);
  EXPECT_EQ(open.text, DT("SELECT a \r\nFROM x; delete from t;"));
  EXPECT_TRUE(open.heldBack);
  EXPECT_FALSE(open.options.execute);
  EXPECT_TRUE(open.options.switchPane) << "shown where the user can read it";
  EXPECT_TRUE(open.options.highlight);
  EXPECT_EQ(open.unquotedName.value_or(DT("")), DT("x; delete from t"));

  // A column entry's name counts, and so does a column of the list.
  const ScriptTarget column{DT("t"), DT("first name [TEXT,Null]"), ObjectKind::Columns, TString(DT("first name")),
                            TString()};
  EXPECT_TRUE(GenerateScript(Generator::Select, column, {}, kNoIdentifierQuote, runAtOnce).heldBack);
  const ScriptTarget plain{DT("t"), DT(""), ObjectKind::UserTables, std::nullopt, TString()};
  const ColumnList reserved = {{DT("from"), DT("integer"), 4, 10, 1}};
  EXPECT_TRUE(GenerateScript(Generator::Select, plain, reserved, kNoIdentifierQuote, runAtOnce).heldBack);

  // Plain names run as asked; a text that was not to run is not held back.
  const GeneratedScript plainOpen = GenerateScript(Generator::Select, plain, columns, kNoIdentifierQuote, runAtOnce);
  EXPECT_FALSE(plainOpen.heldBack);
  EXPECT_TRUE(plainOpen.options.execute);
  const GeneratedScript scriptOnly = GenerateScript(Generator::Drop, hostile, {}, kNoIdentifierQuote, {});
  EXPECT_FALSE(scriptOnly.heldBack);
  EXPECT_TRUE(scriptOnly.unquotedName);
  // Only the names the text holds count: an index's drop names no table.
  const ScriptTarget index{DT("x; delete from t"), DT("ix"), ObjectKind::Indexes, std::nullopt, TString()};
  EXPECT_FALSE(GenerateScript(Generator::Drop, index, {}, kNoIdentifierQuote, runAtOnce).heldBack);
}

TEST(SqlNames, AnObjectInANamedSchemaIsScriptedQualified) {
  const ScriptTarget target{DT("t"), DT(""), ObjectKind::UserTables, std::nullopt, TString(DT("Odd Schema"))};
  const ColumnList columns = {{DT("y"), DT("integer"), 4, 10, 1}};
  const auto text = [&](Generator g) { return GenerateScript(g, target, columns, kDouble, {}).text; };
  EXPECT_EQ(text(Generator::Select), DT("SELECT y \r\nFROM \"Odd Schema\".t;"));
  EXPECT_EQ(text(Generator::Drop), DT("DROP TABLE \"Odd Schema\".t;"));
  EXPECT_EQ(text(Generator::Insert), DT("INSERT INTO \"Odd Schema\".t (y) \r\nVALUES ( );"));
  EXPECT_EQ(text(Generator::Delete), DT("DELETE FROM \"Odd Schema\".t;"));
}

TEST(SqlNames, NonAsciiNamesAreQuotedWhole) {
  // "café", "prénom" and a CJK name: every unit of the name kept, in either width.
  const TString cafe = FromUtf8("caf\xC3\xA9");
  const TString cjk = FromUtf8("\xE8\xA1\xA8\xE5\x90\x8D");
  EXPECT_FALSE(IsPlainIdentifier(cafe));
  EXPECT_EQ(QuoteName(cafe, kDouble), DT("\"") + cafe + DT("\""));
  EXPECT_EQ(ToUtf8(QuoteName(cjk, kDouble)), "\"\xE8\xA1\xA8\xE5\x90\x8D\"");
  // A character outside the basic plane is two units in UTF-16.
  const TString emoji = FromUtf8("t\xF0\x9F\x98\x80");
  EXPECT_EQ(ToUtf8(QuoteName(emoji, kDouble)), "\"t\xF0\x9F\x98\x80\"");
  const ScriptTarget target{cafe, DT(""), ObjectKind::UserTables, std::nullopt, TString()};
  const ColumnList columns = {{FromUtf8("pr\xC3\xA9nom"), DT("varchar"), 12, 20, 1},
                              {DT("id"), DT("integer"), 4, 10, 0}};
  EXPECT_EQ(ToUtf8(GenerateScript(Generator::Select, target, columns, kDouble, {}).text),
            "SELECT \"pr\xC3\xA9nom\",id \r\nFROM \"caf\xC3\xA9\";");
}

TEST(SqlNames, LiteralsDoubleTheSingleQuote) {
  EXPECT_EQ(EscapeSqlLiteral(DT("orders")), DT("orders"));
  EXPECT_EQ(EscapeSqlLiteral(DT("it's")), DT("it''s"));
  EXPECT_EQ(EscapeSqlLiteral(DT("x'; drop table u; --")), DT("x''; drop table u; --"));
  EXPECT_EQ(EscapeSqlLiteral(DT("''")), DT("''''"));
  EXPECT_EQ(EscapeSqlLiteral(DT("")), DT(""));
}

TEST(SqlNames, CutColumnNameStopsAtTheFirstNameEnd) {
  EXPECT_EQ(CutColumnName(DT("code [varchar(10),Not Null]")), DT("code"));
  EXPECT_EQ(CutColumnName(DT("varchar(10)")), DT("varchar"));
  EXPECT_EQ(CutColumnName(DT("a,b")), DT("a"));
  EXPECT_EQ(CutColumnName(DT("a[1]")), DT("a"));
  EXPECT_EQ(CutColumnName(DT("a{b}")), DT("a"));
  EXPECT_EQ(CutColumnName(DT("plain")), DT("plain"));
  EXPECT_EQ(CutColumnName(DT(" lead")), DT(""));
  // Why catalog names are not cut: the caption of "first name" loses "name".
  EXPECT_EQ(CutColumnName(DT("first name [varchar(40),Null]")), DT("first"));
}

TEST(SqlNames, ScriptsOfAHostileTableNameStayOneStatement) {
  const ScriptTarget target{DT("t; drop table u"), DT(""), ObjectKind::UserTables, std::nullopt, TString()};
  const ColumnList columns = {{DT("a"), DT("integer"), 4, 10, 1}};
  const auto text = [&](Generator g) { return GenerateScript(g, target, columns, kDouble, {}).text; };
  EXPECT_EQ(text(Generator::Drop), DT("DROP TABLE \"t; drop table u\";"));
  EXPECT_EQ(text(Generator::Select), DT("SELECT a \r\nFROM \"t; drop table u\";"));
  EXPECT_EQ(text(Generator::Alter), DT("ALTER TABLE \"t; drop table u\" "));
  EXPECT_EQ(text(Generator::Insert), DT("INSERT INTO \"t; drop table u\" (a) \r\nVALUES ( );"));
  EXPECT_EQ(text(Generator::Update), DT("UPDATE \"t; drop table u\" \r\nSET a= ;"));
  EXPECT_EQ(text(Generator::Delete), DT("DELETE FROM \"t; drop table u\";"));
  EXPECT_EQ(text(Generator::Create), DT("CREATE TABLE \"t; drop table u\" ( \r\n\ta integer NULL\r\n); "));
}

TEST(SqlNames, ColumnsKeepTheirCatalogNames) {
  const ColumnList columns = {{DT("id"), DT("integer"), 4, 10, 0},
                              {DT("first name"), DT("varchar"), 12, 40, 1},
                              {DT("x\"y"), DT("text"), -1, 65536, 1}};
  EXPECT_EQ(PlainColumnList(columns, CNameQuoter(kDouble)), DT("id,\"first name\",\"x\"\"y\""));
  EXPECT_EQ(AssignmentColumnList(columns, CNameQuoter(kDouble)), DT("id=,\"first name\"=,\"x\"\"y\"="));
  EXPECT_EQ(DefinitionColumnList(columns, CNameQuoter(kDouble)),
            DT("\tid integer NOT NULL, \r\n\t\"first name\" varchar (40) NULL, \r\n\t\"x\"\"y\" text NULL"));

  // The selected column by its catalog name; without it, cut from the caption.
  ScriptTarget column{DT("people"), ColumnCaption(columns[1]), ObjectKind::Columns, TString(DT("first name")),
                      TString()};
  EXPECT_EQ(column.subobject, DT("first [varchar(40),Null]"));
  EXPECT_EQ(GenerateScript(Generator::Select, column, columns, kDouble, {}).text,
            DT("SELECT \"first name\" \r\nFROM people;"));
  EXPECT_EQ(GenerateScript(Generator::Delete, column, columns, kDouble, {}).text,
            DT("DELETE FROM people WHERE \"first name\"= ;"));
  column.columnName.reset();
  EXPECT_EQ(GenerateScript(Generator::Select, column, columns, kDouble, {}).text, DT("SELECT first \r\nFROM people;"));
}

TEST(SqlNames, IndexAndTriggerNamesAreQuotedToo) {
  const ScriptTarget index{DT("t"), DT("idx; drop table u"), ObjectKind::Indexes, std::nullopt, TString()};
  EXPECT_EQ(GenerateScript(Generator::Drop, index, {}, kDouble, {}).text, DT("DROP INDEX \"idx; drop table u\";"));
  const ScriptTarget trigger{DT("t"), DT("on insert"), ObjectKind::Triggers, std::nullopt, TString()};
  EXPECT_EQ(GenerateScript(Generator::Drop, trigger, {}, kBacktick, {}).text, DT("DROP TRIGGER `on insert`;"));
  EXPECT_EQ(GenerateScript(Generator::Alter, trigger, {}, kBacktick, {}).text, DT("ALTER TRIGGER `on insert` "));
}

TEST(ColumnCaptions, TheTreesFormByTypeCode) {
  EXPECT_EQ(ColumnCaption({DT("code"), DT("varchar"), 12, 10, 0}), DT("code [varchar(10),Not Null]"));
  EXPECT_EQ(ColumnCaption({DT("n"), DT("nchar(4)"), -8, 4, 1}), DT("n [nchar(4),Null]"));
  EXPECT_EQ(ColumnCaption({DT("d"), DT("date"), 9, 10, 1}), DT("d [date,Null]"));
  EXPECT_EQ(ColumnCaption({DT("ts"), DT("timestamp"), 93, 26, 1}), DT("ts [unknown,Null]"));
  EXPECT_EQ(ColumnCaption({DT("u"), DT("x"), 0, 0, 0}), DT("u [unknown,Not Null]"));
  EXPECT_EQ(ColumnCaption({DT("w"), DT("ntext"), -10, 0, 1}), DT("w [ntext,Null]"));
}

TEST(CatalogQueries, NamesQuotedAndValuesEscaped) {
  EXPECT_EQ(FamilyOf(DT("SQLite"), false), DbmsFamily::SQLite);
  EXPECT_EQ(FamilyOf(DT("sqlite"), true), DbmsFamily::SQLite);
  EXPECT_EQ(FamilyOf(DT("Microsoft SQL Server"), true), DbmsFamily::TransactSql);
  EXPECT_EQ(FamilyOf(DT("PostgreSQL"), false), DbmsFamily::Other);

  EXPECT_EQ(TriggerListQuery(DbmsFamily::SQLite, DT("orders")),
            DT("SELECT name FROM sqlite_master WHERE type='trigger' and tbl_name='orders';"));
  EXPECT_EQ(TriggerListQuery(DbmsFamily::SQLite, DT("o'; drop table u; --")),
            DT("SELECT name FROM sqlite_master WHERE type='trigger' and tbl_name='o''; drop table u; --';"));
  EXPECT_EQ(TriggerListQuery(DbmsFamily::TransactSql, DT("orders")), DT("{call sp_helptrigger ('orders')};"));
  EXPECT_EQ(TriggerListQuery(DbmsFamily::TransactSql, DT("it's")), DT("{call sp_helptrigger ('it''s')};"));
  EXPECT_EQ(TriggerListQuery(DbmsFamily::Other, DT("orders")), DT(""));

  EXPECT_EQ(UseDatabaseStatement(DT("sales"), kDouble), DT("USE sales"));
  EXPECT_EQ(UseDatabaseStatement(DT("sales; drop database x"), kDouble), DT("USE \"sales; drop database x\""));
  EXPECT_EQ(EmptySelectQuery(DT("orders"), kDouble), DT("SELECT * FROM orders WHERE 1=2"));
  EXPECT_EQ(EmptySelectQuery(DT("my file.csv"), kDouble), DT("SELECT * FROM \"my file.csv\" WHERE 1=2"));
  EXPECT_EQ(kDatabaseListQuery, DT("SELECT name FROM master..sysdatabases ORDER BY name"));
}

}  // namespace
}  // namespace dossel::schema
