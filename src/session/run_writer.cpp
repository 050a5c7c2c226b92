#include "session/run_writer.h"

#include <new>

#include "session/grid_run_writer.h"
#include "session/session.h"

namespace dossel::session {

namespace {

constexpr TStringView kHyphenLine = DT("--------------------------------------\r\n");
// Text output is handed to the pane in pieces of about this many characters,
// or sooner when this much time passed since the last piece.
constexpr size_t kTextChunk = 64 * 1024;
constexpr auto kTextFlushInterval = std::chrono::milliseconds(100);

// The driver's own words for what went wrong, one trace line each.
void TraceErrorLines(ISessionView& view, const TString& message) {
  size_t start = 0;
  while (start < message.size()) {
    size_t end = message.find('\n', start);
    if (end == TString::npos) end = message.size();
    if (end > start) AppendTraceF(view, DT("Error: %s\r\n"), message.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

CRunWriter::CRunWriter(CSession& session) : m_session(session), m_view(session.View()), m_rs(session.ResultSet()) {}

bool CRunWriter::Canceled() const { return m_session.RunStopped(); }

void CRunWriter::WriteCountLines(int64_t rows) {
  if (m_rs.FetchFailed()) ReportError();
  m_session.PrintExecuteTime();
  AppendTraceF(m_view, DT("(%d row(s) affected)\r\n"), static_cast<long long>(rows));
  m_session.NoteRunRows(rows);
}

void CRunWriter::AffectedRowLines(bool withTime) {
  int64_t affected = -1;
  if (!m_rs.GetRowCount(affected)) {
    affected = -1;
    AppendTraceF(m_view, DT("Failed to get rows affected.\r\n"));
  }
  if (withTime) m_session.PrintExecuteTime();
  if (affected != -1) AppendTraceF(m_view, DT("(%d row(s) affected)\r\n"), static_cast<long long>(affected));
  if (affected != -1) m_session.NoteRunRows(affected);
}

void CRunWriter::ReportError() {
  TraceErrorLines(m_view, m_rs.LastErrorText());
  m_session.NoteRunError(m_rs.LastErrorText());
}

void CRunWriter::ReportUnreadValue(int64_t row) {
  AppendTraceF(m_view, DT("Failed to read row %d, column %d.\r\n"), static_cast<long long>(row),
               static_cast<long long>(m_rs.FailedColumn()));
}

bool CRunWriter::Run(const TString& sql) {
  m_session.CloseStatement();
  if (Canceled()) return false;
  if (!m_rs.OpenSql(sql)) {
    // Not even a statement: the text could not be executed.
    ReportError();
    m_session.CloseStatement();
    return true;
  }
  if (m_rs.ExecuteFailed() && !Canceled()) ReportError();
  bool going = true;
  const int columns = m_rs.GetColumnCount();  // -1 when the statement failed
  if (columns > 0) {
    going = WriteResultSet(false);
  } else {
    if (columns == 0 && m_session.IsRowCountSupported() && !Canceled()) AffectedRowLines(false);
    OnNoColumns();
  }
  if (going && m_session.HasMultipleResults()) going = WriteLaterResults();
  const bool errors = m_rs.ExecuteFailed() || m_rs.FetchFailed() || !going;
  m_session.CloseStatement();
  return errors;
}

bool CRunWriter::RunAll(const std::vector<TString>& statements) {
  const size_t count = statements.size();
  for (size_t i = 0; i < count; ++i) {
    m_session.WatchStatement();
    bool failed = Run(statements[i]);
    if (m_session.EndStatementWatch()) failed = true;
    // A cancel stops the current statement and the rest; the completion
    // line says so.
    if (m_session.CancelRequested()) return failed;
    if (failed) {
      if (count > 1)
        AppendTraceF(m_view, DT("Statement %d of %d failed; the rest was not run.\r\n"), static_cast<long long>(i + 1),
                     static_cast<long long>(count));
      return true;
    }
  }
  return false;
}

bool CRunWriter::WriteLaterResults() {
  const bool failedBefore = m_rs.ExecuteFailed();
  bool going = true;
  while (going && !Canceled() && m_rs.NextResultSet()) {
    if (m_rs.GetColumnCount() != 0)
      going = WriteResultSet(true);
    else if (m_session.IsRowCountSupported() && !Canceled())
      AffectedRowLines(true);
  }
  // A later statement of the batch that failed ends the walk: say why.
  if (going && !Canceled() && !failedBefore && m_rs.ExecuteFailed()) {
    ReportError();
    return false;
  }
  return going;
}

void CTextRunWriter::FlushText() {
  m_lastFlush = std::chrono::steady_clock::now();
  if (m_text.empty()) return;
  m_view.AppendResultText(m_text);
  m_text.clear();
}

void CTextRunWriter::FlushWhenDue() {
  if (m_text.size() >= kTextChunk || std::chrono::steady_clock::now() - m_lastFlush >= kTextFlushInterval) FlushText();
}

void CTextRunWriter::WriteHeader(int columns) {
  m_text += DT("  \t");
  db::CDbColumnInfo info;
  for (int i = 0; i < columns; ++i) {
    m_rs.GetDescribedColumn(i, info);
    m_text += info.m_strName;
    m_text += DT("\t");
  }
  m_text += DT("\r\n");
  m_text += kHyphenLine;
}

bool CTextRunWriter::WriteResultSet(bool fetchFirst) {
  const int columns = m_rs.GetColumnCount();
  m_lastFlush = std::chrono::steady_clock::now();
  if (!Canceled()) WriteHeader(columns);
  if (fetchFirst) m_rs.MoveNext();
  int64_t rows = 0;
  if (!Canceled() && !m_rs.IsBeforeFirst()) {
    m_values.resize(static_cast<size_t>(columns));
    while (!Canceled() && !m_rs.IsAfterLast()) {
      const bool read = m_rs.GetRowTexts(m_values.data(), columns);
      // A cancel asked for before the row was read whole may have cut it.
      if (Canceled()) break;
      if (!read) {
        // The rows before stay; the error follows with the count.
        ReportUnreadValue(rows + 1);
        break;
      }
      ++rows;
      m_text += Format(DT("%d\t"), static_cast<long long>(rows));
      for (const TString& value : m_values) {
        m_text += value;
        m_text += DT("\t");
      }
      m_text += DT("\r\n");
      FlushWhenDue();
      if (!Canceled()) m_rs.MoveNext();
    }
  }
  FlushText();
  if (!Canceled()) WriteCountLines(rows);
  return true;
}

bool WriteRunResults(CSession& session, const std::vector<TString>& statements, bool textFormat) {
  try {
    if (textFormat) {
      CTextRunWriter writer(session);
      return writer.RunAll(statements);
    }
    CGridRunWriter writer(session);
    return writer.RunAll(statements);
  } catch (const std::bad_alloc&) {
    // A value too large for the memory left: the run ends, the program goes on.
    session.EndStatementWatch();
    session.CloseStatement();
    AppendTraceF(session.View(), DT("Out of memory.\r\n"));
    session.NoteRunError(DT("Out of memory."));
    return true;
  }
}

bool WriteObjectText(CSession& session, const TString& sql) {
  db::CQueryResultSet& rs = session.ResultSet();
  session.CloseStatement();
  TString text;
  TString value;
  auto appendRows = [&] {
    while (!session.RunStopped() && !rs.IsAfterLast()) {
      rs.GetFieldText(0, value);
      text += value;
      rs.MoveNext();
    }
  };
  bool errors = false;
  session.WatchStatement();
  try {
    if (!session.RunStopped() && rs.OpenSql(sql)) {
      if (!session.RunStopped() && !rs.IsBeforeFirst() && rs.GetColumnCount() != 0) appendRows();
      while (!session.RunStopped() && session.HasMultipleResults() && rs.NextResultSet()) {
        if (session.RunStopped() || rs.IsBeforeFirst() || rs.GetColumnCount() == 0) continue;
        text += DT("\r\n\r\n");
        rs.MoveNext();
        appendRows();
      }
      errors = rs.ExecuteFailed() || rs.FetchFailed();
    } else {
      errors = !session.CancelRequested();
    }
    if (errors && !session.RunStopped()) {
      TraceErrorLines(session.View(), rs.LastErrorText());
      session.NoteRunError(rs.LastErrorText());
    }
  } catch (const std::bad_alloc&) {
    AppendTraceF(session.View(), DT("Out of memory.\r\n"));
    errors = true;
  }
  if (session.EndStatementWatch()) errors = true;
  if (!text.empty()) {
    session.View().AppendTrace(DT("\r\n") + text + DT("\r\n"));
    session.View().ShowObjectText();
  }
  session.CloseStatement();
  return errors;
}

}  // namespace dossel::session
