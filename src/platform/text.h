#pragma once
// The one text type of the core. dossel is built with narrow text (UTF-8
// bytes); dosselce with UTF-16 (DOSSEL_WIDE). The same sources compile for
// both; conversion happens only at the ODBC and window boundaries.

#include <string>
#include <string_view>

namespace dossel {

#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
using TChar = char16_t;
#define DOSSEL_TEXT_CONCAT(prefix, s) prefix##s
#define DT(s) DOSSEL_TEXT_CONCAT(u, s)
inline constexpr bool kWideText = true;
#else
using TChar = char;
#define DT(s) s
inline constexpr bool kWideText = false;
#endif

using TString = std::basic_string<TChar>;
using TStringView = std::basic_string_view<TChar>;

// UTF-8 <-> the build's text. Invalid UTF-8 bytes become U+FFFD.
TString FromUtf8(std::string_view utf8);
std::string ToUtf8(TStringView text);

// UTF-8 <-> UTF-16, for the wide ODBC boundary in either build.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// ASCII-only helpers; registry names and SQL keywords are ASCII.
TString AsciiToText(std::string_view ascii);
TChar AsciiLower(TChar c);
TString AsciiLower(TStringView text);
bool EqualsNoCase(TStringView a, TStringView b);
bool StartsWithNoCase(TStringView text, TStringView prefix);
// Position of `needle` in `text` ignoring ASCII case, or npos.
size_t FindNoCase(TStringView text, TStringView needle);

}  // namespace dossel
