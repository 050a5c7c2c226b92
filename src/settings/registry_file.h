#pragma once
// The settings file on disk: where it lives, reading it, and changing it so
// that concurrent programs lose nothing and a crash never leaves half a file.
//
// Location: $DOSSEL_REGISTRY when set, else $XDG_CONFIG_HOME/dossel/registry.reg
// (XDG_CONFIG_HOME defaulting to ~/.config).
//
// A change holds an exclusive lock (flock on "<file>.lock") from reading the
// file to renaming the new one into place, so the read-modify-write of one
// program never overlaps another's. The new text goes to a new file beside
// it, is flushed to disk and then renamed over the file (platform/
// file_writer.h; a link to the file stays a link); a reader (which takes no
// lock) sees either the old or the new file, never a mix. A file that was
// read but cannot be parsed reads as empty; the next change first renames it
// to "<file>.damaged-N" (the first free N) and starts afresh, so nothing is
// overwritten without a copy being kept. A file that is there but cannot be
// read (too many open files, a permission change) reads as empty too, and is
// never changed: changes fail until it can be read again.
//
// Any thread may call these functions; nothing is cached between calls.

#include <functional>
#include <string>

#include "settings/registry_tree.h"

namespace dossel::settings {

std::string RegistryFilePath();

// The file's tree; false (and an empty tree) when the file is missing,
// unreadable or damaged.
bool ReadRegistry(RegistryTree& tree);

// Reads the current tree under the lock and calls `change`; when it returns
// true the changed tree is written back. True only when the change was made
// and stored; false without calling `change` when the file could not be read.
bool UpdateRegistry(const std::function<bool(RegistryTree&)>& change);

}  // namespace dossel::settings
