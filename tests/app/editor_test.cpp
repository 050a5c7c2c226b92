// The query and trace panes as editors: undo and redo of typing and of
// Clear All, find and replace, word wrap, fonts, SQL highlighting, the
// context menus with the catalogue entries, and the Go To dialog over text
// and over the results grid.

#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/fontdlg.h>
#include <wx/settings.h>
#include <wx/uiaction.h>

#include <fstream>

#include <gtk/gtk.h>

#include "app/dossel_doc.h"
#include "app/find_replace.h"
#include "app/goto_dlg.h"
#include "app/sql_edit.h"
#include "app/sql_keywords.h"
#include "frame_fixture.h"
#include "grid/wx/grid_ctrl.h"
#include "res/command_ids.h"
#include "settings/catalogs.h"
#include "settings/font_setting.h"
#include "settings/wx/font_wx.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

constexpr const TChar* kQueryKey = DT("Software\\Harlune\\Dossel\\Query");
constexpr const TChar* kTraceKey = DT("Software\\Harlune\\Dossel\\Trace");

// ---- the panes in a frame ----

class EditorTest : public TextFrameTest {
 protected:
  void PrepareSettings() override {
    TextFrameTest::PrepareSettings();
    InstallDefaultCatalogs();
  }

  CQueryView* Query() { return m_frame->QueryView(); }
  CTraceView* TraceView() { return m_frame->TraceView(); }
  CTextEdit* QueryEdit() { return Query()->GetEdit(); }
  std::string QueryText() { return QueryEdit()->GetValue().utf8_string(); }

  void Command(int id) {
    wxCommandEvent event(wxEVT_MENU, ToWxId(id));
    event.SetEventObject(m_frame);
    m_frame->ProcessWindowEvent(event);
    Pump(20);
  }
  bool Enabled(int id) {
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    return m_frame->GetMenuBar()->IsEnabled(ToWxId(id));
  }
  // Real key presses into the query pane; "\n" presses Enter.
  void Type(const std::string& keys) {
    m_frame->Raise();
    QueryEdit()->SetFocus();
    Pump(30);
    wxUIActionSimulator simulator;
    size_t start = 0;
    while (start <= keys.size()) {
      const size_t end = std::min(keys.find('\n', start), keys.size());
      if (end > start) simulator.Text(keys.substr(start, end - start).c_str());
      if (end < keys.size()) simulator.Char(WXK_RETURN);
      start = end + 1;
    }
    Pump(60);
  }
  void PressCtrl(int key) {
    wxUIActionSimulator simulator;
    simulator.Char(key, wxMOD_CONTROL);
    Pump(60);
  }
};

TEST_F(EditorTest, UndoTakesBackTypingInRunsAndClearAllAsOneStep) {
  EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
  Type("select 1\nfrom t");
  ASSERT_EQ(QueryText(), "select 1\nfrom t");
  EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
  PressCtrl('Z');  // the run after the line break
  EXPECT_EQ(QueryText(), "select 1\n");
  PressCtrl('Z');
  EXPECT_EQ(QueryText(), "");
  EXPECT_FALSE(Enabled(ID_EDIT_UNDO));

  Type("select 2");
  EXPECT_TRUE(Enabled(ID_EDIT_CLEAR_ALL));
  Command(ID_EDIT_CLEAR_ALL);
  EXPECT_EQ(QueryText(), "");
  EXPECT_FALSE(Enabled(ID_EDIT_CLEAR_ALL));
  Type("x");
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(QueryText(), "") << "typing after Clear All is a step of its own";
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(QueryText(), "select 2") << "Clear All is undoable in the query pane";
  long from = 0, to = 0;
  QueryEdit()->GetSelection(&from, &to);
  EXPECT_EQ(to - from, 8) << "the restored text is selected";
}

TEST_F(EditorTest, UndoSurvivesWordWrapAndForgetsAReplacedDocument) {
  Type("abc");
  Command(ID_QUERY_WORD_WRAP);
  EXPECT_TRUE(Query()->IsWordWrap());
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(QueryText(), "") << "the history follows the rebuilt control";

  Type("old");
  Query()->SetQueryText(DT("new document"));
  EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
  Type("xyz");
  // A document opened from a file.
  const std::string path = m_folder.File("other.sql");
  std::ofstream(path) << "a different text";
  ASSERT_TRUE(m_frame->OpenDocumentFile(path));
  EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(QueryText(), "a different text") << "steps of another text are never applied";
}

