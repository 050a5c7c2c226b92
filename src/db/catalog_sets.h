#pragma once
// The catalog result sets, one per ODBC catalog function. Each owns its
// members, which receive the result columns by position (the n-th member
// gets column n, whatever the driver names it) on every fetch.
//
// Use: construct on the open connection, Open, read the members, MoveNext
// until IsAfterLast, destroy. A restriction given as a null pointer is no
// restriction. A NULL text reads as empty text, a NULL int as kNullInt and a
// NULL long as kNullLong; texts hold at most 255 characters.
//
// The thread that constructs a set uses it (the session's connection thread);
// only Cancel may come from another thread.

#include <cstdint>

#include "db/catalog_set.h"

namespace dossel::db {

// SQLTables. Open goes on when the driver says it lacks the function.
class CTablesSet : public CCatalogSet {
 public:
  explicit CTablesSet(CDbConnection* connection);
  // `tableType` is a list of quoted types, such as "'TABLE'" or "'VIEW'".
  bool Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, const TChar* tableType,
            int openType = kDefaultType);

  TString m_strTableQualifier;
  TString m_strTableOwner;
  TString m_strTableName;
  TString m_strTableType;
  TString m_strRemarks;
};

// SQLProcedures; the later columns of its result are not read. Open goes on
// when the driver says it lacks the function.
class CProceduresSet : public CCatalogSet {
 public:
  explicit CProceduresSet(CDbConnection* connection);
  bool Open(const TChar* qualifier, const TChar* owner, const TChar* procedureName, int openType = kDefaultType);

  TString m_strProcedureQualifier;
  TString m_strProcedureOwner;
  TString m_strProcedureName;
};

// SQLColumns. Open goes on when the driver says it lacks the function.
class CColumnsSet : public CCatalogSet {
 public:
  explicit CColumnsSet(CDbConnection* connection);
  bool Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, const TChar* columnName,
            int openType = kDefaultType);

  TString m_strTableQualifier;
  TString m_strTableOwner;
  TString m_strTableName;
  TString m_strColumnName;
  int32_t m_nDataType;
  TString m_strTypeName;
  int32_t m_lPrecision;  // long
  int32_t m_lLength;     // long
  int32_t m_nScale;
  int32_t m_nRadix;
  int32_t m_nNullable;
  TString m_strRemarks;
};

// SQLStatistics for every index, quick accuracy; the later columns of its
// result are not read. Open returns false, without allocating a statement,
// when the driver says it lacks the function.
class CStatisticsSet : public CCatalogSet {
 public:
  explicit CStatisticsSet(CDbConnection* connection);
  bool Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, int openType = kDefaultType);

  TString m_strTableCat;
  TString m_strTableSchem;
  TString m_strTableName;
  int32_t m_nNonUnique;
  TString m_strIndexQualifier;
  TString m_strIndexName;
  int32_t m_nType;
  int32_t m_nOrdinalPosition;
  TString m_strColumnName;
};

// SQLPrimaryKeys. Open returns false, without allocating a statement, when
// the driver says it lacks the function.
class CPrimaryKeysSet : public CCatalogSet {
 public:
  explicit CPrimaryKeysSet(CDbConnection* connection);
  bool Open(const TChar* qualifier, const TChar* owner, const TChar* tableName, int openType = kDefaultType);

  TString m_strTableCat;
  TString m_strTableSchem;
  TString m_strTableName;
  TString m_strColumnName;
  int32_t m_nKeySeq;
  TString m_strPkName;
};

// SQLForeignKeys. Open returns false, without allocating a statement, when
// the driver says it lacks the function.
class CForeignKeysSet : public CCatalogSet {
 public:
  explicit CForeignKeysSet(CDbConnection* connection);
  bool Open(const TChar* pkQualifier, const TChar* pkOwner, const TChar* pkTableName, const TChar* fkQualifier,
            const TChar* fkOwner, const TChar* fkTableName, int openType = kDefaultType);

  TString m_strPkTableCat;
  TString m_strPkTableSchem;
  TString m_strPkTableName;
  TString m_strPkColumnName;
  TString m_strFkTableCat;
  TString m_strFkTableSchem;
  TString m_strFkTableName;
  TString m_strFkColumnName;
  int32_t m_nKeySeq;
  int32_t m_nUpdateRule;
  int32_t m_nDeleteRule;
  TString m_strFkName;
  TString m_strPkName;
  int32_t m_nDeferrability;
};

// SQLGetTypeInfo. Open returns false, without allocating a statement, when
// the driver says it lacks the function or cannot answer the question.
class CTypeInfoSet : public CCatalogSet {
 public:
  explicit CTypeInfoSet(CDbConnection* connection);
  // `dataType` is an SQL type code, or SQL_ALL_TYPES.
  bool Open(int16_t dataType, int openType = kDefaultType);

  TString m_strTypeName;
  int32_t m_nDataType;
  int32_t m_lPrecision;  // long
  TString m_strLiteralPrefix;
  TString m_strLiteralSuffix;
  TString m_strCreateParams;
  int32_t m_nNullable;
  int32_t m_nCaseSensitive;
  int32_t m_nSearchable;
  int32_t m_nUnsignedAttribute;
  int32_t m_nMoney;
  int32_t m_nAutoIncrement;
  TString m_strLocalTypeName;
  int32_t m_nMinimumScale;
  int32_t m_nMaximumScale;
};

}  // namespace dossel::db
