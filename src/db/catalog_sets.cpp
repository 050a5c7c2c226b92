#include "db/catalog_sets.h"

namespace dossel::db {

CTablesSet::CTablesSet(CDbConnection* connection) : CCatalogSet(connection) {
  DeclareMembers({Text(DT("TABLE_QUALIFIER"), m_strTableQualifier), Text(DT("TABLE_OWNER"), m_strTableOwner),
                  Text(DT("TABLE_NAME"), m_strTableName), Text(DT("TABLE_TYPE"), m_strTableType),
                  Text(DT("REMARKS"), m_strRemarks)});
}

bool CTablesSet::Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, const TChar* tableType,
                      int openType) {
  return OpenCatalog(SQL_API_SQLTABLES, Unsupported::Ask, openType,
                     [&](SQLHSTMT hstmt) { return OdbcTables(hstmt, qualifier, owner, tableName, tableType); });
}

CProceduresSet::CProceduresSet(CDbConnection* connection) : CCatalogSet(connection) {
  DeclareMembers({Text(DT("PROCEDURE_QUALIFIER"), m_strProcedureQualifier),
                  Text(DT("PROCEDURE_OWNER"), m_strProcedureOwner), Text(DT("PROCEDURE_NAME"), m_strProcedureName)});
}

bool CProceduresSet::Open(const TChar* qualifier, const TChar* owner, const TChar* procedureName, int openType) {
  return OpenCatalog(SQL_API_SQLPROCEDURES, Unsupported::Ask, openType,
                     [&](SQLHSTMT hstmt) { return OdbcProcedures(hstmt, qualifier, owner, procedureName); });
}

CColumnsSet::CColumnsSet(CDbConnection* connection) : CCatalogSet(connection) {
  DeclareMembers({Text(DT("TABLE_QUALIFIER"), m_strTableQualifier), Text(DT("TABLE_OWNER"), m_strTableOwner),
                  Text(DT("TABLE_NAME"), m_strTableName), Text(DT("COLUMN_NAME"), m_strColumnName),
                  Int(DT("DATA_TYPE"), m_nDataType), Text(DT("TYPE_NAME"), m_strTypeName),
                  Long(DT("PRECISION"), m_lPrecision), Long(DT("LENGTH"), m_lLength), Int(DT("SCALE"), m_nScale),
                  Int(DT("RADIX"), m_nRadix), Int(DT("NULLABLE"), m_nNullable), Text(DT("REMARKS"), m_strRemarks)});
}

bool CColumnsSet::Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, const TChar* columnName,
                       int openType) {
  return OpenCatalog(SQL_API_SQLCOLUMNS, Unsupported::Ask, openType,
                     [&](SQLHSTMT hstmt) { return OdbcColumns(hstmt, qualifier, owner, tableName, columnName); });
}

CStatisticsSet::CStatisticsSet(CDbConnection* connection) : CCatalogSet(connection) {
  DeclareMembers({Text(DT("TABLE_CAT"), m_strTableCat), Text(DT("TABLE_SCHEM"), m_strTableSchem),
                  Text(DT("TABLE_NAME"), m_strTableName), Int(DT("NON_UNIQUE"), m_nNonUnique),
                  Text(DT("INDEX_QUALIFIER"), m_strIndexQualifier), Text(DT("INDEX_NAME"), m_strIndexName),
                  Int(DT("TYPE"), m_nType), Int(DT("ORDINAL_POSITION"), m_nOrdinalPosition),
                  Text(DT("COLUMN_NAME"), m_strColumnName)});
}

bool CStatisticsSet::Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, int openType) {
  return OpenCatalog(SQL_API_SQLSTATISTICS, Unsupported::Refuse, openType, [&](SQLHSTMT hstmt) {
    return OdbcStatistics(hstmt, qualifier, owner, tableName, SQL_INDEX_ALL, SQL_QUICK);
  });
}

