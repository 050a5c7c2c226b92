#pragma once
// Command identifiers of the menus, accelerators and toolbar, and the
// private window messages, numbered as the program has always numbered them
// (stored catalogue entries and other programs' expectations rely on them).

namespace dossel::res {

// wx accepts menu, tool and window identifiers only below 0x7FFF, while the
// program's commands (32768 and up) and the framework's (57344 and up) live
// above. Each band moves down by a fixed amount, one to one:
//   32768..37343 -> 12768..17343,  57344..59999 -> 17344..19999,
// and every identifier below 12768 stays as it is.
inline constexpr int kCommandBandStart = 32768;
inline constexpr int kCommandBandShift = 20000;
inline constexpr int kFrameworkBandStart = 57344;
inline constexpr int kFrameworkBandShift = 40000;

constexpr int ToWxId(int id) {
  if (id >= kFrameworkBandStart) return id - kFrameworkBandShift;
  if (id >= kCommandBandStart) return id - kCommandBandShift;
  return id;
}

constexpr int FromWxId(int wxId) {
  if (wxId >= kFrameworkBandStart - kFrameworkBandShift && wxId < 20000) return wxId + kFrameworkBandShift;
  if (wxId >= kCommandBandStart - kCommandBandShift && wxId < kFrameworkBandStart - kFrameworkBandShift)
    return wxId + kCommandBandShift;
  return wxId;
}
static_assert(FromWxId(ToWxId(32773)) == 32773 && FromWxId(ToWxId(59648)) == 59648 &&
              FromWxId(ToWxId(33999)) == 33999 && FromWxId(ToWxId(57600)) == 57600 && ToWxId(59665) < 0x7FFF);

// The SQL menu.
inline constexpr int ID_SQL_CONNECT = 32831;
inline constexpr int ID_SQL_CONNECT_DATA_SOURCE = 32776;
inline constexpr int ID_SQL_DISCONNECT = 32785;
inline constexpr int ID_SQL_EXECUTE = 32773;
inline constexpr int ID_SQL_CANCEL = 32800;
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;  // the first of 8 recent files
inline constexpr int ID_FILE_MRU_COUNT = 8;
inline constexpr int ID_APP_EXIT = 57665;

// The Edit menu.
inline constexpr int ID_EDIT_CLEAR_ALL = 57633;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_REPEAT = 57640;  // Find Next
inline constexpr int ID_EDIT_REPLACE = 57641;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_GOTO = 32809;

// The View menu.
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_VIEW_QUERY = 32826;
inline constexpr int ID_VIEW_RESULT = 32827;
inline constexpr int ID_VIEW_TRACE = 32814;
inline constexpr int ID_VIEW_SCHEMA = 32829;
inline constexpr int ID_VIEW_OPTIONS = 32834;
inline constexpr int ID_VIEW_ODBC_INFO = 32798;
inline constexpr int ID_VIEW_WORD_WRAP = 32835;
inline constexpr int ID_VIEW_FONT = 32806;
inline constexpr int ID_APP_ABOUT = 57664;
// The run history's window, numbered above the catalogue entries' block.
inline constexpr int ID_VIEW_HISTORY = 34080;

// Read the names that completion offers again (SQL menu). The program's
// numbers below 0x8500 are taken up to the Script catalogue's last.
inline constexpr int ID_SQL_REFRESH_NAMES = 0x8530;

// Commands without a menu item.
inline constexpr int ID_QUERY_WORD_WRAP = 32782;

// The schema pane's context menu: its object commands and "Script As".
inline constexpr int ID_SCHEMA_OPEN = 32783;
inline constexpr int ID_SCHEMA_EDIT = 32784;
inline constexpr int ID_SCHEMA_DELETE = 32786;
inline constexpr int ID_SCRIPT_AS_CREATE = 32787;
inline constexpr int ID_SCRIPT_AS_ALTER = 32788;
inline constexpr int ID_SCRIPT_AS_DROP = 32789;
inline constexpr int ID_SCRIPT_AS_SELECT = 32790;
inline constexpr int ID_SCRIPT_AS_INSERT = 32791;
inline constexpr int ID_SCRIPT_AS_UPDATE = 32792;
inline constexpr int ID_SCRIPT_AS_DELETE = 32793;
inline constexpr int ID_SCRIPT_AS_EXECUTE = 32794;

// Catalogue entries of the query pane's context menu.
inline constexpr int ID_TEMPLATE_FIRST = 33000;
inline constexpr int ID_TEMPLATE_LAST = 33499;
inline constexpr int ID_SCRIPT_FIRST = 33500;
inline constexpr int ID_SCRIPT_LAST = 33999;

// Child window identifiers: the visible pane always carries the first.
inline constexpr int AFX_IDW_PANE_FIRST = 59648;
inline constexpr int AFX_IDW_TOOLBAR = 0xE800;
inline constexpr int AFX_IDW_STATUS_BAR = 0xE801;

// The status bar's keyboard indicators.
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;

// The handheld edition's own identifiers of commands the desktop numbers
// otherwise; each reaches the desktop command's handler.
inline constexpr int ID_CE_SQL_CONNECT = 32777;     // Connect (32831)
inline constexpr int ID_CE_SQL_DISCONNECT = 32778;  // Disconnect (32785)
inline constexpr int ID_CE_VIEW_TRACE = 32779;      // Trace pane (32814)
inline constexpr int ID_CE_VIEW_WORD_WRAP = 32780;  // Word wrap of the trace pane (32835)
inline constexpr int ID_CE_VIEW_FONT = 32781;       // Font (32806)
inline constexpr int ID_CE_VIEW_OPTIONS = 32811;    // Options (32834)
// The handheld schema pane's Delete item carries this identifier.
inline constexpr int ID_CE_SCHEMA_DELETE = 32785;

// Dialog controls of the about box.
inline constexpr int IDC_ABOUT_VERSION = 1122;

}  // namespace dossel::res
