#pragma once
// The settings functions every part of the program reads and writes its
// settings through. Each call reads the settings file afresh (or changes it
// under the file lock) and keeps nothing, so a setting takes effect wherever
// it is next read, in this program or another one.
//
// Paths are full key paths ("Software\Harlune\Dossel\Options") below a root;
// components are separated by "\", one trailing "\" is allowed, and names
// compare without regard to ASCII case; a path has at most 511 components
// (the file's keys are at most 512 deep, the root included). Failures are
// silent: a failed read gives the caller's default, a failed write answers 0.
//
// String values hold at most kMaxSettingText characters (Unicode characters,
// the same in both text widths, so both programs share stored values); a NUL
// character ends a string as it would in the registry.
//
// Any thread may call these functions.

#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace dossel {

// The two roots of the settings file, numbered as the registry numbers them.
enum class HKEY : uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };
inline constexpr HKEY HKEY_CURRENT_USER = HKEY::CurrentUser;
inline constexpr HKEY HKEY_LOCAL_MACHINE = HKEY::LocalMachine;

// The longest text a string value may hold.
inline constexpr size_t kMaxSettingText = 254;

// 1 when the key exists.
int KeyExists(HKEY root, TStringView path);

// The stored string (of string or expandable-string type, not expanded) into
// `out` and 1; otherwise (missing, another type, too long) `defaultText` and 0.
int KeyReadString(HKEY root, TStringView path, TStringView valueName, TStringView defaultText, TString& out);

// The stored 32-bit integer, or `defaultValue` when the key or an integer
// value of that name is missing.
int KeyReadInteger(HKEY root, TStringView path, TStringView valueName, int defaultValue);

// Creates the key and its parents when needed and stores the value; 1 on
// success. A text longer than kMaxSettingText is not written (0, the old value stays).
int KeyWriteString(HKEY root, TStringView path, TStringView valueName, TStringView text);
int KeyWriteInteger(HKEY root, TStringView path, TStringView valueName, int value);

// Appends the names of the direct subkeys, in enumeration order (names
// sorted without regard to ASCII case). 0 when the key is missing.
int KeyReadStringAllSubkey(HKEY root, TStringView path, std::vector<TString>& names);

// KeyReadStringAllSubkey on HKEY_LOCAL_MACHINE and parent + "\" + child; always 1.
int KeyReadStringAllSubkeyOf(std::vector<TString>& names, TStringView parent, TStringView child);

// Deletes the key with all its subkeys; 1 also when it does not exist.
// A root itself cannot be deleted (0).
int KeyDeleteTree(HKEY root, TStringView path);

}  // namespace dossel
