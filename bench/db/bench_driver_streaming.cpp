// What each driver does with and without its streaming mode: the time to
// the first row, the time for all rows and the peak memory of reading
// 1,000,000 x 6 rows (`select * from t`) through CQueryResultSet, against
// isql reading the same rows of the same data source. The SQLite driver with
// StepAPI=0 and 1; PostgreSQL's with declare-fetch as the connection asks
// for it and without; MariaDB's connector as it is and with its no-cache
// option bit. The servers are the test suite's throwaway ones
// (tests/servers/servers.sh), started for the run and stopped after it.
// Usage: bench_driver_streaming [rows] [runs]

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "db/query_result_set.h"

using namespace dossel;

namespace {

const char* kQuery = "select id, name, city, amount, quantity, note from t";

struct Source {
  std::string measure;  // the bench line's name
  std::string ours;     // the program's connect string
  std::string isql;     // isql's, for the same mode
};

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

void WriteNumber(const std::string& path, double value) { std::ofstream(path) << value; }

double ReadNumber(const std::string& path) {
  double value = -1;
  std::ifstream(path) >> value;
  return value;
}

// Reads every value of every row; writes the seconds to the first row.
void ReadAll(const std::string& connect, const std::string& firstRowFile) {
  std::setlocale(LC_ALL, "C.UTF-8");
  db::CDbConnection connection;
  if (!connection.OpenWithOptions(FromUtf8(connect), db::kNoOdbcDialog)) std::exit(1);
  const double start = Now();
  db::CQueryResultSet rs(&connection);
  if (!rs.OpenSql(FromUtf8(kQuery))) std::exit(1);
  WriteNumber(firstRowFile, Now() - start);
  TString value;
  size_t characters = 0;
  long rows = 0;
  for (; !rs.IsAfterLast(); rs.MoveNext(), ++rows)
    for (int i = 0; i < rs.GetColumnCount(); ++i) {
      rs.GetFieldText(i, value);
      characters += value.size();
    }
  if (rows == 0 || characters == 0 || rs.FetchFailed()) std::exit(1);
}

// `self --first-byte FILE START`: copies nothing, drains stdin and writes
// the seconds from START to its first byte.
int FirstByte(const char* file, const char* start) {
  char buffer[65536];
  bool first = true;
  for (ssize_t got; (got = read(0, buffer, sizeof buffer)) > 0;)
    if (first) {
      WriteNumber(file, Now() - std::atof(start));
      first = false;
    }
  return 0;
}

void Run(const std::string& self, const Source& source, long rows, int runs) {
  const std::string firstRow = bench::ScratchFolder() + "/first-row";
  double oursFirst = 0;
  const bench::Measure ours = bench::Best(runs, [&] {
    const bench::Measure m = bench::MeasureChild([&] { ReadAll(source.ours, firstRow); });
    oursFirst = ReadNumber(firstRow);
    return m;
  });
  double isqlFirst = 0;
  const bench::Measure isql = bench::Best(runs, [&] {
    char start[64];
    std::snprintf(start, sizeof start, "%.6f", Now());
    // isql writes nothing before the result's columns are known, which is
    // when the driver hands over its first row.
    const bench::Measure m =
        bench::MeasureCommand("echo '" + std::string(kQuery) + "' | isql -k '" + source.isql + "' -b -d, | '" + self +
                              "' --first-byte '" + firstRow + "' " + start);
    isqlFirst = ReadNumber(firstRow);
    return m;
  });
  char extra[256];
  std::snprintf(extra, sizeof extra, "rows=%ld first_row_s=%.3f isql_first_row_s=%.3f isql_rss_mb=%.1f", rows,
                oursFirst, isqlFirst, isql.peakMb);
  bench::Print(source.measure, ours, "isql", isql, extra);
}

std::string ServersState() { return bench::ScratchFolder() + "/servers"; }

void StopServers() {
  const std::string stop = std::string(DOSSEL_SERVERS_SCRIPT) + " stop '" + ServersState() + "' >/dev/null 2>&1";
  if (std::system(stop.c_str()) != 0) std::fprintf(stderr, "could not stop the servers\n");
}

bool MakeServerRows(const std::string& connect, const std::vector<std::string>& statements) {
  db::CDbConnection connection;
  if (!connection.OpenWithOptions(FromUtf8(connect), db::kNoOdbcDialog)) return false;
  for (const std::string& sql : statements) connection.ExecuteAndDiscard(FromUtf8(sql));
  db::CQueryResultSet rs(&connection);
  return rs.OpenSql(DT("select count(*) from t")) && !rs.IsAfterLast();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--first-byte") return FirstByte(argv[2], argv[3]);
  std::setlocale(LC_ALL, "C.UTF-8");
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::string self = argv[0];
  const std::string n = std::to_string(rows);

  const std::string database = bench::RowsDatabase(rows);
  const std::string sqliteDriver = DosselOdbcSqliteDriverPath();
  std::vector<Source> sources;
  for (int step : {0, 1})
    sources.push_back({"stream_sqlite_stepapi" + std::to_string(step),
                       "DSN=Bench;Database=" + database + ";Timeout=1000;StepAPI=" + std::to_string(step),
                       "DRIVER=" + sqliteDriver + ";Database=" + database + ";StepAPI=" + std::to_string(step)});

  const std::string start = std::string(DOSSEL_SERVERS_SCRIPT) + " start '" + ServersState() + "' >/dev/null";
  if (std::system(start.c_str()) != 0) {
    std::fprintf(stderr, "the servers did not start; only SQLite is measured\n");
  } else {
    std::atexit(StopServers);
    setenv("ODBCINI", (ServersState() + "/odbc.ini").c_str(), 1);
    const std::string columns =
        "create table t(id integer primary key, name text, city text, amount real, quantity integer, note text)";
    const bool postgres =
        MakeServerRows("DSN=DosselPostgres",
                       {columns,
                        "insert into t select i, 'Customer ' || i, case i % 4 when 0 then 'Lisbon' when 1 then 'Oslo' "
                        "when 2 then 'Porto' else 'Tallinn' end, i * 1.25, i % 97, case when i % 5 = 0 then null else "
                        "'note ' || (i % 1000) end from generate_series(1, " +
                            n + ") i"});
    const bool mariadb = MakeServerRows(
        "DSN=DosselMariaDB",
        {columns,
         "insert into t select seq, concat('Customer ', seq), case seq % 4 when 0 then 'Lisbon' when 1 "
         "then 'Oslo' when 2 then 'Porto' else 'Tallinn' end, seq * 1.25, seq % 97, case when seq % 5 = 0 "
         "then null else concat('note ', seq % 1000) end from seq_1_to_" +
             n});
    if (postgres) {
      sources.push_back({"stream_postgres_declarefetch", "DSN=DosselPostgres",
                         "DSN=DosselPostgres;UseDeclareFetch=1;Fetch=" + std::to_string(db::kDeclareFetchRows)});
      sources.push_back({"stream_postgres_whole", "DSN=DosselPostgres;UseDeclareFetch=0", "DSN=DosselPostgres"});
    }
    if (mariadb) {
      sources.push_back({"stream_mariadb", "DSN=DosselMariaDB", "DSN=DosselMariaDB"});
      sources.push_back(
          {"stream_mariadb_nocache", "DSN=DosselMariaDB;OPTION=1048576", "DSN=DosselMariaDB;OPTION=1048576"});
    }
    if (!postgres || !mariadb) std::fprintf(stderr, "a server's rows could not be made; it is not measured\n");
  }
  for (const Source& source : sources) Run(self, source, rows, runs);
  return 0;
}
