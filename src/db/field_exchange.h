#pragma once
// Field exchange: how a result set with bound members declares them. Each
// DFX_ call binds the next result column (by position, whatever the name)
// or, after a fetch, fixes up the member from what the driver wrote.

#include <cstdint>

#include "platform/text.h"

namespace dossel::db {

class CDbResultSet;

class CDbFieldExchange {
 public:
  enum Operation { BindFieldToColumn, Fixup };
  enum FieldType { outputColumn = 1 };

  CDbFieldExchange(Operation operation, CDbResultSet* resultSet) : m_nOperation(operation), m_prs(resultSet) {}

  Operation m_nOperation;
  CDbResultSet* m_prs;
  int m_nFieldType = outputColumn;
  int m_nFields = 0;  // running counter: the column number of the current member
};

// Markers written to a number member whose column is NULL.
inline constexpr int32_t kNullInt = 32484;  // 0x7EE4
inline constexpr int32_t kNullLong = 0x4A4D4120;

// The default maximum length of a text member.
inline constexpr int kDefaultTextLength = 255;

void DFX_Text(CDbFieldExchange* exchange, const TChar* name, TString& value, int maxLength = kDefaultTextLength);
void DFX_Int(CDbFieldExchange* exchange, const TChar* name, int32_t& value);
void DFX_Long(CDbFieldExchange* exchange, const TChar* name, int32_t& value);

// The buffer length a text member needs for a described column, by the rule
// the catalog sets rely on; exposed for tests.
int TextBufferLength(int16_t sqlType, uint32_t precision, int maxLength);

}  // namespace dossel::db
