#pragma once
// What a time-out field accepts. The edits take digits only at the keyboard
// (wx's digits filter); whatever else reaches them (pasted text, a negative
// value from the settings) is read by ParseTimeout when the page takes its
// values. wx's own numeric validator is not used: in wx 3.2 it refuses a bad
// number without a word to the user, and once '-' is barred from the
// keyboard it no longer reads a negative number at all.

#include <wx/string.h>

#include <cstdint>

#include "platform/text.h"

namespace dossel {

// Shown when a time-out is refused; the words of the program's other
// number fields, for a field that wants a whole number.
inline constexpr const TChar* kBadTimeoutMessage = DT("Please enter an integer.");

// True with `value` set when `text` is a decimal number a signed 32-bit
// integer holds: blanks around it and one sign allowed, nothing else.
bool ParseTimeout(const wxString& text, int32_t& value);

}  // namespace dossel
