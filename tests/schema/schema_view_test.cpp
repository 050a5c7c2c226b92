// The schema pane against the real SQLite driver and, for the server
// families this machine has no server of, the scripted driver: what each
// expansion shows, the flags that hide folders, the scripts its commands
// write and run, and names from the catalog that must never run as SQL.

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include <chrono>
#include <sstream>

#include "driver_script.h"
#include "frame_fixture.h"
#include "platform/system.h"
#include "res/command_ids.h"
#include "schema/wx/schema_view.h"
#include "scripted_connect.h"

namespace dossel::test {
namespace {

using schema::SchemaCommand;
using schema::SchemaPath;

constexpr const TChar* kSchemaKey = DT("Software\\Harlune\\Dossel\\Schema");
constexpr int kQueryPane = 0;
constexpr int kResultPane = 1;
constexpr int kSchemaPane = 3;

class SchemaViewTest : public FrameTest {
 protected:
  wxTreeCtrl* Tree() { return m_frame->SchemaView()->GetTree(); }

  // Expands `item` (as a click on its button would), waits for the catalog's
  // answer and answers its children's captions in tree order.
  std::vector<std::string> Expand(const wxTreeItemId& item) {
    Tree()->Collapse(item);
    ExpandAndWait(Tree(), item);
    return Captions(item);
  }

  std::vector<std::string> Captions(const wxTreeItemId& item) {
    std::vector<std::string> captions;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = Tree()->GetFirstChild(item, cookie); child.IsOk();
         child = Tree()->GetNextChild(item, cookie))
      captions.push_back(ToUtf8(FromWx(Tree()->GetItemText(child))));
    return captions;
  }

  wxTreeItemId Child(const wxTreeItemId& item, const std::string& caption) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = Tree()->GetFirstChild(item, cookie); child.IsOk();
         child = Tree()->GetNextChild(item, cookie))
      if (ToUtf8(FromWx(Tree()->GetItemText(child))) == caption) return child;
    ADD_FAILURE() << "no child " << caption;
    return wxTreeItemId();
  }

  // Expands the captions from the root down to the last, leaving expanded
  // nodes as they are (so items found before stay valid); answers the last.
  wxTreeItemId Reach(const std::vector<std::string>& captions) {
    wxTreeItemId item = Tree()->GetRootItem();
    for (const std::string& caption : captions) {
      if (!Tree()->IsExpanded(item)) Expand(item);
      item = Child(item, caption);
      if (!item.IsOk()) return item;
    }
    if (!Tree()->IsExpanded(item)) Expand(item);
    return item;
  }

  // Runs a command on `item` and waits for the columns its script reads.
  void Command(const wxTreeItemId& item, SchemaCommand command) {
    Tree()->SelectItem(item);
    m_frame->SchemaView()->RunCommand(command);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading(); }));
  }

  // A double click of the mouse on `item`'s caption, as the user makes it;
  // waits for what it reads and runs.
  void DoubleClick(const wxTreeItemId& item) {
    wxRect rect;
    ASSERT_TRUE(Tree()->GetBoundingRect(item, rect, true));
    wxUIActionSimulator mouse;
    mouse.MouseMove(Tree()->ClientToScreen(rect.GetPosition() + wxPoint(rect.GetWidth() / 2, rect.GetHeight() / 2)));
    // Past the double-click time: the clicks of the last double click would
    // make this one a triple click.
    Pump(600);
    mouse.MouseDblClick();
    Pump(100);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); }));
  }

  std::string QueryText() { return ToUtf8(m_frame->QueryView()->GetQueryText()); }
  std::string QuerySelection() { return ToUtf8(m_frame->QueryView()->GetRunText()); }
  void ClearQuery() { m_frame->QueryView()->SetQueryText(DT("")); }
};

// ---- the SQLite driver ----

class SqliteSchemaTest : public SchemaViewTest {
 protected:
  void SetUp() override {
    SchemaViewTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database,
              "create table customer(id integer primary key, name varchar(40) not null, born date);"
              "create table orders(id integer primary key, customer_id integer references customer(id),"
              " \"first name\" text, code char(10) not null);"
              "create index orders_by_customer on orders(customer_id);"
              "create view big_orders as select id, code from orders where id > 10;"
              "create trigger orders_audit after insert on orders begin select 1; end;"
              "insert into customer values (1, 'Ann', null);"
              "insert into orders values (1, 1, 'Bo', 'A');");
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database));
  }

  wxTreeItemId Table(const std::string& name) { return Reach({Database(), "User Tables", name}); }
  std::string Database() { return ToUtf8(m_frame->Session().GetDatabaseName()); }

  std::string m_database;
};

