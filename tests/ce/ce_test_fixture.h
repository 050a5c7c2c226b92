#pragma once
// A main frame of the handheld edition on a scratch settings file, and a
// stand-in for the user at modal dialogs.

#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <functional>

#include "app/edition.h"
#include "ce/ce_edition.h"
#include "frame_fixture.h"
#include "res/command_ids.h"

namespace dossel::test {

// `Base` is FrameTest (results in a grid) or TextFrameTest.
template <typename Base>
class CeFrameTestOf : public Base {
 protected:
  void SetUp() override {
    SetEdition(CeEdition());
    Base::SetUp();
  }
  void TearDown() override {
    Base::TearDown();
    SetEdition(DesktopEdition());
  }
};
using CeFrameTest = CeFrameTestOf<TextFrameTest>;
using CeGridFrameTest = CeFrameTestOf<FrameTest>;

// Answers every modal dialog started while it lives with what `answer`
// returns for it, without showing it; counts them.
class ModalAnswer : public wxModalDialogHook {
 public:
  explicit ModalAnswer(std::function<int(wxDialog*)> answer) : m_answer(std::move(answer)) { Register(); }
  ~ModalAnswer() override { Unregister(); }
  int count = 0;

 protected:
  int Enter(wxDialog* dialog) override {
    ++count;
    return m_answer(dialog);
  }
  void Exit(wxDialog*) override {}

 private:
  std::function<int(wxDialog*)> m_answer;
};

// Sends a command of the frame's own numbering, as its menu would.
inline bool SendCommand(wxWindow* frame, int id) {
  wxCommandEvent command(wxEVT_MENU, res::ToWxId(id));
  command.SetEventObject(frame);
  return frame->ProcessWindowEvent(command);
}

// The enable state and check mark the frame gives command `id` now.
inline std::pair<bool, bool> CommandState(wxWindow* frame, int id) {
  wxUpdateUIEvent update(res::ToWxId(id));
  update.SetEventObject(frame);
  frame->ProcessWindowEvent(update);
  return {update.GetSetEnabled() ? update.GetEnabled() : true, update.GetSetChecked() && update.GetChecked()};
}

}  // namespace dossel::test