TEST_F(EditorTest, TraceClearAllIsNotUndoableAndKeepsLaterAppends) {
  m_frame->SwitchPane(2);
  AppendTrace(DT("line %d\r\n"), 1);
  EXPECT_TRUE(Enabled(ID_EDIT_CLEAR_ALL));
  Command(ID_EDIT_CLEAR_ALL);
  EXPECT_EQ(Trace(), "");
  EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
  AppendTrace(DT("line %d\r\n"), 2);
  EXPECT_EQ(Trace(), "line 2\r\n");
}

TEST_F(EditorTest, FindSelectsMatchesAndReplaceAllIsOneUndoStep) {
  Query()->SetQueryText(DT("select a from t where a = 1 and A = 2"));
  QueryEdit()->SetSelection(0, 0);
  CFindReplace& find = m_frame->FindReplace();
  find.Data().SetFindString("a");
  find.Data().SetFlags(wxFR_DOWN | wxFR_WHOLEWORD);
  Command(ID_EDIT_REPEAT);  // F3
  long from = 0, to = 0;
  QueryEdit()->GetSelection(&from, &to);
  EXPECT_EQ(from, 7);
  EXPECT_EQ(to, 8);
  EXPECT_TRUE(find.FindNextMatch());
  QueryEdit()->GetSelection(&from, &to);
  EXPECT_EQ(from, 22);

  find.Data().SetReplaceString("col");
  EXPECT_TRUE(find.ReplaceCurrent());
  EXPECT_EQ(QueryText(), "select a from t where col = 1 and A = 2");
  QueryEdit()->GetSelection(&from, &to);
  EXPECT_EQ(from, 34) << "the next match, matched without case, is selected";
  EXPECT_EQ(find.ReplaceAll(), 2);
  EXPECT_EQ(QueryText(), "select col from t where col = 1 and col = 2");
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(QueryText(), "select a from t where col = 1 and A = 2");
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(QueryText(), "select a from t where a = 1 and A = 2");
}

TEST_F(EditorTest, FindAndReplaceOpenTheDialogOnTheActiveEditPane) {
  Query()->SetQueryText(DT("select x from y"));
  QueryEdit()->SetSelection(7, 8);
  EXPECT_TRUE(Enabled(ID_EDIT_FIND));
  EXPECT_TRUE(Enabled(ID_EDIT_REPLACE));
  Command(ID_EDIT_FIND);
  ASSERT_NE(m_frame->FindReplace().Dialog(), nullptr);
  EXPECT_TRUE(m_frame->FindReplace().Dialog()->IsShown());
  EXPECT_EQ(m_frame->FindReplace().Data().GetFindString(), "x") << "the selection seeds the search";
  Command(ID_EDIT_REPLACE);
  EXPECT_TRUE(m_frame->FindReplace().Dialog()->GetWindowStyle() & wxFR_REPLACEDIALOG);
  // Pressing the dialog's Find button searches the pane.
  QueryEdit()->SetSelection(0, 0);
  wxFindDialogEvent event(wxEVT_FIND, m_frame->FindReplace().Dialog()->GetId());
  event.SetEventObject(m_frame->FindReplace().Dialog());
  m_frame->FindReplace().Dialog()->ProcessWindowEvent(event);
  long from = 0, to = 0;
  QueryEdit()->GetSelection(&from, &to);
  EXPECT_EQ(from, 7);
  m_frame->SwitchPane(3);
  EXPECT_FALSE(Enabled(ID_EDIT_FIND)) << "the schema pane has no text to search";
}

