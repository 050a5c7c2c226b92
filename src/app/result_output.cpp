#include "app/result_output.h"

#include "app/main_frame.h"
#include "app/result_view.h"

using namespace dossel;
using namespace dossel::db;

namespace {

constexpr TStringView kHyphenLine = DT("--------------------------------------\r\n");
// Text output is handed to the pane in pieces of about this many characters.
constexpr size_t kTextChunk = 64 * 1024;

class CTextRunWriter {
 public:
  explicit CTextRunWriter(CMainFrame& frame) : m_frame(frame), m_rs(*frame.m_pResultSet) {}

  bool Run(const TString& sql);

 private:
  bool Canceled() const { return m_frame.m_bCanceled; }
  void WriteResultSet(bool fetchFirst);
  void WriteHeader(int columns);
  void AffectedRowLines(bool withTime);
  void ReportError();
  void FlushText();

  CMainFrame& m_frame;
  CQueryResultSet& m_rs;
  TString m_text;   // text waiting to be appended
  TString m_value;  // one cell
};

void CTextRunWriter::FlushText() {
  if (m_text.empty()) return;
  AppendResultTextRaw(m_text);
  m_text.clear();
}

void CTextRunWriter::WriteHeader(int columns) {
  m_text += DT("  \t");
  CDbColumnInfo info;
  for (int i = 0; i < columns; ++i) {
    m_rs.GetDescribedColumn(i, info);
    m_text += info.m_strName;
    m_text += DT("\t");
  }
  m_text += DT("\r\n");
  m_text += kHyphenLine;
}

void CTextRunWriter::WriteResultSet(bool fetchFirst) {
  const int columns = m_rs.GetColumnCount();
  if (!Canceled()) WriteHeader(columns);
  if (fetchFirst) m_rs.MoveNext();
  int rows = 0;
  if (!Canceled() && !m_rs.IsBeforeFirst()) {
    while (!Canceled() && !m_rs.IsAfterLast()) {
      ++rows;
      m_text += Format(DT("%d\t"), rows);
      for (int j = 0; j < columns; ++j) {
        m_rs.GetFieldText(j, m_value);
        m_text += m_value;
        m_text += DT("\t");
      }
      m_text += DT("\r\n");
      if (m_text.size() >= kTextChunk) FlushText();
      if (!Canceled()) m_rs.MoveNext();
    }
  }
  FlushText();
  if (Canceled()) return;
  if (m_rs.FetchFailed()) ReportError();
  m_frame.PrintExecuteTime();
  AppendTrace(DT("(%d row(s) affected)\r\n"), rows);
}

void CTextRunWriter::AffectedRowLines(bool withTime) {
  SQLLEN affected = -1;
  if (SQLRowCount(m_rs.GetStatement(), &affected) != SQL_SUCCESS) {
    affected = -1;
    AppendTrace(DT("Failed to get rows affected.\r\n"));
  }
  if (withTime) m_frame.PrintExecuteTime();
  if (affected != -1) AppendTrace(DT("(%d row(s) affected)\r\n"), static_cast<long long>(affected));
}

// The driver's own words for what went wrong, one trace line each.
void CTextRunWriter::ReportError() {
  const TString& message = m_rs.LastErrorText();
  size_t start = 0;
  while (start < message.size()) {
    size_t end = message.find('\n', start);
    if (end == TString::npos) end = message.size();
    if (end > start) AppendTrace(DT("Error: %s\r\n"), message.substr(start, end - start));
    start = end + 1;
  }
}

bool CTextRunWriter::Run(const TString& sql) {
  m_frame.CloseStatement();
  bool errors = false;
  if (!Canceled() && m_rs.OpenSql(sql)) {
    if (m_rs.ExecuteFailed() && !Canceled()) ReportError();
    int columns = m_rs.GetColumnCount();
    if (columns > 0)
      WriteResultSet(false);
    else if (columns == 0 && m_frame.m_bRowCountSupported && !Canceled())
      AffectedRowLines(false);
    while (m_frame.m_bMultipleResults && !Canceled() && m_rs.NextResultSet()) {
      columns = m_rs.GetColumnCount();
      if (columns != 0)
        WriteResultSet(true);
      else if (m_frame.m_bRowCountSupported && !Canceled())
        AffectedRowLines(true);
    }
    errors = m_rs.ExecuteFailed() || m_rs.FetchFailed();
  }
  m_frame.CloseStatement();
  return errors;
}

}  // namespace

bool WriteRunResults(RunParams& run) {
  CTextRunWriter writer(*run.frame);
  return writer.Run(run.sql);
}
