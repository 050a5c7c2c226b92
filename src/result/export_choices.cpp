#include "result/export_choices.h"

namespace dossel {

namespace {

bool IsBlank(TChar c) { return c == DT(' ') || c == DT('\t'); }

// The filter's pieces: a description, then its patterns, for each type.
constexpr const TChar* kFilterPatterns[] = {DT("*.csv"), DT("*.htm;*.html"), DT("*.xml"), DT("*.*")};

}  // namespace

const std::vector<TString>& DelimiterItems() {
  static const std::vector<TString> items = {DT("Comma Delimited"), DT("Pipe Delimited"), DT("Tab Delimited")};
  return items;
}

TString TrimBlanks(TStringView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return TString(text);
}

std::optional<size_t> FirstItemBeginningWith(const std::vector<TString>& items, TStringView text) {
  for (size_t i = 0; i < items.size(); ++i)
    if (StartsWithNoCase(items[i], text)) return i;
  return std::nullopt;
}

TString ResolveDelimiter(TStringView fieldText) {
  if (fieldText.find(DT("Comma Delimited")) != TStringView::npos) return DT(",");
  if (fieldText.find(DT("Tab Delimited")) != TStringView::npos) return DT("\t");
  if (fieldText.find(DT("Pipe Delimited")) != TStringView::npos) return DT("|");
  return TString(fieldText);
}

TStringView ExportFileFilter() {
  // The classic filter ends with a "|" of its own; the file dialog's does not.
  return DT(
      "Export CSV Files (*.csv)|*.csv|Export HTML Files (*.htm;*.html)|*.htm;*.html|"
      "Export XML Files (*.xml)|*.xml|All Files(*.*)|*.*");
}

TString ApplyDefaultExtension(TStringView path, int filterIndex) {
  const size_t slash = path.find_last_of(DT('/'));
  const TStringView name = slash == TStringView::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find(DT('.')) != TStringView::npos) return TString(path);
  TStringView extension = kExportDefaultExtension;
  if (filterIndex >= 0 && filterIndex < static_cast<int>(std::size(kFilterPatterns))) {
    TStringView pattern = kFilterPatterns[filterIndex];
    pattern =
        pattern.substr(2, pattern.find(DT(';')) == TStringView::npos ? TStringView::npos : pattern.find(DT(';')) - 2);
    if (pattern != DT("*")) extension = pattern;
  }
  return TString(path) + DT(".") + TString(extension);
}

}  // namespace dossel
