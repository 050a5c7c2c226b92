#pragma once
// The rules of the export dialog that need no window: the items of its
// lists, how a stored or typed choice selects an item, how the delimiter
// field's text becomes the delimiter, the file-type filter and the
// extension a bare file name gets. Plain functions; any thread.

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/text.h"

namespace dossel {

// Where the dialog keeps the user's choices, and the value names.
inline constexpr const TChar* kExportSettingsKey = DT("Software\\Harlune\\Dossel\\Result\\Export");

// The delimiter list's items, in the sorted order the list shows them.
const std::vector<TString>& DelimiterItems();
inline constexpr const TChar* kCommaDelimited = DT("Comma Delimited");

// The default tags; each tag list holds its default as its only item.
inline constexpr const TChar* kDefaultRowBegin = DT("<TR>");
inline constexpr const TChar* kDefaultRowEnd = DT("</TR>");
inline constexpr const TChar* kDefaultColBegin = DT("<TD>");
inline constexpr const TChar* kDefaultColEnd = DT("</TD>");

// Removes blanks (spaces and tabs) at both ends.
TString TrimBlanks(TStringView text);

// The first item beginning with `text` (ASCII case ignored), or nothing.
std::optional<size_t> FirstItemBeginningWith(const std::vector<TString>& items, TStringView text);

// The delimiter a field text stands for: "," for a text containing
// "Comma Delimited", a tab for "Tab Delimited", "|" for "Pipe Delimited",
// otherwise the text itself (a custom delimiter of any length).
TString ResolveDelimiter(TStringView fieldText);

// The dialog's file-type filter as the file dialog takes it.
TStringView ExportFileFilter();
inline constexpr const TChar* kExportDefaultExtension = DT("csv");
inline constexpr const TChar* kExportInitialName = DT("Untitled");

// `path` with an extension added when its file name has none: the first
// extension of the chosen filter, or the default extension "csv" when that
// filter matches every file.
TString ApplyDefaultExtension(TStringView path, int filterIndex);

}  // namespace dossel
