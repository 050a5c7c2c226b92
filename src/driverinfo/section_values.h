#pragma once
// The values each page of the driver-information sheet holds, made from a
// CInfoSnapshot by the code-to-text and value rules: texts as shown, bitmasks
// as read (one flag per bit). The report writes its sections from these, the
// pages show them. Plain values; any thread.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "driverinfo/info_snapshot.h"
#include "driverinfo/info_tables.h"

namespace dossel::driverinfo {

struct DriverInfoValues {
  TString dataSourceName, databaseName, userName, serverName;
  TString dbmsName, dbmsVersion, driverName, driverVersion, driverOdbcVersion, odbcVersion;
  TString apiConformance, sqlConformance, sagCliConformance, optionalIef;
  TString activeConnections, activeStatements, multipleResultSets, fileUsage, readWriteStatus;
  TString accessibleProcedures, accessibleTables;
};
DriverInfoValues MakeDriverInfo(const CInfoSnapshot& snapshot);

struct SupportedSqlValues {
  uint32_t alterTable = 0;
  TString columnAliases, correlationNames, orderByExpressions, groupBy, likeEscape, orderByInSelect, outerJoins;
  uint32_t positionedStatements = 0, subqueries = 0, unions = 0;
};
SupportedSqlValues MakeSupportedSql(const CInfoSnapshot& snapshot);

struct IdentifierValues {
  std::vector<TString> keywords;
  TString identifierCase, quotedIdentifierCase, searchPatternEscape, identifierQuoteChar;
  TString qualifierLocation, qualifierSeparator, ownerTerm, procedureTerm, qualifierTerm, tableTerm;
  TString specialCharacters;
};
IdentifierValues MakeIdentifiers(const CInfoSnapshot& snapshot);

// One limit: its report line format, its info type and whether it is 32-bit.
struct LimitLine {
  const TChar* format;
  uint16_t infoType;
  bool is32;
};
std::span<const LimitLine> LimitLines();
inline constexpr size_t kLimitCount = 19;

struct LimitValues {
  std::array<TString, kLimitCount> limits;
  bool addSupported = false, diffSupported = false;
  uint32_t addIntervals = 0, diffIntervals = 0;
};
LimitValues MakeLimits(const CInfoSnapshot& snapshot);

struct Misc1Values {
  TString txnCapable, commitBehavior, rollbackBehavior, defaultIsolation, multipleActiveTxn;
  uint32_t isolationLevels = 0, bookmarkPersistence = 0, lockTypes = 0, staticSensitivity = 0;
};
Misc1Values MakeMisc1(const CInfoSnapshot& snapshot);

struct Misc2Values {
  TString needLongDataLen, nonNullableColumns, nullConcatenation, nullCollation, procedures, rowUpdates;
  uint32_t fetchDirection = 0, getDataExtensions = 0, positionedOperations = 0, scrollConcurrency = 0;
  uint32_t scrollOptions = 0, ownerUsage = 0, qualifierUsage = 0;
};
Misc2Values MakeMisc2(const CInfoSnapshot& snapshot);

// The report's bit lists (names in report order), shared with the pages.
namespace bits {
std::span<const BitName> AlterTable();
std::span<const BitName> PositionedStatements();
std::span<const BitName> Subqueries();
std::span<const BitName> Unions();
std::span<const BitName> IsolationLevels();
std::span<const BitName> BookmarkPersistence();
std::span<const BitName> LockTypes();
std::span<const BitName> StaticSensitivity();
std::span<const BitName> FetchDirection();
std::span<const BitName> GetDataExtensions();
std::span<const BitName> PositionedOperations();
std::span<const BitName> ScrollConcurrency();
std::span<const BitName> ScrollOptions();
std::span<const BitName> Usage();
}  // namespace bits

// Type-record texts shared by the report and the Data Types page.
TString SearchableText(int32_t searchable);
// The conversion target names set in the SQL_CONVERT_ mask of `sqlType`
// (empty for a type outside the nineteen).
std::vector<TString> ConversionNames(const CInfoSnapshot& snapshot, int32_t sqlType);

}  // namespace dossel::driverinfo
