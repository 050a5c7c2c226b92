#include "settings/wx/catalog_menu.h"

#include "platform/wx/wx_text.h"

namespace dossel {
namespace {

// wx takes menu ids only below 0x7FFF; the program's commands (32768 and up,
// the catalogue numbers among them) move down by this amount in its menus,
// the same shift as every other command of the program (ToWxId of
// res/command_ids.h), so a chosen entry comes back as its command.
constexpr int kCommandBandStart = 32768;
constexpr int kCommandBandShift = 20000;

int MenuId(int number) { return number >= kCommandBandStart ? number - kCommandBandShift : number; }

void AppendEntry(wxMenu& menu, const CatalogItem& item, TStringView caption, CatalogKind kind) {
  const bool inRange = item.id >= CatalogFirstId(kind) && item.id <= CatalogLastId(kind);
  wxMenuItem* added = menu.Append(inRange ? MenuId(item.id) : wxID_ANY, ToWx(CatalogCaption(caption)));
  if (!inRange) added->Enable(false);
}

}  // namespace

TString CatalogCaption(TStringView name) {
  TString caption;
  for (size_t i = 0; i < name.size(); ++i) {
    const TChar c = name[i];
    if (c == DT('\t') || (c == DT('\\') && i + 1 < name.size() && name[i + 1] == DT('t'))) break;
    if (c != DT('&')) caption += c;
  }
  return caption;
}

void BuildCatalogMenu(wxMenu& popup, CatalogKind kind) {
  while (popup.GetMenuItemCount() > 0) popup.Destroy(popup.FindItemByPosition(0));
  std::vector<TString> menus;
  ListMenus(kind, menus);
  for (const TString& menuName : menus) {
    std::vector<TString> entries;
    ListEntries(menuName, kind, entries);
    CatalogItem item;
    if (entries.empty()) {
      ReadItem(menuName, DT(""), kind, item);
      AppendEntry(popup, item, menuName, kind);
      continue;
    }
    auto* submenu = new wxMenu();
    for (const TString& entryName : entries) {
      ReadItem(menuName, entryName, kind, item);
      AppendEntry(*submenu, item, entryName, kind);
    }
    popup.AppendSubMenu(submenu, ToWx(CatalogCaption(menuName)));
  }
}

}  // namespace dossel
