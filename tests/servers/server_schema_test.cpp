// The schema pane against the real PostgreSQL server: tables of one name in
// two schemas are two entries, each with its own columns and indexes, and
// their scripts name the schema, quoted where it needs quotes.

#include <gtest/gtest.h>

#include <algorithm>

#include "frame_fixture.h"
#include "schema/wx/schema_view.h"

namespace dossel::test {
namespace {

using Captions = std::vector<std::string>;

class ServerSchemaTest : public TextFrameTest {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("ODBCINI"), nullptr) << "run through ctest, which starts the servers";
    TextFrameTest::SetUp();
    ASSERT_TRUE(ConnectTo("DSN=DosselPostgres")) << Trace();
    DropSchemas();
    for (const char* sql : {"create schema a", "create schema \"Odd Schema\"", "create table a.t(x integer)",
                            "create index a_t_x on a.t(x)", "create table \"Odd Schema\".t(y integer, z text)",
                            "create index odd_t_y on \"Odd Schema\".t(y)",
                            "insert into \"Odd Schema\".t values (7, 'seven')", "create table a.only_here(w integer)"})
      Run(sql);
    NewTrace();
  }

  void TearDown() override {
    if (m_frame->Session().IsConnected() && !m_frame->Session().IsExecuting()) DropSchemas();
    TextFrameTest::TearDown();
  }

  void DropSchemas() {
    Run("drop schema if exists a cascade");
    Run("drop schema if exists \"Odd Schema\" cascade");
  }

  wxTreeCtrl* Tree() { return m_frame->SchemaView()->GetTree(); }

  Captions Expand(const wxTreeItemId& item) {
    Tree()->Collapse(item);
    ExpandAndWait(Tree(), item);
    Captions captions;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId at = Tree()->GetFirstChild(item, cookie); at.IsOk(); at = Tree()->GetNextChild(item, cookie))
      captions.push_back(ToUtf8(FromWx(Tree()->GetItemText(at))));
    return captions;
  }

  // The child captioned `caption` of `item`, expanded first when it is not.
  wxTreeItemId Child(const wxTreeItemId& item, const std::string& caption) {
    if (!Tree()->IsExpanded(item)) Expand(item);
    wxTreeItemIdValue cookie;
    for (wxTreeItemId at = Tree()->GetFirstChild(item, cookie); at.IsOk(); at = Tree()->GetNextChild(item, cookie))
      if (ToUtf8(FromWx(Tree()->GetItemText(at))) == caption) return at;
    ADD_FAILURE() << "no " << caption << " under " << ToUtf8(FromWx(Tree()->GetItemText(item)));
    return wxTreeItemId();
  }

  wxTreeItemId UserTables() { return Child(Child(Tree()->GetRootItem(), "dossel"), "User Tables"); }

  void Command(const wxTreeItemId& item, schema::SchemaCommand command) {
    Tree()->SelectItem(item);
    m_frame->SchemaView()->RunCommand(command);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); }));
  }

  static bool Has(const Captions& captions, const std::string& caption) {
    return std::find(captions.begin(), captions.end(), caption) != captions.end();
  }
  // The names the captions of a Columns folder begin with.
  static Captions Names(const Captions& captions) {
    Captions names;
    for (const std::string& caption : captions) names.push_back(caption.substr(0, caption.find(' ')));
    return names;
  }
};

TEST_F(ServerSchemaTest, TablesOfOneNameInTwoSchemasStayApart) {
  const wxTreeItemId tables = UserTables();
  ASSERT_TRUE(tables.IsOk());
  const Captions listed = Expand(tables);
  EXPECT_TRUE(Has(listed, "a.t"));
  EXPECT_TRUE(Has(listed, "Odd Schema.t"));
  EXPECT_FALSE(Has(listed, "t")) << "each once, with its schema";
  EXPECT_TRUE(Has(listed, "only_here")) << "a name of one schema stands alone";

  const wxTreeItemId inA = Child(tables, "a.t");
  const wxTreeItemId odd = Child(tables, "Odd Schema.t");
  EXPECT_EQ(Names(Expand(Child(inA, "Columns"))), Captions{"x"});
  EXPECT_EQ(Names(Expand(Child(odd, "Columns"))), (Captions{"y", "z"}));
  EXPECT_EQ(Expand(Child(inA, "Indexes")), Captions{"a_t_x"});
  EXPECT_EQ(Expand(Child(odd, "Indexes")), Captions{"odd_t_y"});

  m_frame->QueryView()->SetQueryText(DT(""));
  Command(odd, schema::SchemaCommand::ScriptSelect);
  EXPECT_EQ(ToUtf8(m_frame->QueryView()->GetQueryText()), "\r\nSELECT y,z \r\nFROM \"Odd Schema\".t;");

  // Open runs that select on the server.
  Command(odd, schema::SchemaCommand::Open);
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("FROM \"Odd Schema\".t;]"), std::string::npos) << trace;
  EXPECT_NE(trace.find("Query completed successfully."), std::string::npos) << trace;
  EXPECT_NE(Result().find("seven"), std::string::npos) << Result();
}

}  // namespace
}  // namespace dossel::test