CPrimaryKeysSet::CPrimaryKeysSet(CDbConnection* connection) : CCatalogSet(connection) {
  DeclareMembers({Text(DT("TABLE_CAT"), m_strTableCat), Text(DT("TABLE_SCHEM"), m_strTableSchem),
                  Text(DT("TABLE_NAME"), m_strTableName), Text(DT("COLUMN_NAME"), m_strColumnName),
                  Int(DT("KEY_SEQ"), m_nKeySeq), Text(DT("PK_NAME"), m_strPkName)});
}

bool CPrimaryKeysSet::Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, int openType) {
  return OpenCatalog(SQL_API_SQLPRIMARYKEYS, Unsupported::Refuse, openType,
                     [&](SQLHSTMT hstmt) { return OdbcPrimaryKeys(hstmt, qualifier, owner, tableName); });
}

CForeignKeysSet::CForeignKeysSet(CDbConnection* connection) : CCatalogSet(connection) {
  DeclareMembers({Text(DT("PKTABLE_CAT"), m_strPkTableCat), Text(DT("PKTABLE_SCHEM"), m_strPkTableSchem),
                  Text(DT("PKTABLE_NAME"), m_strPkTableName), Text(DT("PKCOLUMN_NAME"), m_strPkColumnName),
                  Text(DT("FKTABLE_CAT"), m_strFkTableCat), Text(DT("FKTABLE_SCHEM"), m_strFkTableSchem),
                  Text(DT("FKTABLE_NAME"), m_strFkTableName), Text(DT("FKCOLUMN_NAME"), m_strFkColumnName),
                  Int(DT("KEY_SEQ"), m_nKeySeq), Int(DT("UPDATE_RULE"), m_nUpdateRule),
                  Int(DT("DELETE_RULE"), m_nDeleteRule), Text(DT("FK_NAME"), m_strFkName),
                  Text(DT("PK_NAME"), m_strPkName), Int(DT("DEFERRABILITY"), m_nDeferrability)});
}

bool CForeignKeysSet::Open(const TChar* pkQualifier, const TChar* pkOwner, const TChar* pkTableName,
                           const TChar* fkQualifier, const TChar* fkOwner, const TChar* fkTableName, int openType) {
  return OpenCatalog(SQL_API_SQLFOREIGNKEYS, Unsupported::Refuse, openType, [&](SQLHSTMT hstmt) {
    return OdbcForeignKeys(hstmt, pkQualifier, pkOwner, pkTableName, fkQualifier, fkOwner, fkTableName);
  });
}

CTypeInfoSet::CTypeInfoSet(CDbConnection* connection) : CCatalogSet(connection) {
  DeclareMembers({Text(DT("TYPE_NAME"), m_strTypeName), Int(DT("DATA_TYPE"), m_nDataType),
                  Long(DT("PRECISION"), m_lPrecision), Text(DT("LITERAL_PREFIX"), m_strLiteralPrefix),
                  Text(DT("LITERAL_SUFFIX"), m_strLiteralSuffix), Text(DT("CREATE_PARAMS"), m_strCreateParams),
                  Int(DT("NULLABLE"), m_nNullable), Int(DT("CASE_SENSITIVE"), m_nCaseSensitive),
                  Int(DT("SEARCHABLE"), m_nSearchable), Int(DT("UNSIGNED_ATTRIBUTE"), m_nUnsignedAttribute),
                  Int(DT("MONEY"), m_nMoney), Int(DT("AUTO_INCREMENT"), m_nAutoIncrement),
                  Text(DT("LOCAL_TYPE_NAME"), m_strLocalTypeName), Int(DT("MINIMUM_SCALE"), m_nMinimumScale),
                  Int(DT("MAXIMUM_SCALE"), m_nMaximumScale)});
}

bool CTypeInfoSet::Open(int16_t dataType, int openType) {
  return OpenCatalog(SQL_API_SQLGETTYPEINFO, Unsupported::Refuse, openType,
                     [&](SQLHSTMT hstmt) { return OdbcGetTypeInfo(hstmt, dataType); });
}

}  // namespace dossel::db
