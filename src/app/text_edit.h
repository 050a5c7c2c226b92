#pragma once
// The text control of the query, trace and result panes: wx's Scintilla
// control with what the panes share. It keeps the text in a gap buffer and
// lays out only the lines it shows; it owns the undo history (the output
// panes switch it off), and appends of any size land in place.
//
// Positions are Scintilla's: byte offsets into the control's UTF-8 text.
// Code that searches or selects works in them throughout and never mixes
// them with indexes into a wxString.
//
// UI thread only.

#include <wx/stc/stc.h>

#include <string_view>

class CTextEdit : public wxStyledTextCtrl {
 public:
  CTextEdit(wxWindow* parent, bool wordWrap);

  // Word wrap switches in place: the text, selection and focus stay.
  void SetWordWrap(bool wrap);
  bool IsWordWrap() const { return GetWrapMode() != wxSTC_WRAP_NONE; }
  // The font of every style, keeping the selection; styles made on top of
  // the default one are made again (ApplyStyles).
  void ApplyFont(const wxFont& font);

  // An output pane: no undo history and no change notifications, which
  // would cost time and memory for every appended line.
  void MakeOutputPane();
  // Appends UTF-8 bytes at the end, growing the buffer in large steps.
  void AppendUtf8(std::string_view utf8);
  // Scrolls so that the last `lines` lines stand at the top of the view.
  void ShowLastLinesAtTop(int lines);

  // Undo and Redo that select the text they brought back (or leave the
  // caret where the text went). False when there was nothing to do.
  bool UndoStep();
  bool RedoStep();
  // Ends the run of typing that Undo would take back in one step.
  void BreakUndoRun();

  // The document's modified flag: the control's save point, or a mark
  // set by MarkDirty until the next DiscardEdits.
  bool IsModified() const override { return GetModify() || m_bDirty; }
  void MarkDirty() override { m_bDirty = true; }
  void DiscardEdits() override;

  // Whether Paste may change the text. Scintilla asks the clipboard, a round
  // trip to the X server, and the frame asks on every idle turn; the Paste
  // command itself does nothing when the clipboard holds no text.
  bool CanPaste() const override { return IsEditable(); }

  // Selects from `from` to `to` (the caret at `to`) and scrolls the caret
  // into view; -1, -1 selects everything.
  void SetSelection(long from, long to) override;

 protected:
  // Called after the font was set on the default style and copied to the
  // others; a lexer pane sets its own styles' colours here.
  virtual void ApplyStyles() {}

 private:
  bool ReplayStep(bool redo);
  void OnCharAdded(wxStyledTextEvent& event);
  void OnModified(wxStyledTextEvent& event);

  bool m_bDirty = false;
  // The buffer size last asked for; appends beyond it ask for twice the text.
  size_t m_allocated = 0;
  // While Undo or Redo replays a step: the span of text it inserted.
  bool m_bReplaying = false;
  long m_replayFrom = -1;
  long m_replayTo = -1;
  long m_replayCaret = -1;
};
