// The history window in the main frame, driven by real key presses: Ctrl+R
// opens it, typing searches, the keys pick, the text lands in the query
// pane (in place of its selection) or runs at once, Delete removes runs;
// a run of a selection, and the schema pane's Open, recorded as run; the
// options sheet's History page; and the query pane's recovery file kept
// while the text is unsaved and gone once it is saved.

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <filesystem>

#include "app/dossel_doc.h"
#include "app/recovery_keeper.h"
#include "dialog_test_support.h"
#include "frame_fixture.h"
#include "history/history.h"
#include "history/recovery_file.h"
#include "history/wx/history_page.h"
#include "history/wx/history_window.h"
#include "history_fixture.h"
#include "options/options_sheet.h"
#include "res/command_ids.h"

namespace dossel::test {
namespace {

using history::CHistoryWindow;

// A button's click as a real command event.
void Click(wxWindow& dialog, int id) {
  wxWindow* button = dialog.FindWindow(id);
  ASSERT_NE(button, nullptr) << id;
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(event);
}

class HistoryWindowTest : public TextFrameTest {
 protected:
  void SetUp() override {
    TextFrameTest::SetUp();
    m_history = std::make_unique<history::CHistory>(m_folder.File("data/history.db"), nullptr);
    m_frame->UseHistory(m_history.get());
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database,
              "create table customers(name text, city text);"
              "insert into customers values ('Ann', 'Zürich'), ('Bob', 'Bern');"
              "create table orders(id integer, total real); insert into orders values (1, 9.5);");
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=1"));
  }
  void TearDown() override {
    TextFrameTest::TearDown();
    m_history.reset();
  }

  void Press(int key, int modifiers = wxMOD_NONE) {
    wxUIActionSimulator().Char(key, modifiers);
    Pump(40);
  }
  void Type(const char* text) {
    wxUIActionSimulator().Text(text);
    Pump(40);
  }
  // Ctrl+R from the query pane, and the first page of the search shown.
  CHistoryWindow* OpenWindow() {
    m_frame->Raise();
    m_frame->SwitchPane(0);
    Pump(30);
    Press('R', wxMOD_CONTROL);
    CHistoryWindow* window = m_frame->HistoryWindow();
    EXPECT_NE(window, nullptr);
    if (!window) return nullptr;
    EXPECT_TRUE(PumpUntil([&] { return window->IsShown() && !window->IsSearching(); }));
    EXPECT_EQ(wxWindow::FindFocus(), window->SearchField());
    return window;
  }
  // Waits until the list shows `count` runs.
  bool Shows(CHistoryWindow* window, size_t count) {
    return PumpUntil([&] { return !window->IsSearching() && window->Entries().size() == count; }, 10000);
  }
  std::string QueryText() { return m_frame->QueryView()->GetEdit()->GetValue().utf8_string(); }
  std::string Selected() { return m_frame->QueryView()->GetEdit()->GetSelectedText().utf8_string(); }
  void RunAndRecord(const std::string& sql) {
    Run(sql);
    ASSERT_TRUE(m_history->WaitIdle(10000));
  }

  std::unique_ptr<history::CHistory> m_history;
  std::string m_database;
};

TEST_F(HistoryWindowTest, TypingSearchesAndTheKeysPutThePickedTextInPlaceOfTheSelection) {
  RunAndRecord("select name from customers where city = 'Zürich'");
  RunAndRecord("select total from orders");
  RunAndRecord("select count(*) from customers");
  CHistoryWindow* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Shows(window, 3));
  EXPECT_EQ(window->List()->GetItemText(0, 5).utf8_string(), "select count(*) from customers");
  EXPECT_EQ(window->List()->GetItemText(0, 3).utf8_string(), "Completed");
  EXPECT_EQ(window->List()->GetItemText(0, 2).utf8_string(), "1");
  EXPECT_EQ(window->List()->GetFirstSelected(), 0);

  Type("cust");
  ASSERT_TRUE(Shows(window, 2));
  Type(" zur");
  ASSERT_TRUE(Shows(window, 1));
  EXPECT_EQ(window->List()->GetItemText(0, 5).utf8_string(), "select name from customers where city = 'Zürich'");
  // Back to two; Down picks the older of them.
  Press(WXK_BACK);
  Press(WXK_BACK);
  Press(WXK_BACK);
  Press(WXK_BACK);
  ASSERT_TRUE(Shows(window, 2));
  Press(WXK_DOWN);
  EXPECT_EQ(window->List()->GetFirstSelected(), 1);
  EXPECT_EQ(wxWindow::FindFocus(), window->SearchField());

