#pragma once
// Checks that every item of a frame's menu bar and every button of its
// toolbar (or command bar) stands for a row of the command table that the
// frame's edition has, shown as that row says: the row's prompt as help,
// a check item exactly when the row has a check rule.

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include <set>

#include "app/command_table.h"
#include "app/edition.h"
#include "app/main_frame.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"

namespace dossel::test {

// The row of an identifier the frame shows, or null after a failure.
inline const FrameCommand* ExpectRow(int wxId, const std::string& where) {
  const int id = res::FromWxId(wxId);
  const int command = Edition().CommandOf(id);
  const FrameCommand* row = FindFrameCommand(command);
  EXPECT_NE(row, nullptr) << where << " " << id << " has no row in the command table";
  if (row) {
    EXPECT_TRUE(Edition().HasCommand(command)) << where << " " << id << " is not the edition's";
  }
  return row;
}

inline void ExpectMenuRows(wxMenu* menu, std::set<int>& seen) {
  for (wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSeparator()) continue;
    if (item->IsSubMenu()) {
      ExpectMenuRows(item->GetSubMenu(), seen);
      continue;
    }
    const std::string label = item->GetItemLabel().utf8_string();
    const FrameCommand* row = ExpectRow(item->GetId(), "menu item \"" + label + "\"");
    if (!row) continue;
    seen.insert(row->spec.id);
    // The recent files' entries show their file, not a prompt.
    if (row->spec.recentFiles) continue;
    EXPECT_EQ(item->GetHelp(), ToWx(res::PromptOf(row->spec))) << label;
    EXPECT_EQ(item->IsCheckable(), row->checked != nullptr) << label;
  }
}

// The desktop identifiers of the commands the frame's menus and toolbar show.
inline std::set<int> ExpectRowsOfFrame(CMainFrame* frame) {
  std::set<int> seen;
  wxMenuBar* bar = frame->GetMenuBar();
  for (size_t i = 0; i < bar->GetMenuCount(); ++i) ExpectMenuRows(bar->GetMenu(i), seen);
  wxToolBar* toolbar = frame->GetToolBar();
  for (int i = 0; toolbar && i < static_cast<int>(toolbar->GetToolsCount()); ++i) {
    const wxToolBarToolBase* tool = toolbar->GetToolByPos(i);
    if (tool->IsSeparator()) continue;
    const FrameCommand* row = ExpectRow(tool->GetId(), "toolbar button " + std::to_string(i));
    if (!row) continue;
    seen.insert(row->spec.id);
    EXPECT_EQ(tool->GetShortHelp(), ToWx(res::TooltipOf(row->spec))) << i;
    EXPECT_EQ(tool->GetLongHelp(), ToWx(res::PromptOf(row->spec))) << i;
  }
  return seen;
}

}  // namespace dossel::test
