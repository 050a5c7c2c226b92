#pragma once
// CTemplatePage: the "Template" page of the options sheet, the editor of the
// Template catalogue (the query pane's statement skeletons). UI thread only.

#include "options/catalog_page.h"

namespace dossel {

class CTemplatePage : public CCatalogPage {
 public:
  static constexpr CatalogPageIds kIds{1090, 1093, 1083, 1116, 1117};

  explicit CTemplatePage(wxWindow* parent) : CCatalogPage(parent, kTemplateCatalog, kIds, "Template:") {}
};

}  // namespace dossel
