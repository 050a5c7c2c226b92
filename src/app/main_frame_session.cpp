// The frame as the session's view: the session's commands from the menus,
// and ISessionView carried out on the UI thread. The session's threads reach
// the panes only through the appenders (any thread) and through calls queued
// to the UI thread; the grid run's calls wait for their answer.

#include <wx/app.h>

#include <chrono>
#include <future>
#include <mutex>

#include "app/connect_dlg.h"
#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/sql_completion.h"
#include "app/trace_view.h"
#include "grid/wx/grid_ctrl.h"
#include "result/wx/result_view.h"

using namespace dossel;

namespace {

// One call handed to the UI thread. The connection thread may give up on it when the
// frame closes; the lock makes "ran" and "given up" exclusive.
struct UiCall {
  std::mutex lock;
  bool abandoned = false;
  std::promise<int> answer;
};

constexpr auto kClosingPoll = std::chrono::milliseconds(50);

}  // namespace

bool CMainFrame::Connect(const TString* connect) { return m_pSession->Connect(connect); }

void CMainFrame::Disconnect() { m_pSession->Disconnect(); }

void CMainFrame::Execute() {
  if (m_pSession->IsExecuting()) return;
  m_pResultView->BeginRun();
  const TString text = m_pQueryView->GetRunText();
  m_pSession->Execute(text, m_pResultView->IsTextFormat());
  // A run that changes the schema makes completion read the names again.
  if (CSqlCompletion* completion = m_pQueryView->Completion()) completion->NoteRun(text);
}

void CMainFrame::OnRefreshNames(int) {
  if (CSqlCompletion* completion = m_pQueryView->Completion()) completion->Refresh();
}

bool CMainFrame::CanRefreshNames(int) const { return m_pSession->IsConnected() && m_pQueryView->Completion(); }

void CMainFrame::RequestCancel() { m_pSession->RequestCancel(); }

bool CMainFrame::WaitForThreads() { return m_pSession->WaitForThreads(m_nThreadWaitMs); }

void CMainFrame::ShowConnectDialog() {
  if (m_pSession->IsConnected()) return;
  RunConnectDialog(this, [this](const TString& connectString) { return Connect(&connectString); });
}

void CMainFrame::OnTimer(wxTimerEvent&) { m_pSession->OnTimer(); }

void CMainFrame::AppendTrace(TStringView text) { m_pTraceView->Appender().Append(text); }

void CMainFrame::AppendResultText(TStringView text) { m_pResultView->Appender().Append(text); }

void CMainFrame::Post(std::function<void()> call) { CallAfter(std::move(call)); }

void CMainFrame::StartTimer(unsigned milliseconds) { m_timer.Start(static_cast<int>(milliseconds)); }

void CMainFrame::StopTimer() { m_timer.Stop(); }

int CMainFrame::CallOnUiThread(std::function<int()> call, int fallback) {
  auto state = std::make_shared<UiCall>();
  std::future<int> answer = state->answer.get_future();
  CallAfter([state, call = std::move(call)] {
    std::lock_guard<std::mutex> guard(state->lock);
    if (!state->abandoned) state->answer.set_value(call());
  });
  while (answer.wait_for(kClosingPoll) != std::future_status::ready) {
    if (!m_bClosing) continue;
    std::lock_guard<std::mutex> guard(state->lock);
    if (answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready) break;
    state->abandoned = true;
    return fallback;
  }
  return answer.get();
}

CGridStore* CMainFrame::OnPrepareGrid() {
  if (m_bClosing) return nullptr;
  const bool hadGrid = m_pResultView->GetGrid() != nullptr;
  CGridCtrl* grid = m_pResultView->PrepareResultGrid();
  if (!grid) {
    AppendTrace(DT("Failed to create grid control.\r\n"));
    return nullptr;
  }
  if (!hadGrid) {
    if (wxWindow* focus = wxWindow::FindFocus();
        focus && (focus == m_pResultView || m_pResultView->IsDescendant(focus)))
      m_pQueryView->FocusWindow()->SetFocus();
  }
  // From here until the fill ends, the window shows only the rows the writer
  // has published and takes no input that would change the cells.
  grid->BeginFill();
  return &grid->GetStore();
}

CGridStore* CMainFrame::PrepareGrid() {
  CGridStore* store = nullptr;
  CallOnUiThread(
      [this, &store] {
        store = OnPrepareGrid();
        return 0;
      },
      -1);
  return store;
}

void CMainFrame::FinishGrid(bool rowsWritten) {
  CallOnUiThread(
      [this, rowsWritten] {
        m_pResultView->FinishGridFill(rowsWritten);
        return 0;
      },
      0);
}

void CMainFrame::EmptyGrid() {
  CallOnUiThread(
      [this] {
        m_pResultView->EmptyResults();
        return 0;
      },
      0);
}

void CMainFrame::ShowObjectText() {
  CallAfter([this] {
    m_pTraceView->Appender().Flush();
    m_pTraceView->GetEdit()->SetSelection(0, 0);
    m_pTraceView->GetEdit()->ShowPosition(0);
    m_pTraceView->Refresh();
  });
}

void CMainFrame::RunEnded(bool objectTextRun) {
  m_pResultView->EndRun();
  m_pTraceView->Appender().Flush();
  m_pResultView->Appender().Flush();
  if (!objectTextRun) {
    m_pResultView->Refresh();
    m_pResultView->Update();
  }
  // Toolbar and menu states follow at once, not at the next idle time.
  UpdateWindowUI(wxUPDATE_UI_RECURSE);
  // The first rows brought the result pane forward already; the keyboard
  // stays where the user has it.
  if (objectTextRun || !m_pKeysPane) SwitchPane(objectTextRun ? 2 : 1);
}
