#pragma once
// DriverScript: writes the script file that tells the scripted ODBC test
// driver what to answer. Tests build one, Save() it, and connect with
//   DRIVER=<DOSSEL_SCRIPTED_DRIVER>;Script=<file>
// or through a data source of their own odbc.ini (ODBCINI) whose entry has
// Driver=<DOSSEL_SCRIPTED_DRIVER> and Script=<file>. The driver reads the
// script at connect time. Used by one test thread; not shared.
//
//   DriverScript s;
//   s.Dbms("SQL Server").Unsupported(SQL_API_SQLCANCEL).Log(logFile);
//   s.Statement("select a, b from t")
//       .Result({{"a", SQL_INTEGER, 10}, {"b", SQL_VARCHAR, 20}})
//       .Row({"1", "one"}).Row({"2", DriverScript::Null});
//   s.Statement("update t set a = 0").RowCount(5);
//   s.Save(scriptFile);
//
// The file format, one directive per line, fields separated by tabs; in a
// field \t \n \r and \\ stand for tab, line feed, carriage return and
// backslash, and a field that is exactly \N is NULL; lines starting with #
// are comments:
//
//   Driver-wide:
//   dbms <name>                         SQLGetInfo SQL_DBMS_NAME (17)
//   info <type> text|int16|int32 <v>    any SQLGetInfo answer, by number
//   info <type> missing                 that type fails with HY096
//   function <id> 0|1                   SQLGetFunctions: not supported / supported
//   log <path>                          append one line per call received
//   querytimeout <state>                setting SQL_QUERY_TIMEOUT fails with <state>
//   querytimeout ignore                 SQL_QUERY_TIMEOUT is accepted and never fires
//   cancel ignore <n>                   the first n SQLCancel calls of a connection
//                                       are logged and do nothing, as a cancel
//                                       that came before its statement began
//   connecterror <state> <native> <msg> connecting fails (repeat: more records)
//   stmterror <state> <native> <msg>    allocating a statement fails (repeat: more records)
//   statement <text>                    starts the entry for that statement text
//                                       (exact match after trimming blanks and
//                                       line ends; "*" answers any other text;
//                                       "catalog:SQLTables" and the like answer
//                                       catalog calls, "catalog:SQLColumns t"
//                                       only those for the object t)
//   For the current statement:
//   result                              starts a result set
//   column <name> <sqltype> <size> <digits> <nullable>
//   row <value>...                      one row (values as text; binary in hex)
//   rowcount <n>                        SQLRowCount of the current result
//   rowcounterror <state> <native> <msg>  SQLRowCount fails (repeat: more records)
//   nototal <column>                    SQLGetData reports SQL_NO_TOTAL while cutting
//   fetcherror <state> <native> <msg>   the fetch after the last row fails
//   getdataerror <row> <column> <state> <native> <msg>
//                                       SQLGetData of that row (0-based) and
//                                       column (1-based) fails
//   moreresultserror <state> <native> <msg>  SQLMoreResults after this result fails
//   block SQLFetch [<row>]              the fetch of row <row> (0-based, default 0)
//                                       waits for SQLCancel, then fails HY008
//   error <state> <native> <msg>        execution fails (repeat: more records)
//   warning <state> <native> <msg>      execution succeeds with information
//   still <function> <n>                each call of SQLExecDirect, SQLFetch,
//                                       SQLGetData, SQLMoreResults,
//                                       SQLNumResultCols or SQLDescribeCol
//                                       answers SQL_STILL_EXECUTING n times first
//   block SQLExecDirect                 execution (for a catalog entry: the
//                                       catalog call) waits for SQLCancel (from
//                                       any thread), then fails HY008
//   rowcount, nototal, fetcherror and "block SQLFetch" before any "result"
//   start a result without columns.
//
// unixODBC 2.3.11 handles SQL_STILL_EXECUTING well only from SQLExecDirect,
// SQLFetch (while rows remain) and SQLGetData. After SQLNumResultCols or
// SQLDescribeCol answered it, the driver manager refuses a second repeat and
// the call after the answer with S1010; after SQLMoreResults (or a repeated
// SQLFetch that ends the rows) it refuses the next SQLMoreResults.
//
// Unscripted statements fail with 42000 "Statement not in script". Catalog
// calls without an entry answer an empty result of the standard columns;
// catalog results without columns get the standard columns. SQLGetInfo has
// defaults of the Sybase / SQL Server family (SQL_MULT_RESULT_SETS "Y",
// SQL_DATABASE_NAME "master", SQL_IDENTIFIER_QUOTE_CHAR "\"", driver ODBC
// version "03.00"...); unknown info types fail with HY096.

