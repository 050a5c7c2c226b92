#pragma once
// The application object: sets the process up (UTF-8 locale, the user
// interface for core code, the data-source prompt, the default catalogues),
// creates the main frame with the run history and the recovery file, opens a
// query file named on the command line and offers back an unsaved query a
// crash left.
// UI thread only.

#include <wx/app.h>

#include <memory>

#include "platform/wx/wx_user_interface.h"

class CMainFrame;
namespace dossel::history {
class CHistory;
class CRecoveryFile;
}  // namespace dossel::history

class CDosselApp : public wxApp {
 public:
  CDosselApp();
  ~CDosselApp() override;
  bool OnInit() override;
  int OnExit() override;
  void OnInitCmdLine(wxCmdLineParser& parser) override;
  bool OnCmdLineParsed(wxCmdLineParser& parser) override;

  // Shows pane `index` (0 query, 1 result, 2 trace, 3 schema).
  void SwitchPane(int index);

 protected:
  // After the frame was made and the command line's file (if any) opened,
  // or not (`opened` false): shows the frame. False ends the program.
  virtual bool StartFrame(CMainFrame* frame, bool opened);

 private:
  std::unique_ptr<dossel::WxUserInterface> m_userInterface;
  // Outlive the frame, which records into the one and keeps its text in the other.
  std::unique_ptr<dossel::history::CHistory> m_pHistory;
  std::unique_ptr<dossel::history::CRecoveryFile> m_pRecovery;
  CMainFrame* m_pFrame = nullptr;
  wxString m_fileToOpen;
};

wxDECLARE_APP(CDosselApp);
