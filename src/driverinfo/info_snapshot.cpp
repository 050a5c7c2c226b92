#include "driverinfo/info_snapshot.h"

#include "db/catalog_sets.h"
#include "db/db_connection.h"
#include "db/field_exchange.h"
#include "db/odbc_constants.h"
#include "driverinfo/info_tables.h"
#include "driverinfo/section_values.h"

namespace dossel::driverinfo {
namespace {

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
  const auto readNumber = [&](uint16_t info, auto value) {
    if (connection.GetInfoNumber(info, value)) m_numbers[info] = value;
  };
  // The answers the pages' fields name, each by its width. An empty text
  // answer and a refusal look alike here; both show as empty text.
  for (const PageSpec& page : Pages()) {
    for (const FieldSpec& field : page.fields) {
      switch (AnswerOf(field)) {
        case Answer::kText:
          m_texts[field.info] = connection.GetInfoText(field.info);
          break;
        case Answer::kNumber16:
          readNumber(field.info, uint16_t{0});
          break;
        case Answer::kNumber32:
          readNumber(field.info, uint32_t{0});
          break;
        case Answer::kNone:
          break;
      }
    }
  }
  // The Functions and Data Types pages' bitmasks.
  for (const ScalarGroup& group : ScalarGroups()) readNumber(group.infoType, uint32_t{0});
  for (const SqlTypeName& type : SqlTypes()) readNumber(type.convertInfo, uint32_t{0});
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
