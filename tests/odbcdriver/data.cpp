// Data delivery: describing columns, fetching rows (SQLFetch,
// SQLExtendedFetch, SQLFetchScroll), bound columns and SQLGetData in pieces,
// with the conversions of the scripted text values to C types.

#include <cstdlib>
#include <cstring>

#include "handles.h"

using namespace dossel::scripted;

namespace {

Stmt* AsStmt(SQLHSTMT handle) { return static_cast<Stmt*>(handle); }

bool IsBinaryType(int sqlType) {
  return sqlType == SQL_BINARY || sqlType == SQL_VARBINARY || sqlType == SQL_LONGVARBINARY;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    char32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) code = (code << 6) | (text[i + k] & 0x3F);
    i += extra + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::string HexToBytes(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// The bytes a character or binary C type receives for `value`.
std::string BytesFor(const Column& column, const std::string& value, SQLSMALLINT cType) {
  if (cType == SQL_C_WCHAR) {
    const std::u16string wide = Utf8ToUtf16(value);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(char16_t));
  }
  if (cType == SQL_C_BINARY && IsBinaryType(column.type)) return HexToBytes(value);
  return value;
}

// Integer and floating C types: the whole value at once.
SQLRETURN DeliverNumber(Stmt* stmt, const std::string& value, SQLSMALLINT cType, SQLPOINTER out, SQLLEN* indicator) {
  char* end = nullptr;
  const double number = std::strtod(value.c_str(), &end);
  if (value.empty() || *end != '\0') return Fail(stmt, "22018", "Invalid character value for cast");
  SQLLEN size = 0;
  switch (cType) {
    case SQL_C_LONG:
    case SQL_C_SLONG:
    case SQL_C_ULONG:
      size = sizeof(SQLINTEGER);
      if (out) *static_cast<SQLINTEGER*>(out) = static_cast<SQLINTEGER>(number);
      break;
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
    case SQL_C_USHORT:
      size = sizeof(SQLSMALLINT);
      if (out) *static_cast<SQLSMALLINT*>(out) = static_cast<SQLSMALLINT>(number);
      break;
    case SQL_C_SBIGINT:
    case SQL_C_UBIGINT:
      size = sizeof(SQLBIGINT);
      if (out) *static_cast<SQLBIGINT*>(out) = static_cast<SQLBIGINT>(number);
      break;
    case SQL_C_DOUBLE:
      size = sizeof(double);
      if (out) *static_cast<double*>(out) = number;
      break;
    default:
      return Fail(stmt, "HY003", "Invalid application buffer type " + std::to_string(cType));
  }
  if (indicator) *indicator = size;
  return SQL_SUCCESS;
}

// Delivers `value` of `column` into a caller's buffer, continuing at
// `offset` for character and binary types (pieces of a long value). Sets
// `done` once the last piece went out.
SQLRETURN Deliver(Stmt* stmt, const Column& column, const Value& value, SQLSMALLINT cType, SQLPOINTER out, SQLLEN room,
                  SQLLEN* indicator, size_t& offset, bool noTotal) {
  if (!value) {
    if (!indicator) return Fail(stmt, "22002", "Indicator variable required but not supplied");
    *indicator = SQL_NULL_DATA;
    return SQL_SUCCESS;
  }
  if (cType == SQL_C_DEFAULT) cType = SQL_C_CHAR;
  if (cType != SQL_C_CHAR && cType != SQL_C_WCHAR && cType != SQL_C_BINARY)
    return DeliverNumber(stmt, *value, cType, out, indicator);
  const std::string bytes = BytesFor(column, *value, cType);
  const SQLLEN terminator = cType == SQL_C_CHAR ? 1 : cType == SQL_C_WCHAR ? 2 : 0;
  const size_t remaining = bytes.size() - std::min(offset, bytes.size());
  SQLLEN usable = std::max<SQLLEN>(room - terminator, 0);
  if (cType == SQL_C_WCHAR) usable &= ~SQLLEN(1);
  const size_t copied = std::min(remaining, static_cast<size_t>(usable));
  if (out && room >= terminator) {
    std::memcpy(out, bytes.data() + offset, copied);
    std::memset(static_cast<char*>(out) + copied, 0, static_cast<size_t>(terminator));
  }
  if (indicator) *indicator = copied < remaining && noTotal ? SQL_NO_TOTAL : static_cast<SQLLEN>(remaining);
  offset += copied;
  if (copied < remaining) {
    stmt->diagnostics.Add("01004", "String data, right truncated");
    return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}

Value CellOf(const ResultSet& result, long row, size_t column) {
  const auto& values = result.rows[static_cast<size_t>(row)];
  return column < values.size() ? values[column] : Value();
}

SQLRETURN FillBindings(Stmt* stmt, const ResultSet& result) {
  SQLRETURN rc = SQL_SUCCESS;
  for (auto& [number, binding] : stmt->bindings) {
    if (number < 1 || static_cast<size_t>(number) > result.columns.size()) continue;
    size_t offset = 0;
    const SQLRETURN one = Deliver(stmt, result.columns[number - 1], CellOf(result, stmt->cursor.row, number - 1),
                                  binding.type, binding.target, binding.room, binding.indicator, offset, false);
    if (one == SQL_ERROR) return one;
    if (one == SQL_SUCCESS_WITH_INFO) rc = one;
  }
  return rc;
}

SQLRETURN Land(Stmt* stmt, const ResultSet& result, long row) {
  Cursor& cursor = stmt->cursor;
  cursor.getDataColumn = 0;
  const long count = static_cast<long>(result.rows.size());
  if (row < 0 || row >= count) {
    cursor.row = row < 0 ? -1 : count;
    return SQL_NO_DATA;
  }
  cursor.row = row;
  return FillBindings(stmt, result);
}

SQLRETURN FetchNext(Stmt* stmt, const ResultSet& result) {
  const long next = stmt->cursor.row + 1;
  if (result.blockFetchAt && static_cast<long>(*result.blockFetchAt) == next) {
    if (stmt->WaitForCancel()) return Fail(stmt, "HY008", "Operation canceled");
    return Fail(stmt, "HYT00", "Timeout expired");
  }
  if (next == static_cast<long>(result.rows.size()) && !result.fetchErrors.empty()) {
    stmt->cursor.row = next;
    return FailWith(stmt, result.fetchErrors);
  }
  return Land(stmt, result, next);
}

SQLRETURN GetData(Stmt* stmt, SQLUSMALLINT number, SQLSMALLINT cType, SQLPOINTER out, SQLLEN room, SQLLEN* indicator) {
  const ResultSet* result = CurrentResult(stmt);
  Cursor& cursor = stmt->cursor;
  if (!result || cursor.row < 0 || cursor.row >= static_cast<long>(result->rows.size()))
    return Fail(stmt, "24000", "Invalid cursor state");
  if (number < 1 || number > result->columns.size()) return Fail(stmt, "07009", "Invalid descriptor index");
  if (StillExecuting(stmt, "SQLGetData")) return SQL_STILL_EXECUTING;
  if (const auto failing = result->getDataErrors.find({cursor.row, number}); failing != result->getDataErrors.end())
    return FailWith(stmt, failing->second);
  if (cursor.getDataColumn != number) {
    cursor.getDataColumn = number;
    cursor.getDataOffset = 0;
    cursor.getDataDone = false;
  }
  if (cursor.getDataDone) return SQL_NO_DATA;
  const SQLRETURN rc = Deliver(stmt, result->columns[number - 1], CellOf(*result, cursor.row, number - 1), cType, out,
                               room, indicator, cursor.getDataOffset, result->noTotalColumns.count(number) > 0);
  if (rc == SQL_SUCCESS) cursor.getDataDone = true;
  return rc;
}

}  // namespace

namespace dossel::scripted {

SQLRETURN FetchRow(Stmt* stmt, SQLSMALLINT orientation, SQLLEN offset, const char* function) {
  const ResultSet* result = CurrentResult(stmt);
  if (!result || result->columns.empty()) return Fail(stmt, "24000", "Invalid cursor state");
  if (StillExecuting(stmt, function)) return SQL_STILL_EXECUTING;
  const long row = stmt->cursor.row;
  const long count = static_cast<long>(result->rows.size());
  switch (orientation) {
    case SQL_FETCH_NEXT:
      return FetchNext(stmt, *result);
    case SQL_FETCH_FIRST:
      return Land(stmt, *result, 0);
    case SQL_FETCH_LAST:
      return Land(stmt, *result, count - 1);
    case SQL_FETCH_PRIOR:
      return Land(stmt, *result, row - 1);
    case SQL_FETCH_ABSOLUTE:
      return Land(stmt, *result, offset > 0 ? offset - 1 : count + offset);
    case SQL_FETCH_RELATIVE:
      return Land(stmt, *result, row + offset);
    default:
      return Fail(stmt, "HY106", "Fetch type out of range");
  }
}

}  // namespace dossel::scripted

SCRIPTED_EXPORT SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLNumResultCols");
  if (StillExecuting(stmt, "SQLNumResultCols")) return SQL_STILL_EXECUTING;
  const ResultSet* result = CurrentResult(stmt);
  if (count) *count = result ? static_cast<SQLSMALLINT>(result->columns.size()) : 0;
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT number, SQLCHAR* name, SQLSMALLINT room,
                                                 SQLSMALLINT* nameLength, SQLSMALLINT* type, SQLULEN* size,
                                                 SQLSMALLINT* digits, SQLSMALLINT* nullable) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLDescribeCol " + std::to_string(number));
  const ResultSet* result = CurrentResult(stmt);
  if (!result || number < 1 || number > result->columns.size()) return Fail(stmt, "07009", "Invalid descriptor index");
  if (StillExecuting(stmt, "SQLDescribeCol")) return SQL_STILL_EXECUTING;
  const Column& column = result->columns[number - 1];
  if (type) *type = static_cast<SQLSMALLINT>(column.type);
  if (size) *size = static_cast<SQLULEN>(column.size);
  if (digits) *digits = static_cast<SQLSMALLINT>(column.digits);
  if (nullable) *nullable = static_cast<SQLSMALLINT>(column.nullable);
  return CopyText(stmt, column.name, name, room, nameLength);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT number, SQLUSMALLINT field,
                                                  SQLPOINTER text, SQLSMALLINT room, SQLSMALLINT* length,
                                                  SQLLEN* numeric) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLColAttribute " + std::to_string(number) + " " + std::to_string(field));
  const ResultSet* result = CurrentResult(stmt);
  if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
    if (numeric) *numeric = result ? static_cast<SQLLEN>(result->columns.size()) : 0;
    return SQL_SUCCESS;
  }
  if (!result || number < 1 || number > result->columns.size()) return Fail(stmt, "07009", "Invalid descriptor index");
  const Column& column = result->columns[number - 1];
  switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_COLUMN_NAME:
      return CopyText(stmt, column.name, text, room, length);
    case SQL_DESC_TYPE:
    case SQL_DESC_CONCISE_TYPE:
      if (numeric) *numeric = column.type;
      return SQL_SUCCESS;
    case SQL_DESC_LENGTH:
    case SQL_DESC_OCTET_LENGTH:
    case SQL_DESC_DISPLAY_SIZE:
    case SQL_COLUMN_LENGTH:
    case SQL_COLUMN_PRECISION:
    case SQL_DESC_PRECISION:
      if (numeric) *numeric = column.size;
      return SQL_SUCCESS;
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE:
      if (numeric) *numeric = column.digits;
      return SQL_SUCCESS;
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE:
      if (numeric) *numeric = column.nullable;
      return SQL_SUCCESS;
    default:
      return Fail(stmt, "HY091", "Invalid descriptor field identifier");
  }
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT cType, SQLPOINTER target,
                                             SQLLEN room, SQLLEN* indicator) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLBindCol " + std::to_string(number) + " " + std::to_string(cType));
  if (!target && !indicator) {
    stmt->bindings.erase(number);
  } else {
    stmt->bindings[number] = Binding{cType, target, room, indicator};
  }
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
  Stmt* stmt = AsStmt(handle);
  BusyScope busy(stmt);
  BeginCall(stmt, "SQLFetch");
  return FetchRow(stmt, SQL_FETCH_NEXT, 0, "SQLFetch");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLExtendedFetch(SQLHSTMT handle, SQLUSMALLINT orientation, SQLLEN offset,
                                                   SQLULEN* rowsFetched, SQLUSMALLINT* rowStatus) {
  Stmt* stmt = AsStmt(handle);
  BusyScope busy(stmt);
  BeginCall(stmt, "SQLExtendedFetch " + std::to_string(orientation) + " " + std::to_string(offset));
  const SQLRETURN rc = FetchRow(stmt, static_cast<SQLSMALLINT>(orientation), offset, "SQLFetch");
  if (rowsFetched) *rowsFetched = SQL_SUCCEEDED(rc) ? 1 : 0;
  if (rowStatus && SQL_SUCCEEDED(rc)) rowStatus[0] = SQL_ROW_SUCCESS;
  return rc;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN offset) {
  Stmt* stmt = AsStmt(handle);
  BusyScope busy(stmt);
  BeginCall(stmt, "SQLFetchScroll " + std::to_string(orientation) + " " + std::to_string(offset));
  const SQLRETURN rc = FetchRow(stmt, orientation, offset, "SQLFetch");
  if (auto found = stmt->attributes.find(SQL_ATTR_ROWS_FETCHED_PTR); found != stmt->attributes.end() && found->second)
    *reinterpret_cast<SQLULEN*>(found->second) = SQL_SUCCEEDED(rc) ? 1 : 0;
  if (auto found = stmt->attributes.find(SQL_ATTR_ROW_STATUS_PTR); found != stmt->attributes.end() && found->second)
    *reinterpret_cast<SQLUSMALLINT*>(found->second) = SQL_SUCCEEDED(rc) ? SQL_ROW_SUCCESS : SQL_ROW_NOROW;
  return rc;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT cType, SQLPOINTER out,
                                             SQLLEN room, SQLLEN* indicator) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLGetData " + std::to_string(number) + " " + std::to_string(cType));
  return GetData(stmt, number, cType, out, room, indicator);
}