// The text result pane: what a query returned can be found, selected and
// copied (by menu and by Ctrl+A / Ctrl+C), but not cut, pasted over or
// replaced.
TEST_F(EditorTest, TextResultsAreFoundAndCopiedButNeitherCutPastedNorReplaced) {
  m_frame->SwitchPane(1);
  CTextEdit* edit = m_frame->ResultView()->GetEdit();
  const wxString rows = "id  name\n1   Ann\n2   Bob\n";
  edit->ChangeValue(rows);
  edit->SetSelection(4, 8);
  {
    wxClipboardLocker clipboard;
    wxTheClipboard->SetData(new wxTextDataObject("pasted"));
  }
  EXPECT_FALSE(Enabled(ID_EDIT_CUT));
  EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
  EXPECT_FALSE(Enabled(ID_EDIT_REPLACE));
  EXPECT_TRUE(Enabled(ID_EDIT_COPY));
  EXPECT_TRUE(Enabled(ID_EDIT_SELECT_ALL));
  EXPECT_TRUE(Enabled(ID_EDIT_FIND));
  EXPECT_TRUE(Enabled(ID_EDIT_REPEAT));

  CFindReplace& find = m_frame->FindReplace();
  find.Data().SetFindString("Bob");
  find.Data().SetFlags(wxFR_DOWN);
  edit->SetSelection(0, 0);
  Command(ID_EDIT_REPEAT);
  long from = 0, to = 0;
  edit->GetSelection(&from, &to);
  EXPECT_EQ(from, rows.Find("Bob"));
  EXPECT_EQ(to, from + 3);

  // Neither the commands nor their keys change the text.
  Command(ID_EDIT_CUT);
  Command(ID_EDIT_PASTE);
  m_frame->Raise();
  edit->SetFocus();
  Pump(30);
  PressCtrl('X');
  PressCtrl('V');
  EXPECT_EQ(edit->GetValue(), rows);

  PressCtrl('A');
  PressCtrl('C');
  wxTextDataObject copied;
  {
    wxClipboardLocker clipboard;
    ASSERT_TRUE(wxTheClipboard->GetData(copied));
  }
  EXPECT_EQ(copied.GetText(), rows);
}

TEST_F(EditorTest, TraceWordWrapKeepsTextFontAndFocusAndStoresTheFlag) {
  m_frame->SwitchPane(2);
  AppendTrace(DT("%s\r\n"), DT("a long trace line"));
  TraceView()->ApplyFont(wxFont(wxFontInfo(14).Family(wxFONTFAMILY_TELETYPE)));
  TraceView()->GetEdit()->SetFocus();
  Pump(30);
  CTextEdit* before = TraceView()->GetEdit();
  EXPECT_FALSE(m_frame->GetMenuBar()->IsChecked(ToWxId(ID_VIEW_WORD_WRAP)));
  EXPECT_TRUE(Enabled(ID_VIEW_WORD_WRAP));
  Command(ID_VIEW_WORD_WRAP);
  EXPECT_EQ(TraceView()->GetEdit(), before) << "the control wraps in place";
  EXPECT_EQ(TraceView()->GetEdit()->GetWrapMode(), wxSTC_WRAP_WORD);
  EXPECT_EQ(Trace(), "a long trace line\r\n");
  EXPECT_EQ(TraceView()->GetEdit()->GetFont().GetPointSize(), 14);
  EXPECT_EQ(wxWindow::FindFocus(), TraceView()->GetEdit());
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kTraceKey, DT("WordWrap"), -1), 1);
  EXPECT_TRUE(Enabled(ID_VIEW_WORD_WRAP));
  EXPECT_TRUE(m_frame->GetMenuBar()->IsChecked(ToWxId(ID_VIEW_WORD_WRAP)));
  Command(ID_VIEW_WORD_WRAP);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kTraceKey, DT("WordWrap"), -1), 0);
  EXPECT_EQ(TraceView()->GetEdit()->GetWrapMode(), wxSTC_WRAP_NONE);
  AppendTrace(DT("after\r\n"));
  EXPECT_EQ(Trace(), "a long trace line\r\nafter\r\n") << "appends go on after the switches";

  m_frame->SwitchPane(0);
  EXPECT_FALSE(Enabled(ID_VIEW_WORD_WRAP)) << "the View item belongs to the trace pane";
  Command(ID_QUERY_WORD_WRAP);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kQueryKey, DT("WordWrap"), -1), 1);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kTraceKey, DT("WordWrap"), -1), 0);
}

