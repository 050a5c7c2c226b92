#pragma once
// The two catalogues of SQL snippets that fill the query pane's Script and
// Template menus. Each entry lives at <root>\<menu>\<name> with its text in
// "Template" and its command number in "ID"; an entry with an empty name is
// the menu key itself (a menu without entries shows as a plain item). "NextID"
// under the root is the next number to hand out. Command numbers stay within
// the catalogue's range: 33500-33999 for scripts, 33000-33499 for templates.
//
// Changes that touch several entries (installation, renumbering, handing out
// a number) are made in one step under the settings file's lock. Any thread
// may call these functions except the ones that can show "Too many items"
// (AllocateId, RenumberItems), which belong to the UI thread.

#include <vector>

#include "platform/text.h"

namespace dossel {

enum CatalogKind : int { kScriptCatalog = 0, kTemplateCatalog = 1 };

struct CatalogItem {
  TString menu;
  TString name;
  TString text;  // at most 254 characters
  int id = 0;
};

// The catalogue's key and its command numbers (both ends included).
const TChar* CatalogRootPath(CatalogKind kind);
int CatalogFirstId(CatalogKind kind);
int CatalogLastId(CatalogKind kind);

// The product stamp that marks the defaults of this version as installed.
inline constexpr const TChar* kProductKey = DT("Software\\Harlune\\Dossel\\");
inline constexpr const TChar* kProductName = DT("Dossel");
inline constexpr const TChar* kProductVersion = DT("2.8");

// When the stamp is missing or differs, writes it with both default tables
// (overwriting default entries of the same menu and name, keeping all
// others) and resets both "NextID"s to right after the defaults. True when it
// installed.
bool InstallDefaultCatalogs();

int ListMenus(CatalogKind kind, std::vector<TString>& names);
int ListEntries(TStringView menu, CatalogKind kind, std::vector<TString>& names);

// Fills the item from its key: text "" and number 0 when missing. Always 1.
int ReadItem(TStringView menu, TStringView name, CatalogKind kind, CatalogItem& item);

// Stores text and number (creating the keys); 0 without writing anything when
// the text is too long or menu and name are both empty.
int WriteItem(CatalogKind kind, const CatalogItem& item);

// Deletes the entry, or the whole menu when `name` is empty; 0 without
// action when both are empty.
int RemoveItem(TStringView menu, TStringView name, CatalogKind kind);

// The first entry, in menu and entry order, that carries `id`; 1 if found.
int FindItemById(int id, CatalogKind kind, CatalogItem& item);

// A free command number for a new entry, renumbering all entries first when
// "NextID" nears the end of the range (or lies outside it). 0 when the range
// is full: "Too many items" has been shown and the entry must not be added.
int AllocateId(CatalogKind kind);

// Numbers all entries consecutively from the range's start and returns the
// next free number. When they do not fit with a number to spare, shows "Too
// many items", changes nothing and returns 0.
int RenumberItems(CatalogKind kind);

}  // namespace dossel
