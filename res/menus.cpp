#include "res/menus.h"

#include "res/command_ids.h"

namespace dossel::res {
namespace {

using K = MenuEntryKind;

constexpr MenuEntry kMainMenu[] = {
    {K::Popup, 0, DT("&SQL")},
    {K::Item, ID_SQL_CONNECT, DT("&Connect\tCtrl+E")},
    {K::Item, ID_SQL_DISCONNECT, DT("&Disconnect\tCtrl+D")},
    {K::Item, ID_SQL_EXECUTE, DT("&Execute\tF4")},
    {K::Item, ID_SQL_CANCEL, DT("C&ancel\tAlt+Break")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_FILE_NEW, DT("&New\tCtrl+N")},
    {K::Item, ID_FILE_OPEN, DT("&Open...\tCtrl+O")},
    {K::Item, ID_FILE_SAVE, DT("&Save\tCtrl+S")},
    {K::Item, ID_FILE_SAVE_AS, DT("Save &As...")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_FILE_PRINT, DT("&Print...\tCtrl+P")},
    {K::Item, ID_FILE_PRINT_PREVIEW, DT("Print Pre&view")},
    {K::Item, ID_FILE_PRINT_SETUP, DT("P&rint Setup...")},
    {K::Separator, 0, nullptr},
    {K::RecentFiles, ID_FILE_MRU_FILE1, DT("Recent Files")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_APP_EXIT, DT("E&xit")},
    {K::EndPopup, 0, nullptr},

    {K::Popup, 0, DT("&Edit")},
    {K::Item, ID_EDIT_UNDO, DT("&Undo\tCtrl+Z")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_CUT, DT("Cu&t\tCtrl+X")},
    {K::Item, ID_EDIT_COPY, DT("&Copy\tCtrl+C")},
    {K::Item, ID_EDIT_PASTE, DT("&Paste\tCtrl+V")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_SELECT_ALL, DT("&Select All\tCtrl+A")},
    {K::Item, ID_EDIT_CLEAR_ALL, DT("Clear A&ll")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_FIND, DT("&Find...\tCtrl+F")},
    {K::Item, ID_EDIT_REPEAT, DT("F&ind Next\tF3")},
    {K::Item, ID_EDIT_REPLACE, DT("R&eplace...\tCtrl+H")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_GOTO, DT("&Go To...\tCtrl+G")},
    {K::EndPopup, 0, nullptr},

    {K::Popup, 0, DT("&View")},
    {K::Item, ID_VIEW_TOOLBAR, DT("&Toolbar")},
    {K::Item, ID_VIEW_STATUS_BAR, DT("&Status Bar")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_VIEW_QUERY, DT("&Query\tF5")},
    {K::Item, ID_VIEW_RESULT, DT("&Result\tF6")},
    {K::Item, ID_VIEW_TRACE, DT("Tr&ace\tF7")},
    {K::Item, ID_VIEW_SCHEMA, DT("&Schema\tF8")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_VIEW_OPTIONS, DT("&Options\tF9")},
    {K::Item, ID_VIEW_ODBC_INFO, DT("ODBC &Info\tF10")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_VIEW_WORD_WRAP, DT("&Word Wrap")},
    {K::Item, ID_VIEW_FONT, DT("&Font...")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_APP_ABOUT, DT("&About Dossel")},
    {K::EndPopup, 0, nullptr},
};

constexpr AcceleratorEntry kAccelerators[] = {
    {kAccelCtrl, 'A', ID_EDIT_SELECT_ALL},   {kAccelCtrl, 'C', ID_EDIT_COPY},
    {kAccelCtrl, 'D', ID_SQL_DISCONNECT},    {kAccelCtrl, 'E', ID_SQL_CONNECT},
    {kAccelCtrl, 'F', ID_EDIT_FIND},         {kAccelCtrl, 'G', ID_EDIT_GOTO},
    {kAccelCtrl, 'H', ID_EDIT_REPLACE},      {kAccelCtrl, 'N', ID_FILE_NEW},
    {kAccelCtrl, 'O', ID_FILE_OPEN},         {kAccelCtrl, 'P', ID_FILE_PRINT},
    {kAccelCtrl, 'S', ID_FILE_SAVE},         {kAccelCtrl, 'T', ID_SQL_CONNECT_DATA_SOURCE},
    {kAccelCtrl, 'V', ID_EDIT_PASTE},        {kAccelCtrl, 'X', ID_EDIT_CUT},
    {kAccelCtrl, 'Z', ID_EDIT_UNDO},         {kAccelNone, kVkF3, ID_EDIT_REPEAT},
    {kAccelNone, kVkF4, ID_SQL_EXECUTE},     {kAccelNone, kVkF5, ID_VIEW_QUERY},
    {kAccelNone, kVkF6, ID_VIEW_RESULT},     {kAccelNone, kVkF7, ID_VIEW_TRACE},
    {kAccelNone, kVkF8, ID_VIEW_SCHEMA},     {kAccelNone, kVkF9, ID_VIEW_OPTIONS},
    {kAccelNone, kVkF10, ID_VIEW_ODBC_INFO}, {kAccelAlt, kVkPause, ID_SQL_CANCEL},
};

constexpr ToolbarButton kToolbar[] = {
    {ID_FILE_NEW, ToolbarImage::New},        {ID_FILE_OPEN, ToolbarImage::Open},
    {ID_FILE_SAVE, ToolbarImage::Save},      {0, ToolbarImage::New},
    {ID_EDIT_CUT, ToolbarImage::Cut},        {ID_EDIT_COPY, ToolbarImage::Copy},
    {ID_EDIT_PASTE, ToolbarImage::Paste},    {0, ToolbarImage::New},
    {ID_VIEW_QUERY, ToolbarImage::Query},    {ID_VIEW_RESULT, ToolbarImage::Result},
    {ID_VIEW_TRACE, ToolbarImage::Trace},    {ID_VIEW_SCHEMA, ToolbarImage::Schema},
    {ID_SQL_EXECUTE, ToolbarImage::Execute}, {ID_SQL_CANCEL, ToolbarImage::Cancel},
};

constexpr MenuEntry kCeMenu[] = {
    {K::Popup, 0, DT("&SQL")},
    {K::Item, ID_CE_SQL_CONNECT, DT("&Connect")},
    {K::Item, ID_CE_SQL_DISCONNECT, DT("&Disconnect")},
    {K::Item, ID_SQL_EXECUTE, DT("&Execute")},
    {K::Item, ID_SQL_CANCEL, DT("C&ancel")},
    {K::Separator, 0, nullptr},
    {K::Popup, 0, DT("&File")},
    {K::Item, ID_FILE_NEW, DT("&New")},
    {K::Item, ID_FILE_OPEN, DT("&Open...")},
    {K::Item, ID_FILE_SAVE, DT("&Save")},
    {K::Item, ID_FILE_SAVE_AS, DT("Save &As...")},
    {K::EndPopup, 0, nullptr},
    {K::Popup, 0, DT("Ed&it")},
    {K::Item, ID_EDIT_UNDO, DT("&Undo")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_CUT, DT("Cu&t")},
    {K::Item, ID_EDIT_COPY, DT("&Copy")},
    {K::Item, ID_EDIT_PASTE, DT("&Paste")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_SELECT_ALL, DT("&Select All")},
    {K::Item, ID_EDIT_CLEAR_ALL, DT("Clear A&ll")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_FIND, DT("&Find...")},
    {K::Item, ID_EDIT_REPEAT, DT("F&ind Next")},
    {K::Item, ID_EDIT_REPLACE, DT("R&eplace...")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_EDIT_GOTO, DT("&Go To...")},
    {K::EndPopup, 0, nullptr},
    {K::Separator, 0, nullptr},
    {K::RecentFileItems, ID_FILE_MRU_FILE1, DT("Recent File")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_APP_EXIT, DT("E&xit")},
    {K::EndPopup, 0, nullptr},

    {K::Popup, 0, DT("&View")},
    {K::Item, ID_VIEW_QUERY, DT("&Query")},
    {K::Item, ID_VIEW_RESULT, DT("&Result")},
    {K::Item, ID_CE_VIEW_TRACE, DT("&Trace")},
    {K::Item, ID_VIEW_SCHEMA, DT("&Schema")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_CE_VIEW_OPTIONS, DT("&Options")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_CE_VIEW_WORD_WRAP, DT("Word &Wrap")},
    {K::Item, ID_CE_VIEW_FONT, DT("&Font...")},
    {K::Separator, 0, nullptr},
    {K::Item, ID_APP_ABOUT, DT("&About Dossel")},
    {K::EndPopup, 0, nullptr},
};

constexpr AcceleratorEntry kCeAccelerators[] = {
    {kAccelCtrl, 'C', ID_EDIT_COPY}, {kAccelCtrl, 'N', ID_FILE_NEW},   {kAccelCtrl, 'O', ID_FILE_OPEN},
    {kAccelCtrl, 'S', ID_FILE_SAVE}, {kAccelCtrl, 'V', ID_EDIT_PASTE}, {kAccelCtrl, 'X', ID_EDIT_CUT},
    {kAccelCtrl, 'Z', ID_EDIT_UNDO},
};

// A separator, then the six buttons over the six images, in image order.
constexpr ToolbarButton kCeCommandBar[] = {
    {0, ToolbarImage::New},
    {ID_VIEW_QUERY, ToolbarImage::Query},
    {ID_VIEW_RESULT, ToolbarImage::Result},
    {ID_CE_VIEW_TRACE, ToolbarImage::Trace},
    {ID_VIEW_SCHEMA, ToolbarImage::Schema},
    {ID_SQL_EXECUTE, ToolbarImage::Execute},
    {ID_SQL_CANCEL, ToolbarImage::Cancel},
};

constexpr CommandAlias kCeAliases[] = {
    {ID_CE_SQL_CONNECT, ID_SQL_CONNECT},   {ID_CE_SQL_DISCONNECT, ID_SQL_DISCONNECT}, {ID_CE_VIEW_TRACE, ID_VIEW_TRACE},
    {ID_CE_VIEW_OPTIONS, ID_VIEW_OPTIONS}, {ID_CE_VIEW_WORD_WRAP, ID_VIEW_WORD_WRAP}, {ID_CE_VIEW_FONT, ID_VIEW_FONT},
};

}  // namespace

std::span<const MenuEntry> CeMenu() { return kCeMenu; }
std::span<const AcceleratorEntry> CeAccelerators() { return kCeAccelerators; }
std::span<const ToolbarButton> CeCommandBar() { return kCeCommandBar; }
std::span<const CommandAlias> CeCommandAliases() { return kCeAliases; }

std::span<const MenuEntry> MainMenu() { return kMainMenu; }
std::span<const AcceleratorEntry> MainAccelerators() { return kAccelerators; }
std::span<const ToolbarButton> MainToolbar() { return kToolbar; }

}  // namespace dossel::res