  // The query pane holds text with a part selected: the pick replaces it.
  CTextEdit* edit = m_frame->QueryView()->GetEdit();
  m_frame->QueryView()->SetQueryText(DT("-- before\r\nREPLACE ME\r\n-- after"));
  edit->SetSelection(11, 21);
  Press(WXK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !window->IsShown(); }));
  EXPECT_EQ(QueryText(), "-- before\r\nselect name from customers where city = 'Zürich'\r\n-- after");
  EXPECT_EQ(Selected(), "select name from customers where city = 'Zürich'");
  EXPECT_EQ(m_frame->GetCurrentPane(), 0);
  EXPECT_EQ(wxWindow::FindFocus(), edit);
  EXPECT_FALSE(m_frame->Session().IsExecuting());

  // Shown again with its search kept; Ctrl+Enter runs the pick at once.
  window = OpenWindow();
  EXPECT_EQ(window->SearchField()->GetValue(), "cust");
  ASSERT_TRUE(Shows(window, 2));
  edit->SetSelection(0, 0);
  NewTrace();
  Press(WXK_RETURN, wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return !window->IsShown(); }));
  ASSERT_TRUE(PumpUntil([&] { return Trace().find("Query completed") != std::string::npos; }));
  EXPECT_NE(NewTrace().find("Executing query [select count(*) from customers] ..."), std::string::npos);
  ASSERT_TRUE(m_history->WaitIdle(10000));
  window = OpenWindow();
  ASSERT_TRUE(Shows(window, 3));
}

TEST_F(HistoryWindowTest, DeleteRemovesTheSelectedRunsAndTheFilterKeepsOneDataSource) {
  RunAndRecord("select 'one' as first_run");
  RunAndRecord("select 'two' as second_run");
  RunAndRecord("select 'three' as third_run");
  CHistoryWindow* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Shows(window, 3));
  // Tab goes on to the list, where Delete removes the selected run.
  Press(WXK_TAB);
  wxWindow* focus = wxWindow::FindFocus();
  ASSERT_TRUE(focus && (focus == window->List() || window->List()->IsDescendant(focus)));
  Press(WXK_DOWN);
  ASSERT_EQ(window->List()->GetFirstSelected(), 1);
  Press(WXK_DELETE);
  ASSERT_TRUE(Shows(window, 2));
  EXPECT_EQ(window->List()->GetItemText(0, 5).utf8_string(), "select 'three' as third_run");
  EXPECT_EQ(window->List()->GetItemText(1, 5).utf8_string(), "select 'one' as first_run");
  EXPECT_EQ(window->List()->GetFirstSelected(), 1);
  EXPECT_TRUE(SearchFor(*m_history, "second").entries.empty());

  // Runs of another data source, and the filter.
  m_history->RunEnded(MakeRecord("select 'elsewhere'", "Warehouse"));
  ASSERT_TRUE(m_history->WaitIdle(10000));
  Press(WXK_ESCAPE);
  EXPECT_FALSE(window->IsShown());
  window = OpenWindow();
  ASSERT_TRUE(Shows(window, 3));
  ASSERT_TRUE(PumpUntil([&] { return window->SourceChoice()->GetCount() == 3; }));
  EXPECT_EQ(window->SourceChoice()->GetString(2), "Warehouse");
  window->SourceChoice()->SetSelection(2);
  wxCommandEvent chosen(wxEVT_CHOICE, window->SourceChoice()->GetId());
  chosen.SetEventObject(window->SourceChoice());
  window->SourceChoice()->GetEventHandler()->ProcessEvent(chosen);
  ASSERT_TRUE(Shows(window, 1));
  EXPECT_EQ(window->List()->GetItemText(0, 4).utf8_string(), "Warehouse");
  Press(WXK_ESCAPE);
}

TEST_F(HistoryWindowTest, ASelectionRunAndATextTheSchemaPaneRunsAreRecordedAsRun) {
  // Only the selected statement runs, and only it is recorded.
  m_frame->QueryView()->SetQueryText(DT("select 1;\r\nselect name from customers\r\n-- the end"));
  m_frame->QueryView()->GetEdit()->SetSelection(11, 37);
  StartAndWait();
  ASSERT_TRUE(m_history->WaitIdle(10000));
  history::CHistory::Page page = SearchFor(*m_history, "");
  ASSERT_EQ(page.entries.size(), 1u);
  EXPECT_EQ(ToUtf8(page.entries[0].summary), "select name from customers");
  // The data source and database as the session names them.
  EXPECT_FALSE(page.entries[0].dataSource.empty());
  EXPECT_TRUE(page.entries[0].dataSource == m_frame->Session().GetDataSourceName());
  EXPECT_TRUE(page.entries[0].database == m_frame->Session().GetDatabaseName());
  EXPECT_EQ(page.entries[0].rows, 2);
  EXPECT_EQ(page.entries[0].outcome, session::RunOutcome::kCompleted);
  Answer<std::optional<TString>> text;
  m_history->ReadText(page.entries[0].id, text.Callback());
  const std::optional<TString> whole = text.Wait();
  ASSERT_TRUE(whole);
  EXPECT_EQ(ToUtf8(*whole), "select name from customers");

  // The schema pane's Open appends its statement, selected, and runs it.
  m_frame->QueryView()->InsertText(DT("select * from orders"), true, true, true);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }));
  ASSERT_TRUE(m_history->WaitIdle(10000));
  EXPECT_EQ(Summaries(SearchFor(*m_history, "")),
            (std::vector<std::string>{"select * from orders", "select name from customers"}));
}

