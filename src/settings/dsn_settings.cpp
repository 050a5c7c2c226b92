#include "settings/dsn_settings.h"

#include "platform/format.h"
#include "settings/settings_store.h"

namespace dossel {
namespace {

// The name's key; empty when the name would not name a key of its own
// (empty, or nothing but backslashes).
TString DsnKeyPath(TStringView name) {
  if (name.find_first_not_of(DT('\\')) == TStringView::npos) return {};
  TString path(kDsnSettingsKey);
  path += DT('\\');
  path += name;
  return path;
}

// A connect-string value as is, or in braces when it holds a ";" (which
// would otherwise end it) or starts with "{"; a "}" inside braces is doubled.
TString ConnectValue(TStringView value) {
  if (value.find(DT(';')) == TStringView::npos && (value.empty() || value.front() != DT('{'))) return TString(value);
  TString braced(1, DT('{'));
  for (const TChar c : value) {
    braced += c;
    if (c == DT('}')) braced += c;
  }
  braced += DT('}');
  return braced;
}

}  // namespace

DsnSettings LoadDsnSettings(TStringView name) {
  DsnSettings values;
  const TString path = DsnKeyPath(name);
  if (path.empty()) return values;
  KeyReadString(HKEY_LOCAL_MACHINE, path, DT("Database"), DT(""), values.database);
  values.lockTimeout = static_cast<uint32_t>(
      KeyReadInteger(HKEY_LOCAL_MACHINE, path, DT("LockTimeout"), static_cast<int>(kDefaultLockTimeout)));
  values.stepApi = KeyReadInteger(HKEY_LOCAL_MACHINE, path, DT("StepAPI"), kDefaultStepApi) ? 1 : 0;
  return values;
}

int SaveDsnSettings(TStringView name, const DsnSettings& values) {
  const TString path = DsnKeyPath(name);
  if (path.empty()) return 0;
  int ok = KeyWriteString(HKEY_LOCAL_MACHINE, path, DT("DSN"), name);
  ok &= KeyWriteString(HKEY_LOCAL_MACHINE, path, DT("Database"), values.database);
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, path, DT("LockTimeout"), static_cast<int>(values.lockTimeout));
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, path, DT("StepAPI"), values.stepApi ? 1 : 0);
  return ok;
}

int DeleteDsnSettings(TStringView name) {
  const TString path = DsnKeyPath(name);
  return path.empty() ? 0 : KeyDeleteTree(HKEY_LOCAL_MACHINE, path);
}

std::vector<TString> ListDsnNames() {
  std::vector<TString> names;
  KeyReadStringAllSubkey(HKEY_LOCAL_MACHINE, kDsnSettingsKey, names);
  return names;
}

TString BuildDsnConnectString(TStringView name, const DsnSettings& values) {
  // A key with an empty value is not "unset" to a driver: "Database=" makes
  // it open no database instead of the one its data source names.
  TString text;
  if (!name.empty()) text += Format(DT("DSN=%s;"), ConnectValue(name));
  if (!values.database.empty()) text += Format(DT("Database=%s;"), ConnectValue(values.database));
  return text + Format(DT("Timeout=%u;StepAPI=%d"), values.lockTimeout, values.stepApi ? 1 : 0);
}

}  // namespace dossel
