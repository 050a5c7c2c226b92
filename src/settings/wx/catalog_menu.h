#pragma once
// Fills a popup menu from a catalogue: one submenu per menu with entries, a
// plain item for a menu without entries. UI thread only.

#include <wx/menu.h>

#include "settings/catalogs.h"

namespace dossel {

// The caption shown for a catalogue name: every "&" dropped, cut at the
// first tab or at a backslash followed by "t".
TString CatalogCaption(TStringView name);

// Empties `popup` and fills it from the catalogue. Items carry the entries'
// numbers shifted into wx's id range as all the program's commands are
// (33000 shows as menu id 13000). An entry whose number lies
// outside the catalogue's range (a missing "ID") shows disabled, since no
// command would reach it.
void BuildCatalogMenu(wxMenu& popup, CatalogKind kind);

}  // namespace dossel
