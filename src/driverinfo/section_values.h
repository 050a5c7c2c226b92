#pragma once
// The values the pages of the driver-information sheet show and the report
// writes, made from a CInfoSnapshot by each field's description
// (page_tables.h): texts by the field's rule, bitmasks as read, lists one
// line an item. Plain values; any thread.

#include <cstdint>
#include <vector>

#include "driverinfo/info_snapshot.h"
#include "driverinfo/page_tables.h"

namespace dossel::driverinfo {

// What one field shows. A closed connection's snapshot gives every field
// empty.
struct FieldValue {
  TString text;                // value fields and edits
  uint32_t mask = 0;           // check boxes and intervals: the answer's bits
  std::vector<TString> items;  // lists
};
FieldValue MakeValue(const FieldSpec& field, const CInfoSnapshot& snapshot);

// The SQLGetInfo answer a field needs, by its width.
enum class Answer : uint8_t { kNone, kText, kNumber16, kNumber32 };
Answer AnswerOf(const FieldSpec& field);

// Whether the driver said it has no transactions (SQL_TC_NONE).
bool LacksTransactions(const CInfoSnapshot& snapshot);
// Whether the intervals of `field` (a kIntervals field) apply: the
// timestamp function of its gate bit is there.
bool IntervalsApply(const FieldSpec& field, const CInfoSnapshot& snapshot);

// Type-record texts shared by the report and the Data Types page.
TString SearchableText(int32_t searchable);
// The conversion target names set in the SQL_CONVERT_ mask of `sqlType`
// (empty for a type outside the nineteen).
std::vector<TString> ConversionNames(const CInfoSnapshot& snapshot, int32_t sqlType);

}  // namespace dossel::driverinfo
