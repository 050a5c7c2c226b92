#include "db/data_sources.h"

#include "db/odbc_api.h"
#include "db/odbc_handles.h"

namespace dossel::db {

std::vector<DataSourceEntry> ListDataSources() {
  std::vector<DataSourceEntry> sources;
  SQLRETURN rc;
  const EnvironmentHandle environment = AllocateEnvironment(rc);
  if (!environment || !SQL_SUCCEEDED(rc)) return sources;
  DataSourceEntry entry;
  for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
       SQL_SUCCEEDED(OdbcDataSources(environment.Get(), direction, entry.name, entry.description));
       direction = SQL_FETCH_NEXT)
    sources.push_back(entry);
  return sources;
}

}  // namespace dossel::db
