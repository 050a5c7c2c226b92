#pragma once
// Conversion between the core's text and wxString, used only at the window
// boundary.

#include <wx/string.h>

#include "platform/text.h"

namespace dossel {

inline wxString ToWx(TStringView text) {
#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
  return wxString::FromUTF8(Utf16ToUtf8(text));
#else
  return wxString::FromUTF8(text.data(), text.size());
#endif
}

inline TString FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return FromUtf8(std::string_view(utf8.data(), utf8.length()));
}

}  // namespace dossel
