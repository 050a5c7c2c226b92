#pragma once
// A fixture that points the settings store at a fresh file in a scratch
// folder and records message boxes instead of showing them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/format.h"
#include "platform/user_interface.h"
#include "recording_ui.h"
#include "test_support.h"

namespace dossel::test {

using MessageRecorder = RecordingUserInterface;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_registry = m_folder.File("registry.reg");
    setenv("DOSSEL_REGISTRY", m_registry.c_str(), 1);
    SetUserInterface(&m_messages);
  }
  void TearDown() override {
    SetUserInterface(nullptr);
    unsetenv("DOSSEL_REGISTRY");
  }
  std::string FileText() const { return ReadFile(m_registry); }

  ScratchFolder m_folder;
  std::string m_registry;
  MessageRecorder m_messages;
};

}  // namespace dossel::test
