#pragma once
// The driver statements DosselODBC cancels directly (statement_cancel.cpp).
// Any thread.

#include <sql.h>

namespace dossel::odbc {

// A statement or a connection's statements are freed: no cancel may reach
// them any more.
void ForgetStatement(SQLHSTMT statement);
void ForgetStatementsOf(SQLHDBC connection);

}  // namespace dossel::odbc
