#pragma once
// Whether a run may have changed the names completion offers: a statement
// that begins with CREATE, ALTER, DROP, RENAME, USE, ATTACH, DETACH or
// IMPORT, a call of sp_rename, or a SELECT ... INTO a new table. Every
// statement of a script counts, wherever it stands; comments and quotes are
// read as such, so a "drop" inside a string or comment changes nothing.
//
// Pure function; any thread.

#include "platform/text.h"

namespace dossel::completion {

// `backslashEscapes` as for Tokenize (the MySQL family).
bool ChangesSchema(TStringView script, bool backslashEscapes = false);

}  // namespace dossel::completion
