#pragma once
// The string table: status-bar prompts and tooltips of the commands, given as
// "prompt\ntooltip" (the tooltip part may be missing), and the indicator texts.

#include "platform/text.h"

namespace dossel::res {

// The string of that identifier, or empty text when the table has none.
TStringView LoadString(int id);
// The status-bar prompt: the part before "\n".
TString PromptOf(int id);
// The tooltip: the part after "\n", or the whole string when it has none.
TString TooltipOf(int id);

}  // namespace dossel::res