TEST_F(SqliteSchemaTest, BrowsesDatabaseFoldersObjectsAndDetails) {
  const wxTreeItemId root = Tree()->GetRootItem();
  EXPECT_EQ(ToUtf8(FromWx(Tree()->GetItemText(root))), ToUtf8(GetComputerName()));
  // The SQLite driver names the database by its file's path, "/" and all.
  EXPECT_EQ(Expand(root), std::vector<std::string>{m_database});
  const wxTreeItemId database = Child(root, m_database);
  EXPECT_EQ(Expand(database), (std::vector<std::string>{"Stored Procedures", "System Tables", "User Tables", "Views"}));
  EXPECT_EQ(Expand(Child(database, "User Tables")), (std::vector<std::string>{"customer", "orders"}));
  EXPECT_EQ(Expand(Child(database, "Views")), std::vector<std::string>{"big_orders"});

  const wxTreeItemId orders = Table("orders");
  EXPECT_EQ(Expand(orders), (std::vector<std::string>{"Columns", "Constraints", "Indexes", "Triggers"}));
  EXPECT_EQ(Expand(Child(orders, "Columns")),
            (std::vector<std::string>{"code [char(10),Not Null]", "customer_id [INTEGER,Null]", "first [TEXT,Null]",
                                      "id [INTEGER,Null]"}));
  // The driver lists the primary key's index under a name of its own.
  EXPECT_EQ(Expand(Child(orders, "Indexes")), (std::vector<std::string>{"orders_by_customer", "sqlite_autoindex_0"}));
  // The driver names neither key: the captions come from their columns.
  EXPECT_EQ(Expand(Child(orders, "Constraints")),
            (std::vector<std::string>{"FOREIGN KEY (customer_id) REFERENCES customer (id)", "PRIMARY KEY (id)"}));
  EXPECT_EQ(Expand(Child(orders, "Triggers")), std::vector<std::string>{"orders_audit"});
  EXPECT_EQ(Expand(Child(Table("customer"), "Columns")),
            (std::vector<std::string>{"born [date,Null]", "id [INTEGER,Null]", "name [varchar(40),Not Null]"}));

  // Every node, leaves too, can be expanded; an entry shows nothing more.
  const wxTreeItemId column = Child(Child(orders, "Columns"), "code [char(10),Not Null]");
  EXPECT_TRUE(Tree()->ItemHasChildren(column));
  SchemaPath path;
  m_frame->SchemaView()->ParsePath(column, path);
  EXPECT_EQ(path.depth, 6);
  EXPECT_EQ(ToUtf8(path.database), m_database);
  EXPECT_EQ(ToUtf8(path.object), "orders");
  EXPECT_EQ(path.kind, schema::ObjectKind::Columns);
  EXPECT_EQ(ToUtf8(m_frame->SchemaView()->GetPathFromItem(Child(database, "Views"))),
            "/" + ToUtf8(GetComputerName()) + "/" + m_database + "/Views");
}

TEST_F(SqliteSchemaTest, EveryExpansionReadsTheCatalogAgainAndTheFlagsAtThatMoment) {
  const wxTreeItemId tables = Reach({Database(), "User Tables"});
  EXPECT_EQ(Captions(tables).size(), 2u);
  Run("create table added(x integer)");
  EXPECT_EQ(Captions(tables).size(), 2u);
  Tree()->Collapse(tables);
  EXPECT_EQ(Captions(tables).size(), 2u) << "children stay in place on collapse";
  EXPECT_EQ(Expand(tables), (std::vector<std::string>{"added", "customer", "orders"}));

  WriteSetting(kSchemaKey, DT("UserTable"), 0);
  WriteSetting(kSchemaKey, DT("Trigger"), 0);
  const wxTreeItemId database = Tree()->GetItemParent(tables);
  EXPECT_EQ(Captions(database).size(), 4u) << "shown folders stay until the next expansion";
  EXPECT_EQ(Expand(database), (std::vector<std::string>{"Stored Procedures", "System Tables", "Views"}));
  const wxTreeItemId view = Reach({Database(), "Views", "big_orders"});
  EXPECT_EQ(Expand(view), (std::vector<std::string>{"Columns", "Constraints", "Indexes"}));
}

