#pragma once
// Connects that DosselODBC refuses itself (so the driver never sees them)
// leave one diagnostic record on the connection handle, which the
// diagnostic calls report as the driver manager reports its own. The record
// goes when it is read by SQLError, at the next connect on the handle, or
// when the handle is freed. Any thread; guarded by a lock.

#include <sql.h>

#include <string>

namespace dossel::odbc {

void SetRefusal(SQLHDBC hdbc, std::string message);
void ClearRefusal(SQLHDBC hdbc);
// The message of the record on `hdbc`; false when there is none. `consume`
// removes it, as SQLError does.
bool TakeRefusal(SQLHDBC hdbc, bool consume, std::string& message);

// The state of every refusal: data source not found.
inline constexpr const char* kRefusalState = "IM002";

}  // namespace dossel::odbc
