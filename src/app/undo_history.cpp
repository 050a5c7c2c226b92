#include "app/undo_history.h"

#include <wx/textctrl.h>

namespace dossel {

UndoEdit DiffTexts(const wxString& before, const wxString& after) {
  const size_t shorter = std::min(before.length(), after.length());
  size_t head = 0;
  while (head < shorter && before[head] == after[head]) ++head;
  size_t tail = 0;
  while (tail < shorter - head && before[before.length() - 1 - tail] == after[after.length() - 1 - tail]) ++tail;
  UndoEdit edit;
  edit.pos = static_cast<long>(head);
  edit.removed = before.Mid(head, before.length() - head - tail);
  edit.inserted = after.Mid(head, after.length() - head - tail);
  return edit;
}

namespace {

bool IsOneCharacter(const wxString& text) { return text.length() == 1; }

}  // namespace

bool JoinKeystroke(UndoEdit& last, const UndoEdit& next) {
  if (!last.open || !next.removed.empty() == !next.inserted.empty()) return false;
  if (next.removed.empty()) {
    // Typing goes on at the end of the run, or replaces what was just
    // deleted (GTK replaces a selection in two changes: delete, insert).
    const bool atRunEnd = next.pos == last.pos + static_cast<long>(last.inserted.length());
    const bool afterDelete = last.inserted.empty() && next.pos == last.pos;
    if (!(atRunEnd && IsOneCharacter(next.inserted)) && !afterDelete) return false;
    last.inserted += next.inserted;
    last.open = IsOneCharacter(next.inserted) && next.inserted != "\n";
    return true;
  }
  if (!last.inserted.empty() || !IsOneCharacter(next.removed)) return false;
  if (next.pos + 1 == last.pos) {  // Backspace
    last.removed = next.removed + last.removed;
    last.pos = next.pos;
    return true;
  }
  if (next.pos == last.pos) {  // Delete
    last.removed += next.removed;
    return true;
  }
  return false;
}

CUndoHistory::~CUndoHistory() { SetTarget(nullptr); }

void CUndoHistory::SetTarget(wxTextCtrl* target) {
  // The history stays: a rebuilt control gets the same text (without a
  // change event) right after this call.
  if (m_target) m_target->Unbind(wxEVT_TEXT, &CUndoHistory::OnText, this);
  m_target = target;
  if (m_target) m_target->Bind(wxEVT_TEXT, &CUndoHistory::OnText, this);
}

void CUndoHistory::Reset() {
  m_steps.clear();
  m_seen = m_target ? m_target->GetValue() : wxString();
}

void CUndoHistory::Resync() {
  if (m_target && m_stepDepth == 0 && m_target->GetLastPosition() != static_cast<long>(m_seen.length())) Reset();
}

void CUndoHistory::BreakRun() {
  if (!m_steps.empty()) m_steps.back().open = false;
}

void CUndoHistory::BeginStep() {
  if (m_stepDepth++ == 0) {
    BreakRun();
    m_stepStart = m_seen;
  }
}

void CUndoHistory::EndStep() {
  if (m_stepDepth == 0 || --m_stepDepth > 0 || !m_target) return;
  m_seen = m_target->GetValue();
  UndoEdit edit = DiffTexts(m_stepStart, m_seen);
  m_stepStart.clear();
  if (edit.removed.empty() && edit.inserted.empty()) return;
  edit.open = false;
  m_steps.push_back(std::move(edit));
  if (m_steps.size() > kMaxSteps) m_steps.pop_front();
}

void CUndoHistory::OnText(wxCommandEvent& event) {
  event.Skip();
  if (m_applying || m_stepDepth > 0 || !m_target) return;
  const wxString text = m_target->GetValue();
  UndoEdit edit = DiffTexts(m_seen, text);
  m_seen = text;
  if (edit.removed.empty() && edit.inserted.empty()) return;
  Record(edit);
}

void CUndoHistory::Record(const UndoEdit& edit) {
  if (!m_steps.empty() && JoinKeystroke(m_steps.back(), edit)) return;
  UndoEdit step = edit;
  // A keystroke may start a run; so may a deletion, which the insertion of
  // a replacement or further deleting keys may join.
  step.open = (IsOneCharacter(step.inserted) && step.inserted != "\n") || step.inserted.empty();
  m_steps.push_back(std::move(step));
  if (m_steps.size() > kMaxSteps) m_steps.pop_front();
}

bool CUndoHistory::Undo() {
  if (!m_target || m_steps.empty()) return false;
  if (m_target->GetValue() != m_seen) {
    // Replaced behind our back: the steps no longer fit the text.
    Reset();
    return false;
  }
  const UndoEdit step = m_steps.back();
  m_steps.pop_back();
  m_applying = true;
  m_target->Replace(step.pos, step.pos + static_cast<long>(step.inserted.length()), step.removed);
  m_applying = false;
  m_seen = m_target->GetValue();
  m_target->SetSelection(step.pos, step.pos + static_cast<long>(step.removed.length()));
  m_target->ShowPosition(step.pos);
  return true;
}

}  // namespace dossel
