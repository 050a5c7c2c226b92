#pragma once
// Replacing a file's contents so that a failure at any step (a full disk, a
// quota, a crash, a kill) leaves either the old file whole or the new one
// whole, never a mix: the bytes go to a new file beside the target, reach
// the disk, and only then take the target's name. Any thread may call it.

#include <string>
#include <string_view>

namespace dossel {

// Writes `bytes` as the file at `path`. A symbolic link is followed, so the
// link stays and its target is replaced; an existing file keeps its
// permissions (and its owner where that is allowed); a new file gets
// `newFileMode` less the umask. False on failure, with the system's reason
// in `failure` when it is given; the old file is then untouched.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* failure = nullptr,
                           unsigned newFileMode = 0666);

}  // namespace dossel
