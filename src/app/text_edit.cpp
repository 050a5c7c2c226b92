#include "app/text_edit.h"

#include <algorithm>

namespace {

// Scintilla's message that selects a range and scrolls the caret into view
// (wx wraps it only as two calls that do neither).
constexpr int kSciSetSel = 2160;
// The first buffer an append asks for; later ones ask for twice the text.
constexpr size_t kFirstAllocation = 1 << 20;
// Scintilla counts in int.
constexpr size_t kMaxAllocation = 0x7FFFFFFF;

}  // namespace

CTextEdit::CTextEdit(wxWindow* parent, bool wordWrap)
    : wxStyledTextCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN) {
  // No notifications of changes unless an undo asks for them (ReplayStep)
  // or the pane does (the query pane's recovery keeper).
  SetModEventMask(0);
  // The panes' own context menus replace Scintilla's.
  UsePopUp(wxSTC_POPUP_NEVER);
  // Pasted text keeps its line ends, so a script stays as it was written.
  SetPasteConvertEndings(false);
  // The newest lines of an append stand at the top of the view.
  SetEndAtLastLine(false);
  SetMarginWidth(1, 0);
  SetScrollWidthTracking(true);
  SetScrollWidth(1);
  // Redo has both of the keys a user may expect.
  CmdKeyAssign('Y', wxSTC_KEYMOD_CTRL, wxSTC_CMD_REDO);
  CmdKeyAssign('Z', wxSTC_KEYMOD_CTRL | wxSTC_KEYMOD_SHIFT, wxSTC_CMD_REDO);
  SetWordWrap(wordWrap);
  Bind(wxEVT_STC_CHARADDED, &CTextEdit::OnCharAdded, this);
  Bind(wxEVT_STC_MODIFIED, &CTextEdit::OnModified, this);
  // Undo and Redo keys go through the steps that select what they restore.
  Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    const int modifiers = event.GetModifiers();
    const int key = event.GetKeyCode();
    if (modifiers == wxMOD_CONTROL && key == 'Z')
      UndoStep();
    else if ((modifiers == wxMOD_CONTROL && key == 'Y') || (modifiers == (wxMOD_CONTROL | wxMOD_SHIFT) && key == 'Z'))
      RedoStep();
    else
      event.Skip();
  });
}

void CTextEdit::SetWordWrap(bool wrap) {
  SetWrapMode(wrap ? wxSTC_WRAP_WORD : wxSTC_WRAP_NONE);
  SetUseHorizontalScrollBar(!wrap);
}

void CTextEdit::ApplyFont(const wxFont& font) {
  const long anchor = GetAnchor(), caret = GetCurrentPos();
  SetFont(font);
  StyleSetFont(wxSTC_STYLE_DEFAULT, font);
  StyleClearAll();
  ApplyStyles();
  SetAnchor(anchor);
  SetCurrentPos(caret);
  Refresh();
}

void CTextEdit::MakeOutputPane() {
  SetUndoCollection(false);
  EmptyUndoBuffer();
}

void CTextEdit::AppendUtf8(std::string_view utf8) {
  if (utf8.empty()) return;
  const size_t needed = static_cast<size_t>(GetTextLength()) + utf8.size();
  if (needed > m_allocated) {
    // Scintilla grows its buffer by a sixth at a time, copying it each time;
    // doubling copies a large result a few times only.
    m_allocated = std::min(std::max(needed * 2, kFirstAllocation), kMaxAllocation);
    Allocate(static_cast<int>(m_allocated));
  }
  AppendTextRaw(utf8.data(), static_cast<int>(utf8.size()));
}

void CTextEdit::ShowLastLinesAtTop(int lines) {
  const int count = GetLineCount();
  const int first = std::max(0, count - lines);
  SetFirstVisibleLine(IsWordWrap() ? VisibleFromDocLine(first) : first);
}

void CTextEdit::DiscardEdits() {
  SetSavePoint();
  m_bDirty = false;
}

void CTextEdit::SetSelection(long from, long to) {
  if (from == -1 && to == -1)
    SelectAll();
  else
    SendMsg(kSciSetSel, static_cast<wxUIntPtr>(from), static_cast<wxIntPtr>(to));
}

void CTextEdit::BreakUndoRun() {
  // An empty group closes the step that typing would otherwise go on joining.
  BeginUndoAction();
  EndUndoAction();
}

bool CTextEdit::UndoStep() { return CanUndo() && ReplayStep(false); }

bool CTextEdit::RedoStep() { return CanRedo() && ReplayStep(true); }

bool CTextEdit::ReplayStep(bool redo) {
  m_bReplaying = true;
  m_replayFrom = m_replayTo = m_replayCaret = -1;
  const int mask = GetModEventMask();
  SetModEventMask(mask | wxSTC_MOD_INSERTTEXT | wxSTC_MOD_DELETETEXT | wxSTC_PERFORMED_UNDO | wxSTC_PERFORMED_REDO);
  if (redo)
    Redo();
  else
    Undo();
  SetModEventMask(mask);
  m_bReplaying = false;
  if (m_replayFrom >= 0)
    SetSelection(m_replayFrom, m_replayTo);
  else if (m_replayCaret >= 0)
    SetSelection(m_replayCaret, m_replayCaret);
  return true;
}

void CTextEdit::OnModified(wxStyledTextEvent& event) {
  event.Skip();
  if (!m_bReplaying) return;
  const long pos = event.GetPosition(), length = event.GetLength();
  if (event.GetModificationType() & wxSTC_MOD_INSERTTEXT) {
    // Text already marked moves along when the insertion lies before it.
    if (m_replayFrom >= 0 && pos <= m_replayFrom) {
      m_replayFrom += length;
      m_replayTo += length;
    }
    m_replayFrom = m_replayFrom < 0 ? pos : std::min(m_replayFrom, pos);
    m_replayTo = std::max(m_replayTo, pos + length);
    m_replayCaret = pos + length;
  } else if (event.GetModificationType() & wxSTC_MOD_DELETETEXT) {
    m_replayCaret = pos;
    if (m_replayFrom < 0) return;
    const auto shift = [&](long& at) { at = at <= pos ? at : std::max(pos, at - length); };
    shift(m_replayFrom);
    shift(m_replayTo);
    if (m_replayFrom == m_replayTo) m_replayFrom = m_replayTo = -1;
  }
}

void CTextEdit::OnCharAdded(wxStyledTextEvent& event) {
  event.Skip();
  // A line break ends a run of typing: Undo takes back one line at a time.
  if (event.GetKey() == '\n' || event.GetKey() == '\r') BreakUndoRun();
}
