#pragma once
// A main frame on a scratch settings file, with message boxes recorded, and
// helpers that run the event loop until a run has finished.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <type_traits>

#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/trace_view.h"
#include "platform/wx/wx_text.h"
#include "recording_ui.h"
#include "result/wx/result_view.h"
#include "settings/settings_store.h"
#include "test_support.h"

namespace dossel::test {

// Runs the event loop until `done` or `timeoutMs` passed; answers `done`.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    wxTheApp->Yield(true);
    wxMilliSleep(2);
  }
  wxTheApp->Yield(true);
  return true;
}

inline void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    wxTheApp->Yield(true);
    wxMilliSleep(2);
  }
}

// The elapsed times differ from run to run; tests compare the lines around them.
inline std::string WithoutTimes(const std::string& text) {
  static const std::regex time("\\d\\d+:\\d\\d:\\d\\d\\.\\d\\d\\d");
  return std::regex_replace(text, time, "T");
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("DOSSEL_REGISTRY", m_folder.File("registry.reg").c_str(), 1);
    SetUserInterface(&m_ui);
    PrepareSettings();
    m_frame = new CMainFrame();
    m_frame->Show();
    Pump(50);
  }

  void TearDown() override {
    if (m_frame->Session().IsExecuting()) {
      m_frame->RequestCancel();
      PumpUntil([&] { return !m_frame->Session().IsExecuting(); });
    }
    // The session ends the way the frame's close ends it.
    EXPECT_TRUE(m_frame->Session().Shutdown());
    m_frame->Destroy();
    Pump(20);
    SetUserInterface(nullptr);
    unsetenv("DOSSEL_REGISTRY");
  }

  // Settings written before the frame is created.
  virtual void PrepareSettings() {}

  static void WriteSetting(const TChar* key, const TChar* name, int value) {
    KeyWriteInteger(HKEY_LOCAL_MACHINE, key, name, value);
  }

  std::string Trace() {
    m_frame->TraceView()->Appender().Flush();
    return ToUtf8(FromWx(m_frame->TraceView()->GetEdit()->GetValue()));
  }
  std::string Result() {
    m_frame->ResultView()->Appender().Flush();
    return ToUtf8(FromWx(m_frame->ResultView()->GetEdit()->GetValue()));
  }
  // The trace written since the last call.
  std::string NewTrace() {
    const std::string all = Trace();
    const std::string fresh = all.substr(std::min(m_traceSeen, all.size()));
    m_traceSeen = all.size();
    return fresh;
  }

  bool ConnectTo(const std::string& connect) {
    const TString text = FromUtf8(connect);
    const bool ok = m_frame->Connect(&text);
    NewTrace();
    return ok;
  }

  // Types `sql` into the query pane, executes it and waits for the completion.
  void Run(const std::string& sql) {
    m_frame->QueryView()->SetQueryText(FromUtf8(sql));
    StartAndWait();
  }

  // Asks the session's connection thread and runs the event loop until the
  // answer has come; the answer.
  template <typename Read>
  auto AskAndWait(Read read) {
    using Value = std::decay_t<std::invoke_result_t<Read&, db::CDbConnection&>>;
    std::optional<Value> answer;
    EXPECT_TRUE(m_frame->Session().Ask(read, [&answer](Value value) { answer = std::move(value); }));
    EXPECT_TRUE(PumpUntil([&] { return answer.has_value() && !m_frame->Session().IsReading(); }));
    return answer.value_or(Value());
  }

  // Expands a schema node and waits until its children have been read.
  void ExpandAndWait(wxTreeCtrl* tree, const wxTreeItemId& item) {
    tree->Expand(item);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading(); }));
  }

  void StartAndWait() {
    m_frame->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); })) << "the run did not finish";
  }

  ScratchFolder m_folder;
  RecordingUserInterface m_ui;
  CMainFrame* m_frame = nullptr;
  size_t m_traceSeen = 0;
};

inline constexpr const TChar* kResultKey = DT("Software\\Harlune\\Dossel\\Result");
inline constexpr const TChar* kOptionsKey = DT("Software\\Harlune\\Dossel\\Options");

// A frame whose result pane shows text.
class TextFrameTest : public FrameTest {
 protected:
  void PrepareSettings() override { WriteSetting(kResultKey, DT("Format"), 1); }
};

}  // namespace dossel::test
