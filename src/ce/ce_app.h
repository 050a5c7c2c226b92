#pragma once
// CCeApp: the handheld edition's application object. It sets the edition
// before the frame is made, and starts through the document list, which is
// shown over the frame whether or not the command line opened a file; the
// program ends when the list cannot be shown. UI thread only.

#include "app/dossel_app.h"

class CCeApp : public CDosselApp {
 public:
  bool OnInit() override;

 protected:
  bool StartFrame(CMainFrame* frame, bool opened) override;
};
