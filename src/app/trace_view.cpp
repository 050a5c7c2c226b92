#include "app/trace_view.h"

#include "res/command_ids.h"

using namespace dossel;
using namespace dossel::res;

namespace {
constexpr const TChar* kTraceKey = DT("Software\\Harlune\\Dossel\\Trace");
}

CTraceView::CTraceView(wxWindow* parent, int id, CMainFrame* frame)
    : CEditPane(parent, id, kTraceKey), m_pFrame(frame) {
  GetEdit()->MakeOutputPane();
  m_appender.SetTarget(GetEdit());
}

void CTraceView::ClearAll() {
  m_appender.Discard();
  CEditPane::ClearAll();
}

int CTraceView::WordWrapCommand() const { return ID_VIEW_WORD_WRAP; }

wxMenu* CTraceView::BuildContextMenu() {
  auto* menu = new wxMenu();
  long from = 0, to = 0;
  GetEdit()->GetSelection(&from, &to);
  const bool hasText = !GetEdit()->IsEmpty();
  const struct {
    int command;
    const char* caption;
    bool enabled;
  } items[] = {{ID_EDIT_CUT, "Cu&t", from != to},
               {ID_EDIT_COPY, "&Copy", from != to},
               {ID_EDIT_PASTE, "&Paste", GetEdit()->CanPaste()},
               {0, nullptr, false},
               {ID_EDIT_CLEAR_ALL, "Clear A&ll", hasText},
               {ID_EDIT_SELECT_ALL, "&Select All", hasText}};
  for (const auto& item : items) {
    if (item.command == 0) {
      menu->AppendSeparator();
      continue;
    }
    menu->Append(ToWxId(item.command), item.caption);
    menu->Enable(ToWxId(item.command), item.enabled);
  }
  return menu;
}
