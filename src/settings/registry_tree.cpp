#include "settings/registry_tree.h"

#include <algorithm>
#include <cstdio>

#include "platform/text.h"

namespace dossel::settings {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr int kExpandStringType = 2;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The name as KeyNameEquals sees it: equal names fold to equal strings.
std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = LowerAscii(c);
  return folded;
}

int CompareKeyNames(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

// Reads a quoted string starting at text[pos] == '"'; leaves pos after the
// closing quote.
bool ReadQuoted(std::string_view text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  ++pos;
  out.clear();
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '"') return true;
    if (c != '\\' || pos >= text.size()) {
      out += c;
      continue;
    }
    const char next = text[pos++];
    switch (next) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      default:
        out += '\\';
        out += next;
        break;
    }
  }
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerAscii(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes) {
  bytes.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos >= text.size()) break;
    if (pos + 1 >= text.size()) return false;
    const int high = HexDigit(text[pos]);
    const int low = HexDigit(text[pos + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    pos += 2;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos < text.size() && text[pos] != ',') return false;
    ++pos;
  }
  return true;
}

bool ParseData(std::string_view data, RegistryValue& value) {
  if (!data.empty() && data.front() == '"') {
    size_t pos = 0;
    value.kind = ValueKind::String;
    return ReadQuoted(data, pos, value.text) && pos == data.size();
  }
  if (data.substr(0, 6) == "dword:") {
    const std::string_view digits = data.substr(6);
    if (digits.size() != 8) return false;
    uint32_t number = 0;
    for (const char c : digits) {
      const int digit = HexDigit(c);
      if (digit < 0) return false;
      number = number * 16 + static_cast<uint32_t>(digit);
    }
    value.kind = ValueKind::Dword;
    value.dword = number;
    return true;
  }
  value.kind = ValueKind::Binary;
  if (data.substr(0, 4) == "hex:") return ParseHexBytes(data.substr(4), value.bytes);
  if (data.substr(0, 4) != "hex(") return false;
  const size_t close = data.find("):");
  if (close == std::string_view::npos || close == 4) return false;
  int type = 0;
  for (const char c : data.substr(4, close - 4)) {
    const int digit = HexDigit(c);
    if (digit < 0 || type > 0xFFFFFF) return false;
    type = type * 16 + digit;
  }
  value.hexType = type;
  return ParseHexBytes(data.substr(close + 2), value.bytes);
}

bool ParseValueLine(std::string_view line, RegistryValue& value) {
  size_t pos = 0;
  if (line.front() == '@') {
    value.name.clear();
    pos = 1;
  } else if (!ReadQuoted(line, pos, value.name)) {
    return false;
  }
  if (pos >= line.size() || line[pos] != '=') return false;
  return ParseData(line.substr(pos + 1), value);
}

std::string_view TrimEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

// Splits the text into logical lines: a hex value's line that ends in a
// backslash continues on the next line.
std::vector<std::string> LogicalLines(std::string_view text) {
  std::vector<std::string> lines;
  bool continuing = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimEnd(text.substr(start, end - start));
    if (continuing) {
      while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
      lines.back() += line;
    } else {
      lines.emplace_back(line);
    }
    std::string& last = lines.back();
    const bool hexValue = last.find("=hex") != std::string::npos && last.front() != '[';
    continuing = hexValue && !last.empty() && last.back() == '\\';
    if (continuing) last.pop_back();
    start = end + 1;
  }
  return lines;
}

bool ParseSection(std::string_view line, RegistryTree& tree, RegistryKey*& current) {
  if (line.size() < 3 || line.back() != ']') return false;
  std::vector<std::string> path;
  if (!SplitKeyPath(line.substr(1, line.size() - 2), path) || path.empty() || path.size() > kMaxKeyDepth) return false;
  current = &tree.Create(path);
  return true;
}

void AppendHex(std::string& out, const RegistryValue& value) {
  char buffer[16];  // room for any unsigned in hex
  if (value.hexType < 0) {
    out += "hex:";
  } else {
    std::snprintf(buffer, sizeof buffer, "%x", static_cast<unsigned>(value.hexType));
    out += "hex(";
    out += buffer;
    out += "):";
  }
  for (size_t i = 0; i < value.bytes.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x", value.bytes[i]);
    out += buffer;
  }
}

