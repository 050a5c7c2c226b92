#include "db/query_result_set.h"

#include <algorithm>
#include <cstring>

namespace dossel::db {
namespace {

constexpr SQLSMALLINT kSqlWideLongVarchar = -10;
constexpr SQLSMALLINT kSqlLongVarcharAlias = -97;
// What is read of a value whose length the driver cannot tell.
constexpr size_t kNoTotalLimitBytes = 65536;
// The largest first piece; anything longer is read in further pieces.
constexpr size_t kLargestFirstPiece = 65537;
// The first piece of a long value. Long values are read in pieces anyway;
// a first piece that holds a typical short text saves a second driver call
// for most of them (a one-character first piece would always need two).
constexpr size_t kLongFirstPiece = 256;
// Piece size when the driver cannot tell how much is left.
constexpr size_t kUnknownPieceBytes = 8192;

size_t FirstPieceChars(int16_t sqlType, uint32_t precision) {
  if (IsLongType(sqlType)) return kLongFirstPiece;
  const size_t extra = (sqlType == SQL_NUMERIC || sqlType == SQL_DECIMAL) ? 3 : 1;
  return std::min<size_t>(size_t{precision} + extra, kLargestFirstPiece);
}

void AppendHex(TString& text, const unsigned char* bytes, size_t count) {
  static const char kDigits[] = "0123456789ABCDEF";
  const size_t start = text.size();
  text.resize(start + 2 * count);
  for (size_t i = 0; i < count; ++i) {
    text[start + 2 * i] = static_cast<TChar>(kDigits[bytes[i] >> 4]);
    text[start + 2 * i + 1] = static_cast<TChar>(kDigits[bytes[i] & 0xF]);
  }
}

}  // namespace

bool IsLongType(int16_t sqlType) {
  return sqlType == SQL_LONGVARCHAR || sqlType == SQL_LONGVARBINARY || sqlType == kSqlWideLongVarchar ||
         sqlType == kSqlLongVarcharAlias;
}

bool IsBinaryType(int16_t sqlType) {
  return sqlType == SQL_BINARY || sqlType == SQL_VARBINARY || sqlType == SQL_LONGVARBINARY;
}

bool CQueryResultSet::Open(int openType, const TString& sql, uint32_t options) {
  m_nFailedColumn = 0;
  // A statement without result columns (an INSERT) is not fetched.
  return OpenAndFetch(openType, sql, options, true);
}

bool CQueryResultSet::GetFieldText(int index, TString& text) {
  if (m_nResultCols <= 0 || index < 0 || index >= m_nResultCols) return true;
  const auto call = LockForCall();
  return ReadField(index, text);
}

bool CQueryResultSet::GetRowTexts(TString* texts, int count) {
  if (m_nResultCols <= 0) return true;
  const auto call = LockForCall();
  for (int index = 0; index < count && index < m_nResultCols; ++index)
    if (!ReadField(index, texts[index])) return false;
  return true;
}

bool CQueryResultSet::ReadFailed(SQLUSMALLINT column, SQLRETURN rc) {
  m_nFailedColumn = column;
  m_bFetchFailed = true;
  KeepErrorText(rc);
  return false;
}

bool CQueryResultSet::ReadField(int index, TString& text) {
  const CDbColumnInfo& column = m_rgODBCFieldInfos[index];
  const auto number = static_cast<SQLUSMALLINT>(index + 1);
  // Binary values are read as bytes and written as hex digits here: drivers
  // disagree on how they turn bytes into text.
  if (IsBinaryType(column.m_nSQLType)) return ReadBinary(number, text);
  return ReadText(number, FirstPieceChars(column.m_nSQLType, column.m_nPrecision), text);
}

// Reads a text value in pieces: the first of `firstRoom` characters (with
// its terminator), then whatever the length indicator says is left.
// SQL_NO_DATA after the last piece is the value's normal end; an error is a
// value that cannot be read.
bool CQueryResultSet::ReadText(SQLUSMALLINT column, size_t firstRoom, TString& text) {
  constexpr size_t kCharBytes = sizeof(TChar);
  const SQLHSTMT hstmt = m_hstmt.Get();
  text.clear();
  size_t roomBytes = firstRoom * kCharBytes;
  size_t limitBytes = SIZE_MAX;
  for (;;) {
    if (m_piece.size() < roomBytes) m_piece.resize(roomBytes);
    SQLLEN indicator = 0;
    const SQLRETURN rc = Repeat([&] {
      return SQLGetData(hstmt, column, kSqlCText, m_piece.data(), static_cast<SQLLEN>(roomBytes), &indicator);
    });
    if (rc == SQL_NO_DATA) return true;
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return ReadFailed(column, rc);
    if (indicator == SQL_NULL_DATA) return true;
    const size_t usableBytes = roomBytes - kCharBytes;
    size_t gotBytes;
    if (indicator == SQL_NO_TOTAL) {
      if (limitBytes == SIZE_MAX) limitBytes = kNoTotalLimitBytes;
      gotBytes = usableBytes;
    } else {
      gotBytes = std::min<size_t>(static_cast<size_t>(indicator), usableBytes);
    }
    gotBytes -= gotBytes % kCharBytes;
    const auto* chars = reinterpret_cast<const TChar*>(m_piece.data());
    // Never trust a length past the terminator the driver wrote.
    const size_t gotChars = std::find(chars, chars + gotBytes / kCharBytes, TChar{0}) - chars;
    text.append(chars, gotChars);
    const size_t haveBytes = text.size() * kCharBytes;
    if (rc == SQL_SUCCESS || gotChars * kCharBytes < gotBytes) return true;
    if (haveBytes >= limitBytes) {
      text.resize(limitBytes / kCharBytes);
      return true;
    }
    const size_t leftBytes = indicator == SQL_NO_TOTAL ? std::min(kUnknownPieceBytes, limitBytes - haveBytes)
                                                       : static_cast<size_t>(indicator) - gotBytes;
    if (leftBytes == 0) return true;
    roomBytes = leftBytes + kCharBytes;
  }
}

bool CQueryResultSet::ReadBinary(SQLUSMALLINT column, TString& text) {
  const SQLHSTMT hstmt = m_hstmt.Get();
  text.clear();
  size_t roomBytes = kUnknownPieceBytes;
  size_t haveBytes = 0;
  bool limited = false;
  for (;;) {
    if (m_piece.size() < roomBytes) m_piece.resize(roomBytes);
    SQLLEN indicator = 0;
    const SQLRETURN rc = Repeat([&] {
      return SQLGetData(hstmt, column, SQL_C_BINARY, m_piece.data(), static_cast<SQLLEN>(roomBytes), &indicator);
    });
    if (rc == SQL_NO_DATA) return true;
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return ReadFailed(column, rc);
    if (indicator == SQL_NULL_DATA) return true;
    if (indicator == SQL_NO_TOTAL) limited = true;
    const size_t gotBytes =
        indicator == SQL_NO_TOTAL ? roomBytes : std::min<size_t>(static_cast<size_t>(indicator), roomBytes);
    if (haveBytes == 0 && gotBytes > 0) text = DT("0x");
    // Two hex digits per byte: the same cap in text as for a text value.
    const size_t limitBytes = kNoTotalLimitBytes / 2;
    const size_t keep = limited ? std::min(gotBytes, limitBytes - haveBytes) : gotBytes;
    AppendHex(text, reinterpret_cast<const unsigned char*>(m_piece.data()), keep);
    haveBytes += keep;
    if (rc == SQL_SUCCESS || (limited && haveBytes >= limitBytes)) return true;
    if (indicator != SQL_NO_TOTAL) roomBytes = std::max<size_t>(static_cast<size_t>(indicator) - gotBytes, 1);
  }
}

}  // namespace dossel::db
