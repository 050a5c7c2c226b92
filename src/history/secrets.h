#pragma once
// What the run history never writes: passwords. A statement text, a data
// source name or an error message may carry them as connect-string values
// ("PWD=...", "Password=...", an OPENROWSET's string) or as SQL clauses
// ("IDENTIFIED BY '...'", "PASSWORD '...'"); each such value is replaced by
// asterisks before anything is stored. Any thread.

#include <string>
#include <string_view>

namespace dossel::history {

// The mark that stands where a secret was.
inline constexpr std::string_view kRedacted = "*****";

// `text` (UTF-8) with every password value replaced by kRedacted.
std::string RedactSecrets(std::string_view text);

}  // namespace dossel::history