// Answers the font dialog once it shows, as a user would: picks `choice`
// in GTK's font chooser and presses OK, or presses Cancel when `choice` is
// empty. Notes the font the dialog started with (a Pango description such
// as "DejaVu Serif 17"). GTK runs that dialog itself, so it is found among
// GTK's windows.
class FontDialogDriver : public wxTimer {
 public:
  explicit FontDialogDriver(const char* choice) : m_choice(choice) { Start(30); }
  void Notify() override {
    GList* windows = gtk_window_list_toplevels();
    for (GList* node = windows; node; node = node->next) {
      GtkWidget* widget = GTK_WIDGET(node->data);
      if (!GTK_IS_FONT_CHOOSER_DIALOG(widget) || !gtk_widget_get_visible(widget)) continue;
      gchar* font = gtk_font_chooser_get_font(GTK_FONT_CHOOSER(widget));
      initial = font ? font : "";
      g_free(font);
      if (*m_choice) gtk_font_chooser_set_font(GTK_FONT_CHOOSER(widget), m_choice);
      gtk_dialog_response(GTK_DIALOG(widget), *m_choice ? GTK_RESPONSE_OK : GTK_RESPONSE_CANCEL);
      Stop();
      break;
    }
    g_list_free(windows);
  }
  std::string initial;

 private:
  const char* m_choice;
};

TEST_F(EditorTest, AFontChosenInTheDialogIsStoredUnderThePaneKeyAndSurvivesANewFrame) {
  Query()->ApplyFont(wxFont(wxFontInfo(11).FaceName("DejaVu Serif")));
  QueryEdit()->ChangeValue("select 1");
  QueryEdit()->SetSelection(2, 5);
  EXPECT_TRUE(Enabled(ID_VIEW_FONT));
  {
    FontDialogDriver driver("DejaVu Sans Mono Bold 15");
    Command(ID_VIEW_FONT);
    EXPECT_EQ(driver.initial, "DejaVu Serif 11") << "the dialog starts from the pane's font";
  }
  EXPECT_EQ(QueryEdit()->GetFont().GetPointSize(), 15);
  long from = 0, to = 0;
  QueryEdit()->GetSelection(&from, &to);
  EXPECT_EQ(from, 2) << "the selection is kept";
  EXPECT_EQ(to, 5);
  LOGFONT stored;
  ASSERT_EQ(ReadFontSetting(DT("Software\\Harlune\\Dossel\\Query\\Font"), stored), 1);
  EXPECT_EQ(stored.lfFaceName, DT("DejaVu Sans Mono"));
  EXPECT_EQ(stored.lfWeight, 700);
  EXPECT_EQ(ReadFontSetting(DT("Software\\Harlune\\Dossel\\Trace\\Font"), stored), 0) << "the trace key is untouched";

  m_frame->Destroy();
  Pump(30);
  m_frame = new CMainFrame();
  m_frame->Show();
  Pump(30);
  const wxFont font = QueryEdit()->GetFont();
  EXPECT_EQ(font.GetFaceName(), "DejaVu Sans Mono");
  EXPECT_EQ(font.GetPointSize(), 15);
  EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_NE(TraceView()->GetEdit()->GetFont().GetFaceName(), "DejaVu Sans Mono");
}

TEST_F(EditorTest, ChoosingAFontLeavesAnUnchangedQueryUnchanged) {
  const std::string file = m_folder.File("q.sql");
  std::ofstream(file, std::ios::binary) << "select 1\r\nfrom t";
  ASSERT_TRUE(m_frame->OpenDocumentFile(file));
  for (int pane : {0, 2}) {
    m_frame->SwitchPane(pane);
    FontDialogDriver driver("DejaVu Sans Mono Bold 15");
    Command(ID_VIEW_FONT);
    EXPECT_FALSE(driver.initial.empty()) << pane;
  }
  EXPECT_EQ(QueryEdit()->GetValue(), "select 1\r\nfrom t");
  m_ui.answer = kIdNo;
  EXPECT_TRUE(m_frame->GetDocument()->SaveModified(m_frame));
  EXPECT_TRUE(m_ui.texts.empty()) << "closing would ask to save";
}

TEST_F(EditorTest, CancellingTheFontDialogChangesNothing) {
  m_frame->SwitchPane(2);
  TraceView()->ApplyFont(wxFont(wxFontInfo(17).FaceName("DejaVu Serif")));
  FontDialogDriver driver("");
  Command(ID_VIEW_FONT);
  EXPECT_EQ(driver.initial, "DejaVu Serif 17") << "the dialog starts from the pane's font";
  EXPECT_EQ(TraceView()->GetEdit()->GetFont().GetPointSize(), 17);
  LOGFONT stored;
  EXPECT_EQ(ReadFontSetting(DT("Software\\Harlune\\Dossel\\Trace\\Font"), stored), 0);
}

