// CGridCtrl: showing the rows the store writer publishes while it fills the
// store. UI thread only; the writer never calls the window.

#include <wx/dcclient.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"

namespace dossel {

namespace {
// How often the window looks for newly published rows.
constexpr int kFillPollMs = 75;
}  // namespace

void CGridCtrl::BeginFill() {
  if (m_bFilling) return;
  StopEditing();
  ClearSelection();
  m_MouseMode = MOUSE_NOTHING;
  m_store.BeginFill();
  m_bFilling = true;
  m_bFirstScreenSized = false;
  m_nShownRows = 0;
  m_nShownLayoutStamp = m_store.GetLayoutStamp();
  AfterStructureChange();
  if (GetHandle()) m_fillTimer.Start(kFillPollMs);
}

void CGridCtrl::EndFill(bool bCancelled) {
  if (!m_bFilling) return;
  m_fillTimer.Stop();
  m_store.EndFill(bCancelled);
  m_bFilling = false;
  // Every row is there now: size the columns over all of them.
  AutoSize();
  AfterStructureChange();
  Checked(true);
}

void CGridCtrl::OnFillTimer(wxTimerEvent&) { OnRowsPublished(); }

void CGridCtrl::AutoSizeFirstScreen() {
  if (m_bFirstScreenSized || !GetHandle()) return;
  // Sized once the published rows fill the client area (or the fill ends).
  const int32_t rowHeight = std::max(GetDefaultCell(false, false)->GetHeight(), 1);
  const int32_t screenRows = GetGridClientRect().bottom / rowHeight + 1;
  if (ShownRows() < screenRows) return;
  m_bFirstScreenSized = true;
  AutoSize();
}

void CGridCtrl::OnRowsPublished() {
  if (!m_bFilling) return;
  const int32_t shown = ShownRows();
  const uint32_t stamp = m_store.GetLayoutStamp();
  if (shown == m_nShownRows && stamp == m_nShownLayoutStamp) return;
  const int32_t before = m_nShownRows;
  m_nShownRows = shown;
  m_nShownLayoutStamp = stamp;
  const CellRange visible = GetVisibleScrolledRange(nullptr, true);
  const bool wasShort = before <= visible.maxRow + 1 || before <= ShownFixedRows();
  AutoSizeFirstScreen();
  ResetScrollBars();
  // New rows below the last shown one appear where the background was; if
  // the visible rows ended before, repaint.
  if (wasShort || stamp != m_nShownLayoutStamp) RepaintGrid();
  m_nShownLayoutStamp = m_store.GetLayoutStamp();
}

}  // namespace dossel
