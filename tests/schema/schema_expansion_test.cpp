// One expansion of the schema tree through the schema core, against the real
// SQLite driver: what each depth and kind dispatches to, what the children
// are, and the refusals (no connection, a run holding it) with what they
// tell the trace.

#include <algorithm>
#include <memory>
#include <optional>

#include "schema/schema_expansion.h"
#include "session_fixture.h"

namespace dossel::test {
namespace {

using schema::ChildKind;
using schema::ExpandedChildren;

constexpr const TChar* kSchemaKey = DT("Software\\Harlune\\Dossel\\Schema");
constexpr const char* kLongQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";

class SchemaExpansionTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database,
              "create table orders(id integer primary key, customer text not null, total real);"
              "create index orders_customer on orders(customer);"
              "create table items(order_id integer references orders(id), name text);"
              "create view big as select * from orders where total > 100;"
              "create trigger orders_check before insert on orders begin select 1; end;");
  }

  void Connect() { ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=1")); }

  // The children of the node whose captions below the root are `below`,
  // given at once or read on the connection thread and answered later.
  ExpandedChildren Expand(std::vector<std::string> below) {
    std::vector<TString> captions = {DT("HOST")};
    for (const std::string& caption : below) captions.push_back(FromUtf8(caption));
    std::optional<ExpandedChildren> answered;
    std::optional<ExpandedChildren> now =
        schema::LoadChildrenOf(m_session, schema::ParseCaptions(captions), m_owner,
                               [&answered](ExpandedChildren children) { answered = std::move(children); });
    if (now) {
      EXPECT_FALSE(m_session.IsReading()) << "an answer given at once reads nothing";
      return *now;
    }
    EXPECT_TRUE(PumpUntil([&] { return answered.has_value(); }));
    return answered.value_or(ExpandedChildren{});
  }

  static std::vector<std::string> Captions(const ExpandedChildren& children) {
    std::vector<std::string> captions;
    for (const schema::SchemaEntry& entry : children.entries) captions.push_back(ToUtf8(entry.caption));
    std::sort(captions.begin(), captions.end());
    return captions;
  }

  std::string m_database;
  std::shared_ptr<const int> m_owner = std::make_shared<const int>(0);
};

TEST_F(SchemaExpansionTest, EachDepthAndKindLoadsItsChildren) {
  Connect();
  const ExpandedChildren databases = Expand({});
  EXPECT_TRUE(databases.ok);
  EXPECT_EQ(databases.kind, ChildKind::Database);
  EXPECT_EQ(Captions(databases), std::vector<std::string>{m_database});
  EXPECT_EQ(m_session.GetDatabaseName(), FromUtf8(m_database));

  const ExpandedChildren folders = Expand({m_database});
  EXPECT_EQ(folders.kind, ChildKind::Folder);
  EXPECT_EQ(Captions(folders),
            (std::vector<std::string>{"Stored Procedures", "System Tables", "User Tables", "Views"}));

  const ExpandedChildren tables = Expand({m_database, "User Tables"});
  EXPECT_TRUE(tables.ok);
  EXPECT_EQ(tables.kind, ChildKind::Table);
  EXPECT_EQ(Captions(tables), (std::vector<std::string>{"items", "orders"}));

  const ExpandedChildren views = Expand({m_database, "Views"});
  EXPECT_EQ(views.kind, ChildKind::View);
  EXPECT_EQ(Captions(views), std::vector<std::string>{"big"});

  const ExpandedChildren procedures = Expand({m_database, "Stored Procedures"});
  EXPECT_TRUE(procedures.ok);
  EXPECT_EQ(procedures.kind, ChildKind::Procedure);
  EXPECT_TRUE(procedures.entries.empty());

  const ExpandedChildren details = Expand({m_database, "User Tables", "orders"});
  EXPECT_EQ(details.kind, ChildKind::Folder);
  EXPECT_EQ(Captions(details), (std::vector<std::string>{"Columns", "Constraints", "Indexes", "Triggers"}));

  const ExpandedChildren columns = Expand({m_database, "User Tables", "orders", "Columns"});
  EXPECT_TRUE(columns.ok);
  EXPECT_EQ(columns.kind, ChildKind::Column);
  ASSERT_EQ(columns.entries.size(), 3u);
  EXPECT_EQ(ToUtf8(columns.entries[1].catalogName), "customer");
  EXPECT_TRUE(ToUtf8(columns.entries[1].caption).starts_with("customer [")) << ToUtf8(columns.entries[1].caption);

  const ExpandedChildren indexes = Expand({m_database, "User Tables", "orders", "Indexes"});
  EXPECT_EQ(indexes.kind, ChildKind::Index);
  const std::vector<std::string> indexCaptions = Captions(indexes);
  EXPECT_NE(std::find(indexCaptions.begin(), indexCaptions.end(), "orders_customer"), indexCaptions.end());

  const ExpandedChildren constraints = Expand({m_database, "User Tables", "items", "Constraints"});
  EXPECT_TRUE(constraints.ok);
  EXPECT_EQ(constraints.kind, ChildKind::Constraint);
  EXPECT_FALSE(constraints.entries.empty());

  const ExpandedChildren triggers = Expand({m_database, "User Tables", "orders", "Triggers"});
  EXPECT_EQ(triggers.kind, ChildKind::Trigger);
  EXPECT_EQ(Captions(triggers), std::vector<std::string>{"orders_check"});

  // An entry has no children to load.
  const ExpandedChildren entry = Expand({m_database, "User Tables", "orders", "Columns", "id"});
  EXPECT_TRUE(entry.ok);
  EXPECT_TRUE(entry.entries.empty());
  EXPECT_EQ(NewTrace(), "");
}