TEST_F(SqliteSchemaTest, ScriptAsTextsForATableAViewAndAColumn) {
  WriteSetting(kSchemaKey, DT("Highlight"), 0);
  WriteSetting(kSchemaKey, DT("SwitchView"), 0);
  m_frame->SwitchPane(kSchemaPane);
  const wxTreeItemId customer = Table("customer");
  const std::pair<SchemaCommand, std::string> expected[] = {
      {SchemaCommand::ScriptCreate,
       "\r\nCREATE TABLE customer ( \r\n\tid INTEGER NULL, \r\n\tname varchar (40) NOT NULL, \r\n\tborn date "
       "NULL\r\n); "},
      {SchemaCommand::ScriptAlter, "\r\nALTER TABLE customer "},
      {SchemaCommand::ScriptDrop, "\r\nDROP TABLE customer;"},
      {SchemaCommand::ScriptSelect, "\r\nSELECT id,name,born \r\nFROM customer;"},
      {SchemaCommand::ScriptInsert, "\r\nINSERT INTO customer (id,name,born) \r\nVALUES ( );"},
      {SchemaCommand::ScriptUpdate, "\r\nUPDATE customer \r\nSET id=,name=,born= ;"},
      {SchemaCommand::ScriptDelete, "\r\nDELETE FROM customer;"},
      {SchemaCommand::ScriptExecute, ""},
  };
  for (const auto& [command, text] : expected) {
    ClearQuery();
    Command(customer, command);
    EXPECT_EQ(QueryText(), text);
    EXPECT_EQ(QuerySelection(), text) << "nothing highlighted: the run text is the whole text";
  }
  EXPECT_EQ(m_frame->GetCurrentPane(), kSchemaPane);

  ClearQuery();
  Command(Reach({Database(), "Views", "big_orders"}), SchemaCommand::ScriptCreate);
  EXPECT_EQ(QueryText(), "\r\nCREATE TABLE big_orders ( \r\n\tid INTEGER NULL, \r\n\tcode char (10) NULL\r\n); ");

  // A column's name comes from the catalog, not from its caption.
  const wxTreeItemId columns = Child(Table("orders"), "Columns");
  Expand(columns);
  ClearQuery();
  Command(Child(columns, "first [TEXT,Null]"), SchemaCommand::ScriptSelect);
  EXPECT_EQ(QueryText(), "\r\nSELECT \"first name\" \r\nFROM orders;");
  ClearQuery();
  Command(columns, SchemaCommand::ScriptDelete);
  EXPECT_EQ(QueryText(), "\r\nDELETE FROM orders WHERE = ;") << "a folder scripts with an empty subobject";

  WriteSetting(kSchemaKey, DT("Highlight"), 1);
  WriteSetting(kSchemaKey, DT("SwitchView"), 1);
  ClearQuery();
  m_frame->QueryView()->SetQueryText(DT("select 1"));
  Command(Table("customer"), SchemaCommand::ScriptDrop);
  EXPECT_EQ(QuerySelection(), "\r\nDROP TABLE customer;");
  EXPECT_EQ(m_frame->GetCurrentPane(), kQueryPane);
}

TEST_F(SqliteSchemaTest, OpenRunsTheSelectAndDeleteAsksFirst) {
  const wxTreeItemId customer = Table("customer");
  m_frame->SwitchPane(kSchemaPane);
  Tree()->SelectItem(customer);
  m_frame->SchemaView()->RunCommand(SchemaCommand::Open);
  // Not the query pane: the run's end shows its results, as after any run.
  EXPECT_EQ(m_frame->GetCurrentPane(), kSchemaPane);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); }));
  EXPECT_NE(Trace().find("Executing query [\r\nSELECT id,name,born \r\nFROM customer;]"), std::string::npos) << Trace();
  EXPECT_EQ(m_frame->GetCurrentPane(), kResultPane);
  EXPECT_EQ(QuerySelection(), "\r\nSELECT id,name,born \r\nFROM customer;");

  // Cancel scripts the drop for editing; OK runs it.
  m_ui.answer = kIdCancel;
  ClearQuery();
  Command(Table("orders"), SchemaCommand::Delete);
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(ToUtf8(m_ui.captions[0]), "Delete");
  EXPECT_EQ(ToUtf8(m_ui.texts[0]), "Are you sure?\r\nTo script only, please press Cancel.");
  EXPECT_EQ(QuerySelection(), "\r\nDROP TABLE orders;");
  EXPECT_EQ(m_frame->GetCurrentPane(), kQueryPane);
  EXPECT_FALSE(m_frame->Session().IsExecuting());
  EXPECT_EQ(Expand(Reach({Database(), "User Tables"})), (std::vector<std::string>{"customer", "orders"}));

  m_ui.answer = kIdOk;
  Command(Table("orders"), SchemaCommand::Delete);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); }));
  EXPECT_EQ(Expand(Reach({Database(), "User Tables"})), std::vector<std::string>{"customer"});
}

