#pragma once
// The application object: sets the process up (UTF-8 locale, the user
// interface for core code) and creates the main frame. UI thread only.

#include <wx/app.h>

#include <memory>

#include "platform/wx/wx_user_interface.h"

class CDosselApp : public wxApp {
 public:
  bool OnInit() override;
  int OnExit() override;

 private:
  std::unique_ptr<dossel::WxUserInterface> m_userInterface;
};
