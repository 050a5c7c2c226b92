// Environment and connection handles: allocation, connect (by DRIVER= or by
// a configured data source whose Script= key names the script), attributes
// and transactions.

#include <odbcinst.h>
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "handles.h"

namespace dossel::scripted {
namespace {

struct Attribute {
  std::string key;
  std::string value;
};

bool SameKey(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

std::vector<Attribute> ParseConnectString(const std::string& text) {
  std::vector<Attribute> attributes;
  size_t at = 0;
  while (at < text.size()) {
    const size_t equals = text.find('=', at);
    if (equals == std::string::npos) break;
    Attribute attribute{text.substr(at, equals - at), {}};
    at = equals + 1;
    if (at < text.size() && text[at] == '{') {
      const size_t close = text.find('}', at);
      attribute.value = text.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
      at = close == std::string::npos ? text.size() : close + 1;
    }
    const size_t semicolon = text.find(';', at);
    attribute.value += text.substr(at, semicolon == std::string::npos ? std::string::npos : semicolon - at);
    at = semicolon == std::string::npos ? text.size() : semicolon + 1;
    attributes.push_back(attribute);
  }
  return attributes;
}

std::string FindValue(const std::vector<Attribute>& attributes, const char* key) {
  for (const auto& attribute : attributes)
    if (SameKey(attribute.key, key)) return attribute.value;
  return {};
}

std::string BuildConnectString(const std::vector<Attribute>& attributes) {
  std::string text;
  for (const auto& attribute : attributes) {
    if (!text.empty()) text += ';';
    const bool braces = attribute.value.find_first_of(";{}") != std::string::npos;
    text += attribute.key + "=" + (braces ? "{" + attribute.value + "}" : attribute.value);
  }
  return text;
}

std::string ScriptOfDataSource(const std::string& dsn) {
  char path[4096] = {};
  SQLGetPrivateProfileString(dsn.c_str(), "Script", "", path, sizeof path, "odbc.ini");
  return path;
}

// Loads the script and opens the connection; the completed attributes get
// the Script key when the data source supplied it.
SQLRETURN OpenConnection(Dbc* dbc, std::vector<Attribute>& attributes) {
  dbc->dataSourceName = FindValue(attributes, "DSN");
  std::string scriptPath = FindValue(attributes, "Script");
  if (scriptPath.empty() && !dbc->dataSourceName.empty()) {
    scriptPath = ScriptOfDataSource(dbc->dataSourceName);
    attributes.push_back({"Script", scriptPath});
  }
  if (scriptPath.empty()) return Fail(dbc, "08001", "No Script= key in the connect string or the data source");
  std::string error;
  auto script = LoadScript(scriptPath, error);
  if (!script) return Fail(dbc, "08001", error);
  dbc->log->Open(script->logPath);
  if (!script->connectErrors.empty()) return FailWith(dbc, script->connectErrors);
  dbc->script = std::make_shared<const Script>(std::move(*script));
  dbc->cancelsToIgnore = dbc->script->cancelsIgnored;
  dbc->connected = true;
  return SQL_SUCCESS;
}

SQLRETURN AllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  if (!output) return SQL_ERROR;
  switch (type) {
    case SQL_HANDLE_ENV:
      *output = new Env();
      return SQL_SUCCESS;
    case SQL_HANDLE_DBC:
      *output = new Dbc(static_cast<Env*>(input));
      return SQL_SUCCESS;
    case SQL_HANDLE_STMT: {
      auto* dbc = static_cast<Dbc*>(input);
      dbc->diagnostics.Clear();
      if (!dbc->connected) return Fail(dbc, "08003", "Connection not open");
      if (!dbc->script->statementErrors.empty()) return FailWith(dbc, dbc->script->statementErrors);
      *output = new Stmt(dbc);
      return SQL_SUCCESS;
    }
    default:
      return SQL_ERROR;
  }
}

SQLRETURN FreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  if (!handle) return SQL_INVALID_HANDLE;
  switch (type) {
    case SQL_HANDLE_ENV:
      delete static_cast<Env*>(handle);
      return SQL_SUCCESS;
    case SQL_HANDLE_DBC:
      delete static_cast<Dbc*>(handle);
      return SQL_SUCCESS;
    case SQL_HANDLE_STMT:
      delete static_cast<Stmt*>(handle);
      return SQL_SUCCESS;
    default:
      return SQL_ERROR;
  }
}

SQLRETURN SetConnectAttr(Dbc* dbc, SQLINTEGER attribute, SQLPOINTER value, const char* function) {
  BeginCall(dbc, std::string(function) + " " + std::to_string(attribute));
  dbc->attributes[attribute] = reinterpret_cast<SQLULEN>(value);
  return SQL_SUCCESS;
}

SQLRETURN GetConnectAttr(Dbc* dbc, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER room, SQLINTEGER* length,
                         const char* function) {
  BeginCall(dbc, std::string(function) + " " + std::to_string(attribute));
  if (attribute == SQL_ATTR_CURRENT_CATALOG) return CopyText(dbc, "master", value, room, nullptr, length);
  static const std::map<SQLINTEGER, SQLULEN> kDefaults = {{SQL_ATTR_ACCESS_MODE, SQL_MODE_READ_WRITE},
                                                          {SQL_ATTR_AUTOCOMMIT, SQL_AUTOCOMMIT_ON},
                                                          {SQL_ATTR_LOGIN_TIMEOUT, 0},
                                                          {SQL_ATTR_CONNECTION_TIMEOUT, 0},
                                                          {SQL_ATTR_CONNECTION_DEAD, SQL_CD_FALSE},
                                                          {SQL_ATTR_TXN_ISOLATION, SQL_TXN_READ_COMMITTED},
                                                          {SQL_ATTR_ODBC_CURSORS, SQL_CUR_USE_DRIVER},
                                                          {SQL_ATTR_TRACE, SQL_OPT_TRACE_OFF}};
  auto found = dbc->attributes.find(attribute);
  SQLULEN answer = 0;
  if (found != dbc->attributes.end()) {
    answer = found->second;
  } else if (auto known = kDefaults.find(attribute); known != kDefaults.end()) {
    answer = known->second;
  } else {
    return Fail(dbc, "HY092", "Invalid attribute/option identifier");
  }
  if (value) *static_cast<SQLUINTEGER*>(value) = static_cast<SQLUINTEGER>(answer);
  if (length) *length = sizeof(SQLUINTEGER);
  return SQL_SUCCESS;
}

}  // namespace
}  // namespace dossel::scripted

