#pragma once
// What the command table says about one command besides its handler and
// enable rule (those are the frame's, src/app/command_table.cpp): its
// identifier, prompt, menu item, accelerator, toolbar button, and how the
// handheld edition has it. Data only, no wx.

#include <optional>

#include "platform/text.h"

namespace dossel::res {

// The two programs built from one code base: the desktop program and the
// handheld edition, which numbers some commands otherwise and lacks others.
enum class EditionKind { Desktop, Handheld };

// A part of a popup menu, set off from its neighbours by separators. A
// command names its section; each edition's layout (res/menus.cpp) places
// the sections, and a section's commands stand in table order.
enum class MenuSection {
  NoItem,  // no menu item
  SqlSession,
  SqlFile,
  SqlPrint,
  SqlRecentFiles,
  SqlExit,
  EditUndo,
  EditClipboard,
  EditSelect,
  EditFind,
  EditGoTo,
  ViewBars,
  ViewPanes,
  ViewSheets,
  ViewText,
  ViewAbout,
};

// Virtual keys of the accelerators, with the modifier bits below.
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

struct Key {
  unsigned modifiers = kAccelNone;
  int key = 0;  // an upper-case letter or a VirtualKey; 0 for none
};
constexpr Key Ctrl(int key) { return {kAccelCtrl, key}; }
constexpr Key Alt(int key) { return {kAccelAlt, key}; }
constexpr Key Plain(int key) { return {kAccelNone, key}; }

// The toolbar's images, in the order of their buttons on every toolbar.
enum class ToolbarImage { New, Open, Save, Cut, Copy, Paste, Query, Result, Trace, Schema, Execute, Cancel };

// How the handheld edition has a command.
struct HandheldSpec {
  // False: it has no such command (no item, key, button or handler).
  bool present = true;
  // Its own identifier, when it numbers the command otherwise; 0 for the desktop's.
  int id = 0;
  // Its menu caption, when it differs from the desktop's.
  const TChar* caption = nullptr;
  // It keeps the desktop's accelerator, and the desktop's toolbar button on its command bar.
  bool key = false;
  bool button = false;
};
inline constexpr HandheldSpec kNotOnHandheld{.present = false};

struct CommandSpec {
  int id = 0;
  // The row stands for the identifiers id .. id + count - 1 (the recent files).
  int count = 1;
  // The status-bar prompt and the tooltip, as "prompt\ntooltip" (the tooltip may be missing).
  const TChar* prompt = DT("");
  MenuSection menu = MenuSection::NoItem;
  // The item's caption with its "&" mnemonic; the desktop adds the key after a tab.
  const TChar* caption = nullptr;
  // The item is the recent-file list: a submenu on the desktop, the files
  // themselves as items on the handheld.
  bool recentFiles = false;
  Key key{};
  std::optional<ToolbarImage> button{};
  HandheldSpec handheld{};
};

bool IsIn(const CommandSpec& command, EditionKind edition);
// The identifier the edition gives the command (the first of its range).
int IdIn(const CommandSpec& command, EditionKind edition);
// The key as the desktop menu shows it after the caption: "Ctrl+E", "F4", "Alt+Break".
TString KeyText(Key key);
// The item's text in that edition's menu.
TString MenuText(const CommandSpec& command, EditionKind edition);
// The status-bar prompt: the part before "\n".
TString PromptOf(const CommandSpec& command);
// The tooltip: the part after "\n", or the whole prompt when it has none.
TString TooltipOf(const CommandSpec& command);

}  // namespace dossel::res
