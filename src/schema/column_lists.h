#pragma once
// The column lists of the generated scripts and the column caption of the
// schema tree, built from columns as the columns catalog reports them.
//
// Entries use the catalog name, quoted when it is not a plain identifier,
// never a name cut from a caption: a column "first name" stays whole.
//
// Pure functions of their arguments; any thread may call them.

#include <cstdint>
#include <vector>

#include "platform/text.h"
#include "schema/sql_names.h"

namespace dossel::schema {

// One row of the columns catalog, the fields the scripts and captions use.
struct ColumnInfo {
  TString name;           // COLUMN_NAME
  TString typeName;       // TYPE_NAME, as the driver gives it ("varchar(10)" is possible)
  int32_t dataType = 0;   // DATA_TYPE, an SQL type code
  int32_t precision = 0;  // PRECISION (COLUMN_SIZE)
  int32_t nullable = 0;   // NULLABLE: 1 means NULL allowed
};

using ColumnList = std::vector<ColumnInfo>;

// "a,b,c".
TString PlainColumnList(const ColumnList& columns, const CNameQuoter& quoter);
// "a=,b=,c=".
TString AssignmentColumnList(const ColumnList& columns, const CNameQuoter& quoter);
// "\ta varchar (10) NOT NULL, \r\n\tb  NULL": the body of a CREATE TABLE.
TString DefinitionColumnList(const ColumnList& columns, const CNameQuoter& quoter);

// The type of a definition entry: "varchar (10)" for the sized character and
// binary types, empty for an unknown type code, else the bare type name.
TString DefinitionTypeText(const ColumnInfo& column);

// The tree's caption of a column: "code [varchar(10),Not Null]".
TString ColumnCaption(const ColumnInfo& column);

}  // namespace dossel::schema
