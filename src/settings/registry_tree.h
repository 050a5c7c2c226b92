#pragma once
// The settings file's contents in memory: a tree of keys with typed values,
// and its reading from and writing to the registry-export text format.
//
// Text is UTF-8 here in both builds (the file is UTF-8 whatever the program's
// text width); the public settings functions convert at their boundary.
//
// File format ("Windows Registry Editor Version 5.00"):
//   [HKEY_LOCAL_MACHINE\Software\Harlune\Dossel\Options]
//   "LoginTimeOut"=dword:0000000a
//   "Name"="text"
//   @="the key's default value"
//   "Path"=hex(2):25,00,54,00,00,00          (REG_EXPAND_SZ as UTF-16LE bytes)
// Inside quotes a backslash escapes: \\ is a backslash, \" a quote, \r and \n
// a carriage return and a line feed (so every value stays on one line); any
// other character after a backslash is kept with the backslash. Hex values
// may continue over lines that end in a backslash. Lines starting with ";"
// are comments. Keys are written in their enumeration order, one section per
// key, every key that exists (empty ones too).
//
// Plain data; any thread may use its own instance.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dossel::settings {

enum class ValueKind { String, Dword, Binary };

struct RegistryValue {
  std::string name;  // empty for the key's default value ("@")
  ValueKind kind = ValueKind::String;
  std::string text;            // String
  uint32_t dword = 0;          // Dword
  int hexType = -1;            // Binary: -1 for "hex:", n for "hex(n):"
  std::vector<uint8_t> bytes;  // Binary
};

// A key: its values in the order they were first set, its subkeys in
// enumeration order (names compared without regard to ASCII case, so the
// order does not depend on the order of writes).
class RegistryKey {
 public:
  explicit RegistryKey(std::string name = {}) : m_name(std::move(name)) {}

  const std::string& Name() const { return m_name; }
  const std::vector<std::unique_ptr<RegistryKey>>& Children() const { return m_children; }
  const std::vector<RegistryValue>& Values() const { return m_values; }

  RegistryKey* FindChild(std::string_view name) const;
  RegistryKey& CreateChild(std::string_view name);
  bool RemoveChild(std::string_view name);

  const RegistryValue* FindValue(std::string_view name) const;
  void SetValue(RegistryValue value);

  // Follows `path` (components already split) from this key.
  RegistryKey* Find(const std::vector<std::string>& path);
  RegistryKey& Create(const std::vector<std::string>& path);

 private:
  std::string m_name;
  std::vector<RegistryValue> m_values;
  // Each value's name folded to ASCII lower case, to its index in m_values,
  // so that reading a key of many values is not quadratic.
  std::unordered_map<std::string, size_t> m_valueIndex;
  std::vector<std::unique_ptr<RegistryKey>> m_children;
};

// The most components a key's full path may have, its root included (the
// registry's own limit). A file with a deeper key is damaged: writing and
// freeing the tree recurse once per level, and a hand-edited file must not
// be able to exhaust the stack.
inline constexpr size_t kMaxKeyDepth = 512;

// Splits "A\B\C" (a single trailing backslash allowed) into its components.
// False for an empty component or a component holding a line break, which no
// key name may have.
bool SplitKeyPath(std::string_view path, std::vector<std::string>& components);

// The name order of subkeys: ASCII letters compared without case, then bytes.
bool KeyNameLess(std::string_view a, std::string_view b);
bool KeyNameEquals(std::string_view a, std::string_view b);

// The top of the file: its children are the roots (HKEY_LOCAL_MACHINE, ...).
using RegistryTree = RegistryKey;

// Parses the file's text. False (and the tree left partly filled) when the
// text is not a registry-export file: no header, or a line that is neither a
// section, a value, a comment nor blank.
bool ParseRegistryText(std::string_view text, RegistryTree& tree);
std::string WriteRegistryText(const RegistryTree& tree);

// The text of a string value, also of a REG_EXPAND_SZ stored as hex(2).
bool ValueAsText(const RegistryValue& value, std::string& text);

}  // namespace dossel::settings
