#include "app/trace_view.h"

using namespace dossel;

namespace {
constexpr const TChar* kTraceKey = DT("Software\\Harlune\\Dossel\\Trace");
}

CTraceView::CTraceView(wxWindow* parent, int id, CMainFrame* frame)
    : CEditPane(parent, id, kTraceKey), m_pFrame(frame) {
  m_appender.SetTarget(GetEdit());
}

void CTraceView::OnEditCreated(wxTextCtrl* edit) { m_appender.SetTarget(edit); }

void CTraceView::ClearAll() {
  m_appender.Discard();
  GetEdit()->ChangeValue(wxEmptyString);
}