// ---- context menus ----

wxMenuItem* FindByLabel(wxMenu* menu, const std::string& label) {
  for (wxMenuItem* item : menu->GetMenuItems())
    if (item->GetItemLabel().utf8_string() == label) return item;
  return nullptr;
}

TEST_F(EditorTest, QueryContextMenuFollowsTheEnableRules) {
  std::unique_ptr<wxMenu> menu(Query()->BuildContextMenu());
  EXPECT_EQ(menu->GetMenuItems()[0]->GetItemLabel(), "&Script");
  EXPECT_EQ(menu->GetMenuItems()[1]->GetItemLabel(), "&Template");
  for (int id : {ID_SQL_EXECUTE, ID_SQL_CANCEL, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_CLEAR_ALL, ID_EDIT_SELECT_ALL})
    EXPECT_FALSE(menu->IsEnabled(ToWxId(id))) << id << " with an empty pane, not connected";

  ASSERT_TRUE(ConnectTo(ToUtf8(SqliteConnectString(m_folder.File("menu.db")))));
  Query()->SetQueryText(DT("select 1"));
  QueryEdit()->SetSelection(0, 6);
  menu.reset(Query()->BuildContextMenu());
  for (int id : {ID_SQL_EXECUTE, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_CLEAR_ALL, ID_EDIT_SELECT_ALL})
    EXPECT_TRUE(menu->IsEnabled(ToWxId(id))) << id;
  EXPECT_FALSE(menu->IsEnabled(ToWxId(ID_SQL_CANCEL))) << "no query runs";
  QueryEdit()->SetSelection(3, 3);
  menu.reset(Query()->BuildContextMenu());
  EXPECT_FALSE(menu->IsEnabled(ToWxId(ID_EDIT_CUT)));
  EXPECT_FALSE(menu->IsEnabled(ToWxId(ID_EDIT_COPY)));

  std::unique_ptr<wxMenu> trace(TraceView()->BuildContextMenu());
  EXPECT_EQ(trace->FindItem(ToWxId(ID_SQL_EXECUTE)), nullptr);
  EXPECT_TRUE(trace->IsEnabled(ToWxId(ID_EDIT_SELECT_ALL))) << "the connect wrote to the trace";
  EXPECT_FALSE(trace->IsEnabled(ToWxId(ID_EDIT_COPY)));
}

TEST_F(EditorTest, ATemplateFromTheContextMenuLandsOnANewLineAtTheEnd) {
  Query()->SetQueryText(DT("-- first"));
  QueryEdit()->SetSelection(0, 2);
  std::unique_ptr<wxMenu> menu(Query()->BuildContextMenu());
  wxMenu* templates = menu->GetMenuItems()[1]->GetSubMenu();
  wxMenuItem* create = FindByLabel(templates, "Create");
  ASSERT_NE(create, nullptr);
  wxMenuItem* table = FindByLabel(create->GetSubMenu(), "Table");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(FromWxId(table->GetId()), 33001);

  wxCommandEvent event(wxEVT_MENU, table->GetId());
  event.SetEventObject(Query());
  Query()->ProcessWindowEvent(event);
  const std::string expected = "-- first\r\nCREATE TABLE table_name ( \r\n\tcolumn_name data_type NOT NULL )";
  EXPECT_EQ(QueryText(), expected);
  long from = 0, to = 0;
  QueryEdit()->GetSelection(&from, &to);
  EXPECT_EQ(from, to) << "nothing selected";
  EXPECT_EQ(to, QueryEdit()->GetLastPosition()) << "the caret after the template";

  // A keyword of the Script menu, and the menus are read afresh each time.
  CatalogItem added{DT("Mine"), DT(""), DT("PRAGMA foo; "), 33990};
  ASSERT_EQ(WriteItem(kScriptCatalog, added), 1);
  menu.reset(Query()->BuildContextMenu());
  wxMenuItem* mine = FindByLabel(menu->GetMenuItems()[0]->GetSubMenu(), "Mine");
  ASSERT_NE(mine, nullptr);
  wxCommandEvent keyword(wxEVT_MENU, mine->GetId());
  Query()->ProcessWindowEvent(keyword);
  EXPECT_EQ(QueryText(), expected + "\r\nPRAGMA foo; ");
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(QueryText(), expected) << "an inserted entry is one undo step";
}

