// Completion over a big catalog: a SQLite database of 10,000 tables of 20
// columns each, connected in the main frame.
// - The first fill of the table names (a cache of its own, from its first
//   Pump until it holds the names) against a bare SQLTables read of the same
//   catalog on a connection of the driver itself.
// - The list after Ctrl+Space from the warm cache, at "from " (the tables)
//   and in a WHERE clause (the statement's columns, then keywords), by real
//   key presses until the pane has drawn it, against a key press where
//   completion does nothing; and by a direct call, against Scintilla's own
//   list shown with the same items.
// - A key press while the open list follows the typed word, against a key
//   press in a comment, where completion does nothing.

#include <sql.h>
#include <sqlext.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/utils.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/sql_completion.h"
#include "app/sql_edit.h"
#include "bench_odbc.h"
#include "bench_support.h"
#include "bench_window.h"
#include "completion/catalog_cache.h"
#include "platform/wx/wx_text.h"

using namespace dossel;

namespace {

constexpr int kTables = 10000;
constexpr int kColumns = 20;
constexpr int kRuns = 5;
using bench::Clock;
using bench::Pause;
using bench::PumpUntil;
using bench::Since;

std::string MakeDatabase() {
  const std::string path = bench::ScratchFolder() + "/catalog.db";
  const std::string file = path + ".sql";
  FILE* out = std::fopen(file.c_str(), "w");
  std::fputs("begin;", out);
  for (int table = 0; table < kTables; ++table) {
    std::fprintf(out, "create table t%d(", table);
    for (int column = 0; column < kColumns; ++column)
      std::fprintf(out, "%sc%d_%d %s", column ? ", " : "", table, column, column % 2 ? "text" : "integer");
    std::fputs(");", out);
  }
  std::fputs("commit;", out);
  std::fclose(out);
  if (std::system(("sqlite3 '" + path + "' < '" + file + "'").c_str()) != 0) std::exit(2);
  return path;
}

double Best(const std::function<double()>& once) {
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) best = std::min(best, once());
  return best;
}

bench::Measure Timed(double seconds) {
  bench::Measure m;
  m.seconds = seconds;
  m.ok = seconds < 1e9;
  return m;
}

// The names SQLTables gives (catalog, schema, name and type, as the cache
// reads them), with bare calls on a connection opened before; `seconds`
// from the call to the last fetch.
size_t BareTablesRead(const std::string& database, double& seconds) {
  bench::CBareSqliteStatement bare(database);
  const SQLHSTMT stmt = bare.Handle();
  const auto start = Clock::now();
  SQLTables(stmt, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0);
  char text[4][256];
  SQLLEN length[4] = {};
  for (int column = 0; column < 4; ++column)
    SQLBindCol(stmt, column + 1, SQL_C_CHAR, text[column], sizeof text[column], &length[column]);
  std::vector<std::string> names;
  while (SQL_SUCCEEDED(SQLFetch(stmt))) names.emplace_back(text[2]);
  seconds = Since(start);
  return names.size();
}

double FirstFill(session::CSession& session) {
  completion::CCatalogCache cache(session);
  const auto start = Clock::now();
  cache.Pump();
  if (!PumpUntil([&] { return cache.NamesKnown() && cache.IsIdle(); })) return 1e9;
  const double seconds = Since(start);
  if (cache.Tables().size() != static_cast<size_t>(kTables)) std::exit(5);
  return seconds;
}

class CBench {
 public:
  CBench(CMainFrame* frame) : m_frame(frame) {}

  CSqlEdit* Edit() { return m_frame->QueryView()->SqlEdit(); }
  CSqlCompletion* Completion() { return m_frame->QueryView()->Completion(); }

  // Puts `text` into the pane with the caret at its end.
  void Place(const std::string& text) {
    if (Edit()->AutoCompActive()) Edit()->AutoCompCancel();
    m_frame->QueryView()->SetQueryText(FromUtf8(text));
    Edit()->SetFocus();
    Edit()->GotoPos(Edit()->GetTextLength());
    Pause(0.05);
  }

  // Ctrl+Space at the end of `text` until the list is drawn.
  double CtrlSpace(const std::string& text) {
    Place(text);
    const auto start = Clock::now();
    bench::SendControlSpace();
    if (!PumpUntil([&] { return Edit()->AutoCompActive(); }, 10)) return 1e9;
    Edit()->Update();
    const double seconds = Since(start);
    m_items = Completion()->ShownTexts().size();
    return seconds;
  }

  // The list made and drawn by a direct call, without the key's way
  // through the X server and the toolkit.
  double Direct(const std::string& text) {
    Place(text);
    const auto start = Clock::now();
    Completion()->ShowList();
    if (!Edit()->AutoCompActive()) return 1e9;
    Edit()->Update();
    return Since(start);
  }

