#pragma once
// CScriptPage: the "Script" page of the options sheet, the editor of the
// Script catalogue (the query pane's keyword menu). UI thread only.

#include "options/catalog_page.h"

namespace dossel {

class CScriptPage : public CCatalogPage {
 public:
  static constexpr CatalogPageIds kIds{1105, 1108, 1111, 1113, 1115};

  explicit CScriptPage(wxWindow* parent) : CCatalogPage(parent, kScriptCatalog, kIds, "Script:") {}
};

}  // namespace dossel
