#include "settings/catalogs.h"

#include "platform/user_interface.h"
#include "settings/default_catalogs.h"
#include "settings/registry_file.h"
#include "settings/registry_tree.h"
#include "settings/settings_store.h"

namespace dossel {
namespace {

using settings::RegistryKey;
using settings::RegistryTree;
using settings::RegistryValue;
using settings::ValueKind;

constexpr const TChar* kTextValue = DT("Template");
constexpr const TChar* kIdValue = DT("ID");
// "NextID" this close to the end of the range makes AllocateId renumber first.
constexpr int kRenumberMargin = 50;

// The key of an entry relative to the catalogue root; empty when menu and
// name are both empty.
TString EntryPath(TStringView menu, TStringView name) {
  TString path(menu);
  if (!menu.empty() && !name.empty()) path += DT('\\');
  path += name;
  return path;
}

TString FullEntryPath(CatalogKind kind, TStringView menu, TStringView name) {
  TString path = CatalogRootPath(kind);
  path += DT('\\');
  path += EntryPath(menu, name);
  return path;
}

std::vector<std::string> RootComponents(CatalogKind kind) {
  std::vector<std::string> components;
  settings::SplitKeyPath(ToUtf8(CatalogRootPath(kind)), components);
  components.insert(components.begin(), "HKEY_LOCAL_MACHINE");
  return components;
}

RegistryValue DwordValue(const char* name, int number) {
  RegistryValue value;
  value.name = name;
  value.kind = ValueKind::Dword;
  value.dword = static_cast<uint32_t>(number);
  return value;
}

RegistryValue StringValue(const char* name, std::string text) {
  RegistryValue value;
  value.name = name;
  value.text = std::move(text);
  return value;
}

// The entry keys of one menu in order; a menu without entries is its own entry.
std::vector<RegistryKey*> EntryKeysOf(RegistryKey& menu) {
  if (menu.Children().empty()) return {&menu};
  std::vector<RegistryKey*> entries;
  for (const auto& entry : menu.Children()) entries.push_back(entry.get());
  return entries;
}

// Every entry key in menu and entry order.
std::vector<RegistryKey*> EntryKeys(RegistryKey& root) {
  std::vector<RegistryKey*> entries;
  for (const auto& menu : root.Children()) {
    const std::vector<RegistryKey*> ofMenu = EntryKeysOf(*menu);
    entries.insert(entries.end(), ofMenu.begin(), ofMenu.end());
  }
  return entries;
}

int ReadId(const RegistryKey& key, const char* name, int defaultValue) {
  const RegistryValue* value = key.FindValue(name);
  return value && value->kind == ValueKind::Dword ? static_cast<int>(value->dword) : defaultValue;
}

// Numbers the entries of the root in the tree; 0 (tree unchanged) when they
// would take the range's last number.
int RenumberInTree(RegistryKey& root, CatalogKind kind) {
  const std::vector<RegistryKey*> entries = EntryKeys(root);
  const int first = CatalogFirstId(kind);
  if (entries.size() >= static_cast<size_t>(CatalogLastId(kind) - first + 1)) return 0;
  int next = first;
  for (RegistryKey* entry : entries) entry->SetValue(DwordValue("ID", next++));
  return next;
}

void InstallRows(RegistryTree& tree, CatalogKind kind, std::span<const settings::DefaultCatalogRow> rows) {
  RegistryKey& root = tree.Create(RootComponents(kind));
  int next = CatalogFirstId(kind);
  for (const auto& row : rows) {
    RegistryKey& entry = root.CreateChild(row.menu).CreateChild(row.name);
    entry.SetValue(StringValue("Template", row.text));
    entry.SetValue(DwordValue("ID", next++));
  }
  root.SetValue(DwordValue("NextID", next));
}

bool StampIsCurrent() {
  if (!KeyExists(HKEY_LOCAL_MACHINE, kProductKey)) return false;
  TString product;
  TString version;
  return KeyReadString(HKEY_LOCAL_MACHINE, kProductKey, DT("Product"), DT(""), product) &&
         KeyReadString(HKEY_LOCAL_MACHINE, kProductKey, DT("ProductVersion"), DT(""), version) &&
         product == kProductName && version == kProductVersion;
}

void ShowTooManyItems() { ShowMessageBox(DT("Too many items"), DT("Dossel"), kMbOk | kMbIconError); }

}  // namespace

const TChar* CatalogRootPath(CatalogKind kind) {
  return kind == kTemplateCatalog ? DT("Software\\Harlune\\Dossel\\Template") : DT("Software\\Harlune\\Dossel\\Script");
}
int CatalogFirstId(CatalogKind kind) { return kind == kTemplateCatalog ? 33000 : 33500; }
int CatalogLastId(CatalogKind kind) { return kind == kTemplateCatalog ? 33499 : 33999; }

bool InstallDefaultCatalogs() {
  if (StampIsCurrent()) return false;
  std::vector<std::string> product;
  settings::SplitKeyPath(ToUtf8(kProductKey), product);
  product.insert(product.begin(), "HKEY_LOCAL_MACHINE");
  return settings::UpdateRegistry([&](RegistryTree& tree) {
    RegistryKey& stamp = tree.Create(product);
    stamp.SetValue(StringValue("Product", ToUtf8(kProductName)));
    stamp.SetValue(StringValue("ProductVersion", ToUtf8(kProductVersion)));
    InstallRows(tree, kTemplateCatalog, settings::DefaultTemplateRows());
    InstallRows(tree, kScriptCatalog, settings::DefaultScriptRows());
    return true;
  });
}

int ListMenus(CatalogKind kind, std::vector<TString>& names) {
  return KeyReadStringAllSubkey(HKEY_LOCAL_MACHINE, CatalogRootPath(kind), names);
}

int ListEntries(TStringView menu, CatalogKind kind, std::vector<TString>& names) {
  if (menu.empty()) return 0;
  return KeyReadStringAllSubkey(HKEY_LOCAL_MACHINE, FullEntryPath(kind, menu, DT("")), names);
}

int ReadItem(TStringView menu, TStringView name, CatalogKind kind, CatalogItem& item) {
  item.menu = TString(menu);
  item.name = TString(name);
  item.text.clear();
  item.id = 0;
  if (menu.empty() && name.empty()) return 1;
  const TString path = FullEntryPath(kind, menu, name);
  KeyReadString(HKEY_LOCAL_MACHINE, path, kTextValue, DT(""), item.text);
  item.id = KeyReadInteger(HKEY_LOCAL_MACHINE, path, kIdValue, 0);
  return 1;
}

int WriteItem(CatalogKind kind, const CatalogItem& item) {
  const std::string text = ToUtf8(item.text);
  std::vector<std::string> components;
  if ((item.menu.empty() && item.name.empty()) || item.text.find(TChar(0)) != TString::npos ||
      !settings::SplitKeyPath(ToUtf8(EntryPath(item.menu, item.name)), components))
    return 0;
  size_t characters = 0;
  for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (characters > kMaxSettingText) return 0;
  const std::vector<std::string> root = RootComponents(kind);
  components.insert(components.begin(), root.begin(), root.end());
  return settings::UpdateRegistry([&](RegistryTree& tree) {
    RegistryKey& entry = tree.Create(components);
    entry.SetValue(StringValue("Template", text));
    entry.SetValue(DwordValue("ID", item.id));
    return true;
  })
             ? 1
             : 0;
}

int RemoveItem(TStringView menu, TStringView name, CatalogKind kind) {
  if (menu.empty() && name.empty()) return 0;
  return KeyDeleteTree(HKEY_LOCAL_MACHINE, FullEntryPath(kind, menu, name));
}

int FindItemById(int id, CatalogKind kind, CatalogItem& item) {
  RegistryTree tree;
  settings::ReadRegistry(tree);
  RegistryKey* root = tree.Find(RootComponents(kind));
  if (!root) return 0;
  for (const auto& menu : root->Children()) {
    for (const RegistryKey* entry : EntryKeysOf(*menu)) {
      if (ReadId(*entry, "ID", 0) != id) continue;
      item.menu = FromUtf8(menu->Name());
      item.name = entry == menu.get() ? TString() : FromUtf8(entry->Name());
      std::string text;
      const RegistryValue* value = entry->FindValue("Template");
      item.text = value && settings::ValueAsText(*value, text) ? FromUtf8(text) : TString();
      item.id = id;
      return 1;
    }
  }
  return 0;
}

int AllocateId(CatalogKind kind) {
  const std::vector<std::string> rootPath = RootComponents(kind);
  const int first = CatalogFirstId(kind);
  const int last = CatalogLastId(kind);
  int number = 0;
  bool tooMany = false;
  settings::UpdateRegistry([&](RegistryTree& tree) {
    RegistryKey& root = tree.Create(rootPath);
    int next = ReadId(root, "NextID", first);
    if (next < first || next >= last - kRenumberMargin) {
      next = RenumberInTree(root, kind);
      if (next == 0) {
        tooMany = true;
        return false;
      }
    }
    root.SetValue(DwordValue("NextID", next + 1));
    number = next;
    return true;
  });
  // Shown after the file lock is released: a message box must not keep
  // other programs from their settings.
  if (tooMany) ShowTooManyItems();
  return number;
}

int RenumberItems(CatalogKind kind) {
  const std::vector<std::string> rootPath = RootComponents(kind);
  int next = 0;
  bool tooMany = false;
  settings::UpdateRegistry([&](RegistryTree& tree) {
    RegistryKey* root = tree.Find(rootPath);
    if (!root) {
      next = CatalogFirstId(kind);
      return false;
    }
    next = RenumberInTree(*root, kind);
    tooMany = next == 0;
    return !tooMany;
  });
  if (tooMany) ShowTooManyItems();
  return next;
}

}  // namespace dossel
