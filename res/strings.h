#pragma once
// The string table of texts that are not a command's (a command's prompt
// stands in its row of the command table): the status bar's indicators.

#include "platform/text.h"

namespace dossel::res {

// The string of that identifier, or empty text when the table has none.
TStringView LoadString(int id);

}  // namespace dossel::res
