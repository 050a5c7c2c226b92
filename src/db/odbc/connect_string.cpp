#include "db/odbc/connect_string.h"

namespace dossel::odbc {
namespace {

bool KeyEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return std::string(s.substr(b, e - b));
}

std::string Braced(std::string_view value) {
  if (value.find_first_of(";{}") == std::string_view::npos && (value.empty() || value.front() != ' '))
    return std::string(value);
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  return out + "}";
}

}  // namespace

std::vector<ConnectAttribute> ParseConnectString(std::string_view text) {
  std::vector<ConnectAttribute> attributes;
  size_t pos = 0;
  // The next "=" and ";" at or after pos, searched for again only once pos
  // has passed them: a string of many fragments without "=" stays one pass.
  size_t equals = text.find('=');
  size_t semicolon = text.find(';');
  while (pos < text.size()) {
    if (equals != std::string_view::npos && equals < pos) equals = text.find('=', pos);
    if (semicolon != std::string_view::npos && semicolon < pos) semicolon = text.find(';', pos);
    if (equals == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < equals)) {
      // A fragment without "=": not an attribute; skip it.
      if (semicolon == std::string_view::npos) break;
      pos = semicolon + 1;
      continue;
    }
    ConnectAttribute attribute;
    attribute.key = Trim(text.substr(pos, equals - pos));
    pos = equals + 1;
    if (pos < text.size() && text[pos] == '{') {
      ++pos;
      while (pos < text.size()) {
        if (text[pos] == '}') {
          if (pos + 1 < text.size() && text[pos + 1] == '}') {
            attribute.value += '}';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        attribute.value += text[pos++];
      }
      const size_t end = text.find(';', pos);
      pos = end == std::string_view::npos ? text.size() : end + 1;
    } else {
      const size_t end = text.find(';', pos);
      attribute.value =
          std::string(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
      pos = end == std::string_view::npos ? text.size() : end + 1;
    }
    if (!attribute.key.empty()) attributes.push_back(std::move(attribute));
  }
  return attributes;
}

std::optional<std::string> FindAttribute(const std::vector<ConnectAttribute>& attributes, std::string_view key) {
  for (const auto& attribute : attributes)
    if (KeyEquals(attribute.key, key)) return attribute.value;
  return std::nullopt;
}

bool NamesDataSource(const std::vector<ConnectAttribute>& attributes) {
  const auto dsn = FindAttribute(attributes, "DSN");
  return (dsn && !dsn->empty()) || FindAttribute(attributes, "DRIVER") || FindAttribute(attributes, "FILEDSN");
}

std::string SqliteConnectString(const std::vector<ConnectAttribute>& attributes, std::string_view driverPath) {
  std::string out = "DRIVER=" + Braced(driverPath);
  for (const auto& attribute : attributes) {
    if (KeyEquals(attribute.key, "DSN") || KeyEquals(attribute.key, "DRIVER")) continue;
    out += ";" + attribute.key + "=" + Braced(attribute.value);
  }
  return out;
}

std::string RestoreDataSourceName(std::string_view completed, std::string_view dsn) {
  constexpr std::string_view kEmptyDsn = "DSN=;";
  if (completed.substr(0, kEmptyDsn.size()) != kEmptyDsn) return std::string(completed);
  return "DSN=" + Braced(dsn) + ";" + std::string(completed.substr(kEmptyDsn.size()));
}

}  // namespace dossel::odbc