TEST_F(SqliteSchemaTest, RightClickKeepsTheSelectionAndDoubleClickOpens) {
  const wxTreeItemId customer = Table("customer");
  const wxTreeItemId orders = Child(Tree()->GetItemParent(customer), "orders");
  Tree()->SelectItem(customer);
  m_frame->SwitchPane(kSchemaPane);
  Pump(50);
  wxRect rect;
  ASSERT_TRUE(Tree()->GetBoundingRect(orders, rect, true));
  wxMouseEvent down(wxEVT_RIGHT_DOWN);
  down.SetPosition(rect.GetPosition() + wxPoint(3, 3));
  Tree()->GetEventHandler()->ProcessEvent(down);
  EXPECT_EQ(Tree()->GetSelection(), customer);

  wxTreeEvent activated(wxEVT_TREE_ITEM_ACTIVATED, Tree(), customer);
  Tree()->GetEventHandler()->ProcessEvent(activated);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); }));
  EXPECT_NE(Trace().find("FROM customer;]"), std::string::npos);
}

// A folder has nothing to open: a double click expands it or collapses it
// again, and runs nothing.
TEST_F(SqliteSchemaTest, ADoubleClickOnAFolderOnlyExpandsOrCollapsesIt) {
  const wxTreeItemId database = Reach({Database()});
  m_frame->SwitchPane(kSchemaPane);
  Pump(50);
  const wxTreeItemId tables = Child(database, "User Tables");
  ASSERT_FALSE(Tree()->IsExpanded(tables));
  DoubleClick(tables);
  EXPECT_EQ(Tree()->GetSelection(), tables) << "the click missed the folder";
  EXPECT_TRUE(Tree()->IsExpanded(tables));
  EXPECT_EQ(Captions(tables), (std::vector<std::string>{"customer", "orders"}));
  DoubleClick(tables);
  EXPECT_FALSE(Tree()->IsExpanded(tables));

  const wxTreeItemId columns = Child(Table("customer"), "Columns");
  ASSERT_FALSE(Tree()->IsExpanded(columns));
  DoubleClick(columns);
  EXPECT_TRUE(Tree()->IsExpanded(columns));
  EXPECT_EQ(Captions(columns).size(), 3u);

  // Nor does the menu's Open write anything on a folder.
  Tree()->SelectItem(Child(database, "Views"));
  m_frame->SchemaView()->RunCommand(SchemaCommand::Open);
  EXPECT_EQ(QueryText(), "");
  EXPECT_EQ(Trace().find("Executing query"), std::string::npos) << Trace();
  EXPECT_EQ(Trace().find("while a query runs"), std::string::npos) << Trace();
  EXPECT_EQ(m_frame->GetCurrentPane(), kSchemaPane);

  // A table still opens.
  DoubleClick(Tree()->GetItemParent(columns));
  EXPECT_NE(Trace().find("Executing query [\r\nSELECT id,name,born \r\nFROM customer;]"), std::string::npos) << Trace();
  EXPECT_NE(Trace().find("Query completed successfully."), std::string::npos) << Trace();
}

// A reserved word unquoted would be read as the word: Open quotes it.
TEST_F(SqliteSchemaTest, OpenQuotesNamesThatAreReservedWords) {
  Run("create table \"group\"(id integer, \"values\" text)");
  Run("insert into \"group\" values (1, 'x')");
  NewTrace();
  Tree()->SelectItem(Reach({Database(), "User Tables", "group"}));
  m_frame->SchemaView()->RunCommand(SchemaCommand::Open);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); }));
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("SELECT id,\"values\" \r\nFROM \"group\";]"), std::string::npos) << trace;
  EXPECT_NE(trace.find("Query completed successfully."), std::string::npos) << trace;
}

