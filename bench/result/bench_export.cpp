// Export of a 1,000,000-row, 6-column results grid to a CSV file, against the
// sqlite3 shell writing the same rows of the same table to a file in the same
// run. The grid already holds the text; the shell also runs the query. The
// grid's storage needs no display, so no window is made.

#include <sqlite3.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "grid/wx/grid_ctrl.h"
#include "result/export_to_file.h"
#include "result/wx/grid_export_source.h"

using namespace dossel;

namespace {

const char* kQuery = "select id, name, city, amount, quantity, note from t";

double PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Fills the grid as the result output does: a title row, then one cell per
// value, with the rows grown in steps of 80.
void FillFromTable(CGridCtrl& grid, const std::string& database) {
  sqlite3* db = nullptr;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_open(database.c_str(), &db) != SQLITE_OK ||
      sqlite3_prepare_v2(db, kQuery, -1, &statement, nullptr) != SQLITE_OK)
    std::exit(1);
  const int cols = sqlite3_column_count(statement);
  grid.SetColumnCount(cols);
  grid.SetRowCount(1);
  grid.SetFixedRowCount(1);
  for (int c = 0; c < cols; ++c) grid.SetCellText(0, c, FromUtf8(sqlite3_column_name(statement, c)));
  int32_t row = 1;
  for (; sqlite3_step(statement) == SQLITE_ROW; ++row) {
    if (row >= grid.GetRowCount()) grid.SetRowCount(grid.GetRowCount() + 80);
    for (int c = 0; c < cols; ++c) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
      if (text) grid.SetCellText(row, c, FromUtf8(text));
    }
  }
  grid.SetRowCount(row);
  sqlite3_finalize(statement);
  sqlite3_close(db);
}

bench::Measure ExportOnce(const CGridCtrl& grid, const std::string& path) {
  ExportOptions options;
  options.header = false;  // the shell writes no title line either
  const GridExportSource source(grid);
  const auto start = std::chrono::steady_clock::now();
  const int written = ExportToFile(FromUtf8(path), source, options, {});
  bench::Measure m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.ok = written == 1;
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string database = bench::RowsDatabase(rows);
  const std::string shellFile = bench::ScratchFolder() + "/shell.csv";
  const std::string ourFile = bench::ScratchFolder() + "/export.csv";
  const std::string shellCommand = "sqlite3 -csv '" + database + "' '" + kQuery + "' > '" + shellFile + "'";
  const bench::Measure shell = bench::Best(3, [&] { return bench::MeasureCommand(shellCommand); });

  CGridCtrl grid;
  FillFromTable(grid, database);
  const double filledMb = PeakMb();
  const bench::Measure ours = bench::Best(3, [&] { return ExportOnce(grid, ourFile); });
  bench::Measure reported = ours;
  reported.peakMb = PeakMb();
  const auto bytes = std::filesystem::file_size(ourFile);
  bench::Print("export_csv", reported, "sqlite3_csv_file", shell,
               "rows=" + std::to_string(rows) + " cols=6 bytes=" + std::to_string(bytes) +
                   " shell_bytes=" + std::to_string(std::filesystem::file_size(shellFile)) +
                   " export_extra_mb=" + std::to_string(reported.peakMb - filledMb));
  return ours.ok && shell.ok ? 0 : 1;
}