void AppendKey(std::string& out, const RegistryKey& key, const std::string& path) {
  out += '[';
  out += path;
  out += "]\n";
  for (const RegistryValue& value : key.Values()) {
    if (value.name.empty()) {
      out += '@';
    } else {
      out += '"';
      out += Escape(value.name);
      out += '"';
    }
    out += '=';
    switch (value.kind) {
      case ValueKind::String:
        out += '"';
        out += Escape(value.text);
        out += '"';
        break;
      case ValueKind::Dword: {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", value.dword);
        out += buffer;
        break;
      }
      case ValueKind::Binary:
        AppendHex(out, value);
        break;
    }
    out += '\n';
  }
  out += '\n';
  for (const auto& child : key.Children()) AppendKey(out, *child, path + "\\" + child->Name());
}

}  // namespace

bool KeyNameLess(std::string_view a, std::string_view b) { return CompareKeyNames(a, b) < 0; }
bool KeyNameEquals(std::string_view a, std::string_view b) { return CompareKeyNames(a, b) == 0; }

RegistryKey* RegistryKey::FindChild(std::string_view name) const {
  const auto it = std::lower_bound(m_children.begin(), m_children.end(), name,
                                   [](const auto& child, std::string_view n) { return KeyNameLess(child->Name(), n); });
  return it != m_children.end() && KeyNameEquals((*it)->Name(), name) ? it->get() : nullptr;
}

RegistryKey& RegistryKey::CreateChild(std::string_view name) {
  const auto it = std::lower_bound(m_children.begin(), m_children.end(), name,
                                   [](const auto& child, std::string_view n) { return KeyNameLess(child->Name(), n); });
  if (it != m_children.end() && KeyNameEquals((*it)->Name(), name)) return **it;
  return **m_children.insert(it, std::make_unique<RegistryKey>(std::string(name)));
}

bool RegistryKey::RemoveChild(std::string_view name) {
  const auto it = std::find_if(m_children.begin(), m_children.end(),
                               [&](const auto& child) { return KeyNameEquals(child->Name(), name); });
  if (it == m_children.end()) return false;
  m_children.erase(it);
  return true;
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
  const auto it = m_valueIndex.find(FoldCase(name));
  return it != m_valueIndex.end() ? &m_values[it->second] : nullptr;
}

void RegistryKey::SetValue(RegistryValue value) {
  const auto [it, added] = m_valueIndex.try_emplace(FoldCase(value.name), m_values.size());
  if (added) {
    m_values.push_back(std::move(value));
    return;
  }
  RegistryValue& existing = m_values[it->second];
  value.name = existing.name;  // the name keeps the case it was created with
  existing = std::move(value);
}

RegistryKey* RegistryKey::Find(const std::vector<std::string>& path) {
  RegistryKey* key = this;
  for (const std::string& name : path) {
    key = key->FindChild(name);
    if (!key) return nullptr;
  }
  return key;
}

RegistryKey& RegistryKey::Create(const std::vector<std::string>& path) {
  RegistryKey* key = this;
  for (const std::string& name : path) key = &key->CreateChild(name);
  return *key;
}

bool SplitKeyPath(std::string_view path, std::vector<std::string>& components) {
  components.clear();
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (path.empty()) return true;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view name = path.substr(start, end - start);
    if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos) return false;
    components.emplace_back(name);
    if (end == path.size()) return true;
    start = end + 1;
  }
}

bool ParseRegistryText(std::string_view text, RegistryTree& tree) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  const std::vector<std::string> lines = LogicalLines(text);
  size_t index = 0;
  while (index < lines.size() && lines[index].empty()) ++index;
  if (index >= lines.size() || lines[index] != kHeader) return false;
  RegistryKey* current = nullptr;
  for (++index; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (!ParseSection(line, tree, current)) return false;
      continue;
    }
    RegistryValue value;
    if (!current || !ParseValueLine(line, value)) return false;
    current->SetValue(std::move(value));
  }
  return true;
}

std::string WriteRegistryText(const RegistryTree& tree) {
  std::string out(kHeader);
  out += "\n\n";
  for (const auto& root : tree.Children()) AppendKey(out, *root, root->Name());
  return out;
}

bool ValueAsText(const RegistryValue& value, std::string& text) {
  if (value.kind == ValueKind::String) {
    text = value.text;
    return true;
  }
  if (value.kind != ValueKind::Binary || value.hexType != kExpandStringType) return false;
  std::u16string utf16;
  for (size_t i = 0; i + 1 < value.bytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(value.bytes[i] | (value.bytes[i + 1] << 8));
    if (unit == 0) break;
    utf16 += unit;
  }
  text = Utf16ToUtf8(utf16);
  return true;
}

}  // namespace dossel::settings
