#pragma once
// Helpers of the dialog tests: a scratch settings file, recorded message
// boxes, modal dialogs driven from inside their own event loop, button
// clicks as real command events, and screenshots.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "recording_ui.h"
#include "test_support.h"

namespace dossel::test {

using MessageRecorder = RecordingUserInterface;

// Runs `action` on the first open dialog of type T once the next modal loop
// runs; a dialog still open afterwards is cancelled so no test hangs.
template <typename T>
void WhenModal(std::function<void(T&)> action) {
  wxTheApp->CallAfter([action] {
    for (wxWindow* window : wxTopLevelWindows) {
      if (T* dialog = dynamic_cast<T*>(window); dialog && dialog->IsModal()) {
        action(*dialog);
        if (dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
        return;
      }
    }
    ADD_FAILURE() << "no modal dialog open";
  });
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("DOSSEL_REGISTRY", m_folder.File("registry.reg").c_str(), 1);
    SetUserInterface(&m_messages);
  }
  void TearDown() override {
    SetUserInterface(nullptr);
    unsetenv("DOSSEL_REGISTRY");
  }

  template <typename T>
  void RunModal(std::function<void(T&)> action) {
    WhenModal<T>(std::move(action));
  }

  static void Click(wxWindow& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
  }

  // Shows the window, lets it paint and saves what the screen shows of it.
  static void SaveScreenshot(wxWindow& window, const std::string& path) {
    window.Show();
    window.Raise();
    for (int i = 0; i < 50; ++i) {
      window.Refresh();
      window.Update();
      wxYield();
      wxMilliSleep(20);
    }
    const wxRect rect = window.GetScreenRect();
    wxBitmap bitmap(rect.width, rect.height);
    wxMemoryDC memory(bitmap);
    wxScreenDC screen;
    memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
    memory.SelectObject(wxNullBitmap);
    EXPECT_TRUE(bitmap.SaveFile(path, wxBITMAP_TYPE_PNG));
    window.Hide();
  }

  ScratchFolder m_folder;
  MessageRecorder m_messages;
};

}  // namespace dossel::test
