#pragma once
// Appends text to a pane's text control from any thread. Text written by
// another thread is collected and added on the UI thread in one piece per turn of the
// event loop, in place at the end of the control's text, so a large result
// costs time in proportion to its size; text written on the UI thread first
// flushes what is pending, so lines keep their order. After each append the
// newest lines are shown at the top of the visible area.
//
// Append may be called from any thread; everything else is UI thread only.

#include <wx/event.h>

#include <mutex>

#include "platform/format.h"
#include "platform/text.h"

class CTextEdit;

class CPaneAppender : public wxEvtHandler {
 public:
  CPaneAppender() = default;
  ~CPaneAppender() override;

  // The control that receives the text.
  void SetTarget(CTextEdit* target);
  CTextEdit* GetTarget() const { return m_target; }

  void Append(dossel::TStringView text);
  // Moves pending text into the control now.
  void Flush();
  // Drops text still pending (the pane was cleared).
  void Discard();
  // The pane was shown: text appended while it was hidden now gets its
  // newest lines shown at the top (a hidden control has no height to scroll).
  void OnPaneShown();

 private:
  CTextEdit* m_target = nullptr;
  std::mutex m_lock;
  dossel::TString m_pending;
  bool m_flushQueued = false;
  bool m_scrollWhenShown = false;
};

// Appends to the trace pane and the result pane's text from any thread. The
// arguments are formatted into the format; data passed as an argument is
// always copied literally.
void AppendTraceText(dossel::TStringView text);
// The panes those appends reach (the frame sets them; null clears).
void SetAppendTargets(CPaneAppender* trace, CPaneAppender* result);
void AppendResultTextRaw(dossel::TStringView text);

template <typename... Args>
void AppendTrace(dossel::TStringView format, const Args&... args) {
  AppendTraceText(sizeof...(Args) ? dossel::Format(format, args...) : dossel::TString(format));
}

template <typename... Args>
void AppendResultText(dossel::TStringView format, const Args&... args) {
  AppendResultTextRaw(sizeof...(Args) ? dossel::Format(format, args...) : dossel::TString(format));
}
