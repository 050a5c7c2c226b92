// DosselOdbcDataSourceValue: what a data source's definition sets, read the
// way the drivers read it: the connect string's own attribute first, then
// the data source's entry in the driver manager's odbc.ini (user, then
// system), through the driver manager's installer library.

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "db/odbc/connect_string.h"
#include "db/odbc/dossel_odbc.h"

#ifndef DOSSEL_ODBC_INSTALLER
#define DOSSEL_ODBC_INSTALLER "libodbcinst.so.2"
#endif

namespace dossel::odbc {
namespace {

using GetPrivateProfileString = int (*)(const char* section, const char* entry, const char* fallback, char* value,
                                        int room, const char* file);

// Loaded on first use; null when the installer library is missing, and
// then no data source's file entry is known.
GetPrivateProfileString InstallerReader() {
  static const GetPrivateProfileString reader = [] {
    // RTLD_LOCAL, as for the driver manager: its names stay its own.
    void* library = dlopen(DOSSEL_ODBC_INSTALLER, RTLD_NOW | RTLD_LOCAL);
    return library ? reinterpret_cast<GetPrivateProfileString>(dlsym(library, "SQLGetPrivateProfileString")) : nullptr;
  }();
  return reader;
}

// The file entry `key` of data source `dsn`; false when it has none. An
// entry without a value counts as none, as the drivers read their files.
bool FileEntry(const std::string& dsn, const char* key, std::string& value) {
  const GetPrivateProfileString reader = InstallerReader();
  if (!reader) return false;
  // A value no file can hold tells a missing entry from any real one.
  static const char kMissing[] = "\x01";
  char buffer[1024] = {};
  reader(dsn.c_str(), key, kMissing, buffer, sizeof buffer, "odbc.ini");
  if (std::strcmp(buffer, kMissing) == 0 || buffer[0] == '\0') return false;
  value = buffer;
  return true;
}

int CopyValue(const std::string& text, char* value, int size) {
  if (value && size > 0) {
    const size_t copied = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(value, text.data(), copied);
    value[copied] = '\0';
  }
  return 1;
}

}  // namespace
}  // namespace dossel::odbc

using namespace dossel::odbc;

extern "C" DOSSEL_ODBC_EXPORT int DosselOdbcDataSourceValue(const char* connectString, const char* dsn, const char* key,
                                                            char* value, int size) {
  if (!key || !*key) return 0;
  const auto attributes = ParseConnectString(connectString ? connectString : "");
  // A connect-string attribute counts even when empty: the drivers take
  // "Key=" as the value "", not as no value.
  if (const auto own = FindAttribute(attributes, key)) return CopyValue(*own, value, size);
  const std::string source = FindAttribute(attributes, "DSN").value_or(dsn ? dsn : "");
  std::string found;
  if (source.empty() || !FileEntry(source, key, found)) return 0;
  return CopyValue(found, value, size);
}
