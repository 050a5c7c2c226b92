// A script of 10,000 INSERT statements in one transaction, as a user writes
// it, run through the session on the SQLite driver (split into statements,
// run one after another, every trace line written), against the sqlite3
// shell reading the same script. Each run starts from a new database file.

#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>

#include "bench_support.h"
#include "session/session.h"

using namespace dossel;

namespace {

// The session's window, kept to what the run needs: the trace is kept, the
// posted calls run on the main thread as the UI thread would run them.
class BenchView : public session::ISessionView {
 public:
  void AppendTrace(TStringView text) override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_trace += text;
  }
  void AppendResultText(TStringView) override {}
  void Post(std::function<void()> call) override {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_posted.push_back(std::move(call));
    }
    m_wake.notify_all();
  }
  void StartTimer(unsigned) override {}
  void StopTimer() override {}
  CGridStore* PrepareGrid() override { return nullptr; }
  void FinishGrid(bool) override {}
  void EmptyGrid() override {}
  void ShowObjectText() override {}
  void RunEnded(bool) override {}

  // Runs posted calls until `session` is no longer executing.
  void RunUntilIdle(const session::CSession& session) {
    while (session.IsExecuting()) {
      std::deque<std::function<void()>> calls;
      {
        std::unique_lock<std::mutex> guard(m_lock);
        m_wake.wait(guard, [this] { return !m_posted.empty(); });
        calls.swap(m_posted);
      }
      for (auto& call : calls) call();
    }
  }
  TString Trace() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_trace;
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_posted;
  TString m_trace;
};

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
  BenchView view;
  session::CSession session(view);
  const TString connect = FromUtf8("DSN=Bench;Database=" + database + ";Timeout=1000;StepAPI=0");
  if (!session.Connect(&connect)) std::exit(1);
  session.Execute(FromUtf8(script), true);
  view.RunUntilIdle(session);
  if (!view.Trace().ends_with(DT("Query completed successfully.\r\n\r\n"))) std::exit(1);
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
