// A script of 10,000 INSERT statements in one transaction, as a user writes
// it, run through the session on the SQLite driver (split into statements,
// run one after another, every trace line written), against the sqlite3
// shell reading the same script. Each run starts from a new database file.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench_session_view.h"
#include "bench_support.h"
#include "session/session.h"

using namespace dossel;

namespace {

std::string MakeScript(int statements) {
  std::string script = "create table t(id integer primary key, name text, amount real);\nbegin transaction;\n";
  for (int i = 0; i < statements; ++i)
    script += "insert into t(id, name, amount) values (" + std::to_string(i) + ", 'name; " + std::to_string(i) + "', " +
              std::to_string(i) + ".5);\n";
  script += "commit;\n";
  return script;
}

void RunThroughSession(const std::string& script, const std::string& database) {
  std::setlocale(LC_ALL, "C.UTF-8");
  bench::CPostingView view;
  session::CSession session(view);
  const TString connect = FromUtf8("DSN=Bench;Database=" + database + ";Timeout=1000;StepAPI=0");
  if (!session.Connect(&connect)) std::exit(1);
  session.Execute(FromUtf8(script), true);
  view.RunUntilIdle(session);
  if (!view.TakeTrace().ends_with(DT("Query completed successfully.\r\n\r\n"))) std::exit(1);
  session.Shutdown();
}

}  // namespace

int main(int argc, char** argv) {
  const int statements = argc > 1 ? std::atoi(argv[1]) : 10000;
  const std::string folder = bench::ScratchFolder();
  const std::string scriptPath = folder + "/script.sql";
  const std::string script = MakeScript(statements);
  std::ofstream(scriptPath, std::ios::binary) << script;
  int databases = 0;
  auto freshDatabase = [&] { return folder + "/script-" + std::to_string(++databases) + ".db"; };
  const bench::Measure shell = bench::Best(
      3, [&] { return bench::MeasureCommand("sqlite3 '" + freshDatabase() + "' < '" + scriptPath + "' > /dev/null"); });
  const bench::Measure ours = bench::Best(3, [&] {
    const std::string database = freshDatabase();
    return bench::MeasureChild([&] { RunThroughSession(script, database); });
  });
  bench::Print("script_inserts", ours, "sqlite3_shell", shell,
               "statements=" + std::to_string(statements) + " bytes=" + std::to_string(script.size()));
  return ours.ok && shell.ok ? 0 : 1;
}
