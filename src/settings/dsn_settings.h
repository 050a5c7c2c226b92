#pragma once
// The data sources the Connect dialog remembers: one key per name under
// "Software\Harlune\Dossel\DSN" holding "DSN" (the name, written for the
// reader of the file, never read back), "Database", "LockTimeout" and
// "StepAPI". A name containing "\" is stored that many levels deeper, as the
// registry would. Any thread may call these functions.

#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace dossel {

inline constexpr const TChar* kDsnSettingsKey = DT("Software\\Harlune\\Dossel\\DSN");
inline constexpr uint32_t kDefaultLockTimeout = 1000;
// The step interface is on for a name that stores no choice: without it the
// SQLite driver reads the whole result into memory before the first row.
inline constexpr int kDefaultStepApi = 1;

struct DsnSettings {
  TString database;
  uint32_t lockTimeout = kDefaultLockTimeout;  // milliseconds
  int stepApi = kDefaultStepApi;               // 0 or 1
};

// The remembered values of `name`, each value it does not store at its
// default (empty, 1000, 1).
DsnSettings LoadDsnSettings(TStringView name);

// Remembers the values under `name`; 0 for an empty name (nothing to
// remember them by) or when the store cannot be written.
int SaveDsnSettings(TStringView name, const DsnSettings& values);

// Forgets `name` with any keys below it; 0 for an empty name, which must
// never reach the list of all names.
int DeleteDsnSettings(TStringView name);

// The remembered names (the direct subkeys of the DSN key).
std::vector<TString> ListDsnNames();

// "DSN=%s;Database=%s;Timeout=%u;StepAPI=%d", the connect string the program
// gives the driver for these values, without the DSN or Database key when
// its value is empty.
TString BuildDsnConnectString(TStringView name, const DsnSettings& values);

}  // namespace dossel
