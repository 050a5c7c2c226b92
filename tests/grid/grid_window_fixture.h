#pragma once
// A shown frame holding a 500 x 300 grid window, for the tests that need the
// grid as a window under a display.

#include <gtest/gtest.h>
#include <wx/frame.h>

#include "grid/wx/grid_ctrl.h"

namespace dossel {

class GridWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, wxT("grid"), wxDefaultPosition, wxSize(600, 400));
    grid = new CGridCtrl(0, 0, 0, 0);
    ASSERT_TRUE(grid->Create(wxRect(0, 0, 500, 300), frame, 100));
    frame->Show();
    grid->SetSize(0, 0, 500, 300);
  }
  void TearDown() override { frame->Destroy(); }

  wxFrame* frame = nullptr;
  CGridCtrl* grid = nullptr;
};

}  // namespace dossel
