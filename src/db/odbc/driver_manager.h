#pragma once
// The system's driver manager, loaded once on first use.

namespace dossel::odbc {

// The driver manager's entry point of that name, or null when the driver
// manager or the entry point is missing.
void* DriverManagerSymbol(const char* name);

}  // namespace dossel::odbc
