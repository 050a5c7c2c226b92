#pragma once
// The SQL standard's reserved words: the query pane highlights them and
// completion offers them, and a name that is one of them goes into SQL
// quoted, since unquoted it would be read as the word.
//
// Pure functions; any thread may call them.

#include <string_view>

#include "platform/text.h"

namespace dossel::schema {

// The reserved words, lower case, separated by blanks.
std::string_view StandardReservedWords();

// Whether `word` is one of them, compared without regard to case.
bool IsReservedWord(TStringView word);

}  // namespace dossel::schema
