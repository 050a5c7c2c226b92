#include "app/pane_appender.h"

#include <wx/thread.h>

#include "app/text_edit.h"

namespace {
// Lines left visible at the top after an append.
constexpr int kLinesShownAfterAppend = 4;
// The panes that the free AppendTrace and AppendResultText reach; set by the frame.
CPaneAppender* s_traceAppender = nullptr;
CPaneAppender* s_resultAppender = nullptr;

}  // namespace

CPaneAppender::~CPaneAppender() = default;

void CPaneAppender::SetTarget(CTextEdit* target) { m_target = target; }

void CPaneAppender::Append(dossel::TStringView text) {
  if (text.empty()) return;
  if (wxThread::IsMain()) {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_pending.append(text);
    }
    Flush();
    return;
  }
  std::lock_guard<std::mutex> guard(m_lock);
  m_pending.append(text);
  if (!m_flushQueued) {
    m_flushQueued = true;
    CallAfter(&CPaneAppender::Flush);
  }
}

void CPaneAppender::Flush() {
  dossel::TString text;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    text.swap(m_pending);
    m_flushQueued = false;
  }
  if (text.empty() || !m_target) return;
#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
  m_target->AppendUtf8(dossel::ToUtf8(text));
#else
  // Narrow text is UTF-8 already: no copy of a large result.
  m_target->AppendUtf8(text);
#endif
  // Typing goes on after the newest text.
  m_target->SetEmptySelection(m_target->GetTextLength());
  if (m_target->IsShownOnScreen())
    m_target->ShowLastLinesAtTop(kLinesShownAfterAppend);
  else
    m_scrollWhenShown = true;
}

void CPaneAppender::OnPaneShown() {
  if (!m_scrollWhenShown || !m_target) return;
  m_scrollWhenShown = false;
  m_target->ShowLastLinesAtTop(kLinesShownAfterAppend);
}

void CPaneAppender::Discard() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_pending.clear();
}

void SetAppendTargets(CPaneAppender* trace, CPaneAppender* result) {
  s_traceAppender = trace;
  s_resultAppender = result;
}

void AppendTraceText(dossel::TStringView text) {
  if (s_traceAppender) s_traceAppender->Append(text);
}

void AppendResultTextRaw(dossel::TStringView text) {
  if (s_resultAppender) s_resultAppender->Append(text);
}
