// The builders that make both editions' menus, accelerators and toolbars
// from command rows: separators only between entries of one popup, the
// handheld's own identifiers, captions and omissions, the key texts, the
// order of keys and buttons, and the recent-file list in each edition.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/menus.h"

namespace dossel::res {
namespace {

using enum MenuSection;
constexpr int kA = 40001, kB = 40002, kC = 40003, kD = 40004, kAliasOfB = 41002;

// One line per entry: "[title", "]", "-", or the item's identifier and text.
std::vector<std::string> Lines(const std::vector<MenuEntry>& menu) {
  std::vector<std::string> lines;
  for (const MenuEntry& entry : menu) {
    switch (entry.kind) {
      case MenuEntryKind::Popup:
        lines.push_back("[" + ToUtf8(entry.text));
        break;
      case MenuEntryKind::EndPopup:
        lines.push_back("]");
        break;
      case MenuEntryKind::Separator:
        lines.push_back("-");
        break;
      case MenuEntryKind::Item:
        lines.push_back(std::to_string(entry.id) + " " + ToUtf8(entry.text));
        break;
      case MenuEntryKind::RecentFiles:
        lines.push_back("recent submenu " + std::to_string(entry.id) + " " + ToUtf8(entry.text));
        break;
      case MenuEntryKind::RecentFileItems:
        lines.push_back("recent items " + std::to_string(entry.id) + " " + ToUtf8(entry.text));
        break;
    }
  }
  return lines;
}

TEST(MenusTest, SectionsAndPopupsWithoutCommandsLeaveNoTrace) {
  // SQL has its first and last sections, nothing between them; Edit has
  // nothing at all; View only its last section.
  const CommandSpec commands[] = {
      {.id = kA, .menu = SqlSession, .caption = DT("&Alpha")},
      {.id = kB, .menu = SqlExit, .caption = DT("&Beta")},
      {.id = kC, .menu = ViewAbout, .caption = DT("&Gamma")},
      {.id = kD, .menu = EditUndo, .caption = DT("&Delta"), .handheld = kNotOnHandheld},
  };
  EXPECT_EQ(Lines(BuildMenu(commands, EditionKind::Desktop)),
            (std::vector<std::string>{"[&SQL", "40001 &Alpha", "-", "40002 &Beta", "]", "[&Edit", "40004 &Delta", "]",
                                      "[&View", "40003 &Gamma", "]"}));
  // The handheld's Edit submenu of SQL goes with its only command; so does
  // the separator before it.
  EXPECT_EQ(
      Lines(BuildMenu(commands, EditionKind::Handheld)),
      (std::vector<std::string>{"[&SQL", "40001 &Alpha", "-", "40002 &Beta", "]", "[&View", "40003 &Gamma", "]"}));
}

TEST(MenusTest, TheHandheldNumbersCaptionsAndLeavesOutCommandsOfItsOwn) {
  const CommandSpec commands[] = {
      {.id = kA, .menu = SqlSession, .caption = DT("&Alpha"), .key = Ctrl('A')},
      {.id = kB,
       .menu = SqlSession,
       .caption = DT("&Beta"),
       .key = Plain(kVkF5),
       .handheld = {.id = kAliasOfB, .caption = DT("B&eta")}},
      {.id = kC, .menu = SqlSession, .caption = DT("&Gamma"), .handheld = kNotOnHandheld},
      // The handheld's File submenu follows SQL's first section after a separator.
      {.id = kD, .menu = SqlFile, .caption = DT("&Delta")},
  };
  EXPECT_EQ(Lines(BuildMenu(commands, EditionKind::Desktop)),
            (std::vector<std::string>{"[&SQL", "40001 &Alpha\tCtrl+A", "40002 &Beta\tF5", "40003 &Gamma", "-",
                                      "40004 &Delta", "]"}));
  EXPECT_EQ(
      Lines(BuildMenu(commands, EditionKind::Handheld)),
      (std::vector<std::string>{"[&SQL", "40001 &Alpha", "41002 B&eta", "-", "[&File", "40004 &Delta", "]", "]"}));

  int command = 0;
  ASSERT_EQ(FindCommand(commands, EditionKind::Handheld, kAliasOfB, command), &commands[1]);
  EXPECT_EQ(command, kB);
  // A command the handheld lacks, or numbers otherwise, is not found by the desktop's number.
  EXPECT_EQ(FindCommand(commands, EditionKind::Handheld, kC, command), nullptr);
  EXPECT_EQ(FindCommand(commands, EditionKind::Handheld, kB, command), nullptr);
  ASSERT_EQ(FindCommand(commands, EditionKind::Desktop, kB, command), &commands[1]);
  EXPECT_EQ(FindCommand(commands, EditionKind::Desktop, kAliasOfB, command), nullptr);
}

TEST(MenusTest, KeyTextsNameTheKeysAsTheMenusShowThem) {
  EXPECT_EQ(ToUtf8(KeyText(Ctrl('E'))), "Ctrl+E");
  EXPECT_EQ(ToUtf8(KeyText(Plain(kVkF3))), "F3");
  EXPECT_EQ(ToUtf8(KeyText(Plain(kVkF10))), "F10");
  EXPECT_EQ(ToUtf8(KeyText(Alt(kVkPause))), "Alt+Break");
  EXPECT_EQ(ToUtf8(KeyText({kAccelCtrl | kAccelShift, 'Z'})), "Ctrl+Shift+Z");
  EXPECT_EQ(ToUtf8(KeyText({})), "");
}

TEST(MenusTest, AcceleratorsGoByModifiersThenKeyAndTheHandheldKeepsOnlyItsOwn) {
  const CommandSpec commands[] = {
      {.id = kA, .key = Ctrl('Z'), .handheld = {.key = true}},
      {.id = kB, .key = Alt(kVkPause), .handheld = {.id = kAliasOfB, .key = true}},
      {.id = kC, .key = Plain(kVkF4)},
      {.id = kD, .key = Ctrl('C'), .handheld = kNotOnHandheld},
  };
  const auto keys = [](const std::vector<AcceleratorEntry>& entries) {
    std::vector<std::string> lines;
    for (const AcceleratorEntry& entry : entries)
      lines.push_back(std::to_string(entry.modifiers) + "+" + std::to_string(entry.key) + "=" +
                      std::to_string(entry.command));
    return lines;
  };
  EXPECT_EQ(keys(BuildAccelerators(commands, EditionKind::Desktop)),
            (std::vector<std::string>{"0+115=40003", "1+67=40004", "1+90=40001", "2+19=40002"}));
  EXPECT_EQ(keys(BuildAccelerators(commands, EditionKind::Handheld)),
            (std::vector<std::string>{"1+90=40001", "2+19=41002"}));
}

TEST(MenusTest, ToolbarButtonsFollowTheImagesWithEachEditionsGaps) {
  // Table order differs from image order on purpose.
  const CommandSpec commands[] = {
      {.id = kA, .button = ToolbarImage::Execute, .handheld = {.button = true}},
      {.id = kB, .button = ToolbarImage::Trace, .handheld = {.id = kAliasOfB, .button = true}},
      {.id = kC, .button = ToolbarImage::Copy},
      {.id = kD, .button = ToolbarImage::New, .handheld = kNotOnHandheld},
  };
  const auto ids = [](const std::vector<ToolbarButton>& buttons) {
    std::vector<int> result;
    for (const ToolbarButton& button : buttons) result.push_back(button.command);
    return result;
  };
  // The desktop has gaps before the clipboard's and the panes' images, the
  // handheld one before the panes'; here Copy and Trace come first after them.
  EXPECT_EQ(ids(BuildToolbar(commands, EditionKind::Desktop)), (std::vector<int>{kD, 0, kC, 0, kB, kA}));
  EXPECT_EQ(ids(BuildToolbar(commands, EditionKind::Handheld)), (std::vector<int>{0, kAliasOfB, kA}));
}

TEST(MenusTest, RecentFilesAreASubmenuOnTheDesktopAndItemsOnTheHandheld) {
  const CommandSpec commands[] = {
      {.id = kA,
       .count = 8,
       .menu = SqlRecentFiles,
       .caption = DT("Recent Files"),
       .recentFiles = true,
       .handheld = {.caption = DT("Recent File")}},
  };
  EXPECT_EQ(Lines(BuildMenu(commands, EditionKind::Desktop))[1], "recent submenu 40001 Recent Files");
  EXPECT_EQ(Lines(BuildMenu(commands, EditionKind::Handheld))[1], "recent items 40001 Recent File");
  int command = 0;
  ASSERT_NE(FindCommand(commands, EditionKind::Handheld, kA + 7, command), nullptr);
  EXPECT_EQ(command, kA + 7);
  EXPECT_EQ(FindCommand(commands, EditionKind::Handheld, kA + 8, command), nullptr);
}

TEST(MenusTest, ThePromptPrecedesTheTooltip) {
  const CommandSpec both{.id = kA, .prompt = DT("Execute Query\nExecute")};
  EXPECT_EQ(ToUtf8(PromptOf(both)), "Execute Query");
  EXPECT_EQ(ToUtf8(TooltipOf(both)), "Execute");
  const CommandSpec one{.id = kA, .prompt = DT("Close Connection")};
  EXPECT_EQ(ToUtf8(PromptOf(one)), "Close Connection");
  EXPECT_EQ(ToUtf8(TooltipOf(one)), "Close Connection");
}

}  // namespace
}  // namespace dossel::res