// ---- Go To ----

class GoToTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    TString text;
    for (int line = 1; line <= 10; ++line) text += Format(DT("line %d%s"), line, line < 10 ? DT("\n") : DT(""));
    Query()->SetQueryText(text);
    QueryEdit()->SetSelection(0, 0);
    Command(ID_EDIT_GOTO);
    m_dialog = m_frame->GetGoToDlg();
    ASSERT_NE(m_dialog, nullptr);
  }
  void GoTo(const std::string& line) {
    m_dialog->LineEdit()->SetValue(line);
    m_dialog->GoTo();
  }
  long SelectionLine(long* length = nullptr) {
    long from = 0, to = 0, x = 0, y = 0;
    QueryEdit()->GetSelection(&from, &to);
    QueryEdit()->PositionToXY(from, &x, &y);
    if (length) *length = to - from;
    return x == 0 ? y + 1 : -1;
  }
  std::string Shown() { return m_dialog->LineEdit()->GetValue().utf8_string(); }
  CGoToDlg* m_dialog = nullptr;
};

TEST_F(GoToTest, ClampsToTheLastAndFirstLineAndShowsTheClampedNumber) {
  EXPECT_TRUE(m_dialog->IsShown());
  EXPECT_EQ(Shown(), "1") << "prefilled with the caret's line";
  GoTo("25");
  long length = 0;
  EXPECT_EQ(SelectionLine(&length), 10);
  EXPECT_EQ(length, 1) << "the first character of line 10";
  EXPECT_EQ(Shown(), "10");
  GoTo("0");
  EXPECT_EQ(SelectionLine(), 1);
  EXPECT_EQ(Shown(), "1");
  GoTo(" 7 ");
  EXPECT_EQ(SelectionLine(), 7);
  EXPECT_EQ(Shown(), " 7 ") << "an unclamped target leaves the edit alone";
}

TEST_F(GoToTest, AnEmptyLineEditMakesNextAndPreviousStepFromTheCaret) {
  EXPECT_EQ(m_dialog->GoToButton()->GetLabel(), "&Go To");
  EXPECT_FALSE(m_dialog->PreviousButton()->IsEnabled());
  GoTo("3");
  m_dialog->LineEdit()->SetValue("");
  EXPECT_EQ(m_dialog->GoToButton()->GetLabel(), "&Next");
  EXPECT_TRUE(m_dialog->PreviousButton()->IsEnabled());
  m_dialog->GoTo();
  EXPECT_EQ(SelectionLine(), 4);
  EXPECT_EQ(Shown(), "") << "still in Next mode";
  m_dialog->Previous();
  m_dialog->Previous();
  EXPECT_EQ(SelectionLine(), 2);
  QueryEdit()->SetSelection(QueryEdit()->XYToPosition(0, 9), QueryEdit()->XYToPosition(0, 9));
  m_dialog->GoTo();  // past the last line
  EXPECT_EQ(SelectionLine(), 10);
  EXPECT_EQ(Shown(), "10");
  EXPECT_EQ(m_dialog->GoToButton()->GetLabel(), "&Go To");
}

TEST_F(GoToTest, TheDialogIsReusedRecreatedAfterClosingAndIdleInTheSchemaPane) {
  QueryEdit()->SetSelection(QueryEdit()->XYToPosition(2, 5), QueryEdit()->XYToPosition(2, 5));
  Command(ID_EDIT_GOTO);
  EXPECT_EQ(m_frame->GetGoToDlg(), m_dialog);
  EXPECT_EQ(Shown(), "6");

  m_frame->SwitchPane(2);
  AppendTrace(DT("a\r\nb\r\nc\r\n"));
  GoTo("2");
  long from = 0, to = 0;
  TraceView()->GetEdit()->GetSelection(&from, &to);
  EXPECT_EQ(TraceView()->GetEdit()->GetRange(from, to), "b") << "the trace pane's line";

  m_dialog->Close();
  Pump(30);
  EXPECT_EQ(m_frame->GetGoToDlg(), nullptr) << "closing destroys the dialog";
  m_frame->SwitchPane(3);
  EXPECT_FALSE(Enabled(ID_EDIT_GOTO));
  m_frame->SwitchPane(0);
  EXPECT_TRUE(Enabled(ID_EDIT_GOTO));
  Command(ID_EDIT_GOTO);
  EXPECT_NE(m_frame->GetGoToDlg(), nullptr);
}

