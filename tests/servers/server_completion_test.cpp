// Completion in the query pane against the real PostgreSQL and MariaDB
// servers: names and columns as their catalogs give them, a table made by
// a run, PostgreSQL's schemas and MariaDB's databases, and names that need
// each server's quotes.

#include <gtest/gtest.h>

#include "app/sql_completion.h"
#include "app/sql_edit.h"
#include "frame_fixture.h"

namespace dossel::test {
namespace {

using Texts = std::vector<std::string>;

class ServerCompletionTest : public TextFrameTest {
 protected:
  void Open(const char* dsn, const std::vector<std::string>& setup) {
    ASSERT_NE(std::getenv("ODBCINI"), nullptr) << "run through ctest, which starts the servers";
    ASSERT_TRUE(ConnectTo(std::string("DSN=") + dsn)) << Trace();
    ASSERT_NE(Completion(), nullptr);
    for (const std::string& sql : setup) Run(sql);
    m_frame->SwitchPane(0);
    ASSERT_TRUE(Settle());
  }

  void TearDown() override {
    if (m_frame->Session().IsConnected() && !m_frame->Session().IsExecuting())
      for (const std::string& sql : m_cleanup) Run(sql);
    TextFrameTest::TearDown();
  }

  CSqlCompletion* Completion() { return m_frame->QueryView()->Completion(); }
  bool Settle() {
    return PumpUntil([&] { return Completion()->Cache().NamesKnown() && Completion()->Cache().IsIdle(); });
  }

  // The list at the "|" of `marked`, once what it needs has been read.
  Texts ListAt(const std::string& marked) {
    const size_t caret = marked.find('|');
    std::string text = marked;
    text.erase(caret, 1);
    m_frame->QueryView()->SetQueryText(FromUtf8(text));
    m_frame->SwitchPane(0);
    CSqlEdit* edit = m_frame->QueryView()->SqlEdit();
    edit->SetFocus();
    edit->GotoPos(static_cast<int>(caret));
    Completion()->ShowList();
    Settle();
    Pump(30);
    Completion()->ShowList();
    Texts shown = Completion()->ShownTexts();
    edit->AutoCompCancel();
    return shown;
  }

  static bool Has(const Texts& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  static std::string Joined(const Texts& texts) {
    std::string all;
    for (const std::string& text : texts) all += "[" + text + "]";
    return all;
  }

  std::vector<std::string> m_cleanup;
};

TEST_F(ServerCompletionTest, PostgresTablesColumnsSchemasAndQuotes) {
  m_cleanup = {"drop schema if exists sales cascade", "drop table if exists people",
               "drop table if exists \"MixedCase\""};
  Open("DosselPostgres",
       {"drop schema if exists sales cascade", "drop table if exists people", "drop table if exists \"MixedCase\"",
        "create table people(id integer primary key, name varchar(40) not null, born date)", "create schema sales",
        "create table sales.invoices(invoice_no integer, amount numeric(10,2))",
        "create table \"MixedCase\"(x integer)"});
  // Tables of the default schema by name, of another with it; the schemas.
  Texts tables = ListAt("select * from |");
  EXPECT_TRUE(Has(tables, "people")) << Joined(tables);
  EXPECT_TRUE(Has(tables, "sales.invoices")) << Joined(tables);
  EXPECT_TRUE(Has(tables, "sales")) << Joined(tables);
  EXPECT_TRUE(Has(tables, "public")) << Joined(tables);
  EXPECT_FALSE(Has(tables, "pg_class")) << "no system tables";
  // The server folds unquoted names to lower case: others are quoted.
  EXPECT_EQ(ListAt("select * from mix|"), Texts{"\"MixedCase\""});
  EXPECT_EQ(ListAt("select * from sales.|"), Texts{"invoices"});

  // Columns as the catalog spells their types.
  EXPECT_EQ(ListAt("select p.| from people p"), (Texts{"id  int4", "name  varchar", "born  date"}));
  EXPECT_EQ(ListAt("select i.| from sales.invoices i"), (Texts{"invoice_no  int4", "amount  numeric"}));

  // A table a run makes completes afterwards.
  Run("create table sales.fresh_things(a integer)");
  m_frame->SwitchPane(0);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(ListAt("select * from sales.fre|"), Texts{"fresh_things"});
}

TEST_F(ServerCompletionTest, MariaDbTablesColumnsDatabasesAndQuotes) {
  m_cleanup = {"drop table if exists people", "drop table if exists `odd name`",
               "drop table if exists dossel_other.remote_things"};
  Open("DosselMariaDB", {"drop table if exists people", "drop table if exists `odd name`",
                         "drop table if exists dossel_other.remote_things",
                         "create table people(id integer primary key, name varchar(40) not null, born date)",
                         "create table `odd name`(a integer)",
                         "create table dossel_other.remote_things(thing_id integer, label varchar(20))"});
  Texts tables = ListAt("select * from |");
  EXPECT_TRUE(Has(tables, "people")) << Joined(tables);
  EXPECT_TRUE(Has(tables, "`odd name`")) << Joined(tables);
  EXPECT_TRUE(Has(tables, "dossel_other")) << "the other database: " << Joined(tables);
  EXPECT_FALSE(Has(tables, "remote_things")) << "its tables only after its name";
  EXPECT_EQ(ListAt("select * from dossel_other.|"), Texts{"remote_things"});
  EXPECT_EQ(ListAt("select r.| from dossel_other.remote_things r"), (Texts{"thing_id  INT", "label  VARCHAR"}));
  EXPECT_EQ(ListAt("select p.| from people p"), (Texts{"id  INT", "name  VARCHAR", "born  DATE"}));

  Run("create table fresh_things(a integer)");
  m_cleanup.emplace_back("drop table if exists fresh_things");
  m_frame->SwitchPane(0);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(ListAt("select * from fresh|"), Texts{"fresh_things"});
}

}  // namespace
}  // namespace dossel::test