TEST_F(HistoryWindowTest, TheHistoryPageComesLastAndStoresItsChoicesOnOk) {
  std::vector<std::string> titles;
  WhenModal<COptionsSheet>([&](COptionsSheet& sheet) {
    wxBookCtrlBase* book = sheet.GetBookCtrl();
    for (size_t i = 0; i < book->GetPageCount(); ++i) titles.push_back(book->GetPageText(i).utf8_string());
    auto* page = dynamic_cast<history::CHistoryPage*>(book->GetPage(book->GetPageCount() - 1));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->RecordBox()->GetValue());
    EXPECT_EQ(page->MaxRunsEdit()->GetValue(), "100000");
    book->SetSelection(book->GetPageCount() - 1);
    page->RecordBox()->SetValue(false);
    page->MaxRunsEdit()->SetValue("0");
    Click(sheet, wxID_OK);
    // Refused, the sheet stays open.
    EXPECT_TRUE(sheet.IsModal());
    EXPECT_EQ(m_ui.texts.size(), 1u);
    page->MaxRunsEdit()->SetValue("250");
    Click(sheet, wxID_OK);
  });
  wxCommandEvent options(wxEVT_MENU, res::ToWxId(res::ID_VIEW_OPTIONS));
  m_frame->ProcessWindowEvent(options);
  EXPECT_EQ(titles.back(), "History");
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, history::kHistoryKey, DT("Record"), 1), 0);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, history::kHistoryKey, DT("MaxRuns"), 0), 250);
  // Recording is off: a run leaves nothing.
  RunAndRecord("select 'not kept'");
  EXPECT_TRUE(SearchFor(*m_history, "").entries.empty());
}

class RecoveryKeeperTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    m_file = std::make_unique<history::CRecoveryFile>(m_data);
    m_frame->UseRecovery(m_file.get(), 100, 300);
  }
  void TearDown() override {
    FrameTest::TearDown();
    m_file.reset();
  }
  bool Kept(const std::string& text) {
    return PumpUntil([&] {
      m_file->WaitIdle(1000);
      history::RecoveredQuery query;
      return history::DecodeRecoveredQuery(ReadFile(m_file->Path()), query) && query.text == text;
    });
  }
  bool Gone() {
    return PumpUntil([&] {
      m_file->WaitIdle(1000);
      return !std::filesystem::exists(m_file->Path());
    });
  }

  std::string m_data = m_folder.File("data");
  std::unique_ptr<history::CRecoveryFile> m_file;
};

TEST_F(RecoveryKeeperTest, UnsavedTextIsKeptAndTheFileGoesOnceTheTextIsSavedOrUndone) {
  m_frame->Raise();
  CTextEdit* edit = m_frame->QueryView()->GetEdit();
  edit->SetFocus();
  Pump(30);
  wxUIActionSimulator().Text("select 1");
  ASSERT_TRUE(Kept("select 1"));
  // Undone to the saved (empty) text: nothing is at risk.
  edit->UndoStep();
  ASSERT_TRUE(Gone());
  wxUIActionSimulator().Text("select 2");
  ASSERT_TRUE(Kept("select 2"));
  const std::string path = m_folder.File("saved.sql");
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(wxString::FromUTF8(path), m_frame));
  ASSERT_TRUE(Gone());
  EXPECT_EQ(ReadFile(path), "select 2");

  // A text restored from a recovery file belongs to its file and is unsaved.
  m_frame->RestoreUnsavedQuery(path, "select 3 -- restored");
  EXPECT_EQ(edit->GetValue().utf8_string(), "select 3 -- restored");
  EXPECT_TRUE(m_frame->GetDocument()->IsModified());
  EXPECT_EQ(m_frame->GetDocument()->GetPathName().utf8_string(), path);
  ASSERT_TRUE(Kept("select 3 -- restored"));
  history::RecoveredQuery query;
  ASSERT_TRUE(history::DecodeRecoveredQuery(ReadFile(m_file->Path()), query));
  EXPECT_EQ(query.path, path);
  // Discarded for a new document: gone.
  m_frame->GetDocument()->OnNewDocument();
  ASSERT_TRUE(Gone());
}

}  // namespace
}  // namespace dossel::test
