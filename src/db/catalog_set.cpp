#include "db/catalog_set.h"

#include <new>

namespace dossel::db {

void CCatalogSet::DeclareMembers(std::vector<Member> members) {
  m_members = std::move(members);
  for (const Member& member : m_members) {
    if (member.text) member.text->clear();
    if (member.number) *member.number = 0;
  }
  m_nFields = static_cast<int>(m_members.size());
}

void CCatalogSet::ExchangeFields(CDbFieldExchange* exchange) {
  for (const Member& member : m_members) {
    switch (member.kind) {
      case MemberKind::Text:
        DFX_Text(exchange, member.name, *member.text, kCatalogTextLength);
        break;
      case MemberKind::Int:
        DFX_Int(exchange, member.name, *member.number);
        break;
      case MemberKind::Long:
        DFX_Long(exchange, member.name, *member.number);
        break;
    }
  }
}

bool CCatalogSet::OpenCatalog(uint16_t function, Unsupported unsupported, int openType,
                              const std::function<SQLRETURN(SQLHSTMT)>& call) {
  // Every set asks, so the driver hears the question; only some act on the
  // answer. An answer that cannot be had counts as "not supported".
  const bool supported = m_pDatabase && m_pDatabase->IsFunctionSupported(function);
  if (!supported && unsupported == Unsupported::Refuse) return false;

  // A set opened again starts from a fresh statement: the old cursor would
  // refuse the catalog call, and the members bind to the new description.
  if (m_nOpen == 1) Close();
  SetOpenParameters(openType, {}, kReadOnly);
  try {
    if (!AllocateStatement()) return false;
    ApplyStatementOptions(m_hstmt.Get());
    AllocateFieldStatus();
    RunCatalogCall(call);
    DescribeColumns();
    m_rgRowStatus.assign(m_dwRowsetSize, 0);
    MoveNext();
    m_bBOF = m_bEOF;
    return true;
  } catch (const std::bad_alloc&) {
    Close();
    throw;
  }
}

SQLRETURN CCatalogSet::RunCatalogCall(const std::function<SQLRETURN(SQLHSTMT)>& call) {
  const auto guard = LockForCall();
  const SQLRETURN rc = call(m_hstmt.Get());
  // A failed call leaves no result: the first fetch fails and the list is
  // empty. The driver's reason is kept for whoever wants to show it.
  m_bExecuteFailed = !IsSuccessCode(rc);
  if (m_bExecuteFailed) KeepErrorText(rc);
  m_nOpen = 1;
  return rc;
}

}  // namespace dossel::db
