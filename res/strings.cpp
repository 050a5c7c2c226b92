#include "res/strings.h"

#include "res/command_ids.h"

namespace dossel::res {
namespace {

struct StringEntry {
  int id;
  const TChar* text;
};

// Prompts of this program's own commands, and the framework commands' usual
// prompts for the rest.
constexpr StringEntry kStrings[] = {
    {ID_SQL_EXECUTE, DT("Execute Query\nExecute")},
    {ID_SQL_CONNECT_DATA_SOURCE, DT("Connect To Data Source")},
    {ID_SQL_DISCONNECT, DT("Close Connection")},
    {ID_VIEW_ODBC_INFO, DT("Display ODBC Driver Info\nODBC Driver Info (F10)")},
    {ID_SQL_CANCEL, DT("Cancel Query\nCancel")},
    {ID_VIEW_FONT, DT("Configure query/result/grid pane font properties")},
    {ID_VIEW_TRACE, DT("Show Trace\nTrace")},
    {ID_VIEW_QUERY, DT("Show Query\nQuery")},
    {ID_VIEW_RESULT, DT("Show Result\nResult")},
    {ID_VIEW_SCHEMA, DT("Show Schema\nSchema")},
    {ID_SQL_CONNECT, DT("Connect To Dossel")},
    {ID_VIEW_WORD_WRAP, DT("Wraps or unwraps current pane window's contents to window")},
    {ID_FILE_OPEN, DT("Open an existing query script into query pane window\nOpen Query (Ctrl+O)")},
    {ID_FILE_SAVE, DT("Save the current pane window's contents to a file\nSave Query (Ctrl+S)")},
    {ID_FILE_SAVE_AS, DT("Specify and save the current pane window's contents to a file")},
    {ID_FILE_PRINT, DT("Print the query pane window's contents")},
    {ID_EDIT_CLEAR_ALL, DT("Clear the current pane window's contents\nClear current pane window's contents")},
    {ID_FILE_NEW, DT("Create a new document\nNew")},
    {ID_FILE_PRINT_SETUP, DT("Change the printer and printing options\nPrint Setup")},
    {ID_FILE_PRINT_PREVIEW, DT("Display full pages\nPrint Preview")},
    {ID_APP_EXIT, DT("Quit the application; prompts to save documents\nExit")},
    {ID_EDIT_UNDO, DT("Undo the last action\nUndo")},
    {ID_EDIT_CUT, DT("Cut the selection and put it on the Clipboard\nCut")},
    {ID_EDIT_COPY, DT("Copy the selection and put it on the Clipboard\nCopy")},
    {ID_EDIT_PASTE, DT("Insert Clipboard contents\nPaste")},
    {ID_EDIT_SELECT_ALL, DT("Select the entire document\nSelect All")},
    {ID_EDIT_FIND, DT("Find the specified text\nFind")},
    {ID_EDIT_REPEAT, DT("Repeat the last action\nRepeat")},
    {ID_EDIT_REPLACE, DT("Replace specific text with different text\nReplace")},
    {ID_EDIT_GOTO, DT("Go to a line or grid row\nGo To")},
    {ID_VIEW_TOOLBAR, DT("Show or hide the toolbar\nToggle ToolBar")},
    {ID_VIEW_STATUS_BAR, DT("Show or hide the status bar\nToggle StatusBar")},
    {ID_VIEW_OPTIONS, DT("Change the options\nOptions")},
    {ID_APP_ABOUT, DT("Display program information, version number and copyright\nAbout")},
    {ID_FILE_MRU_FILE1, DT("Open this document")},
    {ID_INDICATOR_CAPS, DT("CAP")},
    {ID_INDICATOR_NUM, DT("NUM")},
    {ID_INDICATOR_SCRL, DT("SCRL")},
};

}  // namespace

TStringView LoadString(int id) {
  for (const auto& entry : kStrings)
    if (entry.id == id) return entry.text;
  return {};
}

TString PromptOf(int id) {
  const TStringView text = LoadString(id);
  return TString(text.substr(0, text.find('\n')));
}

TString TooltipOf(int id) {
  const TStringView text = LoadString(id);
  const size_t newline = text.find('\n');
  return TString(newline == TStringView::npos ? text : text.substr(newline + 1));
}

}  // namespace dossel::res
