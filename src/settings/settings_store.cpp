#include "settings/settings_store.h"

#include "settings/registry_file.h"
#include "settings/registry_tree.h"

namespace dossel {
namespace {

using settings::RegistryKey;
using settings::RegistryTree;
using settings::RegistryValue;
using settings::ValueKind;

// A root's name in the file.
const char* RootName(HKEY root) {
  switch (root) {
    case HKEY::CurrentUser:
      return "HKEY_CURRENT_USER";
    case HKEY::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
  }
  return nullptr;
}

// The root name followed by the path's components; false for a bad path or
// one deeper than the file allows.
bool FullPath(HKEY root, TStringView path, std::vector<std::string>& components) {
  const char* rootName = RootName(root);
  if (!rootName || !settings::SplitKeyPath(ToUtf8(path), components)) return false;
  components.insert(components.begin(), rootName);
  return components.size() <= settings::kMaxKeyDepth;
}

size_t CountCharacters(const std::string& utf8) {
  size_t count = 0;
  for (const char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

// The text as the registry keeps it: up to the first NUL.
std::string StoredText(TStringView text) {
  std::string utf8 = ToUtf8(text);
  const size_t nul = utf8.find('\0');
  if (nul != std::string::npos) utf8.resize(nul);
  return utf8;
}

// Reads the file and finds the key; null when it or the file is missing.
const RegistryKey* FindKey(RegistryTree& tree, HKEY root, TStringView path) {
  std::vector<std::string> components;
  if (!FullPath(root, path, components)) return nullptr;
  settings::ReadRegistry(tree);
  return tree.Find(components);
}

int WriteValue(HKEY root, TStringView path, RegistryValue value) {
  std::vector<std::string> components;
  if (!FullPath(root, path, components)) return 0;
  return settings::UpdateRegistry([&](RegistryTree& tree) {
    tree.Create(components).SetValue(std::move(value));
    return true;
  })
             ? 1
             : 0;
}

}  // namespace

int KeyExists(HKEY root, TStringView path) {
  RegistryTree tree;
  return FindKey(tree, root, path) ? 1 : 0;
}

int KeyReadString(HKEY root, TStringView path, TStringView valueName, TStringView defaultText, TString& out) {
  RegistryTree tree;
  const RegistryKey* key = FindKey(tree, root, path);
  const RegistryValue* value = key ? key->FindValue(ToUtf8(valueName)) : nullptr;
  std::string text;
  if (value && settings::ValueAsText(*value, text)) {
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    if (CountCharacters(text) <= kMaxSettingText) {
      out = FromUtf8(text);
      return 1;
    }
  }
  out = TString(defaultText);
  return 0;
}

int KeyReadInteger(HKEY root, TStringView path, TStringView valueName, int defaultValue) {
  RegistryTree tree;
  const RegistryKey* key = FindKey(tree, root, path);
  const RegistryValue* value = key ? key->FindValue(ToUtf8(valueName)) : nullptr;
  if (!value || value->kind != ValueKind::Dword) return defaultValue;
  return static_cast<int>(value->dword);
}

int KeyWriteString(HKEY root, TStringView path, TStringView valueName, TStringView text) {
  RegistryValue value;
  value.name = StoredText(valueName);
  value.kind = ValueKind::String;
  value.text = StoredText(text);
  if (CountCharacters(value.text) > kMaxSettingText) return 0;
  return WriteValue(root, path, std::move(value));
}

int KeyWriteInteger(HKEY root, TStringView path, TStringView valueName, int number) {
  RegistryValue value;
  value.name = StoredText(valueName);
  value.kind = ValueKind::Dword;
  value.dword = static_cast<uint32_t>(number);
  return WriteValue(root, path, std::move(value));
}

int KeyReadStringAllSubkey(HKEY root, TStringView path, std::vector<TString>& names) {
  RegistryTree tree;
  const RegistryKey* key = FindKey(tree, root, path);
  if (!key) return 0;
  for (const auto& child : key->Children()) names.push_back(FromUtf8(child->Name()));
  return 1;
}

int KeyReadStringAllSubkeyOf(std::vector<TString>& names, TStringView parent, TStringView child) {
  TString path(parent);
  if (!path.empty() && path.back() != DT('\\')) path += DT('\\');
  path += child;
  KeyReadStringAllSubkey(HKEY_LOCAL_MACHINE, path, names);
  return 1;
}

int KeyDeleteTree(HKEY root, TStringView path) {
  std::vector<std::string> components;
  if (!FullPath(root, path, components) || components.size() < 2) return 0;
  if (!KeyExists(root, path)) return 1;
  const std::string name = components.back();
  components.pop_back();
  bool ran = false;
  bool removed = false;
  const bool stored = settings::UpdateRegistry([&](RegistryTree& tree) {
    ran = true;
    RegistryKey* parent = tree.Find(components);
    removed = parent && parent->RemoveChild(name);
    return removed;
  });
  // Another program may have deleted it between the check and the change.
  return stored || (ran && !removed) ? 1 : 0;
}

}  // namespace dossel