// Where the driver has schemas, only a name found in more than one is
// captioned with its schema; the entry keeps both parts apart.
TEST(TableEntriesTest, ANameInSeveralSchemasIsCaptionedWithItsSchema) {
  const std::vector<schema::ListedTable> tables = {
      {DT("a"), DT("t")}, {DT("Odd Schema"), DT("t")}, {DT("a"), DT("u")}, {DT("b"), DT("T")}};
  const std::vector<schema::SchemaEntry> entries = schema::TableEntries(tables, true);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].caption, DT("a.t"));
  EXPECT_EQ(entries[0].catalogName, DT("t"));
  EXPECT_EQ(entries[0].owner, DT("a"));
  EXPECT_EQ(entries[1].caption, DT("Odd Schema.t"));
  EXPECT_EQ(entries[1].owner, DT("Odd Schema"));
  EXPECT_EQ(entries[2].caption, DT("u"));
  EXPECT_EQ(entries[2].owner, DT("")) << "a name of one schema stands alone";
  EXPECT_EQ(entries[3].caption, DT("T")) << "names differing in case are different names";

  for (const schema::SchemaEntry& entry : schema::TableEntries(tables, false)) {
    EXPECT_EQ(entry.caption, entry.catalogName) << "a driver without schemas";
    EXPECT_EQ(entry.owner, DT(""));
  }
  // Rows without a schema cannot be told apart by one.
  const auto unnamed = schema::TableEntries({{DT(""), DT("t")}, {DT(""), DT("t")}}, true);
  EXPECT_EQ(unnamed[0].caption, DT("t"));
}

TEST_F(SchemaExpansionTest, FoldersFollowTheirFlags) {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kSchemaKey, DT("View"), 0);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kSchemaKey, DT("Index"), 0);
  // Folder captions need no connection.
  EXPECT_EQ(Captions(Expand({"db"})), (std::vector<std::string>{"Stored Procedures", "System Tables", "User Tables"}));
  EXPECT_EQ(Captions(Expand({"db", "User Tables", "t"})),
            (std::vector<std::string>{"Columns", "Constraints", "Triggers"}));
}

TEST_F(SchemaExpansionTest, WithoutAConnectionTheCatalogIsNotRead) {
  const ExpandedChildren databases = Expand({});
  EXPECT_FALSE(databases.ok);
  EXPECT_EQ(NewTrace(), "Unexpected Error.\r\n");
  EXPECT_FALSE(Expand({m_database, "User Tables"}).ok);
  EXPECT_FALSE(Expand({m_database, "User Tables", "orders", "Columns"}).ok);
  EXPECT_EQ(NewTrace(), "");
}

TEST_F(SchemaExpansionTest, ARunningQueryRefusesEveryCatalogRead) {
  Connect();
  Start(kLongQuery);
  ASSERT_TRUE(m_session.IsExecuting());
  NewTrace();
  EXPECT_FALSE(Expand({}).ok);
  EXPECT_EQ(NewTrace(), "The schema cannot be read while a query runs.\r\n");
  EXPECT_FALSE(Expand({m_database, "User Tables"}).ok);
  EXPECT_EQ(NewTrace(), "The schema cannot be read while a query runs.\r\n");
  // The switch to the folder's database is not noted either.
  EXPECT_EQ(m_session.GetDatabaseName(), FromUtf8(m_database));
  EXPECT_TRUE(Expand({m_database}).ok);
}

}  // namespace
}  // namespace dossel::test
