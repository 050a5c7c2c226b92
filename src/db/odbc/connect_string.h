#pragma once
// Parsing and rewriting of ODBC connect strings ("KEY=value;KEY={va;lue}").
// UTF-8 text; keys compare without regard to ASCII case.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dossel::odbc {

struct ConnectAttribute {
  std::string key;
  std::string value;  // braces removed
};

std::vector<ConnectAttribute> ParseConnectString(std::string_view text);
std::optional<std::string> FindAttribute(const std::vector<ConnectAttribute>& attributes, std::string_view key);

// True when the attributes name something to connect to: a non-empty DSN,
// a DRIVER or a FILEDSN.
bool NamesDataSource(const std::vector<ConnectAttribute>& attributes);

// The connect string that opens the same file through the SQLite driver:
// DSN dropped, DRIVER={driverPath} first, every other attribute kept.
std::string SqliteConnectString(const std::vector<ConnectAttribute>& attributes, std::string_view driverPath);

// The completed string the SQLite driver returns starts "DSN=;"; put the
// data-source name the caller used back in.
std::string RestoreDataSourceName(std::string_view completed, std::string_view dsn);

}  // namespace dossel::odbc
