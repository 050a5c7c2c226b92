#pragma once
// The menus, accelerators and toolbars of both editions, made from the
// command table and each edition's layout (which popups it has, where their
// sections and separators stand, where its toolbar has gaps). The frame
// turns what these functions make into wx menus, accelerators and tools.

#include <span>
#include <vector>

#include "platform/text.h"
#include "res/command_spec.h"

namespace dossel::res {

// RecentFiles is a submenu of recent files; RecentFileItems puts them as
// numbered items in place of its own item.
enum class MenuEntryKind { Popup, Item, Separator, EndPopup, RecentFiles, RecentFileItems };

struct MenuEntry {
  MenuEntryKind kind;
  int id;        // the edition's identifier of an item's command
  TString text;  // caption, with "&" mnemonic and "\t" accelerator text
};

struct AcceleratorEntry {
  unsigned modifiers;
  int key;      // an upper-case letter or a VirtualKey
  int command;  // the edition's identifier
};

struct ToolbarButton {
  int command;  // the edition's identifier; 0 for a separator
  ToolbarImage image;
};

// The menu bar: popups (which may nest), their items and separators. A
// separator stands only between two entries of one popup, and a popup only
// with entries, so a section without commands in an edition leaves no trace.
std::vector<MenuEntry> BuildMenu(std::span<const CommandSpec> commands, EditionKind edition);
// The edition's accelerators, ordered by modifiers, then key.
std::vector<AcceleratorEntry> BuildAccelerators(std::span<const CommandSpec> commands, EditionKind edition);
// The toolbar (the handheld's command bar): buttons in image order, with
// the edition's gaps.
std::vector<ToolbarButton> BuildToolbar(std::span<const CommandSpec> commands, EditionKind edition);
// The desktop command that identifier `id` of the edition stands for, or
// null; `command` is set to the desktop identifier (within a row's range).
const CommandSpec* FindCommand(std::span<const CommandSpec> commands, EditionKind edition, int id, int& command);

}  // namespace dossel::res
