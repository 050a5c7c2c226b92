#include "db/field_exchange.h"

#include "db/db_result_set.h"

namespace dossel::db {
namespace {

// What a column needs in characters before the member's maximum is applied.
int64_t ColumnNeed(int16_t sqlType, uint32_t precision) {
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
      return precision;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return int64_t{precision} + 2;
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
      return int64_t{precision} + 1;
    default:
      return int64_t{precision} + 10;
  }
}

void BindNumber(CDbFieldExchange* exchange, int32_t& value) {
  CDbResultSet* rs = exchange->m_prs;
  const int field = exchange->m_nFields;
  if (exchange->m_nOperation == CDbFieldExchange::BindFieldToColumn) {
    SQLBindCol(rs->GetStatement(), static_cast<SQLUSMALLINT>(field), SQL_C_LONG, &value, sizeof value,
               rs->FieldLength(field));
  }
}

void FixUpNumber(CDbFieldExchange* exchange, int32_t& value, int32_t nullMarker) {
  CDbResultSet* rs = exchange->m_prs;
  const int field = exchange->m_nFields;
  const bool isNull = *rs->FieldLength(field) == SQL_NULL_DATA;
  rs->MarkFieldNull(field, isNull);
  if (isNull) value = nullMarker;
}

void ExchangeNumber(CDbFieldExchange* exchange, int32_t& value, int32_t nullMarker) {
  ++exchange->m_nFields;
  if (exchange->m_nFields > exchange->m_prs->FieldCount()) return;
  if (exchange->m_nOperation == CDbFieldExchange::BindFieldToColumn)
    BindNumber(exchange, value);
  else
    FixUpNumber(exchange, value, nullMarker);
}

}  // namespace

int TextBufferLength(int16_t sqlType, uint32_t precision, int maxLength) {
  const int64_t need = ColumnNeed(sqlType, precision);
  return (need >= 256 && need <= maxLength) ? static_cast<int>(need) : maxLength;
}

void DFX_Text(CDbFieldExchange* exchange, const TChar* /*name*/, TString& value, int maxLength) {
  CDbResultSet* rs = exchange->m_prs;
  const int field = ++exchange->m_nFields;
  if (field > rs->FieldCount()) return;
  std::vector<TChar>& buffer = rs->TextBuffer(field);
  if (exchange->m_nOperation == CDbFieldExchange::BindFieldToColumn) {
    const CDbColumnInfo* column = rs->DescribedColumn(field);
    const int length = column ? TextBufferLength(column->m_nSQLType, column->m_nPrecision, maxLength) : maxLength;
    buffer.assign(static_cast<size_t>(length) + 1, 0);
    SQLBindCol(rs->GetStatement(), static_cast<SQLUSMALLINT>(field), kSqlCText, buffer.data(),
               static_cast<SQLLEN>(buffer.size() * sizeof(TChar)), rs->FieldLength(field));
    return;
  }
  SQLLEN* length = rs->FieldLength(field);
  const bool isNull = *length == SQL_NULL_DATA;
  rs->MarkFieldNull(field, isNull);
  if (isNull || buffer.empty()) {
    value.clear();
    return;
  }
  // The driver may report the full length of a value it cut; the text is
  // what the buffer holds, up to its terminator.
  size_t used = 0;
  while (used + 1 < buffer.size() && buffer[used] != 0) ++used;
  value.assign(buffer.data(), used);
  *length = static_cast<SQLLEN>(used);
}

void DFX_Int(CDbFieldExchange* exchange, const TChar* /*name*/, int32_t& value) {
  ExchangeNumber(exchange, value, kNullInt);
}

void DFX_Long(CDbFieldExchange* exchange, const TChar* /*name*/, int32_t& value) {
  ExchangeNumber(exchange, value, kNullLong);
}

}  // namespace dossel::db
