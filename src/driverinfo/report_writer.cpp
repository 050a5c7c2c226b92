#include "driverinfo/report_writer.h"

#include "platform/format.h"

namespace dossel::driverinfo {

namespace report {

TString Padded(const TString& text, size_t width) {
  TString padded = text;
  if (padded.size() < width) padded.append(width - padded.size(), DT(' '));
  return padded;
}

void WriteBitList(TString& out, const TChar* prefix, std::span<const BitName> names, uint32_t mask, const TChar* none,
                  const TChar* end) {
  out += prefix;
  bool any = false;
  for (const BitName& name : names) {
    if (!(mask & name.bit)) continue;
    if (any) out += DT(",");
    out += name.name;
    any = true;
  }
  if (!any) out += none;
  out += end;
}

void WriteSupportLine(TString& out, const TChar* name, bool supported) {
  // Names end in one column: the longest, SQLProcedureColumns, gets 2 blanks.
  constexpr size_t kNameColumn = 21;
  const size_t length = TStringView(name).size();
  if (length < kNameColumn) out.append(kNameColumn - length, DT(' '));
  out += Format(supported ? DT("%s - Supported\n") : DT("%s - Not Supported\n"), name);
}

}  // namespace report

using report::WriteBitList;

TString BuildReport(const CInfoSnapshot& snapshot) {
  TString out = DT("Cursor Library is Not Loaded\n\n");
  WriteDriverInfoSection(snapshot, out);
  WriteFunctionsSection(snapshot, out);
  WriteSupportedSqlSection(snapshot, out);
  WriteDataTypesSection(snapshot, out);
  WriteIdentifiersSection(snapshot, out);
  WriteLimitsSection(snapshot, out);
  WriteMisc1Section(snapshot, out);
  WriteMisc2Section(snapshot, out);
  return out;
}

void WriteDriverInfoSection(const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  const DriverInfoValues v = MakeDriverInfo(snapshot);
  out += DT("Driver Info\n-----------\n");
  out += Format(DT("     Data Source Name - %s\n"), v.dataSourceName);
  out += Format(DT("        Database Name - %s\n"), v.databaseName);
  out += Format(DT("            User Name - %s\n"), v.userName);
  out += Format(DT("          Server Name - %s\n"), v.serverName);
  out += Format(DT("                 DBMS - %s version %s\n"), v.dbmsName, v.dbmsVersion);
  out += Format(DT("               Driver - %s version %s\n"), v.driverName, v.driverVersion);
  out += Format(DT("     Driver ODBC Ver. - %s\n"), v.driverOdbcVersion);
  out += Format(DT("         ODBC Version - %s\n"), v.odbcVersion);
  out += Format(DT("      API Conformance - %s\n"), v.apiConformance);
  out += Format(DT("      SQL Conformance - %s\n"), v.sqlConformance);
  out += Format(DT("  SAG CLI Conformance - %s\n"), v.sagCliConformance);
  out += Format(DT("     Optional SQL IEF - %s\n"), v.optionalIef);
  out += Format(DT("   Active Connections - %s\n"), v.activeConnections);
  out += Format(DT("    Active Statements - %s\n"), v.activeStatements);
  out += Format(DT(" Multiple Result Sets - %s\n"), v.multipleResultSets);
  out += Format(DT("           File Usage - %s\n"), v.fileUsage);
  out += Format(DT("    Read/Write Status - %s\n"), v.readWriteStatus);
  out += Format(DT("Accessible Procedures - %s\n"), v.accessibleProcedures);
  out += Format(DT("    Accessible Tables - %s\n\n"), v.accessibleTables);
}

void WriteFunctionsSection(const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  out += DT("ODBC API Functions\n------------------\n");
  for (const ApiFunction& function : ApiFunctions())
    report::WriteSupportLine(out, function.name, snapshot.IsFunctionSupported(function.code));
  out += DT("\n");
  for (const ScalarGroup& group : ScalarGroups()) {
    out += group.heading;
    const uint32_t mask = snapshot.Number(group.infoType);
    for (const BitName& function : group.functions)
      report::WriteSupportLine(out, function.name, (mask & function.bit) != 0);
    out += DT("\n");
  }
}

void WriteSupportedSqlSection(const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  const SupportedSqlValues v = MakeSupportedSql(snapshot);
  out += DT("Supported SQL\n-------------\n");
  WriteBitList(out, DT("  ALTER TABLE Support -"), bits::AlterTable(), v.alterTable, DT(" <none>"), DT("\n"));
  out += Format(DT("       Column Aliases - %s\n"), v.columnAliases);
  out += Format(DT("    Correlation Names - %s\n"), v.correlationNames);
  out += Format(DT(" ORDER BY Expressions - %s\n"), v.orderByExpressions);
  out += Format(DT("GROUP BY NonAggregate - %s\n"), v.groupBy);
  out += Format(DT("LIKE Escape Character - %s\n"), v.likeEscape);
  out += Format(DT("   ORDER BY in SELECT - %s\n"), v.orderByInSelect);
  out += Format(DT("   Outer Join Support - %s\n"), v.outerJoins);
  WriteBitList(out, DT("Positioned Statements -"), bits::PositionedStatements(), v.positionedStatements, DT(" <none>"),
               DT("\n"));
  WriteBitList(out, DT("     Subquery Support -"), bits::Subqueries(), v.subqueries, DT("<none>"), DT("\n"));
  WriteBitList(out, DT("        UNION Support -"), bits::Unions(), v.unions, DT("<none>"), DT("\n\n"));
}

void WriteIdentifiersSection(const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  const IdentifierValues v = MakeIdentifiers(snapshot);
  out += DT("Identifiers\n-----------\n\n");
  out += DT("Driver-Specific Keywords:\n-------------------------\n");
  constexpr size_t kLineLimit = 76;
  TString line;
  for (const TString& keyword : v.keywords) {
    if (line.size() + keyword.size() >= kLineLimit) {
      out += line + DT("\n");
      line = keyword;
    } else {
      if (!line.empty()) line += DT(",");
      line += keyword;
    }
  }
  out += line + DT("\n\n");
  out += Format(DT("          Identifier Case - %s\n"), v.identifierCase);
  out += Format(DT("   Quoted Identifier Case - %s\n"), v.quotedIdentifierCase);
  out += Format(DT("    Search Pattern Escape - %s\n"), v.searchPatternEscape);
  out += Format(DT("    Identifier Quote Char - %s\n"), v.identifierQuoteChar);
  out += Format(DT("       Qualifier Location - %s\n"), v.qualifierLocation);
  out += Format(DT("      Qualifier Separator - %s\n"), v.qualifierSeparator);
  out += Format(DT("               Owner Term - %s\n"), v.ownerTerm);
  out += Format(DT("           Procedure Term - %s\n"), v.procedureTerm);
  out += Format(DT("           Qualifier Term - %s\n"), v.qualifierTerm);
  out += Format(DT("                TableTerm - %s\n\n"), v.tableTerm);
  out += DT("Special Characters:\n-------------------\n");
  if (v.specialCharacters.empty()) {
    out += DT("<none>\n\n");
  } else {
    constexpr size_t kCharsPerLine = 75;
    TStringView rest = v.specialCharacters;
    for (; rest.size() > kCharsPerLine; rest.remove_prefix(kCharsPerLine)) {
      out += TString(rest.substr(0, kCharsPerLine)) + DT("\n");
    }
    out += TString(rest) + DT("\n");
  }
  out += DT("\n");
}

void WriteLimitsSection(const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  const LimitValues v = MakeLimits(snapshot);
  out += DT("Limits\n------\n\n");
  for (size_t i = 0; i < kLimitCount; ++i) out += Format(LimitLines()[i].format, v.limits[i]);
  const auto intervals = [&](const TChar* title, bool supported, uint32_t mask) {
    if (!supported) {
      out += Format(DT("%s <n/a>\n\n"), title);
      return;
    }
    WriteBitList(out, Format(DT("%s\n"), title).c_str(), IntervalNames(), mask, DT(""), DT("\n\n"));
  };
  intervals(DT("Timestamp Add Intervals:"), v.addSupported, v.addIntervals);
  intervals(DT("Timestamp Diff Intervals:"), v.diffSupported, v.diffIntervals);
  out += DT("\n");
}

void WriteMisc1Section(const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  const Misc1Values v = MakeMisc1(snapshot);
  out += DT("Miscellaneous\n-------------\n\n");
  out += Format(DT(" Transaction Capabilities - %s\n"), v.txnCapable);
  out += Format(DT("   Cursor Commit Behavior - %s\n"), v.commitBehavior);
  out += Format(DT(" Cursor Rollback Behavior - %s\n"), v.rollbackBehavior);
  WriteBitList(out, DT("  Trans. Isolation Levels - "), bits::IsolationLevels(), v.isolationLevels, DT("<none>"),
               DT("\n"));
  out += Format(DT(" Default Trans. Isolation - %s\n"), v.defaultIsolation);
  out += Format(DT("   Multiple Active Trans. - %s\n"), v.multipleActiveTxn);
  WriteBitList(out, DT("     Bookmark Persistance - "), bits::BookmarkPersistence(), v.bookmarkPersistence,
               DT("<none>"), DT("\n"));
  WriteBitList(out, DT("               Lock Types - "), bits::LockTypes(), v.lockTypes, DT("<none>"), DT("\n"));
  WriteBitList(out, DT("       Static Sensitivity - "), bits::StaticSensitivity(), v.staticSensitivity, DT("<none>"),
               DT("\n\n"));
}

void WriteMisc2Section(const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  const Misc2Values v = MakeMisc2(snapshot);
  out += Format(DT("    Need Long Data Length - %s\n"), v.needLongDataLen);
  out += Format(DT("     Non-Nullable Columns - %s\n"), v.nonNullableColumns);
  out += Format(DT("       Null Concatenation - %s\n"), v.nullConcatenation);
  out += Format(DT("           Null Collation - %s\n"), v.nullCollation);
  out += Format(DT("               Procedures - %s\n"), v.procedures);
  out += Format(DT("              Row Updates - %s\n"), v.rowUpdates);
  const struct {
    const TChar* prefix;
    std::span<const BitName> names;
    uint32_t mask;
  } lists[] = {
      {DT("          Fetch Direction - "), bits::FetchDirection(), v.fetchDirection},
      {DT("      Get Data Extensions - "), bits::GetDataExtensions(), v.getDataExtensions},
      {DT("    Positioned Operations - "), bits::PositionedOperations(), v.positionedOperations},
      {DT("       Scroll Concurrency - "), bits::ScrollConcurrency(), v.scrollConcurrency},
      {DT("           Scroll Options - "), bits::ScrollOptions(), v.scrollOptions},
      {DT("              Owner Usage - "), bits::Usage(), v.ownerUsage},
      {DT("          Qualifier Usage - "), bits::Usage(), v.qualifierUsage},
  };
  for (const auto& list : lists) WriteBitList(out, list.prefix, list.names, list.mask, DT("<none>"), DT("\n"));
  out += DT("\n");
}

}  // namespace dossel::driverinfo
