#pragma once
// The common part of the catalog result sets: a table of member declarations
// (kind, column name, the member itself) that field exchange walks in order,
// so the n-th declared member receives result column n, and the open that
// runs a catalog function in place of SQL text.
//
// A set is used by one thread at a time, the one that constructs it (the
// session's connection thread); only Cancel may come from another thread.
// Database failures show as a false open or an empty list, never as
// exceptions.

#include <cstdint>
#include <functional>
#include <vector>

#include "db/db_result_set.h"

namespace dossel::db {

class CCatalogSet : public CDbResultSet {
 public:
  // The longest text a member holds; a longer value reads as its first
  // kCatalogTextLength characters.
  static constexpr int kCatalogTextLength = 255;

  void ExchangeFields(CDbFieldExchange* exchange) override;

 protected:
  enum class MemberKind { Text, Int, Long };
  struct Member {
    MemberKind kind;
    const TChar* name;  // identifies the member; binding goes by position
    TString* text;
    int32_t* number;
  };
  static Member Text(const TChar* name, TString& value) { return {MemberKind::Text, name, &value, nullptr}; }
  static Member Int(const TChar* name, int32_t& value) { return {MemberKind::Int, name, nullptr, &value}; }
  static Member Long(const TChar* name, int32_t& value) { return {MemberKind::Long, name, nullptr, &value}; }

  // Whether an open goes on when the driver says it lacks the function.
  enum class Unsupported { Ask, Refuse };

  explicit CCatalogSet(CDbConnection* connection) : CDbResultSet(connection) {}
  // Called once by each set's constructor, with its members in result column
  // order: empties the texts, zeroes the numbers and counts the fields.
  void DeclareMembers(std::vector<Member> members);

  // Asks SQLGetFunctions about `function` and, unless the set refuses a
  // missing one, runs the open's steps with `call` as the execution step.
  // False when refused or when no statement can be allocated.
  bool OpenCatalog(uint16_t function, Unsupported unsupported, int openType,
                   const std::function<SQLRETURN(SQLHSTMT)>& call);

 private:
  SQLRETURN RunCatalogCall(const std::function<SQLRETURN(SQLHSTMT)>& call);

  std::vector<Member> m_members;
};

}  // namespace dossel::db
