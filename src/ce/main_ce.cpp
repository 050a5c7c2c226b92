// The dosselce program: the handheld edition, built with UTF-16 text.
#include <wx/init.h>

#include "ce/ce_app.h"

// The application object is a CDosselApp to the code that shares it.
CDosselApp& wxGetApp() { return *static_cast<CDosselApp*>(wxApp::GetInstance()); }

namespace {

wxAppConsole* CreateCeApp() {
  wxAppConsole::CheckBuildOptions(WX_BUILD_OPTIONS_SIGNATURE, "dosselce");
  return new CCeApp;
}

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInitializerFunction(CreateCeApp);
  return wxEntry(argc, argv);
}
