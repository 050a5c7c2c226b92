// Expanding the schema pane's "User Tables" of a database with 10,000 tables
// and "Columns" of a table with 1,000 columns, against a reference made of
// the same catalog read with bare ODBC calls plus a plain tree control
// filled with the same number of captions and sorted, in the same run.

#include <sql.h>
#include <sqlext.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "bench_odbc.h"
#include "bench_support.h"
#include "bench_window.h"
#include "platform/wx/wx_text.h"
#include "schema/wx/schema_view.h"
#include "settings/settings_store.h"

using namespace dossel;

namespace {

constexpr int kTables = 10000;
constexpr int kColumns = 1000;
constexpr int kRuns = 5;

std::string MakeDatabase() {
  const std::string path = bench::ScratchFolder() + "/catalog.db";
  std::string sql = "begin;";
  for (int i = 0; i < kTables; ++i) sql += "create table t" + std::to_string(i) + "(a integer);";
  sql += "create table wide(";
  for (int i = 0; i < kColumns; ++i) sql += (i ? ", c" : "c") + std::to_string(i) + " varchar(20)";
  sql += ");commit;";
  const std::string file = path + ".sql";
  FILE* out = std::fopen(file.c_str(), "w");
  std::fputs(sql.c_str(), out);
  std::fclose(out);
  if (std::system(("sqlite3 '" + path + "' < '" + file + "'").c_str()) != 0) std::exit(2);
  return path;
}

double Seconds(const std::function<void()>& body) {
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    body();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// The captions of SQLTables or SQLColumns (third or fourth column), read with
// bare calls on a connection of the driver itself.
std::vector<std::string> BareCatalogRead(const std::string& database, bool columns) {
  bench::CBareSqliteStatement bare(database);
  const SQLHSTMT stmt = bare.Handle();
  if (columns)
    SQLColumns(stmt, nullptr, 0, nullptr, 0, (SQLCHAR*)"wide", SQL_NTS, nullptr, 0);
  else
    SQLTables(stmt, nullptr, 0, nullptr, 0, nullptr, 0, (SQLCHAR*)"'TABLE'", SQL_NTS);
  char name[256];
  SQLLEN length = 0;
  SQLBindCol(stmt, columns ? 4 : 3, SQL_C_CHAR, name, sizeof name, &length);
  std::vector<std::string> captions;
  while (SQL_SUCCEEDED(SQLFetch(stmt))) captions.emplace_back(name);
  return captions;
}

double Reference(wxWindow* parent, const std::string& database, bool columns) {
  auto* tree = new wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 600));
  const double seconds = Seconds([&] {
    tree->DeleteAllItems();
    const wxTreeItemId root = tree->AddRoot("root");
    for (const std::string& caption : BareCatalogRead(database, columns)) tree->AppendItem(root, caption);
    tree->SortChildren(root);
    tree->Expand(root);
    wxTheApp->Yield(true);
  });
  tree->Destroy();
  return seconds;
}

wxTreeItemId ChildOf(wxTreeCtrl* tree, const wxTreeItemId& item, const wxString& caption) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk(); child = tree->GetNextChild(item, cookie))
    if (tree->GetItemText(child) == caption) return child;
  std::fprintf(stderr, "no node %s\n", static_cast<const char*>(caption.utf8_str()));
  std::exit(4);
}

double Expansion(wxTreeCtrl* tree, const wxTreeItemId& item) {
  return Seconds([&] {
    tree->Collapse(item);
    tree->Expand(item);
    wxTheApp->Yield(true);
  });
}

bench::Measure Timed(double seconds) {
  bench::Measure m;
  m.seconds = seconds;
  m.ok = true;
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  bench::RerunUnderXvfbWithoutDisplay(argc, argv);
  if (!bench::StartWx(argc, argv)) return 2;
  bench::UseScratchRegistry();
  const std::string database = MakeDatabase();

  auto* frame = new CMainFrame();
  frame->Show();
  const TString connect = FromUtf8("DSN=Bench;Database=" + database);
  if (!frame->Connect(&connect)) return 3;
  frame->SwitchPane(3);
  wxTreeCtrl* tree = frame->SchemaView()->GetTree();
  const wxTreeItemId root = tree->GetRootItem();
  tree->Expand(root);
  const wxTreeItemId db = ChildOf(tree, root, ToWx(frame->Session().GetDatabaseName()));
  tree->Expand(db);
  const wxTreeItemId tables = ChildOf(tree, db, "User Tables");
  const double ourTables = Expansion(tree, tables);
  const wxTreeItemId wide = ChildOf(tree, tables, "wide");
  tree->Expand(wide);
  const double ourColumns = Expansion(tree, ChildOf(tree, wide, "Columns"));

  const double refTables = Reference(frame, database, false);
  const double refColumns = Reference(frame, database, true);
  bench::Print("schema_user_tables", Timed(ourTables), "bare_read_and_tree", Timed(refTables),
               "tables=" + std::to_string(kTables));
  bench::Print("schema_columns", Timed(ourColumns), "bare_read_and_tree", Timed(refColumns),
               "columns=" + std::to_string(kColumns));
  frame->Destroy();
  wxTheApp->Yield(true);
  wxEntryCleanup();
  return 0;
}
