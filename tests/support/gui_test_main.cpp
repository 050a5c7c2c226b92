// main() of the window test programs: starts wx without a main loop of its
// own, turns every wx assert into a test failure (a headless run must never
// stop at an assert dialog) and sends log output to stderr.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/uilocale.h>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line) << "wx assert in " << func.utf8_str() << ": " << cond.utf8_str() << " "
                                        << msg.utf8_str();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new wxApp());
  if (!wxEntryStart(argc, argv)) return 2;
  wxTheApp->CallOnInit();
  wxUILocale::UseDefault();
  wxSetAssertHandler(FailOnAssert);
  delete wxLog::SetActiveTarget(new wxLogStderr());
  wxInitAllImageHandlers();
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
