#include "app/dossel_app.h"

#include <wx/uilocale.h>

#include "app/main_frame.h"

bool CDosselApp::OnInit() {
  if (!wxApp::OnInit()) return false;
  // wx starts in the "C" locale; wide ODBC text is converted through the
  // process locale and would be corrupted there, so switch before any connect.
  wxUILocale::UseDefault();
  m_userInterface = std::make_unique<dossel::WxUserInterface>();
  dossel::SetUserInterface(m_userInterface.get());
  SetAppName("Dossel");
  SetVendorName("Harlune");

  auto* frame = new CMainFrame();
  SetTopWindow(frame);
  frame->Show();
  return true;
}

int CDosselApp::OnExit() {
  dossel::SetUserInterface(nullptr);
  return wxApp::OnExit();
}