using namespace dossel::scripted;

SCRIPTED_EXPORT SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  if (type == SQL_HANDLE_STMT) LogOf(static_cast<Dbc*>(input)).Write("SQLAllocHandle stmt");
  return AllocHandle(type, input, output);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLAllocEnv(SQLHENV* env) { return AllocHandle(SQL_HANDLE_ENV, nullptr, env); }

SCRIPTED_EXPORT SQLRETURN SQL_API SQLAllocConnect(SQLHENV env, SQLHDBC* dbc) {
  return AllocHandle(SQL_HANDLE_DBC, env, dbc);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLAllocStmt(SQLHDBC dbc, SQLHSTMT* stmt) {
  LogOf(static_cast<Dbc*>(dbc)).Write("SQLAllocStmt");
  return AllocHandle(SQL_HANDLE_STMT, dbc, stmt);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  if (type == SQL_HANDLE_STMT) LogOf(static_cast<Stmt*>(handle)).Write("SQLFreeHandle stmt");
  if (type == SQL_HANDLE_DBC) LogOf(static_cast<Dbc*>(handle)).Write("SQLFreeHandle dbc");
  return FreeHandle(type, handle);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLFreeEnv(SQLHENV env) { return FreeHandle(SQL_HANDLE_ENV, env); }

SCRIPTED_EXPORT SQLRETURN SQL_API SQLFreeConnect(SQLHDBC dbc) {
  LogOf(static_cast<Dbc*>(dbc)).Write("SQLFreeConnect");
  return FreeHandle(SQL_HANDLE_DBC, dbc);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV env, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  if (attribute == SQL_ATTR_ODBC_VERSION)
    static_cast<Env*>(env)->odbcVersion = static_cast<SQLINTEGER>(reinterpret_cast<SQLLEN>(value));
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV env, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                                SQLINTEGER* length) {
  SQLINTEGER answer = attribute == SQL_ATTR_ODBC_VERSION ? static_cast<Env*>(env)->odbcVersion : 0;
  if (attribute == SQL_ATTR_OUTPUT_NTS) answer = SQL_TRUE;
  if (value) *static_cast<SQLINTEGER*>(value) = answer;
  if (length) *length = sizeof answer;
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength,
                                                   SQLCHAR* out, SQLSMALLINT outRoom, SQLSMALLINT* outLength,
                                                   SQLUSMALLINT) {
  auto* dbc = static_cast<Dbc*>(handle);
  dbc->diagnostics.Clear();
  auto attributes = ParseConnectString(ArgText(in, inLength));
  const SQLRETURN rc = OpenConnection(dbc, attributes);
  dbc->log->Write("SQLDriverConnect " + ArgText(in, inLength));
  if (!SQL_SUCCEEDED(rc)) return rc;
  return CopyText(dbc, BuildConnectString(attributes), out, outRoom, outLength);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* server, SQLSMALLINT serverLength, SQLCHAR*,
                                             SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
  auto* dbc = static_cast<Dbc*>(handle);
  dbc->diagnostics.Clear();
  std::vector<Attribute> attributes{{"DSN", ArgText(server, serverLength)}};
  const SQLRETURN rc = OpenConnection(dbc, attributes);
  dbc->log->Write("SQLConnect " + ArgText(server, serverLength));
  return rc;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
  auto* dbc = static_cast<Dbc*>(handle);
  BeginCall(dbc, "SQLDisconnect");
  dbc->connected = false;
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC dbc, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  return SetConnectAttr(static_cast<Dbc*>(dbc), attribute, value, "SQLSetConnectAttr");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLSetConnectOption(SQLHDBC dbc, SQLUSMALLINT option, SQLULEN value) {
  return SetConnectAttr(static_cast<Dbc*>(dbc), option, reinterpret_cast<SQLPOINTER>(value), "SQLSetConnectOption");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC dbc, SQLINTEGER attribute, SQLPOINTER value,
                                                    SQLINTEGER room, SQLINTEGER* length) {
  return GetConnectAttr(static_cast<Dbc*>(dbc), attribute, value, room, length, "SQLGetConnectAttr");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetConnectOption(SQLHDBC dbc, SQLUSMALLINT option, SQLPOINTER value) {
  return GetConnectAttr(static_cast<Dbc*>(dbc), option, value, SQL_MAX_OPTION_STRING_LENGTH, nullptr,
                        "SQLGetConnectOption");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion) {
  if (type == SQL_HANDLE_DBC) BeginCall(static_cast<Dbc*>(handle), "SQLEndTran " + std::to_string(completion));
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLTransact(SQLHENV, SQLHDBC dbc, SQLUSMALLINT completion) {
  if (dbc) BeginCall(static_cast<Dbc*>(dbc), "SQLTransact " + std::to_string(completion));
  return SQL_SUCCESS;
}