#include <sql.h>
#include <sqlext.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace dossel::test {

struct ScriptColumn {
  std::string name;
  int type = SQL_VARCHAR;
  long size = 255;
  int digits = 0;
  int nullable = SQL_NULLABLE;
};

class DriverScript {
 public:
  using Value = std::optional<std::string>;
  static inline const Value Null = std::nullopt;

  DriverScript& Dbms(const std::string& name) { return Line({"dbms", name}); }
  DriverScript& Info(int type, const std::string& text) { return Line({"info", N(type), "text", text}); }
  DriverScript& InfoInt16(int type, long value) { return Line({"info", N(type), "int16", N(value)}); }
  DriverScript& InfoInt32(int type, long value) { return Line({"info", N(type), "int32", N(value)}); }
  DriverScript& InfoMissing(int type) { return Line({"info", N(type), "missing"}); }
  DriverScript& Unsupported(int functionId) { return Line({"function", N(functionId), "0"}); }
  DriverScript& Log(const std::string& path) { return Line({"log", path}); }
  DriverScript& RejectQueryTimeout(const std::string& state = "HYC00") { return Line({"querytimeout", state}); }
  DriverScript& IgnoreQueryTimeout() { return Line({"querytimeout", "ignore"}); }
  DriverScript& IgnoreCancels(int count) { return Line({"cancel", "ignore", N(count)}); }
  DriverScript& ConnectError(const std::string& state, long native, const std::string& message) {
    return Line({"connecterror", state, N(native), message});
  }

  DriverScript& RefuseStatements(const std::string& state, long native, const std::string& message) {
    return Line({"stmterror", state, N(native), message});
  }
  DriverScript& Statement(const std::string& sql) { return Line({"statement", sql}); }
  DriverScript& AnyOtherStatement() { return Line({"statement", "*"}); }
  DriverScript& Catalog(const std::string& function, const std::string& object = "") {
    return Statement("catalog:" + function + (object.empty() ? "" : " " + object));
  }
  DriverScript& Result(const std::vector<ScriptColumn>& columns) {
    Line({"result"});
    for (const auto& c : columns) Line({"column", c.name, N(c.type), N(c.size), N(c.digits), N(c.nullable)});
    return *this;
  }
  DriverScript& Row(const std::vector<Value>& values) {
    std::string line = "row";
    for (const auto& value : values) line += "\t" + (value ? Escape(*value) : std::string("\\N"));
    m_text += line + "\n";
    return *this;
  }
  DriverScript& RowCount(long count) { return Line({"rowcount", N(count)}); }
  DriverScript& RowCountError(const std::string& state, long native, const std::string& message) {
    return Line({"rowcounterror", state, N(native), message});
  }
  DriverScript& NoTotal(int column) { return Line({"nototal", N(column)}); }
  DriverScript& FetchError(const std::string& state, long native, const std::string& message) {
    return Line({"fetcherror", state, N(native), message});
  }
  DriverScript& GetDataError(long row, int column, const std::string& state, long native, const std::string& message) {
    return Line({"getdataerror", N(row), N(column), state, N(native), message});
  }
  DriverScript& MoreResultsError(const std::string& state, long native, const std::string& message) {
    return Line({"moreresultserror", state, N(native), message});
  }
  DriverScript& Error(const std::string& state, long native, const std::string& message) {
    return Line({"error", state, N(native), message});
  }
  DriverScript& Warning(const std::string& state, long native, const std::string& message) {
    return Line({"warning", state, N(native), message});
  }
  DriverScript& StillExecuting(const std::string& function, int times) { return Line({"still", function, N(times)}); }
  DriverScript& BlockInExecute() { return Line({"block", "SQLExecDirect"}); }
  DriverScript& BlockInFetch(long row = 0) { return Line({"block", "SQLFetch", N(row)}); }

  const std::string& Text() const { return m_text; }
  void Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << m_text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
  }

 private:
  static std::string N(long value) { return std::to_string(value); }

  static std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
      switch (c) {
        case '\t':
          out += "\\t";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\\':
          out += "\\\\";
          break;
        default:
          out += c;
      }
    }
    return out;
  }

  DriverScript& Line(std::initializer_list<std::string> fields) {
    std::string line;
    for (const auto& field : fields) line += (line.empty() ? "" : "\t") + Escape(field);
    m_text += line + "\n";
    return *this;
  }

  std::string m_text;
};

}  // namespace dossel::test
