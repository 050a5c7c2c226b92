#pragma once
// The main menu, the accelerator table and the toolbar as data, so that a
// command needs only its entry here, its handler and its update handler.

#include <span>

#include "platform/text.h"

namespace dossel::res {

// RecentFiles is a submenu of recent files; RecentFileItems puts them as
// numbered items in place of its own item.
enum class MenuEntryKind { Popup, Item, Separator, EndPopup, RecentFiles, RecentFileItems };

struct MenuEntry {
  MenuEntryKind kind;
  int id;             // command identifier of an item
  const TChar* text;  // caption, with "&" mnemonic and "\t" accelerator text
};

// Virtual keys of the accelerator table, with the modifier bits below.
enum AcceleratorModifier : unsigned { kAccelNone = 0, kAccelCtrl = 1, kAccelAlt = 2, kAccelShift = 4 };
enum VirtualKey : int {
  kVkF3 = 0x72,
  kVkF4,
  kVkF5,
  kVkF6,
  kVkF7,
  kVkF8,
  kVkF9,
  kVkF10,
  kVkPause = 0x13,
};

struct AcceleratorEntry {
  unsigned modifiers;
  int key;  // an upper-case letter or a VirtualKey
  int command;
};

enum class ToolbarImage { New, Open, Save, Cut, Copy, Paste, Query, Result, Trace, Schema, Execute, Cancel };

struct ToolbarButton {
  int command;  // 0 for a separator
  ToolbarImage image;
};

// A command identifier of one edition standing for a desktop command.
struct CommandAlias {
  int id;
  int command;
};

std::span<const MenuEntry> MainMenu();
std::span<const AcceleratorEntry> MainAccelerators();
std::span<const ToolbarButton> MainToolbar();

// The handheld edition's menu (popups may nest), its reduced accelerators,
// its command bar and the identifiers it numbers otherwise.
std::span<const MenuEntry> CeMenu();
std::span<const AcceleratorEntry> CeAccelerators();
std::span<const ToolbarButton> CeCommandBar();
std::span<const CommandAlias> CeCommandAliases();

}  // namespace dossel::res
