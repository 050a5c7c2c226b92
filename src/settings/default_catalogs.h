#pragma once
// The default rows of both catalogues, in installation order. Internal to
// the settings library.

#include <span>

namespace dossel::settings {

struct DefaultCatalogRow {
  const char* menu;
  const char* name;
  const char* text;
};

std::span<const DefaultCatalogRow> DefaultTemplateRows();
std::span<const DefaultCatalogRow> DefaultScriptRows();

}  // namespace dossel::settings
