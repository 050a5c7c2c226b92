#include "app/schema_view.h"

#include <wx/sizer.h>

CSchemaView::CSchemaView(wxWindow* parent, int id, CMainFrame* frame)
    : CPane(parent, id),
      m_pFrame(frame),
      m_tree(new wxTreeCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxBORDER_SUNKEN)) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(m_tree, 1, wxEXPAND);
  SetSizer(sizer);
}
