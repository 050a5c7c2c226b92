#pragma once
// The scripted driver's view of a script file: what each statement answers,
// what SQLGetInfo and SQLGetFunctions say, where the call log goes. The file
// format is described in driver_script.h, next to the builder that writes it.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace dossel::scripted {

struct Diagnostic {
  std::string state;
  long native = 0;
  std::string message;
};

struct Column {
  std::string name;
  int type = 12;  // SQL_VARCHAR
  long size = 255;
  int digits = 0;
  int nullable = 1;  // SQL_NULLABLE
};

using Value = std::optional<std::string>;

// One result of a statement: columns and rows, or no columns and a row count.
struct ResultSet {
  std::vector<Column> columns;
  std::vector<std::vector<Value>> rows;
  std::optional<long> rowCount;
  std::vector<Diagnostic> rowCountErrors;  // SQLRowCount fails with these
  std::set<int> noTotalColumns;            // 1-based
  std::optional<size_t> blockFetchAt;      // the fetch of this row index waits for SQLCancel
  std::vector<Diagnostic> fetchErrors;     // the fetch after the last row fails with these
  // SQLGetData of a 0-based row's 1-based column fails with these.
  std::map<std::pair<long, int>, std::vector<Diagnostic>> getDataErrors;
  std::vector<Diagnostic> moreResultsErrors;  // SQLMoreResults from this result fails with these
};

// What one statement text (or catalog call) answers.
struct Entry {
  std::vector<ResultSet> results;
  std::vector<Diagnostic> errors;             // SQLExecDirect fails
  std::vector<Diagnostic> warnings;           // SQLExecDirect succeeds with information
  std::map<std::string, int> stillExecuting;  // function name -> repeats per call
  bool blockInExecute = false;
};

struct InfoAnswer {
  enum class Kind { Text, Int16, Int32, Missing } kind = Kind::Text;
  std::string text;
  long number = 0;
};

struct Script {
  std::string logPath;
  std::map<int, InfoAnswer> info;
  std::set<int> unsupportedFunctions;
  std::optional<std::string> queryTimeoutRejectState;
  bool queryTimeoutIgnored = false;  // accepted and ignored, as the SQLite driver does
  int cancelsIgnored = 0;            // the first SQLCancel calls on a connection are lost
  std::vector<Diagnostic> connectErrors;
  std::vector<Diagnostic> statementErrors;  // allocating a statement fails with these
  std::map<std::string, Entry> entries;     // key: trimmed statement text, "*" for any other
};

// Reads a script file. On failure returns nothing and says why in `error`.
std::optional<Script> LoadScript(const std::string& path, std::string& error);

// Statement text as the script compares it: leading and trailing blanks,
// tabs and line ends removed.
std::string TrimStatement(const std::string& text);

// The answer for `sql`: its own entry, else the "*" entry, else null.
const Entry* FindEntry(const Script& script, const std::string& sql);

}  // namespace dossel::scripted
