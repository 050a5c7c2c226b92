// DosselODBC's connect-string handling over any text. The input is up to
// three NUL-separated parts: the connect string an application passes, the
// driver path, and the data-source name put back into a completed string.
// Besides not faulting, a rebuilt string must parse back to the attributes it
// was built from: the driver gets exactly what the user typed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "db/odbc/connect_string.h"
#include "fuzz_check.h"

namespace {

using dossel::odbc::ConnectAttribute;
using dossel::odbc::FindAttribute;
using dossel::odbc::ParseConnectString;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool Same(const std::vector<ConnectAttribute>& a, const std::vector<ConnectAttribute>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].key != b[i].key || a[i].value != b[i].value) return false;
  return true;
}

bool IsDsnOrDriver(const std::string& key) {
  const std::vector<ConnectAttribute> probe{{key, {}}};
  return FindAttribute(probe, "DSN") || FindAttribute(probe, "DRIVER");
}

std::string_view NextPart(std::string_view& rest) {
  const size_t end = rest.find('\0');
  const std::string_view part = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  return part;
}

void CheckParsed(const std::vector<ConnectAttribute>& attributes) {
  for (const ConnectAttribute& attribute : attributes) {
    FUZZ_CHECK(!attribute.key.empty());
    FUZZ_CHECK(!IsBlank(attribute.key.front()) && !IsBlank(attribute.key.back()));
    FUZZ_CHECK(attribute.key.find_first_of(";=") == std::string::npos);
  }
}

void CheckSqliteString(const std::vector<ConnectAttribute>& attributes, std::string_view driverPath) {
  const std::string rebuilt = dossel::odbc::SqliteConnectString(attributes, driverPath);
  std::vector<ConnectAttribute> expected{{"DRIVER", std::string(driverPath)}};
  for (const ConnectAttribute& attribute : attributes)
    if (!IsDsnOrDriver(attribute.key)) expected.push_back(attribute);
  FUZZ_CHECK(Same(ParseConnectString(rebuilt), expected));
}

void CheckRestoredName(std::string_view completed, std::string_view dsn) {
  const std::string restored = dossel::odbc::RestoreDataSourceName(completed, dsn);
  if (completed.substr(0, 5) != "DSN=;") {
    FUZZ_CHECK(restored == completed);
    return;
  }
  std::vector<ConnectAttribute> expected{{"DSN", std::string(dsn)}};
  for (ConnectAttribute& attribute : ParseConnectString(completed.substr(5))) expected.push_back(std::move(attribute));
  FUZZ_CHECK(Same(ParseConnectString(restored), expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view text = NextPart(rest);
  const std::string_view driverPath = NextPart(rest);
  const std::string_view dsn = NextPart(rest);

  const std::vector<ConnectAttribute> attributes = ParseConnectString(text);
  CheckParsed(attributes);
  dossel::odbc::NamesDataSource(attributes);
  CheckSqliteString(attributes, driverPath);
  CheckRestoredName(text, dsn);
  return 0;
}
