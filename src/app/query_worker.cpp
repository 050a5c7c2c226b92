// The bodies of the query worker and the cancel worker's partner, the object
// text run, and the appends both workers use.

#include "app/main_frame.h"
#include "app/result_output.h"
#include "app/result_view.h"
#include "app/trace_view.h"
#include "res/command_ids.h"

using namespace dossel;
using namespace dossel::res;

namespace {
// The panes that AppendTrace and AppendResultText reach; set by the frame.
CPaneAppender* s_traceAppender = nullptr;
CPaneAppender* s_resultAppender = nullptr;
}  // namespace

void SetAppendTargets(CPaneAppender* trace, CPaneAppender* result) {
  s_traceAppender = trace;
  s_resultAppender = result;
}

void AppendTraceText(TStringView text) {
  if (s_traceAppender) s_traceAppender->Append(text);
}

void AppendResultTextRaw(TStringView text) {
  if (s_resultAppender) s_resultAppender->Append(text);
}

void CMainFrame::RunQueryThread() {
  const bool errors = WriteRunResults(m_run, m_pResultView->IsTextFormat());
  if (m_bTransactSql && !CancelRequested() && FindNoCase(m_run.sql, DT("USE ")) != TString::npos) {
    if (!SelectCurrentDatabase()) AppendTrace(DT("Failed to select database.\r\n"));
  }
  PostFrameMessage(WM_RUN_FINISHED, errors ? 1 : 0, -1);
}

void CMainFrame::RunHelpTextThread() {
  CloseStatement();
  TString text;
  TString value;
  auto appendRows = [&] {
    while (!CancelRequested() && !m_pResultSet->IsAfterLast()) {
      m_pResultSet->GetFieldText(0, value);
      text += value;
      m_pResultSet->MoveNext();
    }
  };
  if (!CancelRequested() && m_pResultSet->OpenSql(m_run.sql)) {
    if (!CancelRequested() && !m_pResultSet->IsBeforeFirst() && m_pResultSet->GetColumnCount() != 0) appendRows();
    while (!CancelRequested() && m_bMultipleResults && m_pResultSet->NextResultSet()) {
      if (CancelRequested() || m_pResultSet->IsBeforeFirst() || m_pResultSet->GetColumnCount() == 0) continue;
      text += DT("\r\n\r\n");
      m_pResultSet->MoveNext();
      appendRows();
    }
    if (!text.empty()) {
      AppendTraceText(DT("\r\n") + text + DT("\r\n"));
      CallAfter([this] {
        m_pTraceView->Appender().Flush();
        m_pTraceView->GetEdit()->SetSelection(0, 0);
        m_pTraceView->GetEdit()->ShowPosition(0);
        m_pTraceView->Refresh();
      });
    }
  }
  CloseStatement();
  if (m_bTransactSql && !CancelRequested() && FindNoCase(m_run.sql, DT("USE ")) != TString::npos)
    SelectCurrentDatabase();
  PostFrameMessage(WM_HELPTEXT_FINISHED, 0, 0);
}
