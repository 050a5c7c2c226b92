#pragma once
// The schema pane: a tree of the connected database's objects. UI thread only.

#include <wx/treectrl.h>

#include "app/pane.h"

class CSchemaView : public CPane {
 public:
  CSchemaView(wxWindow* parent, int id, CMainFrame* frame);
  wxTreeCtrl* GetTree() const { return m_tree; }
  wxWindow* FocusWindow() override { return m_tree; }

 private:
  CMainFrame* m_pFrame;
  wxTreeCtrl* m_tree;
};
