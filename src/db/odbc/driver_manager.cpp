#include "db/odbc/driver_manager.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/odbc/dossel_odbc.h"

#ifndef DOSSEL_DRIVER_MANAGER
#define DOSSEL_DRIVER_MANAGER "libodbc.so.2"
#endif

namespace dossel::odbc {
namespace {

struct DriverManager {
  void* handle = nullptr;
  std::string error;  // dlerror's text when the library could not be loaded
};

DriverManager Load() {
  const char* overridden = std::getenv("DOSSEL_ODBC_DRIVER_MANAGER");
  const char* path = overridden && *overridden ? overridden : DOSSEL_DRIVER_MANAGER;
  DriverManager manager;
  // RTLD_LOCAL keeps the driver manager's own ODBC names from colliding with
  // ours; RTLD_NOW surfaces a broken installation at the first call.
  manager.handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!manager.handle) {
    const char* error = dlerror();
    manager.error = error ? error : path;
    std::fprintf(stderr, "DosselODBC: cannot load the ODBC driver manager: %s\n", manager.error.c_str());
  }
  return manager;
}

// Loaded on first use; thread-safe through the static's initialisation.
const DriverManager& Instance() {
  static const DriverManager manager = Load();
  return manager;
}

}  // namespace

void* DriverManagerSymbol(const char* name) {
  const DriverManager& manager = Instance();
  return manager.handle ? dlsym(manager.handle, name) : nullptr;
}

}  // namespace dossel::odbc

extern "C" DOSSEL_ODBC_EXPORT const char* DosselOdbcDriverManagerError(void) {
  const std::string& error = dossel::odbc::Instance().error;
  return error.empty() ? nullptr : error.c_str();
}
