#include "settings/default_catalogs.h"

#include <iterator>

namespace dossel::settings {
namespace {

// Texts end with the spaces shown; "\r\n" and "\t" are part of them.
constexpr DefaultCatalogRow kTemplateRows[] = {
    {"Create", "Database", "CREATE DATABASE "},
    {"Create", "Table", "CREATE TABLE table_name ( \r\n\tcolumn_name data_type NOT NULL )"},
    {"Create", "Index", "CREATE INDEX index_name \r\nON "},
    {"Create", "View", "CREATE VIEW view_name \r\nAS \r\n\tSELECT * FROM table_name \r\n"},
    {"Create", "Trigger",
     "CREATE TRIGGER trigger_name \r\nON table_name \r\nFOR DELETE, INSERT, UPDATE \r\nAS \r\nBEGIN \r\n\r\nEND "},
    {"Create", "Procedure", "CREATE PROCEDURE procedure_name \r\nAS "},
    {"Alter", "Table", "ALTER TABLE "},
    {"Alter", "View", "ALTER VIEW view_name \r\nAS \r\n\tSELECT * FROM table_name \r\n"},
    {"Alter", "Trigger",
     "ALTER TRIGGER trigger_name \r\nON table_name \r\nFOR DELETE, INSERT, UPDATE \r\nAS \r\nBEGIN \r\n\r\nEND "},
    {"Alter", "Procedure", "ALTER PROCEDURE procedure_name \r\nAS "},
    {"Drop", "Table", "DROP TABLE "},
    {"Drop", "Index", "DROP INDEX "},
    {"Drop", "View", "DROP VIEW "},
    {"Drop", "Trigger", "DROP TRIGGER "},
    {"Drop", "Procedure", "DROP PROCEDURE "},
    {"Select", "Table", "SELECT column_name \r\nFROM table_name \r\nWHERE \r\n"},
    {"Select", "Table Advanced",
     "SELECT column_name,column_name \r\nFROM table_name,table_name \r\nWHERE \r\nGROUP BY \r\nHAVING \r\nORDER BY "},
    {"Select", "View", "SELECT  column_name \r\nFROM view_name \r\nWHERE \r\n"},
    {"Insert", "Table", "INSERT INTO table_name (column_name) \r\nVALUES () "},
    {"Update", "Table", "UPDATE table_name \r\nSET column_name=value \r\nWHERE column_name=  "},
    {"Delete", "Table", "DELETE FROM table_name \r\nWHERE "},
    {"Execute", "Procedure", "EXECUTE PROCEDURE procedure_name "},
    {"Pragma", "Database", "PRAGMA DATABASE_LIST; "},
    {"Pragma", "Table", "PRAGMA TABLE_INFO('table_name'); "},
    {"Pragma", "Index", "PRAGMA INDEX_INFO('table_name'); "},
    {"Transaction", "Begin", "BEGIN TRANSACTION; "},
    {"Transaction", "End", "END TRANSACTION; "},
};

// Every text is the keyword followed by one space.
constexpr DefaultCatalogRow kScriptRows[] = {
    {"Operation", "Create", "CREATE "},
    {"Operation", "Alter", "ALTER "},
    {"Operation", "Drop", "DROP "},
    {"Operation", "Select", "SELECT "},
    {"Operation", "Insert", "INSERT "},
    {"Operation", "Update", "UPDATE "},
    {"Operation", "Delete", "DELETE "},
    {"Operation", "Execute", "EXECUTE "},
    {"Operation", "Pragma", "PRAGMA "},
    {"Control", "Begin", "BEGIN "},
    {"Control", "End", "END "},
    {"Control", "If", "IF "},
    {"Control", "While", "WHILE "},
    {"Control", "Return", "RETURN "},
    {"Relation", "And", "AND "},
    {"Relation", "Or", "OR "},
    {"Relation", "Not", "NOT "},
    {"Relation", "Like", "LIKE "},
    {"Relation", "Union", "UNION "},
    {"Relation", "Join", "JOIN "},
    {"Function", "Add", "ADD() "},
    {"Function", "Sum", "SUM() "},
    {"Function", "Avg", "AVG() "},
    {"Function", "Min", "MIN() "},
    {"Function", "Max", "MAX() "},
    {"Function", "Count", "COUNT() "},
    {"Object", "Table", "TABLE "},
    {"Object", "Database", "DATABASE "},
    {"Object", "Trigger", "TRIGGER "},
    {"Object", "Procedure", "PROCEDURE "},
    {"Object", "Index", "INDEX "},
    {"Object", "View", "VIEW "},
    {"Keyword", "Values", "VALUES "},
    {"Keyword", "Null", "NULL "},
    {"Keyword", "Distinct", "DISTINCT "},
    {"Keyword", "Unique", "UNIQUE "},
    {"Keyword", "Into", "INTO "},
    {"Keyword", "Set", "SET "},
    {"Comparison", "=", "= "},
    {"Comparison", ">", "> "},
    {"Comparison", "<", "< "},
    {"Comparison", ">=", ">= "},
    {"Comparison", "<=", "<= "},
    {"Comparison", "<>", "<> "},
    {"Comparison", "!>", "!> "},
    {"Comparison", "!<", "!< "},
    {"Pattern", "%", "% "},
    {"Pattern", "_", "_ "},
    {"Pattern", "[]", "[] "},
    {"Pattern", "[^]", "[^] "},
    {"Clause", "From", "FROM "},
    {"Clause", "Group By", "GROUP BY "},
    {"Clause", "Having", "HAVING "},
    {"Clause", "Order By", "ORDER BY "},
    {"Clause", "Where", "WHERE "},
};

static_assert(std::size(kTemplateRows) == 27);
static_assert(std::size(kScriptRows) == 55);

}  // namespace

std::span<const DefaultCatalogRow> DefaultTemplateRows() { return kTemplateRows; }
std::span<const DefaultCatalogRow> DefaultScriptRows() { return kScriptRows; }

}  // namespace dossel::settings
