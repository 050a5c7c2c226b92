#include "driverinfo/info_snapshot.h"

#include <sql.h>
#include <sqlext.h>

#include "db/catalog_sets.h"
#include "db/db_connection.h"
#include "db/field_exchange.h"
#include "driverinfo/info_tables.h"

namespace dossel::driverinfo {
namespace {

// The text answers the report and the pages show.
constexpr uint16_t kTextInfos[] = {
    SQL_DATA_SOURCE_NAME,
    SQL_DATABASE_NAME,
    SQL_USER_NAME,
    SQL_SERVER_NAME,
    SQL_DBMS_NAME,
    SQL_DBMS_VER,
    SQL_DRIVER_NAME,
    SQL_DRIVER_VER,
    SQL_DRIVER_ODBC_VER,
    SQL_ODBC_VER,
    SQL_ODBC_SQL_OPT_IEF,
    SQL_MULT_RESULT_SETS,
    SQL_DATA_SOURCE_READ_ONLY,
    SQL_ACCESSIBLE_PROCEDURES,
    SQL_ACCESSIBLE_TABLES,
    SQL_COLUMN_ALIAS,
    SQL_EXPRESSIONS_IN_ORDERBY,
    SQL_LIKE_ESCAPE_CLAUSE,
    SQL_ORDER_BY_COLUMNS_IN_SELECT,
    SQL_OUTER_JOINS,
    SQL_KEYWORDS,
    SQL_SEARCH_PATTERN_ESCAPE,
    SQL_IDENTIFIER_QUOTE_CHAR,
    SQL_QUALIFIER_NAME_SEPARATOR,
    SQL_OWNER_TERM,
    SQL_PROCEDURE_TERM,
    SQL_QUALIFIER_TERM,
    SQL_TABLE_TERM,
    SQL_SPECIAL_CHARACTERS,
    SQL_MAX_ROW_SIZE_INCLUDES_LONG,
    SQL_MULTIPLE_ACTIVE_TXN,
    SQL_NEED_LONG_DATA_LEN,
    SQL_PROCEDURES,
    SQL_ROW_UPDATES,
};

// The 16-bit answers.
constexpr uint16_t kShortInfos[] = {
    SQL_ODBC_API_CONFORMANCE,
    SQL_ODBC_SQL_CONFORMANCE,
    SQL_ODBC_SAG_CLI_CONFORMANCE,
    SQL_ACTIVE_CONNECTIONS,
    SQL_ACTIVE_STATEMENTS,
    SQL_FILE_USAGE,
    SQL_CORRELATION_NAME,
    SQL_GROUP_BY,
    SQL_IDENTIFIER_CASE,
    SQL_QUOTED_IDENTIFIER_CASE,
    SQL_QUALIFIER_LOCATION,
    SQL_MAX_COLUMN_NAME_LEN,
    SQL_MAX_COLUMNS_IN_GROUP_BY,
    SQL_MAX_COLUMNS_IN_INDEX,
    SQL_MAX_COLUMNS_IN_ORDER_BY,
    SQL_MAX_COLUMNS_IN_SELECT,
    SQL_MAX_COLUMNS_IN_TABLE,
    SQL_MAX_CURSOR_NAME_LEN,
    SQL_MAX_OWNER_NAME_LEN,
    SQL_MAX_PROCEDURE_NAME_LEN,
    SQL_MAX_QUALIFIER_NAME_LEN,
    SQL_MAX_TABLE_NAME_LEN,
    SQL_MAX_TABLES_IN_SELECT,
    SQL_MAX_USER_NAME_LEN,
    SQL_TXN_CAPABLE,
    SQL_CURSOR_COMMIT_BEHAVIOR,
    SQL_CURSOR_ROLLBACK_BEHAVIOR,
    SQL_NON_NULLABLE_COLUMNS,
    SQL_CONCAT_NULL_BEHAVIOR,
    SQL_NULL_COLLATION,
};

// The 32-bit answers besides the scalar-function and conversion bitmasks.
constexpr uint16_t kLongInfos[] = {
    SQL_ALTER_TABLE,
    SQL_POSITIONED_STATEMENTS,
    SQL_SUBQUERIES,
    SQL_UNION,
    SQL_MAX_BINARY_LITERAL_LEN,
    SQL_MAX_CHAR_LITERAL_LEN,
    SQL_MAX_INDEX_SIZE,
    SQL_MAX_ROW_SIZE,
    SQL_MAX_STATEMENT_LEN,
    SQL_TIMEDATE_ADD_INTERVALS,
    SQL_TIMEDATE_DIFF_INTERVALS,
    SQL_TXN_ISOLATION_OPTION,
    SQL_DEFAULT_TXN_ISOLATION,
    SQL_BOOKMARK_PERSISTENCE,
    SQL_LOCK_TYPES,
    SQL_STATIC_SENSITIVITY,
    SQL_FETCH_DIRECTION,
    SQL_GETDATA_EXTENSIONS,
    SQL_POS_OPERATIONS,
    SQL_SCROLL_CONCURRENCY,
    SQL_SCROLL_OPTIONS,
    SQL_OWNER_USAGE,
    SQL_QUALIFIER_USAGE,
};

// A NULL int column reads as kNullInt, a NULL long column as kNullLong.
int32_t OrMinusOne(int32_t value, int32_t nullValue) { return value == nullValue ? -1 : value; }

TypeRecord MakeRecord(const db::CTypeInfoSet& set) {
  TypeRecord record;
  record.typeName = set.m_strTypeName;
  record.sqlType = static_cast<int16_t>(set.m_nDataType);
  record.precision = OrMinusOne(set.m_lPrecision, db::kNullLong);
  record.literalPrefix = set.m_strLiteralPrefix;
  record.literalSuffix = set.m_strLiteralSuffix;
  record.createParams = set.m_strCreateParams;
  record.nullable = set.m_nNullable;
  record.caseSensitive = set.m_nCaseSensitive;
  record.searchable = set.m_nSearchable;
  record.unsignedAttribute = OrMinusOne(set.m_nUnsignedAttribute, db::kNullInt);
  record.money = set.m_nMoney;
  record.autoIncrement = OrMinusOne(set.m_nAutoIncrement, db::kNullInt);
  record.minimumScale = OrMinusOne(set.m_nMinimumScale, db::kNullInt);
  record.maximumScale = OrMinusOne(set.m_nMaximumScale, db::kNullInt);
  return record;
}

}  // namespace

void CInfoSnapshot::Read(db::CDbConnection& connection) {
  *this = CInfoSnapshot();
  if (!connection.IsOpen()) return;
  m_bConnected = true;
  // An empty answer and a refusal look alike here; both show as empty text.
  for (const uint16_t info : kTextInfos) m_texts[info] = connection.GetInfoText(info);
  for (const uint16_t info : kShortInfos) {
    uint16_t value = 0;
    if (connection.GetInfoNumber(info, value)) m_numbers[info] = value;
  }
  const auto readLong = [&](uint16_t info) {
    uint32_t value = 0;
    if (connection.GetInfoNumber(info, value)) m_numbers[info] = value;
  };
  for (const uint16_t info : kLongInfos) readLong(info);
  for (const ScalarGroup& group : ScalarGroups()) readLong(group.infoType);
  for (const SqlTypeName& type : SqlTypes()) readLong(type.convertInfo);
  ReadFunctionsAndTypes(connection);
}

void CInfoSnapshot::ReadFunctionsAndTypes(db::CDbConnection& connection) {
  m_functions.fill(SQL_FALSE);
  m_types.clear();
  m_bTypesAvailable = false;
  if (!connection.IsOpen()) return;
  ReadFunctions(connection);
  ReadTypes(connection);
}

void CInfoSnapshot::ReadFunctions(const db::CDbConnection& connection) {
  uint16_t supported[kApiFunctionSlots] = {};
  connection.GetAllFunctions(supported);
  std::copy(std::begin(supported), std::end(supported), m_functions.begin());
}

void CInfoSnapshot::ReadTypes(db::CDbConnection& connection) {
  db::CTypeInfoSet set(&connection);
  if (!set.Open(SQL_ALL_TYPES, db::kForwardOnly)) return;
  m_bTypesAvailable = true;
  for (; !set.IsAfterLast(); set.MoveNext()) m_types.push_back(MakeRecord(set));
  set.Close();
}

TString CInfoSnapshot::Text(uint16_t infoType) const {
  const auto found = m_texts.find(infoType);
  return found == m_texts.end() ? TString() : found->second;
}

uint32_t CInfoSnapshot::Number(uint16_t infoType) const {
  const auto found = m_numbers.find(infoType);
  return found == m_numbers.end() ? 0 : found->second;
}

bool CInfoSnapshot::IsFunctionSupported(int code) const {
  return code >= 0 && static_cast<size_t>(code) < m_functions.size() && m_functions[code] != SQL_FALSE;
}

}  // namespace dossel::driverinfo
