#pragma once
// The fixed tables behind the driver-information report and pages: the ODBC
// API function names by code, the scalar-function groups, the names of
// bitmask bits, the SQL type names and their conversion info types, the
// answer codes and their words, and the ODBC reserved keywords. Constant
// data; any thread.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/text.h"

namespace dossel::driverinfo {

// A named bit of an SQLGetInfo bitmask.
struct BitName {
  const TChar* name;
  uint32_t bit;
};

// An answer code and its words; a code missing from a table has no words.
struct CodeName {
  int32_t code;
  const TChar* name;
};

// An ODBC API function: its SQL_API_ code and name.
struct ApiFunction {
  int code;
  const TChar* name;
};

// The ODBC API functions in report order (core 1-23, extensions 40-72).
std::span<const ApiFunction> ApiFunctions();

// A scalar function group: its report heading, the category word of the
// page's list, its SQLGetInfo bitmask and its functions with their bits.
struct ScalarGroup {
  const TChar* heading;
  const TChar* category;
  uint16_t infoType;
  std::span<const BitName> functions;
};
std::span<const ScalarGroup> ScalarGroups();

// The nineteen SQL types of the report: name, type code, the SQL_CONVERT_
// info type of conversions from it and its SQL_CVT_ bit as a target.
struct SqlTypeName {
  const TChar* name;
  int16_t sqlType;
  uint16_t convertInfo;
  uint32_t convertBit;
};
std::span<const SqlTypeName> SqlTypes();
// The entry of `sqlType`, or null for other codes.
const SqlTypeName* FindSqlType(int32_t sqlType);

// The timestamp interval names and bits (SQL_TIMEDATE_ADD/DIFF_INTERVALS).
std::span<const BitName> IntervalNames();

// The words of `code` in `table`, or empty text.
TString CodeText(std::span<const CodeName> table, int32_t code);

// The value rules.
TString YesNoText(const TString& answer);      // "Y" Yes, "N" No, else unchanged
TString SupportedText(const TString& answer);  // "Y" Supported, "N" Not Supported
TString NumberOrNone(uint32_t value);          // 0 "<none>", else the number

// The ODBC 2.x reserved keywords, alphabetical and comma-separated.
const TChar* OdbcReservedKeywords();
// A comma-separated keyword list split into its keywords, the last one
// included; an empty list gives none.
std::vector<TString> SplitKeywords(TStringView list);

}  // namespace dossel::driverinfo
