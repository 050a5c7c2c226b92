#include "schema/script_texts.h"

#include "platform/format.h"
#include "schema/sql_names.h"

namespace dossel::schema {
namespace {

bool IsTable(ObjectKind kind) { return kind == ObjectKind::UserTables || kind == ObjectKind::SystemTables; }
bool IsTableOrView(ObjectKind kind) { return IsTable(kind) || kind == ObjectKind::Views; }

// The names of one target, quoted as the texts use them.
class Names {
 public:
  Names(const ScriptTarget& target, TChar quoteChar) : m_target(target), m_quoter(quoteChar) {}
  TString Object() const { return m_quoter.QuoteQualified(m_target.owner, m_target.object); }
  TString Subobject() const { return m_quoter.Quote(m_target.subobject); }
  TString Column() const { return m_quoter.Quote(TargetColumnName(m_target)); }
  const CNameQuoter& Quoter() const { return m_quoter; }

 private:
  const ScriptTarget& m_target;
  CNameQuoter m_quoter;
};

std::optional<TString> CreateText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  if (!IsTableOrView(kind)) return std::nullopt;
  return Format(DT("CREATE TABLE %s ( \r\n%s\r\n); "), names.Object(), DefinitionColumnList(columns, names.Quoter()));
}

std::optional<TString> AlterText(ObjectKind kind, const Names& names) {
  if (IsTable(kind)) return Format(DT("ALTER TABLE %s "), names.Object());
  if (kind == ObjectKind::Views) return Format(DT("ALTER VIEW %s "), names.Object());
  if (kind == ObjectKind::StoredProcedures) return Format(DT("ALTER PROCEDURE %s "), names.Object());
  if (kind == ObjectKind::Triggers) return Format(DT("ALTER TRIGGER %s "), names.Subobject());
  return std::nullopt;
}

std::optional<TString> DropText(ObjectKind kind, const Names& names) {
  if (IsTable(kind)) return Format(DT("DROP TABLE %s;"), names.Object());
  if (kind == ObjectKind::Views) return Format(DT("DROP VIEW %s;"), names.Object());
  if (kind == ObjectKind::StoredProcedures) return Format(DT("DROP PROCEDURE %s;"), names.Object());
  if (kind == ObjectKind::Indexes) return Format(DT("DROP INDEX %s;"), names.Subobject());
  if (kind == ObjectKind::Triggers) return Format(DT("DROP TRIGGER %s;"), names.Subobject());
  return std::nullopt;
}

std::optional<TString> SelectText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  if (IsTableOrView(kind))
    return Format(DT("SELECT %s \r\nFROM %s;"), PlainColumnList(columns, names.Quoter()), names.Object());
  if (kind == ObjectKind::StoredProcedures) return Format(DT("EXEC %s;"), names.Object());
  if (kind == ObjectKind::Columns) return Format(DT("SELECT %s \r\nFROM %s;"), names.Column(), names.Object());
  return std::nullopt;
}

std::optional<TString> InsertText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  if (!IsTableOrView(kind)) return std::nullopt;
  return Format(DT("INSERT INTO %s (%s) \r\nVALUES ( );"), names.Object(), PlainColumnList(columns, names.Quoter()));
}

std::optional<TString> UpdateText(ObjectKind kind, const Names& names, const ColumnList& columns) {
  if (IsTableOrView(kind))
    return Format(DT("UPDATE %s \r\nSET %s ;"), names.Object(), AssignmentColumnList(columns, names.Quoter()));
  if (kind == ObjectKind::Columns)
    return Format(DT("UPDATE %s \r\nSET %s \r\nWHERE %s= ;"), names.Object(),
                  AssignmentColumnList(columns, names.Quoter()), names.Column());
  return std::nullopt;
}

std::optional<TString> DeleteText(ObjectKind kind, const Names& names) {
  if (IsTableOrView(kind)) return Format(DT("DELETE FROM %s;"), names.Object());
  if (kind == ObjectKind::Columns) return Format(DT("DELETE FROM %s WHERE %s= ;"), names.Object(), names.Column());
  return std::nullopt;
}

std::optional<TString> ExecuteText(ObjectKind kind, const Names& names) {
  if (kind == ObjectKind::StoredProcedures) return Format(DT("EXEC %s ;"), names.Object());
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

bool CanOpen(const ScriptTarget& target) {
  if (target.object.empty()) return false;
  // Below an object the kind is its detail folder's.
  if (target.kind == ObjectKind::Columns) return !target.subobject.empty();
  return IsTableOrView(target.kind) || target.kind == ObjectKind::StoredProcedures;
}

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
  const Names names(target, quoteChar);
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
  script.unquotedName = names.Quoter().Unquoted();
  if (script.unquotedName && script.options.execute) {
    script.options.execute = false;
    script.options.switchPane = true;
    script.heldBack = true;
  }
  return script;
}

}  // namespace dossel::schema
