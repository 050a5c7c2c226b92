#include "app/dossel_app.h"

#include <wx/clipbrd.h>
#include <wx/cmdline.h>
#include <wx/uilocale.h>

#include <cstdlib>

#include "app/data_source_chooser.h"
#include "app/main_frame.h"
#include "app/pane_appender.h"
#include "app/recovery_keeper.h"
#include "history/data_folder.h"
#include "history/history.h"
#include "history/recovery_file.h"
#include "settings/catalogs.h"
#include "settings/dsn_settings.h"

namespace {

// scripts/run names the sample database; offer it in the Connect dialog
// under "Sample" unless the user has such an entry already.
void RememberSampleDatabase() {
  const char* sample = std::getenv("DOSSEL_SAMPLE_DB");
  if (!sample || !*sample) return;
  for (const dossel::TString& name : dossel::ListDsnNames())
    if (dossel::EqualsNoCase(name, DT("Sample"))) return;
  dossel::DsnSettings values;
  values.database = dossel::FromUtf8(sample);
  dossel::SaveDsnSettings(DT("Sample"), values);
}

}  // namespace

CDosselApp::CDosselApp() = default;
CDosselApp::~CDosselApp() = default;

bool CDosselApp::OnInit() {
  // wx starts in the "C" locale; wide ODBC text is converted through the
  // process locale and would be corrupted there, so switch before any connect.
  wxUILocale::UseDefault();
  if (!wxApp::OnInit()) return false;
  m_userInterface = std::make_unique<dossel::WxUserInterface>();
  dossel::SetUserInterface(m_userInterface.get());
  DosselOdbcSetPromptHandler(DataSourcePrompt);
  SetAppName("Dossel");
  SetVendorName("Harlune");
  dossel::InstallDefaultCatalogs();
  RememberSampleDatabase();

  m_pFrame = new CMainFrame();
  SetTopWindow(m_pFrame);
  // Made once the trace pane is there: the history says there when its file cannot be used.
  m_pHistory = std::make_unique<dossel::history::CHistory>(dossel::history::HistoryFilePath(),
                                                           [](dossel::TStringView line) { AppendTraceText(line); });
  m_pFrame->UseHistory(m_pHistory.get());
  m_pRecovery = std::make_unique<dossel::history::CRecoveryFile>(dossel::history::DataFolder());
  m_pFrame->UseRecovery(m_pRecovery.get());
  const bool opened = m_fileToOpen.empty() || m_pFrame->OpenDocumentFile(m_fileToOpen);
  if (!StartFrame(m_pFrame, opened)) {
    m_pFrame->Destroy();
    m_pFrame = nullptr;
    return false;
  }
  OfferRecovery(*m_pFrame, *m_pRecovery, dossel::history::DataFolder());
  return true;
}

bool CDosselApp::StartFrame(CMainFrame* frame, bool opened) {
  if (!opened) return false;
  frame->Show();
  return true;
}

void CDosselApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  parser.AddParam("query file", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CDosselApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  if (parser.GetParamCount() > 0) m_fileToOpen = parser.GetParam(0);
  return wxApp::OnCmdLineParsed(parser);
}

void CDosselApp::SwitchPane(int index) {
  if (m_pFrame) m_pFrame->SwitchPane(index);
}

int CDosselApp::OnExit() {
  // The program ends as it should: the recovery file goes, and the history
  // writer finishes what it was given.
  m_pRecovery.reset();
  m_pHistory.reset();
  // What the user copied (grid cells, pane text) stays on the clipboard after
  // the program ends: the desktop's clipboard manager takes a copy of it.
  wxTheClipboard->Flush();
  DosselOdbcSetPromptHandler(nullptr);
  dossel::SetUserInterface(nullptr);
  return wxApp::OnExit();
}