  // The same items shown straight through Scintilla, without completion.
  double PlainList(const std::string& text) {
    CtrlSpace(text);
    const std::vector<std::string> shown = Completion()->ShownTexts();
    Place(text);
    std::string joined;
    for (const std::string& item : shown) joined += (joined.empty() ? "" : "\n") + item;
    const wxString items = wxString::FromUTF8(joined);
    const auto start = Clock::now();
    Edit()->AutoCompShow(0, items);
    Edit()->Update();
    return Since(start);
  }

  // The median key press while typing `keys` at the end of `text`.
  double Typing(const std::string& text, const std::string& keys, bool openList) {
    Place(text);
    if (openList) {
      bench::SendControlSpace();
      if (!PumpUntil([&] { return Edit()->AutoCompActive(); }, 10)) return 1e9;
    }
    std::vector<double> times;
    for (const char key : keys) {
      const int length = Edit()->GetTextLength();
      const auto start = Clock::now();
      bench::SendCharacter(key);
      if (!PumpUntil([&] { return Edit()->GetTextLength() > length; }, 10)) return 1e9;
      // The list follows once the key is done.
      wxTheApp->Yield(true);
      Edit()->Update();
      times.push_back(Since(start));
    }
    if (openList && !Edit()->AutoCompActive()) return 1e9;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }

  size_t Items() const { return m_items; }

 private:
  CMainFrame* m_frame;
  size_t m_items = 0;
};

}  // namespace

int main(int argc, char** argv) {
  bench::RerunUnderXvfbWithoutDisplay(argc, argv);
  if (!bench::StartWx(argc, argv)) return 2;
  bench::UseScratchRegistry();
  const std::string database = MakeDatabase();

  auto* frame = new CMainFrame();
  frame->SetSize(1000, 700);
  frame->Show();
  frame->Raise();
  const TString connect = FromUtf8("DSN=Bench;Database=" + database);
  if (!frame->Connect(&connect)) return 3;
  CBench bench(frame);
  if (!bench.Completion()) return 4;
  if (!PumpUntil([&] { return bench.Completion()->Cache().NamesKnown() && bench.Completion()->Cache().IsIdle(); }))
    return 4;
  frame->SwitchPane(0);

  const double fill = Best([&] { return FirstFill(frame->Session()); });
  size_t bareNames = 0;
  const double bare = Best([&] {
    double seconds = 1e9;
    bareNames = BareTablesRead(database, seconds);
    return seconds;
  });
  bench::Print("completion_first_fill_of_names", Timed(fill), "bare_sqltables_read", Timed(bare),
               "tables=" + std::to_string(kTables) + " bare_rows=" + std::to_string(bareNames));
  // The read alone, on the connection's thread, without the way to the window.
  const double read = Best([&] {
    double seconds = 1e9;
    bool answered = false;
    frame->Session().Ask(
        [](db::CDbConnection& connection) {
          const auto start = Clock::now();
          const completion::NamesRead names = completion::ReadNames(connection);
          return names.tables.tables.size() == static_cast<size_t>(kTables) ? Since(start) : 1e9;
        },
        [&](double answer) {
          seconds = answer;
          answered = true;
        });
    PumpUntil([&] { return answered; });
    return seconds;
  });
  bench::Print("completion_names_read_alone", Timed(read), "bare_sqltables_read", Timed(bare),
               "tables=" + std::to_string(kTables));

  // Warm: the columns of t5000 are read once before.
  const std::string selectList = "select  from t5000 a where a.";
  bench.CtrlSpace(selectList);
  PumpUntil([&] { return bench.Completion()->Cache().IsIdle(); });
  // A key's way through the X server and the toolkit, where completion does nothing.
  const double comment = Best([&] { return bench.Typing("select * from -- ", "t500", false); });
  for (const std::string& text : {std::string("select * from "), std::string("select * from t5000 a where ")}) {
    const double list = Best([&] { return bench.CtrlSpace(text); });
    const size_t items = bench.Items();
    const double direct = Best([&] { return bench.Direct(text); });
    const double plain = Best([&] { return bench.PlainList(text); });
    const std::string name = text.size() < 16 ? "completion_list_tables" : "completion_list_where";
    bench::Print(name, Timed(list), "key_press_in_a_comment", Timed(comment),
                 "items=" + std::to_string(items) + " limit_s=0.050");
    bench::Print(name + "_direct_call", Timed(direct), "scintilla_list_same_items", Timed(plain),
                 "items=" + std::to_string(items));
  }

  const double following = Best([&] { return bench.Typing("select * from ", "t500", true); });
  bench::Print("completion_key_press_list_following", Timed(following), "key_press_in_a_comment", Timed(comment),
               "tables=" + std::to_string(kTables));

  bench.Place("");
  frame->Destroy();
  wxTheApp->Yield(true);
  wxEntryCleanup();
  return 0;
}
