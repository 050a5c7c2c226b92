#include "schema/script_texts.h"

#include "platform/format.h"
#include "schema/sql_names.h"

namespace dossel::schema {
namespace {

bool IsTable(ObjectKind kind) { return kind == ObjectKind::UserTables || kind == ObjectKind::SystemTables; }
bool IsTableOrView(ObjectKind kind) { return IsTable(kind) || kind == ObjectKind::Views; }

// The names of one target, quoted once for all the texts.
struct Names {
  TString object;
  TString subobject;
  TString column;
  TChar quoteChar;
};

std::optional<TString> CreateText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  if (!IsTableOrView(kind)) return std::nullopt;
  return Format(DT("CREATE TABLE %s ( \r\n%s\r\n); "), names.object, DefinitionColumnList(columns, names.quoteChar));
}

std::optional<TString> AlterText(ObjectKind kind, const Names& names) {
  if (IsTable(kind)) return Format(DT("ALTER TABLE %s "), names.object);
  if (kind == ObjectKind::Views) return Format(DT("ALTER VIEW %s "), names.object);
  if (kind == ObjectKind::StoredProcedures) return Format(DT("ALTER PROCEDURE %s "), names.object);
  if (kind == ObjectKind::Triggers) return Format(DT("ALTER TRIGGER %s "), names.subobject);
  return std::nullopt;
}

std::optional<TString> DropText(ObjectKind kind, const Names& names) {
  if (IsTable(kind)) return Format(DT("DROP TABLE %s;"), names.object);
  if (kind == ObjectKind::Views) return Format(DT("DROP VIEW %s;"), names.object);
  if (kind == ObjectKind::StoredProcedures) return Format(DT("DROP PROCEDURE %s;"), names.object);
  if (kind == ObjectKind::Indexes) return Format(DT("DROP INDEX %s;"), names.subobject);
  if (kind == ObjectKind::Triggers) return Format(DT("DROP TRIGGER %s;"), names.subobject);
  return std::nullopt;
}

std::optional<TString> SelectText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  if (IsTableOrView(kind))
    return Format(DT("SELECT %s \r\nFROM %s;"), PlainColumnList(columns, names.quoteChar), names.object);
  if (kind == ObjectKind::StoredProcedures) return Format(DT("EXEC %s;"), names.object);
  if (kind == ObjectKind::Columns) return Format(DT("SELECT %s \r\nFROM %s;"), names.column, names.object);
  return std::nullopt;
}

std::optional<TString> InsertText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  if (!IsTableOrView(kind)) return std::nullopt;
  return Format(DT("INSERT INTO %s (%s) \r\nVALUES ( );"), names.object, PlainColumnList(columns, names.quoteChar));
}

std::optional<TString> UpdateText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  const TString assignments = AssignmentColumnList(columns, names.quoteChar);
  if (IsTableOrView(kind)) return Format(DT("UPDATE %s \r\nSET %s ;"), names.object, assignments);
  if (kind == ObjectKind::Columns)
    return Format(DT("UPDATE %s \r\nSET %s \r\nWHERE %s= ;"), names.object, assignments, names.column);
  return std::nullopt;
}

std::optional<TString> DeleteText(ObjectKind kind, const Names& names) {
  if (IsTableOrView(kind)) return Format(DT("DELETE FROM %s;"), names.object);
  if (kind == ObjectKind::Columns) return Format(DT("DELETE FROM %s WHERE %s= ;"), names.object, names.column);
  return std::nullopt;
}

std::optional<TString> ExecuteText(ObjectKind kind, const Names& names) {
  if (kind == ObjectKind::StoredProcedures) return Format(DT("EXEC %s ;"), names.object);
  return std::nullopt;
}

std::optional<TString> TextFor(Generator generator, ObjectKind kind, const Names& names, const ColumnList& columns) {
  switch (generator) {
    case Generator::Create:
      return CreateText(kind, names, columns);
    case Generator::Alter:
      return AlterText(kind, names);
    case Generator::Drop:
      return DropText(kind, names);
    case Generator::Select:
      return SelectText(kind, names, columns);
    case Generator::Insert:
      return InsertText(kind, names, columns);
    case Generator::Update:
      return UpdateText(kind, names, columns);
    case Generator::Delete:
      return DeleteText(kind, names);
    case Generator::Execute:
      return ExecuteText(kind, names);
  }
  return std::nullopt;
}

}  // namespace

bool NeedsColumns(Generator generator, ObjectKind kind) {
  switch (generator) {
    case Generator::Create:
    case Generator::Select:
    case Generator::Insert:
      return IsTableOrView(kind);
    case Generator::Update:
      return IsTableOrView(kind) || kind == ObjectKind::Columns;
    default:
      return false;
  }
}

TString TargetColumnName(const ScriptTarget& target) {
  return target.columnName ? *target.columnName : CutColumnName(target.subobject);
}

GeneratedScript GenerateScript(Generator generator, const ScriptTarget& target, const ColumnList& columns,
                               TChar quoteChar, ScriptOptions asked) {
  const Names names{QuoteName(target.object, quoteChar), QuoteName(target.subobject, quoteChar),
                    QuoteName(TargetColumnName(target), quoteChar), quoteChar};
  GeneratedScript script;
  script.options = asked;
  // Running a procedure the user only browsed could change data: its Select
  // is shown in the query pane for the user to run.
  if (generator == Generator::Select && target.kind == ObjectKind::StoredProcedures) {
    script.options.execute = false;
    script.options.switchPane = true;
  }
  if (auto text = TextFor(generator, target.kind, names, columns)) {
    script.hasText = true;
    script.text = std::move(*text);
  }
  return script;
}

}  // namespace dossel::schema