// With nothing stored, the panes' font is the settings' default face, which
// this machine lacks ("MS Sans Serif"; it would fall back to a small sans
// font): the text panes take the desktop's fixed-width font at its size.
TEST_F(EditorTest, TheMissingDefaultFaceGivesTheTextPanesTheDesktopsFixedFont) {
  const int desktopSize = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetPointSize();
  auto expectDesktopFixed = [&](CEditPane* pane, const char* name) {
    const wxFont font = pane->GetEdit()->GetFont();
    EXPECT_TRUE(font.IsFixedWidth()) << name << ": " << font.GetNativeFontInfoUserDesc();
    EXPECT_EQ(font.GetPointSize(), desktopSize) << name;
  };
  expectDesktopFixed(Query(), "query");
  expectDesktopFixed(TraceView(), "trace");
  expectDesktopFixed(m_frame->ResultView(), "text result");

  // A face the user chose is used as stored; the default face stored
  // explicitly is still the missing default.
  LOGFONT chosen = DefaultLogFont();
  chosen.lfFaceName = DT("DejaVu Serif");
  chosen.lfHeight = -15;
  ASSERT_EQ(WriteFontSetting(Format(DT("%s\\Font"), kTraceKey), chosen), 1);
  ASSERT_EQ(WriteFontSetting(Format(DT("%s\\Font"), kQueryKey), DefaultLogFont()), 1);
  m_frame->Destroy();
  Pump(20);
  m_frame = new CMainFrame();
  EXPECT_EQ(TraceView()->GetEdit()->GetFont().GetFaceName(), "DejaVu Serif");
  EXPECT_EQ(TraceView()->GetEdit()->GetFont().GetPixelSize().GetHeight(), 15);
  expectDesktopFixed(Query(), "query, default stored");
}

// The result grid: a grid of 51 rows (the header and 50).
class GridGoToTest : public FrameTest {};

TEST_F(GridGoToTest, GoToMovesTheFocusCellToARowOfTheGrid) {
  const std::string database = m_folder.File("rows.db");
  RunSqlite(database,
            "create table t(a, b); with recursive n(i) as (select 1 union all select i + 1 from n where i < 50)"
            " insert into t select i, 'row ' || i from n;");
  ASSERT_TRUE(ConnectTo(ToUtf8(SqliteConnectString(database))));
  Run("select a, b from t");
  CResultView* result = m_frame->ResultView();
  ASSERT_TRUE(result->IsGridShown()) << "no grid after the run";
  CGridCtrl* grid = result->GetGrid();
  ASSERT_EQ(grid->GetRowCount(), 51);
  m_frame->SwitchPane(1);
  grid->SetFocusCell(3, 2);
  m_frame->ShowGoToDialog();
  CGoToDlg* dialog = m_frame->GetGoToDlg();
  EXPECT_EQ(dialog->LineEdit()->GetValue(), "3") << "prefilled with the focus row";
  dialog->LineEdit()->SetValue("20");
  dialog->GoTo();
  EXPECT_EQ(grid->GetFocusCell(), CellId(20, 2));
  dialog->LineEdit()->SetValue("80");
  dialog->GoTo();
  EXPECT_EQ(grid->GetFocusCell().row, 50) << "the last row, not one past it";
  EXPECT_EQ(dialog->LineEdit()->GetValue(), "50");
  dialog->LineEdit()->SetValue("");
  dialog->Previous();
  EXPECT_EQ(grid->GetFocusCell().row, 49);

  // The missing default face gives the grid the desktop's normal font.
  const wxFont desktop = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  EXPECT_EQ(grid->GetFont().GetFaceName(), desktop.GetFaceName());
  EXPECT_EQ(grid->GetFont().GetPointSize(), desktop.GetPointSize());
}

}  // namespace
}  // namespace dossel::test
