#pragma once
// How a connection gets its driver to hand over rows as it reads them rather
// than after the whole result, without touching the data source's own
// definition. What each known driver does:
// - PostgreSQL's driver reads the whole result into its own memory inside
//   SQLExecDirect unless its declare-fetch mode is on; then it runs the query
//   as a cursor and fetches a set number of rows at a time. The connection
//   turns the mode on after connecting (through the driver's own connection
//   attributes) unless the data source sets UseDeclareFetch itself, with the
//   data source's Fetch size or kDeclareFetchRows. Statements the cursor
//   cannot wrap run once more without it (see DeclareFetchRefused).
// - The SQLite driver streams with StepAPI=1, a connect-string key the
//   Connect dialog sets (checked unless the data source's stored value says
//   otherwise); StepAPI=0 reads the whole result inside SQLExecDirect.
// - MariaDB's connector 3.1 reads every result whole inside the execute
//   whatever its options say (its no-cache bit and a forward-only cursor
//   change nothing, direct or prepared), so there is nothing to ask it for;
//   another statement on the connection runs while a result is read.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace dossel::db {

// What the connection found and asked for at open. Read on the connection
// thread; written only by the open.
struct StreamingMode {
  // PostgreSQL's driver reads through a cursor, `fetchRows` rows at a time.
  bool declareFetch = false;
  uint32_t fetchRows = 0;
  // The connection turned declare-fetch on; false when the data source set
  // UseDeclareFetch itself (or the driver is another).
  bool declareFetchAsked = false;
};

// Rows per fetch asked of PostgreSQL's driver when the data source sets no
// Fetch size: a first screen of rows arrives at once, the driver holds at most
// this many rows, and a million rows take a hundred round trips.
inline constexpr uint32_t kDeclareFetchRows = 10000;

// One diagnostic record of a failed call, as the driver gave it (UTF-8).
struct DiagnosticRecord {
  std::string state;
  std::string message;
};

// Whether SQL_DRIVER_NAME names PostgreSQL's driver (either of its libraries).
bool IsPostgresDriver(TStringView driverName);

// The rows per fetch to ask for given what the data source sets for
// UseDeclareFetch and Fetch (null when it sets nothing); 0 when it sets
// UseDeclareFetch, whose choice stands.
uint32_t DeclareFetchRowsToAsk(const TString* useDeclareFetch, const TString* fetch);

// The text sent for `sql` under declare-fetch. The driver writes its next
// command on the statement's last line, so a statement whose last line holds
// a "--" comment gets a line break at its end.
TString DeclareFetchText(const TString& sql);

// Whether the failure of `sql` under declare-fetch is the cursor refusing
// it before any of it ran, so that it may run again without the cursor: a
// WITH whose main statement changes data is no query (42601, a syntax error
// at its INSERT, UPDATE or DELETE), and a WITH holding data-changing parts
// is refused (0A000, "DECLARE CURSOR must not contain data-modifying
// statements in WITH").
bool DeclareFetchRefused(TStringView sql, const std::vector<DiagnosticRecord>& records);

// The first word of `sql` (past blanks, comments and opening parentheses)
// is WITH.
bool BeginsWithWith(TStringView sql);

}  // namespace dossel::db