TEST_F(SchemaViewTest, WithoutAConnectionTheRootReportsAndStaysExpandable) {
  const wxTreeItemId root = Tree()->GetRootItem();
  Tree()->Expand(root);
  EXPECT_NE(Trace().find("Unexpected Error.\r\n"), std::string::npos);
  EXPECT_FALSE(Tree()->IsExpanded(root));
  EXPECT_TRUE(Tree()->ItemHasChildren(root));
}

// ---- server families played by the scripted driver ----

class ScriptedSchemaTest : public SchemaViewTest {
 protected:
  void Connect() {
    m_script.Log(m_folder.File("calls.log"));
    m_script.Save(m_folder.File("script.txt"));
    ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(m_folder.File("script.txt"))));
  }

  std::vector<std::string> Calls() {
    std::istringstream log(ReadFile(m_folder.File("calls.log")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  bool CallsContain(const std::string& text) {
    for (const std::string& call : Calls())
      if (call.find(text) != std::string::npos) return true;
    return false;
  }

  DriverScript m_script;
};

TEST_F(ScriptedSchemaTest, TransactSqlListsDatabasesSwitchesAndReadsTriggers) {
  m_script.Dbms("Microsoft SQL Server");
  m_script.Statement("SELECT name FROM master..sysdatabases ORDER BY name")
      .Result({{"name"}})
      .Row({"master"})
      .Row({"shop"});
  m_script.Statement("select db_name() dbname").Result({{"dbname"}}).Row({"master"});
  m_script.Statement("USE shop").RowCount(0);
  m_script.Catalog("SQLTables").Result({}).Row({"shop", "dbo", "orders", "TABLE", ""});
  m_script.Catalog("SQLProcedures").Result({}).Row({"shop", "dbo", "refresh;1", "0", "0", "0", "", "1"});
  m_script.Statement("{call sp_helptrigger ('orders')};").Result({{"trigger_name"}}).Row({"orders_audit"});
  Connect();

  const wxTreeItemId root = Tree()->GetRootItem();
  EXPECT_EQ(Expand(root), (std::vector<std::string>{"master", "shop"}));
  EXPECT_TRUE(CallsContain("select db_name() dbname"));
  const wxTreeItemId tables = Reach({"shop", "User Tables"});
  EXPECT_TRUE(CallsContain("USE shop"));
  EXPECT_EQ(ToUtf8(m_frame->Session().GetDatabaseName()), "shop");
  EXPECT_EQ(Captions(tables), std::vector<std::string>{"orders"});
  EXPECT_EQ(Expand(Reach({"shop", "Stored Procedures"})), std::vector<std::string>{"refresh"});
  EXPECT_EQ(Expand(Reach({"shop", "User Tables", "orders", "Triggers"})), std::vector<std::string>{"orders_audit"});

  WriteSetting(kSchemaKey, DT("SwitchView"), 0);
  Command(Reach({"shop", "Stored Procedures", "refresh"}), SchemaCommand::Open);
  EXPECT_EQ(QueryText(), "\r\nEXEC refresh;");
  EXPECT_EQ(m_frame->GetCurrentPane(), kQueryPane) << "a procedure is shown, not run";
  EXPECT_FALSE(m_frame->Session().IsExecuting());
}

TEST_F(ScriptedSchemaTest, OtherServersShowTheirDatabaseAndKeysWithoutTheKeysFunction) {
  m_script.Dbms("PostgreSQL").Info(SQL_DATABASE_NAME, "shop").Unsupported(SQL_API_SQLPRIMARYKEYS);
  m_script.Catalog("SQLTables").Result({}).Row({"shop", "public", "orders", "TABLE", ""});
  m_script.Catalog("SQLForeignKeys")
      .Result({})
      .Row({"shop", "public", "customer", "id", "shop", "public", "orders", "customer_id", "1", "0", "0", "orders_fk",
            "customer_pk", "7"});
  m_script.Catalog("SQLColumns").Result({});
  Connect();

  EXPECT_EQ(Expand(Tree()->GetRootItem()), std::vector<std::string>{"shop"});
  EXPECT_EQ(Trace().find("Unexpected Error"), std::string::npos);
  EXPECT_EQ(Expand(Reach({"shop", "User Tables", "orders", "Constraints"})), std::vector<std::string>{"orders_fk"});
  EXPECT_EQ(Expand(Reach({"shop", "User Tables", "orders", "Triggers"})), std::vector<std::string>{});

  // An empty column list still gives the select, as a skeleton.
  WriteSetting(kSchemaKey, DT("Highlight"), 0);
  Command(Reach({"shop", "User Tables", "orders"}), SchemaCommand::ScriptSelect);
  EXPECT_EQ(QueryText(), "\r\nSELECT  \r\nFROM orders;");
}

// A catalog read that hangs in the driver: the tree shows "Reading..." at
// once, the window goes on, and Cancel ends the read.
// Completion reads the same catalog at connect, and would hang in it before
// the pane asks; its own reads are tested with completion.
class HangingCatalogTest : public ScriptedSchemaTest {
 protected:
  void PrepareSettings() override {
    ScriptedSchemaTest::PrepareSettings();
    WriteSetting(DT("Software\\Harlune\\Dossel\\Query"), DT("Completion"), 0);
  }
};

TEST_F(HangingCatalogTest, AHangingCatalogReadLeavesTheWindowWorkingUntilCancelEndsIt) {
  m_script.Dbms("PostgreSQL").Info(SQL_DATABASE_NAME, "shop");
  m_script.Catalog("SQLTables").BlockInExecute();
  Connect();
  const wxTreeItemId tables = Child(Reach({"shop"}), "User Tables");
  const auto asked = std::chrono::steady_clock::now();
  Tree()->Expand(tables);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(2)) << "the window waited for the read";
  EXPECT_EQ(Captions(tables), std::vector<std::string>{"Reading..."});
  Pump(200);
  EXPECT_TRUE(m_frame->Session().IsReading());
  m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(m_frame->IsCommandEnabled(res::ID_SQL_CANCEL));
  // Commands on the stand-in write nothing.
  ClearQuery();
  Tree()->SelectItem(Child(tables, "Reading..."));
  m_frame->SchemaView()->RunCommand(SchemaCommand::Open);
  EXPECT_EQ(QueryText(), "");

  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading(); }, 5000)) << "the cancel did not end the read";
  EXPECT_NE(Trace().find("Canceling catalog read ...\r\n"), std::string::npos) << Trace();
  EXPECT_FALSE(Tree()->IsExpanded(tables));
  EXPECT_TRUE(Tree()->ItemHasChildren(tables)) << "still expandable";
  EXPECT_FALSE(m_frame->Session().IsExecuting());
}

