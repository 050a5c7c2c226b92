#pragma once
// Gives the keyboard back across a modal step. The window behind a modal
// dialog, or one disabled and enabled again while the driver manager shows
// its own, can come back with no focused window, or not active at all once
// the dialog that had the keyboard is gone (measured on X with the file
// chooser under the data source chooser), so the keys would go nowhere.
// UI thread only.

#include <wx/toplevel.h>
#include <wx/weakref.h>
#include <wx/window.h>

class CFocusKeeper {
 public:
  CFocusKeeper() : m_focus(wxWindow::FindFocus()) {}
  ~CFocusKeeper() {
    if (!m_focus || !m_focus->IsShownOnScreen()) return;
    auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(m_focus));
    if (top && !top->IsActive()) top->Raise();
    m_focus->SetFocus();
  }
  CFocusKeeper(const CFocusKeeper&) = delete;
  CFocusKeeper& operator=(const CFocusKeeper&) = delete;

 private:
  wxWeakRef<wxWindow> m_focus;
};
