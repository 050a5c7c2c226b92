// The figures of the current run that its record carries: the text, the
// start, the rows and the first error, gathered as the run goes and handed
// to the run observer when it ends.

#include <chrono>

#include "platform/system.h"
#include "session/session.h"

namespace dossel::session {

void CSession::BeginRunRecord(const TString& text) {
  m_nRunRows = -1;
  m_strRunError.clear();
  m_strRunText.clear();
  if (!m_pRunObserver) return;
  m_strRunText = text;
  m_nRunStartedAt =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count();
}

void CSession::NoteRunRows(int64_t rows) { m_nRunRows = rows; }

void CSession::NoteRunError(TStringView message) {
  if (!m_strRunError.empty()) return;
  // The first line that says something; the driver's lines end in "\r\n" or "\n".
  size_t start = 0;
  while (start < message.size()) {
    size_t end = message.find('\n', start);
    if (end == TStringView::npos) end = message.size();
    TStringView line = message.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (!line.empty()) {
      m_strRunError = TString(line);
      return;
    }
    start = end + 1;
  }
}

void CSession::ReportRunEnded(bool errors) {
  if (!m_pRunObserver) return;
  RunRecord record;
  record.text = std::move(m_strRunText);
  record.dataSource = m_strDataSourceName;
  record.database = m_strDatabaseName;
  record.startedAt = m_nRunStartedAt;
  record.durationMs = static_cast<uint32_t>(GetTickCount() - m_dwStartTick);
  record.rows = m_nRunRows;
  if (CancelRequested())
    record.outcome = RunOutcome::kCanceled;
  else if (TimedOut())
    record.outcome = RunOutcome::kTimedOut;
  else if (errors)
    record.outcome = RunOutcome::kErrors;
  record.firstError = std::move(m_strRunError);
  m_pRunObserver->RunEnded(std::move(record));
}

}  // namespace dossel::session
