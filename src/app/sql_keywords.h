#pragma once
// The words the query pane highlights as keywords: the SQL standard's
// reserved words (schema/reserved_words.h) and every word of the Script catalogue's entries, so that a
// keyword a user adds to that catalogue is highlighted too. No wx; any
// thread (the catalogue is read through the settings store).

#include <string>
#include <string_view>

namespace dossel {

// The words (letters, digits and "_", starting with a letter) of `text`,
// lower case, each followed by a blank.
std::string KeywordsOfText(std::string_view text);

// The reserved words and the words of every Script catalogue entry, lower
// case, sorted, each once, separated by blanks (the form the lexer takes).
std::string SqlKeywordList();

}  // namespace dossel
