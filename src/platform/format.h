#pragma once
// One printf-style formatter for both text widths. Arguments are checked by
// type, not trusted from the format: a %s given a number prints the number,
// a missing argument prints nothing. Supports flags "-0+ #", width,
// precision, the length modifiers h/l/ll (ignored) and the conversions
// d i u x X o c s f g e %.

#include <initializer_list>
#include <string>
#include <type_traits>

#include "platform/text.h"

namespace dossel {

struct FormatArg {
  enum class Kind { Signed, Unsigned, Floating, Text, Character };
  Kind kind;
  long long signedValue = 0;
  unsigned long long unsignedValue = 0;
  double floatingValue = 0;
  TStringView textValue;

  template <typename T>
  FormatArg(T value) {  // NOLINT(google-explicit-constructor): argument packs convert implicitly
    if constexpr (std::is_same_v<T, TChar>) {
      kind = Kind::Character;
      unsignedValue = static_cast<unsigned long long>(value);
    } else if constexpr (std::is_same_v<T, bool>) {
      kind = Kind::Signed;
      signedValue = value ? 1 : 0;
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
      if constexpr (std::is_signed_v<T> || std::is_enum_v<T>) {
        kind = Kind::Signed;
        signedValue = static_cast<long long>(value);
      } else {
        kind = Kind::Unsigned;
        unsignedValue = static_cast<unsigned long long>(value);
      }
    } else if constexpr (std::is_floating_point_v<T>) {
      kind = Kind::Floating;
      floatingValue = static_cast<double>(value);
    } else if constexpr (std::is_convertible_v<T, TStringView>) {
      kind = Kind::Text;
      textValue = TStringView(value);
    } else {
      static_assert(std::is_convertible_v<T, TStringView>, "unsupported format argument");
    }
  }
  FormatArg(const TChar* value) : kind(Kind::Text), textValue(value ? TStringView(value) : TStringView()) {}
};

TString FormatList(TStringView format, std::initializer_list<FormatArg> args);

template <typename... Args>
TString Format(TStringView format, const Args&... args) {
  return FormatList(format, {FormatArg(args)...});
}

}  // namespace dossel
