// Every text of every generator, for each kind of tree item, with plain
// names: the texts as the user gets them, spacing and line ends included.

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "schema/script_texts.h"

namespace dossel::schema {
namespace {

constexpr TChar kQuote = TChar('"');

const ColumnList kColumns = {
    {DT("a"), DT("integer"), 4, 10, 0},
    {DT("b"), DT("varchar"), 12, 10, 1},
    {DT("c"), DT("date"), 9, 10, 1},
};

ScriptTarget Target(ObjectKind kind, const TChar* object, const TChar* subobject) {
  return ScriptTarget{object, subobject, kind, std::nullopt, TString()};
}

// The text of `generator` for `target`, or "<none>".
TString TextOf(Generator generator, const ScriptTarget& target, const ColumnList& columns = kColumns) {
  const GeneratedScript script = GenerateScript(generator, target, columns, kQuote, ScriptOptions{});
  return script.hasText ? script.text : TString(DT("<none>"));
}

using Expected = std::map<Generator, TString>;

// Checks all eight generators; those missing from `expected` give no text.
void ExpectTexts(const ScriptTarget& target, const Expected& expected) {
  for (Generator g : {Generator::Create, Generator::Alter, Generator::Drop, Generator::Select, Generator::Insert,
                      Generator::Update, Generator::Delete, Generator::Execute}) {
    const auto it = expected.find(g);
    EXPECT_EQ(TextOf(g, target), it == expected.end() ? TString(DT("<none>")) : it->second)
        << "generator " << static_cast<int>(g);
  }
}

const TString kCreateOrders =
    DT("CREATE TABLE orders ( \r\n\ta integer NOT NULL, \r\n\tb varchar (10) NULL, \r\n\tc date NULL\r\n); ");

TEST(ScriptTexts, UserAndSystemTables) {
  for (ObjectKind kind : {ObjectKind::UserTables, ObjectKind::SystemTables}) {
    ExpectTexts(Target(kind, DT("orders"), DT("")),
                {{Generator::Create, kCreateOrders},
                 {Generator::Alter, DT("ALTER TABLE orders ")},
                 {Generator::Drop, DT("DROP TABLE orders;")},
                 {Generator::Select, DT("SELECT a,b,c \r\nFROM orders;")},
                 {Generator::Insert, DT("INSERT INTO orders (a,b,c) \r\nVALUES ( );")},
                 {Generator::Update, DT("UPDATE orders \r\nSET a=,b=,c= ;")},
                 {Generator::Delete, DT("DELETE FROM orders;")}});
  }
}

TEST(ScriptTexts, ViewScriptsAsATableWhereTheTextsAgree) {
  ExpectTexts(Target(ObjectKind::Views, DT("big_orders"), DT("")),
              {{Generator::Create,
                DT("CREATE TABLE big_orders ( \r\n\ta integer NOT NULL, \r\n\tb varchar (10) NULL, \r\n\tc date "
                   "NULL\r\n); ")},
               {Generator::Alter, DT("ALTER VIEW big_orders ")},
               {Generator::Drop, DT("DROP VIEW big_orders;")},
               {Generator::Select, DT("SELECT a,b,c \r\nFROM big_orders;")},
               {Generator::Insert, DT("INSERT INTO big_orders (a,b,c) \r\nVALUES ( );")},
               {Generator::Update, DT("UPDATE big_orders \r\nSET a=,b=,c= ;")},
               {Generator::Delete, DT("DELETE FROM big_orders;")}});
}

TEST(ScriptTexts, StoredProcedure) {
  ExpectTexts(Target(ObjectKind::StoredProcedures, DT("monthly_totals"), DT("")),
              {{Generator::Alter, DT("ALTER PROCEDURE monthly_totals ")},
               {Generator::Drop, DT("DROP PROCEDURE monthly_totals;")},
               {Generator::Select, DT("EXEC monthly_totals;")},
               {Generator::Execute, DT("EXEC monthly_totals ;")}});
}

TEST(ScriptTexts, ColumnUsesTheNameCutFromItsCaption) {
  ExpectTexts(Target(ObjectKind::Columns, DT("orders"), DT("b [varchar(10),Null]")),
              {{Generator::Select, DT("SELECT b \r\nFROM orders;")},
               {Generator::Update, DT("UPDATE orders \r\nSET a=,b=,c= \r\nWHERE b= ;")},
               {Generator::Delete, DT("DELETE FROM orders WHERE b= ;")}});
}

TEST(ScriptTexts, IndexConstraintAndTrigger) {
  ExpectTexts(Target(ObjectKind::Indexes, DT("orders"), DT("orders_customer")),
              {{Generator::Drop, DT("DROP INDEX orders_customer;")}});
  ExpectTexts(Target(ObjectKind::Constraints, DT("orders"), DT("pk_orders")), {});
  ExpectTexts(
      Target(ObjectKind::Triggers, DT("orders"), DT("orders_audit")),
      {{Generator::Alter, DT("ALTER TRIGGER orders_audit ")}, {Generator::Drop, DT("DROP TRIGGER orders_audit;")}});
  ExpectTexts(Target(ObjectKind::None, DT("orders"), DT("x")), {});
}

TEST(ScriptTexts, DetailFoldersScriptWithAnEmptySubobject) {
  ExpectTexts(Target(ObjectKind::Columns, DT("orders"), DT("")),
              {{Generator::Select, DT("SELECT  \r\nFROM orders;")},
               {Generator::Update, DT("UPDATE orders \r\nSET a=,b=,c= \r\nWHERE = ;")},
               {Generator::Delete, DT("DELETE FROM orders WHERE = ;")}});
  ExpectTexts(Target(ObjectKind::Indexes, DT("orders"), DT("")), {{Generator::Drop, DT("DROP INDEX ;")}});
  ExpectTexts(Target(ObjectKind::Constraints, DT("orders"), DT("")), {});
  ExpectTexts(Target(ObjectKind::Triggers, DT("orders"), DT("")),
              {{Generator::Alter, DT("ALTER TRIGGER  ")}, {Generator::Drop, DT("DROP TRIGGER ;")}});
}

TEST(ScriptTexts, UnreadableColumnsGiveEmptyListsAndStillAText) {
  const ScriptTarget orders = Target(ObjectKind::UserTables, DT("orders"), DT(""));
  EXPECT_EQ(TextOf(Generator::Select, orders, {}), DT("SELECT  \r\nFROM orders;"));
  EXPECT_EQ(TextOf(Generator::Create, orders, {}), DT("CREATE TABLE orders ( \r\n\r\n); "));
  EXPECT_EQ(TextOf(Generator::Insert, orders, {}), DT("INSERT INTO orders () \r\nVALUES ( );"));
  EXPECT_EQ(TextOf(Generator::Update, orders, {}), DT("UPDATE orders \r\nSET  ;"));
}

TEST(ScriptTexts, DefinitionTypesBySqlTypeCode) {
  const ColumnList columns = {
      {DT("w"), DT("nvarchar"), -9, 20, 1},    // sized: wide varchar
      {DT("wc"), DT("nchar"), -8, 2, 0},       // wide char
      {DT("vb"), DT("varbinary"), -3, 16, 1},  // varbinary
      {DT("bn"), DT("binary"), -2, 255, 1},    // binary
      {DT("ch"), DT("char(3)"), 1, 3, 0},      // the type name is cut at "("
      {DT("wl"), DT("ntext"), -10, 65536, 1},  // first known code, not sized
      {DT("lv"), DT("text"), -1, 65536, 1},    // long varchar: the name alone
      {DT("u"), DT("mystery"), 0, 0, 1},       // unknown type: empty text
      {DT("ts"), DT("timestamp"), 93, 26, 1},  // ODBC 3 codes are outside the known range
      {DT("nn"), DT("integer"), 4, 10, -1},    // a NULL nullability is not "NULL"
  };
  const ScriptTarget t = Target(ObjectKind::UserTables, DT("t"), DT(""));
  EXPECT_EQ(TextOf(Generator::Create, t, columns),
            DT("CREATE TABLE t ( \r\n\tw nvarchar (20) NULL, \r\n\twc nchar (2) NOT NULL, \r\n\tvb varbinary (16) "
               "NULL, \r\n\tbn binary (255) NULL, \r\n\tch char (3) NOT NULL, \r\n\twl ntext NULL, \r\n\tlv text "
               "NULL, \r\n\tu  NULL, \r\n\tts  NULL, \r\n\tnn integer NOT NULL\r\n); "));
}

TEST(ScriptTexts, OptionsPassThroughExceptAProcedureSelect) {
  const ScriptOptions runAtOnce{true, true, false};
  const auto table =
      GenerateScript(Generator::Select, Target(ObjectKind::UserTables, DT("t"), DT("")), kColumns, kQuote, runAtOnce);
  EXPECT_TRUE(table.options.highlight && table.options.execute && !table.options.switchPane);

  // Opening a procedure shows its EXEC instead of running it.
  const auto procedure =
      GenerateScript(Generator::Select, Target(ObjectKind::StoredProcedures, DT("p"), DT("")), {}, kQuote, runAtOnce);
  EXPECT_EQ(procedure.text, DT("EXEC p;"));
  EXPECT_TRUE(procedure.options.highlight);
  EXPECT_FALSE(procedure.options.execute);
  EXPECT_TRUE(procedure.options.switchPane);

  // No text: the options still go back, for the switch.
  const auto none = GenerateScript(Generator::Execute, Target(ObjectKind::UserTables, DT("t"), DT("")), {}, kQuote,
                                   ScriptOptions{false, false, true});
  EXPECT_FALSE(none.hasText);
  EXPECT_TRUE(none.text.empty());
  EXPECT_TRUE(none.options.switchPane);
}

TEST(ScriptTexts, OpenActsOnObjectsAndColumnsNeverOnFolders) {
  EXPECT_TRUE(CanOpen(Target(ObjectKind::UserTables, DT("t"), DT(""))));
  EXPECT_TRUE(CanOpen(Target(ObjectKind::SystemTables, DT("t"), DT(""))));
  EXPECT_TRUE(CanOpen(Target(ObjectKind::Views, DT("v"), DT(""))));
  EXPECT_TRUE(CanOpen(Target(ObjectKind::StoredProcedures, DT("p"), DT(""))));
  EXPECT_TRUE(CanOpen(Target(ObjectKind::Columns, DT("t"), DT("a [INTEGER,Null]"))));
  // The object folders, the detail folders, the root and a database.
  for (ObjectKind kind : {ObjectKind::UserTables, ObjectKind::SystemTables, ObjectKind::Views,
                          ObjectKind::StoredProcedures, ObjectKind::None})
    EXPECT_FALSE(CanOpen(Target(kind, DT(""), DT("")))) << static_cast<int>(kind);
  for (ObjectKind kind : {ObjectKind::Columns, ObjectKind::Indexes, ObjectKind::Constraints, ObjectKind::Triggers})
    EXPECT_FALSE(CanOpen(Target(kind, DT("t"), DT("")))) << static_cast<int>(kind);
  // Entries whose Select has no text.
  EXPECT_FALSE(CanOpen(Target(ObjectKind::Indexes, DT("t"), DT("ix"))));
  EXPECT_FALSE(CanOpen(Target(ObjectKind::None, DT("t"), DT(""))));
}

TEST(ScriptTexts, ColumnsAreNeededOnlyWhereATextListsThem) {
  EXPECT_TRUE(NeedsColumns(Generator::Create, ObjectKind::Views));
  EXPECT_TRUE(NeedsColumns(Generator::Select, ObjectKind::SystemTables));
  EXPECT_TRUE(NeedsColumns(Generator::Insert, ObjectKind::UserTables));
  EXPECT_TRUE(NeedsColumns(Generator::Update, ObjectKind::Columns));
  EXPECT_FALSE(NeedsColumns(Generator::Select, ObjectKind::Columns));
  EXPECT_FALSE(NeedsColumns(Generator::Select, ObjectKind::StoredProcedures));
  EXPECT_FALSE(NeedsColumns(Generator::Delete, ObjectKind::UserTables));
  EXPECT_FALSE(NeedsColumns(Generator::Drop, ObjectKind::UserTables));
  EXPECT_FALSE(NeedsColumns(Generator::Create, ObjectKind::StoredProcedures));
}

}  // namespace
}  // namespace dossel::schema