// A driver that names no database: its node still has a caption, and its
// folders and tables show under it, with no switch of database.
TEST_F(ScriptedSchemaTest, ADatabaseWithoutANameShowsItsFolders) {
  m_script.Dbms("PostgreSQL").InfoMissing(SQL_DATABASE_NAME);
  m_script.Catalog("SQLTables").Result({}).Row({"", "public", "orders", "TABLE", ""});
  m_script.AnyOtherStatement().RowCount(0);
  Connect();
  const wxTreeItemId root = Tree()->GetRootItem();
  EXPECT_EQ(Expand(root), std::vector<std::string>{"(no name)"});
  const wxTreeItemId database = Child(root, "(no name)");
  EXPECT_EQ(Expand(database), (std::vector<std::string>{"Stored Procedures", "System Tables", "User Tables", "Views"}));
  EXPECT_EQ(Expand(Child(database, "User Tables")), std::vector<std::string>{"orders"});
  EXPECT_FALSE(CallsContain("USE")) << "nothing to switch to";
  EXPECT_EQ(ToUtf8(m_frame->Session().GetDatabaseName()), "");
}

// A driver without a quote character: a name that needs quotes cannot go
// into SQL as one name, so Open shows its select and runs nothing; plain
// names still run.
TEST_F(ScriptedSchemaTest, NamesTheDriverCannotQuoteAreShownAndNotRun) {
  m_script.Dbms("PostgreSQL").Info(SQL_DATABASE_NAME, "shop").Info(SQL_IDENTIFIER_QUOTE_CHAR, " ");
  m_script.Catalog("SQLTables")
      .Result({})
      .Row({"shop", "public", "x; delete from t", "TABLE", ""})
      .Row({"shop", "public", "plain", "TABLE", ""});
  m_script.Catalog("SQLColumns")
      .Result({})
      .Row({"shop", "public", "x; delete from t", "a", "4", "int", "10", "4", "0", "10", "1", ""})
      .Row({"shop", "public", "plain", "a", "4", "int", "10", "4", "0", "10", "1", ""});
  m_script.AnyOtherStatement().RowCount(0);
  Connect();
  m_frame->SwitchPane(kSchemaPane);

  Command(Reach({"shop", "User Tables", "x; delete from t"}), SchemaCommand::Open);
  EXPECT_EQ(QueryText(), "\r\nSELECT a \r\nFROM x; delete from t;");
  EXPECT_EQ(QuerySelection(), "\r\nSELECT a \r\nFROM x; delete from t;");
  EXPECT_FALSE(m_frame->Session().IsExecuting());
  EXPECT_EQ(m_frame->GetCurrentPane(), kQueryPane) << "shown for the user to read";
  EXPECT_NE(Trace().find("The script was not run: the driver has no quote character for the name [x; delete from t]."
                         "\r\n"),
            std::string::npos)
      << Trace();
  for (const std::string& call : Calls()) EXPECT_NE(call.rfind("SQLExecDirect", 0), 0u) << call;

  ClearQuery();
  Command(Reach({"shop", "User Tables", "plain"}), SchemaCommand::Open);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }));
  EXPECT_TRUE(CallsContain("SQLExecDirect \\r\\nSELECT a \\r\\nFROM plain;")) << ReadFile(m_folder.File("calls.log"));
}

