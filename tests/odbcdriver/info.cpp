// What the driver says about itself (SQLGetInfo, SQLGetFunctions) and the
// catalog functions, which answer the script's "catalog:<function>" entries
// in the standard shape of each catalog result.

#include <sstream>

#include "handles.h"

using namespace dossel::scripted;

namespace {

InfoAnswer Text(const char* text) { return InfoAnswer{InfoAnswer::Kind::Text, text, 0}; }
InfoAnswer Int16(long value) { return InfoAnswer{InfoAnswer::Kind::Int16, {}, value}; }
InfoAnswer Int32(long value) { return InfoAnswer{InfoAnswer::Kind::Int32, {}, value}; }

// What a Sybase / SQL Server family driver typically answers; a script
// overrides any of them with "info" lines.
const std::map<int, InfoAnswer>& DefaultInfo() {
  static const std::map<int, InfoAnswer> kDefaults = {
      {SQL_MAX_DRIVER_CONNECTIONS, Int16(0)},
      {SQL_MAX_CONCURRENT_ACTIVITIES, Int16(0)},
      {SQL_DRIVER_NAME, Text("libdossel_scripted_driver.so")},
      {SQL_DRIVER_VER, Text("01.00.0000")},
      {SQL_DRIVER_ODBC_VER, Text("03.00")},
      {SQL_ODBC_API_CONFORMANCE, Int16(SQL_OAC_LEVEL1)},
      {SQL_ODBC_SQL_CONFORMANCE, Int16(SQL_OSC_CORE)},
      {SQL_SERVER_NAME, Text("scripted")},
      {SQL_SEARCH_PATTERN_ESCAPE, Text("\\")},
      {SQL_DATABASE_NAME, Text("master")},
      {SQL_DBMS_NAME, Text("Scripted DBMS")},
      {SQL_DBMS_VER, Text("01.00.0000")},
      {SQL_ACCESSIBLE_TABLES, Text("Y")},
      {SQL_ACCESSIBLE_PROCEDURES, Text("Y")},
      {SQL_PROCEDURES, Text("Y")},
      {SQL_CURSOR_COMMIT_BEHAVIOR, Int16(SQL_CB_CLOSE)},
      {SQL_CURSOR_ROLLBACK_BEHAVIOR, Int16(SQL_CB_CLOSE)},
      {SQL_DATA_SOURCE_READ_ONLY, Text("N")},
      {SQL_DEFAULT_TXN_ISOLATION, Int32(SQL_TXN_READ_COMMITTED)},
      {SQL_IDENTIFIER_CASE, Int16(SQL_IC_MIXED)},
      {SQL_IDENTIFIER_QUOTE_CHAR, Text("\"")},
      {SQL_MULT_RESULT_SETS, Text("Y")},
      {SQL_MULTIPLE_ACTIVE_TXN, Text("Y")},
      {SQL_TXN_CAPABLE, Int16(SQL_TC_ALL)},
      {SQL_TXN_ISOLATION_OPTION, Int32(SQL_TXN_READ_COMMITTED | SQL_TXN_SERIALIZABLE)},
      {SQL_USER_NAME, Text("dbo")},
      {SQL_OWNER_TERM, Text("owner")},
      {SQL_QUALIFIER_TERM, Text("database")},
      {SQL_TABLE_TERM, Text("table")},
      {SQL_PROCEDURE_TERM, Text("stored procedure")},
      {SQL_QUALIFIER_NAME_SEPARATOR, Text(".")},
      {SQL_QUALIFIER_LOCATION, Int16(SQL_QL_START)},
      {SQL_OWNER_USAGE, Int32(SQL_OU_DML_STATEMENTS | SQL_OU_TABLE_DEFINITION)},
      {SQL_QUALIFIER_USAGE, Int32(SQL_QU_DML_STATEMENTS | SQL_QU_TABLE_DEFINITION)},
      {SQL_SCROLL_OPTIONS, Int32(SQL_SO_FORWARD_ONLY | SQL_SO_KEYSET_DRIVEN | SQL_SO_STATIC)},
      {SQL_SCROLL_CONCURRENCY, Int32(SQL_SCCO_READ_ONLY)},
      {SQL_FETCH_DIRECTION, Int32(SQL_FD_FETCH_NEXT | SQL_FD_FETCH_FIRST | SQL_FD_FETCH_LAST | SQL_FD_FETCH_PRIOR |
                                  SQL_FD_FETCH_ABSOLUTE | SQL_FD_FETCH_RELATIVE)},
      {SQL_GETDATA_EXTENSIONS, Int32(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND)},
      {SQL_POS_OPERATIONS, Int32(0)},
      {SQL_POSITIONED_STATEMENTS, Int32(0)},
      {SQL_BOOKMARK_PERSISTENCE, Int32(0)},
      {SQL_CONCAT_NULL_BEHAVIOR, Int16(SQL_CB_NULL)},
      {SQL_MAX_COLUMN_NAME_LEN, Int16(128)},
      {SQL_MAX_TABLE_NAME_LEN, Int16(128)},
      {SQL_MAX_OWNER_NAME_LEN, Int16(128)},
      {SQL_MAX_QUALIFIER_NAME_LEN, Int16(128)},
      {SQL_MAX_PROCEDURE_NAME_LEN, Int16(128)},
      {SQL_NON_NULLABLE_COLUMNS, Int16(SQL_NNC_NON_NULL)},
      {SQL_NULL_COLLATION, Int16(SQL_NC_LOW)},
      {SQL_SPECIAL_CHARACTERS, Text("#@$")},
      {SQL_CURSOR_SENSITIVITY, Int32(SQL_INSENSITIVE)},
  };
  return kDefaults;
}

SQLRETURN GetInfo(Dbc* dbc, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT room, SQLSMALLINT* length) {
  BeginCall(dbc, "SQLGetInfo " + std::to_string(type));
  InfoAnswer answer{InfoAnswer::Kind::Missing, {}, 0};
  const auto scripted = dbc->script ? dbc->script->info.find(type) : DefaultInfo().end();
  if (dbc->script && scripted != dbc->script->info.end()) {
    answer = scripted->second;
  } else if (type == SQL_DATA_SOURCE_NAME) {
    answer = InfoAnswer{InfoAnswer::Kind::Text, dbc->dataSourceName, 0};
  } else if (auto known = DefaultInfo().find(type); known != DefaultInfo().end()) {
    answer = known->second;
  }
  switch (answer.kind) {
    case InfoAnswer::Kind::Text:
      return CopyText(dbc, answer.text, value, room, length);
    case InfoAnswer::Kind::Int16:
      if (value) *static_cast<SQLUSMALLINT*>(value) = static_cast<SQLUSMALLINT>(answer.number);
      if (length) *length = sizeof(SQLUSMALLINT);
      return SQL_SUCCESS;
    case InfoAnswer::Kind::Int32:
      if (value) *static_cast<SQLUINTEGER*>(value) = static_cast<SQLUINTEGER>(answer.number);
      if (length) *length = sizeof(SQLUINTEGER);
      return SQL_SUCCESS;
    default:
      return Fail(dbc, "HY096", "Information type out of range");
  }
}

// Every function this driver implements.
const int kImplemented[] = {
    SQL_API_SQLALLOCCONNECT,   SQL_API_SQLALLOCENV,         SQL_API_SQLALLOCSTMT,
    SQL_API_SQLBINDCOL,        SQL_API_SQLCANCEL,           SQL_API_SQLCOLATTRIBUTE,
    SQL_API_SQLCONNECT,        SQL_API_SQLDESCRIBECOL,      SQL_API_SQLDISCONNECT,
    SQL_API_SQLERROR,          SQL_API_SQLEXECDIRECT,       SQL_API_SQLEXECUTE,
    SQL_API_SQLFETCH,          SQL_API_SQLFREECONNECT,      SQL_API_SQLFREEENV,
    SQL_API_SQLFREESTMT,       SQL_API_SQLNUMRESULTCOLS,    SQL_API_SQLPREPARE,
    SQL_API_SQLROWCOUNT,       SQL_API_SQLTRANSACT,         SQL_API_SQLCOLUMNS,
    SQL_API_SQLDRIVERCONNECT,  SQL_API_SQLGETCONNECTOPTION, SQL_API_SQLGETDATA,
    SQL_API_SQLGETFUNCTIONS,   SQL_API_SQLGETINFO,          SQL_API_SQLGETSTMTOPTION,
    SQL_API_SQLGETTYPEINFO,    SQL_API_SQLSETCONNECTOPTION, SQL_API_SQLSETSTMTOPTION,
    SQL_API_SQLSTATISTICS,     SQL_API_SQLTABLES,           SQL_API_SQLEXTENDEDFETCH,
    SQL_API_SQLFOREIGNKEYS,    SQL_API_SQLMORERESULTS,      SQL_API_SQLPRIMARYKEYS,
    SQL_API_SQLPROCEDURES,     SQL_API_SQLALLOCHANDLE,      SQL_API_SQLCLOSECURSOR,
    SQL_API_SQLENDTRAN,        SQL_API_SQLFETCHSCROLL,      SQL_API_SQLFREEHANDLE,
    SQL_API_SQLGETCONNECTATTR, SQL_API_SQLGETDIAGFIELD,     SQL_API_SQLGETDIAGREC,
    SQL_API_SQLGETENVATTR,     SQL_API_SQLGETSTMTATTR,      SQL_API_SQLSETCONNECTATTR,
    SQL_API_SQLSETENVATTR,     SQL_API_SQLSETSTMTATTR,
};

bool Supported(const Dbc* dbc, int id) {
  bool implemented = false;
  for (const int known : kImplemented) implemented = implemented || known == id;
  return implemented && !(dbc->script && dbc->script->unsupportedFunctions.count(id));
}

// Column shapes of the catalog results: name and a type letter
// (v = VARCHAR(128), s = SMALLINT, i = INTEGER, c = CHAR(1)).
std::vector<Column> StandardColumns(const std::string& function) {
  static const std::map<std::string, const char*> kShapes = {
      {"SQLTables", "TABLE_CAT:v TABLE_SCHEM:v TABLE_NAME:v TABLE_TYPE:v REMARKS:v"},
      {"SQLColumns",
       "TABLE_CAT:v TABLE_SCHEM:v TABLE_NAME:v COLUMN_NAME:v DATA_TYPE:s TYPE_NAME:v COLUMN_SIZE:i BUFFER_LENGTH:i "
       "DECIMAL_DIGITS:s NUM_PREC_RADIX:s NULLABLE:s REMARKS:v COLUMN_DEF:v SQL_DATA_TYPE:s SQL_DATETIME_SUB:s "
       "CHAR_OCTET_LENGTH:i ORDINAL_POSITION:i IS_NULLABLE:v"},
      {"SQLStatistics",
       "TABLE_CAT:v TABLE_SCHEM:v TABLE_NAME:v NON_UNIQUE:s INDEX_QUALIFIER:v INDEX_NAME:v TYPE:s "
       "ORDINAL_POSITION:s COLUMN_NAME:v ASC_OR_DESC:c CARDINALITY:i PAGES:i FILTER_CONDITION:v"},
      {"SQLPrimaryKeys", "TABLE_CAT:v TABLE_SCHEM:v TABLE_NAME:v COLUMN_NAME:v KEY_SEQ:s PK_NAME:v"},
      {"SQLForeignKeys",
       "PKTABLE_CAT:v PKTABLE_SCHEM:v PKTABLE_NAME:v PKCOLUMN_NAME:v FKTABLE_CAT:v FKTABLE_SCHEM:v FKTABLE_NAME:v "
       "FKCOLUMN_NAME:v KEY_SEQ:s UPDATE_RULE:s DELETE_RULE:s FK_NAME:v PK_NAME:v DEFERRABILITY:s"},
      {"SQLProcedures",
       "PROCEDURE_CAT:v PROCEDURE_SCHEM:v PROCEDURE_NAME:v NUM_INPUT_PARAMS:i NUM_OUTPUT_PARAMS:i "
       "NUM_RESULT_SETS:i REMARKS:v PROCEDURE_TYPE:s"},
      {"SQLGetTypeInfo",
       "TYPE_NAME:v DATA_TYPE:s COLUMN_SIZE:i LITERAL_PREFIX:v LITERAL_SUFFIX:v CREATE_PARAMS:v NULLABLE:s "
       "CASE_SENSITIVE:s SEARCHABLE:s UNSIGNED_ATTRIBUTE:s FIXED_PREC_SCALE:s AUTO_UNIQUE_VALUE:s "
       "LOCAL_TYPE_NAME:v MINIMUM_SCALE:s MAXIMUM_SCALE:s SQL_DATA_TYPE:s SQL_DATETIME_SUB:s NUM_PREC_RADIX:i "
       "INTERVAL_PRECISION:s"},
  };
  std::vector<Column> columns;
  std::istringstream shape(kShapes.at(function));
  std::string item;
  while (shape >> item) {
    const char kind = item.back();
    Column column{item.substr(0, item.size() - 2)};
    if (kind == 's') column = Column{column.name, SQL_SMALLINT, 5};
    if (kind == 'i') column = Column{column.name, SQL_INTEGER, 10};
    if (kind == 'c') column = Column{column.name, SQL_CHAR, 1};
    if (kind == 'v') column.size = 128;
    columns.push_back(column);
  }
  return columns;
}

std::string LogArgument(const SQLCHAR* text, SQLSMALLINT length) {
  return text ? " " + ArgText(text, length) : std::string(" <null>");
}

// Answers a catalog call from "catalog:<function> <object>", else
// "catalog:<function>", else an empty result of the standard shape.
SQLRETURN Catalog(Stmt* stmt, const std::string& function, const std::string& object, const std::string& logArgs) {
  BusyScope busy(stmt);
  BeginCall(stmt, function + logArgs);
  CloseCursor(stmt);
  const auto& entries = ScriptOf(stmt).entries;
  auto found = entries.find("catalog:" + function + " " + object);
  if (found == entries.end()) found = entries.find("catalog:" + function);
  auto entry = std::make_unique<Entry>(found == entries.end() ? Entry{} : found->second);
  if (entry->results.empty()) entry->results.emplace_back();
  for (auto& result : entry->results)
    if (result.columns.empty()) result.columns = StandardColumns(function);
  stmt->ownedEntry = std::move(entry);
  if (stmt->ownedEntry->blockInExecute) {
    const bool canceled = stmt->WaitForCancel();
    return canceled ? Fail(stmt, "HY008", "Operation canceled") : Fail(stmt, "HYT00", "Timeout expired");
  }
  if (!stmt->ownedEntry->errors.empty()) return FailWith(stmt, stmt->ownedEntry->errors);
  return StartCursor(stmt, stmt->ownedEntry.get());
}

}  // namespace

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetInfo(SQLHDBC dbc, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT room,
                                             SQLSMALLINT* length) {
  return GetInfo(static_cast<Dbc*>(dbc), type, value, room, length);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT id, SQLUSMALLINT* supported) {
  auto* dbc = static_cast<Dbc*>(handle);
  BeginCall(dbc, "SQLGetFunctions " + std::to_string(id));
  if (!supported) return SQL_SUCCESS;
  if (id == SQL_API_ODBC3_ALL_FUNCTIONS) {
    std::fill_n(supported, SQL_API_ODBC3_ALL_FUNCTIONS_SIZE, 0);
    for (int f = 0; f < SQL_API_ODBC3_ALL_FUNCTIONS_SIZE * 16; ++f)
      if (Supported(dbc, f)) supported[f >> 4] |= static_cast<SQLUSMALLINT>(1 << (f & 0xF));
  } else if (id == SQL_API_ALL_FUNCTIONS) {
    for (int f = 0; f < 100; ++f) supported[f] = Supported(dbc, f) ? SQL_TRUE : SQL_FALSE;
  } else {
    *supported = Supported(dbc, id) ? SQL_TRUE : SQL_FALSE;
  }
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLTables(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength, SQLCHAR* schema,
                                            SQLSMALLINT schemaLength, SQLCHAR* table, SQLSMALLINT tableLength,
                                            SQLCHAR* type, SQLSMALLINT typeLength) {
  return Catalog(static_cast<Stmt*>(stmt), "SQLTables", ArgText(table, tableLength),
                 LogArgument(catalog, catalogLength) + LogArgument(schema, schemaLength) +
                     LogArgument(table, tableLength) + LogArgument(type, typeLength));
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLColumns(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                             SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                                             SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT columnLength) {
  return Catalog(static_cast<Stmt*>(stmt), "SQLColumns", ArgText(table, tableLength),
                 LogArgument(catalog, catalogLength) + LogArgument(schema, schemaLength) +
                     LogArgument(table, tableLength) + LogArgument(column, columnLength));
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLStatistics(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                                SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                                                SQLSMALLINT tableLength, SQLUSMALLINT unique, SQLUSMALLINT) {
  return Catalog(static_cast<Stmt*>(stmt), "SQLStatistics", ArgText(table, tableLength),
                 LogArgument(catalog, catalogLength) + LogArgument(schema, schemaLength) +
                     LogArgument(table, tableLength) + " " + std::to_string(unique));
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLPrimaryKeys(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                                 SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                                                 SQLSMALLINT tableLength) {
  return Catalog(
      static_cast<Stmt*>(stmt), "SQLPrimaryKeys", ArgText(table, tableLength),
      LogArgument(catalog, catalogLength) + LogArgument(schema, schemaLength) + LogArgument(table, tableLength));
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLForeignKeys(SQLHSTMT stmt, SQLCHAR* pkCatalog, SQLSMALLINT pkCatalogLength,
                                                 SQLCHAR* pkSchema, SQLSMALLINT pkSchemaLength, SQLCHAR* pkTable,
                                                 SQLSMALLINT pkTableLength, SQLCHAR* fkCatalog,
                                                 SQLSMALLINT fkCatalogLength, SQLCHAR* fkSchema,
                                                 SQLSMALLINT fkSchemaLength, SQLCHAR* fkTable,
                                                 SQLSMALLINT fkTableLength) {
  const std::string pk = ArgText(pkTable, pkTableLength);
  return Catalog(static_cast<Stmt*>(stmt), "SQLForeignKeys", pk.empty() ? ArgText(fkTable, fkTableLength) : pk,
                 LogArgument(pkCatalog, pkCatalogLength) + LogArgument(pkSchema, pkSchemaLength) +
                     LogArgument(pkTable, pkTableLength) + LogArgument(fkCatalog, fkCatalogLength) +
                     LogArgument(fkSchema, fkSchemaLength) + LogArgument(fkTable, fkTableLength));
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLProcedures(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                                SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* procedure,
                                                SQLSMALLINT procedureLength) {
  return Catalog(static_cast<Stmt*>(stmt), "SQLProcedures", ArgText(procedure, procedureLength),
                 LogArgument(catalog, catalogLength) + LogArgument(schema, schemaLength) +
                     LogArgument(procedure, procedureLength));
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT stmt, SQLSMALLINT type) {
  return Catalog(static_cast<Stmt*>(stmt), "SQLGetTypeInfo", std::to_string(type), " " + std::to_string(type));
}
