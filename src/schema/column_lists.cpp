#include "schema/column_lists.h"

#include "platform/format.h"

namespace dossel::schema {
namespace {

// The SQL type codes whose type text carries the column's size: wide
// varchar, wide char, varbinary, binary, char and varchar.
bool IsSizedType(int32_t dataType) {
  switch (dataType) {
    case -9:
    case -8:
    case -3:
    case -2:
    case 1:
    case 12:
      return true;
    default:
      return false;
  }
}

// A code the scripts and captions know: from SQL_WLONGVARCHAR (-10) to
// SQL_VARCHAR (12), SQL_UNKNOWN_TYPE (0) excepted. Later codes (dates and
// times of ODBC 3, GUIDs) count as unknown.
bool IsKnownType(int32_t dataType) { return dataType != 0 && dataType >= -10 && dataType <= 12; }

TString JoinColumns(const ColumnList& columns, const CNameQuoter& quoter, TStringView suffix) {
  TString list;
  for (const ColumnInfo& column : columns) {
    if (!list.empty()) list += TChar(',');
    list += quoter.Quote(column.name);
    list += suffix;
  }
  return list;
}

}  // namespace

TString PlainColumnList(const ColumnList& columns, const CNameQuoter& quoter) {
  return JoinColumns(columns, quoter, TStringView());
}

TString AssignmentColumnList(const ColumnList& columns, const CNameQuoter& quoter) {
  return JoinColumns(columns, quoter, DT("="));
}

TString DefinitionTypeText(const ColumnInfo& column) {
  if (!IsKnownType(column.dataType)) return TString();
  const TString typeName = CutColumnName(column.typeName);
  if (IsSizedType(column.dataType)) return Format(DT("%s (%d)"), typeName, column.precision);
  return typeName;
}

TString DefinitionColumnList(const ColumnList& columns, const CNameQuoter& quoter) {
  TString list;
  for (const ColumnInfo& column : columns) {
    list += list.empty() ? DT("\t") : DT(", \r\n\t");
    list += quoter.Quote(column.name);
    list += TChar(' ');
    list += DefinitionTypeText(column);
    list += column.nullable == 1 ? DT(" NULL") : DT(" NOT NULL");
  }
  return list;
}

TString ColumnCaption(const ColumnInfo& column) {
  const TString typeName = CutColumnName(column.typeName);
  TString typeText;
  if (!IsKnownType(column.dataType))
    typeText = DT("unknown");
  else if (IsSizedType(column.dataType))
    typeText = Format(DT("%s(%d)"), typeName, column.precision);
  else
    typeText = typeName;
  return Format(DT("%s [%s,%s]"), CutColumnName(column.name), typeText,
                column.nullable == 1 ? DT("Null") : DT("Not Null"));
}

}  // namespace dossel::schema
