// The frame's side of a grid run: the synchronous calls the query worker
// makes to the UI thread to prepare and finish the grid, and the timer's
// progress line.

#include <chrono>
#include <future>
#include <mutex>

#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/result_view.h"
#include "grid/grid_ctrl.h"
#include "res/command_ids.h"

using namespace dossel;

namespace {

// One call handed to the UI thread. The worker may give up on it when the
// frame closes; the lock makes "ran" and "given up" exclusive.
struct UiCall {
  std::mutex lock;
  bool abandoned = false;
  std::promise<int> answer;
};

constexpr auto kClosingPoll = std::chrono::milliseconds(50);

}  // namespace

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

int CMainFrame::OnPrepareGrid(int /*columns*/) {
  if (m_bClosing) return 0;
  CGridCtrl* grid = m_pResultView->GetGrid();
  if (grid) {
    m_pResultView->ResetGrid();
  } else {
    grid = m_pResultView->CreateGrid();
    if (!grid) {
      AppendTrace(DT("Failed to create grid control.\r\n"));
      return -1;
    }
    if (wxWindow* focus = wxWindow::FindFocus();
        focus && (focus == m_pResultView || m_pResultView->IsDescendant(focus)))
      m_pQueryView->FocusWindow()->SetFocus();
  }
  m_run.grid = grid;
  // From here until the worker is done with this result set, the grid
  // neither paints nor handles input, so the worker alone touches its cells.
  grid->SetRedraw(false);
  NoteGridSize(grid->GetRowCount(), grid->GetColumnCount());
  m_bGridFilling = true;
  return 0;
}

CGridCtrl* CMainFrame::PrepareGridFromWorker(int columns) {
  m_run.grid = nullptr;
  const int answer = CallOnUiThread([this, columns] { return OnPrepareGrid(columns); }, -1);
  return answer == 0 ? m_run.grid : nullptr;
}

void CMainFrame::FinishGridFromWorker(bool sizeColumns) {
  CallOnUiThread(
      [this, sizeColumns] {
        CGridCtrl* grid = m_run.grid;
        m_bGridFilling = false;
        if (!grid) return 0;
        grid->SetRedraw(true);
        if (sizeColumns) {
          grid->AutoSize(0);
          grid->StretchLastColumn();
        }
        grid->Refresh();
        grid->Update();
        return 0;
      },
      0);
}

void CMainFrame::EmptyGrid() {
  CallOnUiThread(
      [this] {
        if (CGridCtrl* grid = m_pResultView->GetGrid()) {
          grid->DeleteAllCells();
          grid->Refresh();
        }
        return 0;
      },
      0);
}

void CMainFrame::NoteGridSize(int32_t rows, int32_t columns) {
  m_nGridRows = rows;
  m_nGridColumns = columns;
}

void CMainFrame::AppendGridProgress() {
  CGridCtrl* grid = m_pResultView->GetGrid();
  if (!grid) return;
  // While the worker fills the grid its counts are the worker's; read the
  // copies it keeps for this line instead.
  const int32_t rows = m_bGridFilling ? m_nGridRows.load() : grid->GetRowCount();
  const int32_t columns = m_bGridFilling ? m_nGridColumns.load() : grid->GetColumnCount();
  AppendTrace(DT("Results: %d row(s), %d col(s)\r\n"), rows - 1, columns);
}
