#include "app/query_view.h"

#include "app/main_frame.h"
#include "platform/wx/wx_text.h"

using namespace dossel;

namespace {
constexpr const TChar* kQueryKey = DT("Software\\Harlune\\Dossel\\Query");
}

CQueryView::CQueryView(wxWindow* parent, int id, CMainFrame* frame)
    : CEditPane(parent, id, kQueryKey), m_pFrame(frame) {}

void CQueryView::InsertText(TStringView text, bool newLine, bool select, bool execute) {
  wxTextCtrl* edit = GetEdit();
  const long before = edit->GetLastPosition();
  edit->SetInsertionPointEnd();
  edit->WriteText(ToWx(newLine ? DT("\r\n") + TString(text) : TString(text)));
  const long end = edit->GetLastPosition();
  edit->SetSelection(select ? before : end, end);
  edit->ShowPosition(end);
  if (execute && m_pFrame) m_pFrame->Execute();
}

TString CQueryView::GetRunText() const {
  long from = 0, to = 0;
  GetEdit()->GetSelection(&from, &to);
  if (from != to) return FromWx(GetEdit()->GetStringSelection());
  return GetQueryText();
}

TString CQueryView::GetQueryText() const { return FromWx(GetEdit()->GetValue()); }

void CQueryView::SetQueryText(TStringView text) { GetEdit()->ChangeValue(ToWx(text)); }

void CQueryView::ClearAll() {
  // Removing the text (rather than resetting the value) keeps it undoable.
  GetEdit()->Remove(0, GetEdit()->GetLastPosition());
}
