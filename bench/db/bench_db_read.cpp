// Reads every column of every row of a 1,000,000-row, 6-column table as text
// through CQueryResultSet, against the sqlite3 shell and isql reading the same
// query to /dev/null, for StepAPI=0 and StepAPI=1.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "db/query_result_set.h"

using namespace dossel;

namespace {

const char* kQuery = "select id, name, city, amount, quantity, note from t";

void ReadAll(const std::string& database, int stepApi) {
  std::setlocale(LC_ALL, "C.UTF-8");
  db::CDbConnection connection;
  const std::string connect = "DSN=Bench;Database=" + database + ";Timeout=1000;StepAPI=" + std::to_string(stepApi);
  if (!connection.OpenWithOptions(FromUtf8(connect), db::kNoOdbcDialog)) std::exit(1);
  db::CQueryResultSet rs(&connection);
  if (!rs.OpenSql(FromUtf8(kQuery))) std::exit(1);
  TString value;
  size_t characters = 0;
  long rows = 0;
  for (; !rs.IsAfterLast(); rs.MoveNext(), ++rows) {
    for (int i = 0; i < rs.GetColumnCount(); ++i) {
      rs.GetFieldText(i, value);
      characters += value.size();
    }
  }
  if (rows == 0 || characters == 0) std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string database = bench::RowsDatabase(rows);
  const std::string sqliteShell = "sqlite3 -csv '" + database + "' '" + kQuery + "' > /dev/null";
  const bench::Measure shell = bench::Best(3, [&] { return bench::MeasureCommand(sqliteShell); });
  for (int stepApi : {0, 1}) {
    const std::string driver = std::string("DRIVER=") + DosselOdbcSqliteDriverPath() + ";Database=" + database +
                               ";StepAPI=" + std::to_string(stepApi);
    const std::string isqlCommand = "echo '" + std::string(kQuery) + "' | isql -k '" + driver + "' -b -d, > /dev/null";
    const bench::Measure isql = bench::Best(3, [&] { return bench::MeasureCommand(isqlCommand); });
    const bench::Measure ours =
        bench::Best(3, [&] { return bench::MeasureChild([&] { ReadAll(database, stepApi); }); });
    const std::string tag = "rows=" + std::to_string(rows) + " step_api=" + std::to_string(stepApi);
    bench::Print("read_text_stepapi" + std::to_string(stepApi), ours, "sqlite3_csv", shell, tag);
    bench::Print("read_text_stepapi" + std::to_string(stepApi), ours, "isql_batch", isql,
                 tag + " isql_rss_mb=" + std::to_string(isql.peakMb));
  }
  return 0;
}