TEST_F(ScriptedSchemaTest, TextDriverReadsLongTableNamesThroughAnEmptySelect) {
  m_script.Dbms("TEXT");
  m_script.Catalog("SQLTables").Result({}).Row({"", "", "customers_2024", "TABLE", ""});
  m_script.Statement("SELECT * FROM customers_2024 WHERE 1=2").Result({{"id"}, {"full name"}});
  Connect();
  EXPECT_EQ(Expand(Reach({ToUtf8(m_frame->Session().GetDatabaseName()), "User Tables", "customers_2024", "Columns"})),
            (std::vector<std::string>{"full name", "id"}));
}

// A driver that takes several statements in one call would run a second
// statement hidden in a name; every name a catalog gives goes into SQL quoted.
TEST_F(ScriptedSchemaTest, NamesFromTheCatalogNeverRunAsStatements) {
  m_script.Dbms("Microsoft SQL Server");
  m_script.Statement("SELECT name FROM master..sysdatabases ORDER BY name")
      .Result({{"name"}})
      .Row({"x]; drop table u; --"});
  m_script.Statement("select db_name() dbname").Result({{"dbname"}}).Row({"master"});
  m_script.Catalog("SQLTables").Result({}).Row({"", "", "t; drop table u", "TABLE", ""});
  m_script.Catalog("SQLColumns")
      .Result({})
      .Row({"", "", "t; drop table u", "a", "4", "int", "10", "4", "0", "10", "1", ""});
  m_script.AnyOtherStatement().RowCount(0);
  Connect();

  const std::string database = "x]; drop table u; --";
  const wxTreeItemId table = Reach({database, "User Tables", "t; drop table u"});
  ASSERT_TRUE(table.IsOk());
  Expand(Child(table, "Triggers"));
  Command(table, SchemaCommand::Open);
  PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); });
  m_ui.answer = kIdOk;
  Command(table, SchemaCommand::Delete);
  PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); });

  EXPECT_TRUE(CallsContain("USE \"x]; drop table u; --\""));
  EXPECT_TRUE(CallsContain("{call sp_helptrigger ('t; drop table u')};"));
  EXPECT_TRUE(CallsContain("SELECT a \r\nFROM \"t; drop table u\";") || CallsContain("FROM \"t; drop table u\";"));
  EXPECT_TRUE(CallsContain("DROP TABLE \"t; drop table u\";"));
  for (const std::string& call : Calls()) {
    EXPECT_EQ(call.find("USE x]"), std::string::npos) << call;
    EXPECT_EQ(call.find("TABLE t; drop"), std::string::npos) << call;
    EXPECT_EQ(call.find("FROM t; drop"), std::string::npos) << call;
  }
}

}  // namespace
}  // namespace dossel::test
