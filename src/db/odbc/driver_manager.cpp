#include "db/odbc/driver_manager.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#ifndef DOSSEL_DRIVER_MANAGER
#define DOSSEL_DRIVER_MANAGER "libodbc.so.2"
#endif

namespace dossel::odbc {
namespace {

void* LoadDriverManager() {
  // RTLD_LOCAL keeps the driver manager's own ODBC names from colliding with
  // ours; RTLD_NOW surfaces a broken installation at the first call.
  void* handle = dlopen(DOSSEL_DRIVER_MANAGER, RTLD_NOW | RTLD_LOCAL);
  if (!handle) std::fprintf(stderr, "DosselODBC: cannot load the ODBC driver manager: %s\n", dlerror());
  return handle;
}

}  // namespace

void* DriverManagerSymbol(const char* name) {
  static void* const library = LoadDriverManager();
  return library ? dlsym(library, name) : nullptr;
}

}  // namespace dossel::odbc
