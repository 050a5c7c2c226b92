#pragma once
// A result set on free SQL text, read column by column as text after each
// fetch. NULL reads as empty text, binary values as "0x" and hex digits.
// Values of any length are read whole, in pieces; a driver that cannot tell
// a value's length (SQL_NO_TOTAL) gets at most 65,536 bytes read.
//
// Opened, fetched and read on the connection thread; Cancel may come from
// the cancel thread (or the statement watch's) at any time.

#include <string>
#include <vector>

#include "db/db_result_set.h"

namespace dossel::db {

class CQueryResultSet : public CDbResultSet {
 public:
  explicit CQueryResultSet(CDbConnection* connection) : CDbResultSet(connection) {}

  bool Open(int openType, const TString& sql, uint32_t options) override;
  // Forward-only, read-only, executed directly.
  bool OpenSql(const TString& sql) { return Open(kForwardOnly, sql, kNoDirtyFieldCheck | kExecuteDirect | kReadOnly); }
  // The 0-based column `index` of the current row; leaves `text` alone when
  // there are no columns. False when the driver could not give the value (a
  // conversion error, a connection lost in the row): FetchFailed() is then
  // true, LastErrorText() holds the driver's message and FailedColumn() the
  // column.
  bool GetFieldText(int index, TString& text);
  // Columns 0 to count - 1 of the current row, as GetFieldText reads them;
  // one lock for the row instead of one per value. Stops at the first value
  // that cannot be read, answering false.
  bool GetRowTexts(TString* texts, int count);
  // The 1-based column whose value could not be read last; 0 when none.
  int FailedColumn() const { return m_nFailedColumn; }

 private:
  bool ReadField(int index, TString& text);
  bool ReadText(SQLUSMALLINT column, size_t firstRoom, TString& text);
  bool ReadBinary(SQLUSMALLINT column, TString& text);
  // Keeps what the driver said of a value it could not give; false.
  bool ReadFailed(SQLUSMALLINT column, SQLRETURN rc);

  std::vector<char> m_piece;  // reused for every SQLGetData
  int m_nFailedColumn = 0;
};

// SQL types of unbounded length (long text and binary): their first piece
// is 256 characters, which holds a typical short value, and the rest follows
// in further pieces.
bool IsLongType(int16_t sqlType);
bool IsBinaryType(int16_t sqlType);

}  // namespace dossel::db
