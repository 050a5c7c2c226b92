#include "app/goto_dlg.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "app/edition.h"
#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/text_edit.h"
#include "app/trace_view.h"
#include "grid/wx/grid_ctrl.h"
#include "result/wx/result_view.h"

namespace {

// The layout in dialog units: the dialog, the label, the line edit and the
// two buttons (x, y, width, height).
const wxSize kDialogSize(104, 42);
const wxRect kLabelRect(5, 5, 43, 8);
const wxRect kLineRect(5, 15, 45, 14);
const wxRect kGoToRect(55, 6, 42, 13);
const wxRect kPreviousRect(55, 22, 42, 13);

}  // namespace

const GoToDialogIds& CGoToDlg::Ids() { return Edition().goToDialogIds ? *Edition().goToDialogIds : kDesktopIds; }

CGoToDlg::CGoToDlg(CMainFrame* frame)
    : wxDialog(frame, wxID_ANY, "Go To", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE), m_pFrame(frame) {
  const auto place = [this](const wxRect& units) {
    return std::make_pair(ConvertDialogToPixels(units.GetPosition()), ConvertDialogToPixels(units.GetSize()));
  };
  auto [labelPos, labelSize] = place(kLabelRect);
  auto* label = new wxStaticText(this, wxID_ANY, "Line Number:", labelPos, labelSize);
  // The units' font is narrower than GTK's: let the label take the width it needs.
  wxSize labelWidth = label->GetSize();
  labelWidth.IncTo(label->GetBestSize());
  label->SetSize(labelWidth);
  const GoToDialogIds& ids = Ids();
  auto [linePos, lineSize] = place(kLineRect);
  m_line = new wxTextCtrl(this, ids.line, wxEmptyString, linePos, lineSize, 0, wxTextValidator(wxFILTER_DIGITS));
  auto [goToPos, goToSize] = place(kGoToRect);
  m_goTo = new wxButton(this, ids.goTo, "&Go To", goToPos, goToSize);
  auto [previousPos, previousSize] = place(kPreviousRect);
  m_previous = new wxButton(this, ids.previous, "&Previous", previousPos, previousSize);
  m_previous->Disable();
  m_goTo->SetDefault();
  // GTK's buttons and edits are taller than the units allow; grow the
  // dialog to hold what the controls really need.
  wxSize client = ConvertDialogToPixels(kDialogSize);
  for (wxWindow* child : GetChildren()) {
    const wxRect rect = child->GetRect();
    client.IncTo(wxSize(rect.GetRight() + ConvertDialogToPixels(wxSize(5, 5)).x,
                        rect.GetBottom() + ConvertDialogToPixels(wxSize(5, 5)).y));
  }
  SetClientSize(client);

  m_line->Bind(wxEVT_TEXT, &CGoToDlg::OnLineChanged, this);
  m_goTo->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { GoTo(); });
  m_previous->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Previous(); });
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); }, wxID_CANCEL);
  Bind(wxEVT_ACTIVATE, &CGoToDlg::OnActivate, this);
  Bind(wxEVT_CLOSE_WINDOW, &CGoToDlg::OnClose, this);
}

void CGoToDlg::OnLineChanged(wxCommandEvent&) {
  wxString text = m_line->GetValue();
  m_bNext = text.Trim().Trim(false).empty();
  m_previous->Enable(m_bNext);
  m_goTo->SetLabel(m_bNext ? "&Next" : "&Go To");
}

void CGoToDlg::OnActivate(wxActivateEvent& event) {
  event.Skip();
  if (event.GetActive()) Prefill();
}

void CGoToDlg::OnClose(wxCloseEvent&) { Destroy(); }

void CGoToDlg::Prefill() {
  CPane* pane = m_pFrame->GetActivePane();
  CResultView* result = m_pFrame->ResultView();
  if (pane == result && result->IsGridShown()) {
    const long row = result->GetGrid()->GetFocusCell().row;
    m_line->SetValue(row >= 0 ? wxString::Format("%ld", row) : wxString());
  } else if (pane == m_pFrame->QueryView() || pane == m_pFrame->TraceView()) {
    CTextEdit* edit = static_cast<CEditPane*>(pane)->GetEdit();
    m_line->SetValue(wxString::Format("%d", edit->LineFromPosition(edit->GetSelectionStart()) + 1));
  }
  m_line->SetFocus();
  m_line->SelectAll();
}

long CGoToDlg::Clamp(long target, long count) {
  if (target > count || target < 0) return count;
  return target == 0 ? 1 : target;
}

void CGoToDlg::ShowClamped(long asked, long clamped) {
  if (asked != clamped) m_line->SetValue(wxString::Format("%ld", clamped));
}

void CGoToDlg::GoTo() {
  TransferDataFromWindow();
  wxString text = m_line->GetValue();
  text.Trim().Trim(false);
  long target = 0;
  if (!text.ToLong(&target)) target = 0;
  CPane* pane = m_pFrame->GetActivePane();
  CResultView* result = m_pFrame->ResultView();
  if (pane == result && result->IsGridShown()) {
    if (!result->IsGridBusy()) GoToGridRow(target);
    m_line->SetFocus();
  } else if (pane == m_pFrame->QueryView() || pane == m_pFrame->TraceView()) {
    GoToTextLine(static_cast<CEditPane*>(pane)->GetEdit(), target);
    m_line->SetFocus();
  } else {
    m_line->SetFocus();
  }
}

void CGoToDlg::Previous() {
  m_bPrevious = true;
  GoTo();
  m_bPrevious = false;
}

bool CGoToDlg::GoToGridRow(long target) {
  dossel::CGridCtrl* grid = m_pFrame->ResultView()->GetGrid();
  const long rows = grid->GetRowCount();
  dossel::CellId focus = grid->GetFocusCell();
  if (rows <= 0 || grid->GetColumnCount() <= 0) return false;
  if (focus.row < 0) focus.row = 0;
  if (focus.col < 0) focus.col = 0;
  if (m_bPrevious)
    target = focus.row - 1;
  else if (m_bNext)
    target = focus.row + 1;
  // Rows are numbered from the header row 0, so the last one is the count
  // less one; row 0 itself is the header and not a place to go to.
  const long last = rows - 1;
  long row = target > last || target < 0 ? last : target;
  if (row == 0) row = std::min(1L, last);
  ShowClamped(target, row);
  grid->SetFocusCell(static_cast<int32_t>(row), focus.col);
  grid->ScrollCellIntoView(static_cast<int32_t>(row), focus.col);
  return true;
}

bool CGoToDlg::GoToTextLine(CTextEdit* edit, long target) {
  const long count = std::max(1, edit->GetLineCount());
  const long current = edit->LineFromPosition(edit->GetSelectionStart()) + 1;
  if (m_bPrevious)
    target = current - 1;
  else if (m_bNext)
    target = current + 1;
  const long clamped = Clamp(target, count);
  ShowClamped(target, clamped);
  const int start = edit->PositionFromLine(static_cast<int>(clamped - 1));
  if (start < 0) return false;
  // The line's first character (none on an empty line), in view.
  const int lineEnd = edit->GetLineEndPosition(static_cast<int>(clamped - 1));
  edit->SetSelection(start, start < lineEnd ? edit->PositionAfter(start) : start);
  return true;
}
