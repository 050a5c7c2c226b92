#pragma once
// The data sources configured in the driver manager (user and system), for
// the program's own Connect To Data Source chooser. Any thread; each call
// reads them on an ODBC environment of its own.

#include <vector>

#include "platform/text.h"

namespace dossel::db {

struct DataSourceEntry {
  TString name;
  TString description;  // the driver, as the driver manager describes it
};

// In the driver manager's order; empty when it has none or cannot be reached.
std::vector<DataSourceEntry> ListDataSources();

}  // namespace dossel::db
