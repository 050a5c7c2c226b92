// The text panes' control: searching in its own positions (text beyond
// ASCII included), undo and redo grouped as a user types, SQL highlighting
// with the Script catalogue's words, and the newest lines of an append at
// the top of the view.

#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <memory>

#include "app/find_replace.h"
#include "app/sql_edit.h"
#include "app/sql_keywords.h"
#include "frame_fixture.h"
#include "res/command_ids.h"
#include "schema/reserved_words.h"
#include "settings/catalogs.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

// ---- searching a control ----

class FindInEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = new wxFrame(nullptr, wxID_ANY, "find");
    m_edit = new CTextEdit(m_frame, false);
  }
  void TearDown() override { m_frame->Destroy(); }
  void SetText(const char* utf8) {
    m_edit->ClearAll();
    m_edit->AppendUtf8(utf8);
  }
  wxFrame* m_frame = nullptr;
  CTextEdit* m_edit = nullptr;
};

TEST_F(FindInEditTest, CaseWholeWordsAndDirection) {
  SetText("Select id, ID_X from t where id = 1");
  const long length = m_edit->GetTextLength();
  EXPECT_EQ(FindInEdit(*m_edit, "id", 0, wxFR_DOWN), 7);
  EXPECT_EQ(FindInEdit(*m_edit, "ID", 0, wxFR_DOWN | wxFR_MATCHCASE), 11);
  EXPECT_EQ(FindInEdit(*m_edit, "id", 8, wxFR_DOWN | wxFR_WHOLEWORD), 29);
  EXPECT_EQ(FindInEdit(*m_edit, "id", length, 0), 29) << "backwards finds the last";
  EXPECT_EQ(FindInEdit(*m_edit, "id", 29, 0), 11) << "a match ends at or before the start";
  EXPECT_EQ(FindInEdit(*m_edit, "nothing", 0, wxFR_DOWN), -1);
  EXPECT_EQ(FindInEdit(*m_edit, "", 0, wxFR_DOWN), -1);
  SetText("a aa a");
  EXPECT_EQ(ReplaceAllInEdit(*m_edit, "a", "bb", wxFR_WHOLEWORD), 2);
  EXPECT_EQ(m_edit->GetValue(), "bb aa bb");
  m_edit->SetUndoCollection(true);
  EXPECT_EQ(ReplaceAllInEdit(*m_edit, "b", "a", 0), 4);
  EXPECT_EQ(m_edit->GetValue(), "aa aa aa");
}

// Positions are the control's own; a match after letters of two bytes each
// still selects exactly the word.
TEST_F(FindInEditTest, TextBeyondAsciiIsFoundAndReplacedWhole) {
  SetText("-- caf\xC3\xA9 \xC3\xA9t\xC3\xA9\nselect caf\xC3\xA9 from t");
  long end = 0;
  const wxString cafe = wxString::FromUTF8("CAF\xC3\x89");
  const long first = FindInEdit(*m_edit, cafe, 0, wxFR_DOWN | wxFR_WHOLEWORD, &end);
  ASSERT_GE(first, 0);
  m_edit->SetSelection(first, end);
  EXPECT_EQ(m_edit->GetSelectedText(), wxString::FromUTF8("caf\xC3\xA9")) << "found without case";
  const long second = FindInEdit(*m_edit, cafe, end, wxFR_DOWN | wxFR_WHOLEWORD, &end);
  ASSERT_GT(second, first);
  m_edit->SetSelection(second, end);
  EXPECT_EQ(m_edit->GetSelectedText(), wxString::FromUTF8("caf\xC3\xA9"));
  EXPECT_EQ(FindInEdit(*m_edit, cafe, m_edit->GetTextLength(), wxFR_WHOLEWORD), second) << "backwards";
  EXPECT_EQ(FindInEdit(*m_edit, cafe, second, wxFR_WHOLEWORD), first);
  EXPECT_EQ(ReplaceAllInEdit(*m_edit, cafe, "tea", wxFR_WHOLEWORD), 2);
  EXPECT_EQ(m_edit->GetValue(), wxString::FromUTF8("-- tea \xC3\xA9t\xC3\xA9\nselect tea from t"));
}

// ---- the keyword list ----

TEST(SqlKeywordsTest, WordsOfCatalogueTextsAndTheStandardsWords) {
  EXPECT_EQ(KeywordsOfText("ADD() "), "add ");
  EXPECT_EQ(KeywordsOfText("PRAGMA foo; ORDER_BY x2"), "pragma foo order_by x2 ");
  EXPECT_EQ(KeywordsOfText("9lives caf\xC3\xA9_id"), "") << "no digit first, nothing glued to other letters";
  const std::string standard = " " + std::string(schema::StandardReservedWords()) + " ";
  for (const char* word : {" select ", " from ", " where ", " join ", " values ", " current_timestamp "})
    EXPECT_NE(standard.find(word), std::string::npos) << word;
  EXPECT_EQ(standard.find(" pragma "), std::string::npos) << "not a word of the standard";
}

// ---- the panes in a frame ----

class TextPaneTest : public TextFrameTest {
 protected:
  void PrepareSettings() override {
    TextFrameTest::PrepareSettings();
    InstallDefaultCatalogs();
  }
  CSqlEdit* Sql() { return m_frame->QueryView()->SqlEdit(); }
  std::string QueryText() { return Sql()->GetValue().utf8_string(); }
  bool Enabled(int id) {
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    return m_frame->GetMenuBar()->IsEnabled(ToWxId(id));
  }
  void Type(const std::string& keys) {
    m_frame->Raise();
    Sql()->SetFocus();
    Pump(30);
    wxUIActionSimulator simulator;
    for (char key : keys) {
      if (key == '\n')
        simulator.Char(WXK_RETURN);
      else if (key == '\b')
        simulator.Char(WXK_BACK);
      else
        simulator.Text(std::string(1, key).c_str());
    }
    Pump(60);
  }
  void Press(int key, int modifiers) {
    wxUIActionSimulator().Char(key, modifiers);
    Pump(60);
  }
  // The style the lexer gives the text at `utf8Offset` of `text`, after the
  // query pane holds `text`.
  int StyleOf(const std::string& text, const std::string& part) {
    const size_t at = QueryText().find(part);
    EXPECT_NE(at, std::string::npos) << part << " in " << text;
    Sql()->Colourise(0, -1);
    return Sql()->GetStyleAt(static_cast<int>(at));
  }
};

TEST_F(TextPaneTest, UndoAndRedoTakeTypingBackAndForthInRunsThroughTheirKeys) {
  Type("abc\ndef");
  ASSERT_EQ(QueryText(), "abc\ndef");
  Press('Z', wxMOD_CONTROL);
  EXPECT_EQ(QueryText(), "abc\n") << "a line break ends a run";
  Press('Y', wxMOD_CONTROL);
  EXPECT_EQ(QueryText(), "abc\ndef");
  Press('Z', wxMOD_CONTROL);
  Press('Z', wxMOD_CONTROL);
  EXPECT_EQ(QueryText(), "");
  EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
  Press('Z', wxMOD_CONTROL | wxMOD_SHIFT);
  EXPECT_EQ(QueryText(), "abc\n");
  long from = 0, to = 0;
  Sql()->GetSelection(&from, &to);
  EXPECT_EQ(Sql()->GetRange(from, to), "abc\n") << "what Redo brought back is selected";

  // Typing after an Undo drops what Redo could bring back; Backspaces in a
  // row are one step.
  Sql()->SetSelection(Sql()->GetLastPosition(), Sql()->GetLastPosition());
  Type("select");
  EXPECT_FALSE(Sql()->CanRedo());
  Type("\b\b\b");
  EXPECT_EQ(QueryText(), "abc\nsel");
  Press('Z', wxMOD_CONTROL);
  EXPECT_EQ(QueryText(), "abc\nselect");
  Press('Z', wxMOD_CONTROL);
  EXPECT_EQ(QueryText(), "abc\n");
}

TEST_F(TextPaneTest, TheQueryPaneHighlightsSqlAndTheOutputPanesStayPlain) {
  const std::string text = "select name, 'it''s', 42 from \"t\" -- why\n/* block */ where x = 1";
  m_frame->QueryView()->SetQueryText(FromUtf8(text));
  EXPECT_EQ(StyleOf(text, "select"), wxSTC_SQL_WORD);
  EXPECT_EQ(StyleOf(text, "from"), wxSTC_SQL_WORD);
  EXPECT_EQ(StyleOf(text, "name"), wxSTC_SQL_IDENTIFIER);
  EXPECT_EQ(StyleOf(text, "'it"), wxSTC_SQL_CHARACTER);
  EXPECT_EQ(StyleOf(text, "s',"), wxSTC_SQL_CHARACTER) << "a doubled quote stays inside the string";
  EXPECT_EQ(StyleOf(text, "42"), wxSTC_SQL_NUMBER);
  EXPECT_EQ(StyleOf(text, "-- why"), wxSTC_SQL_COMMENTLINE);
  EXPECT_EQ(StyleOf(text, "block"), wxSTC_SQL_COMMENT);
  // Each part in a look of its own.
  const int parts[] = {wxSTC_SQL_WORD, wxSTC_SQL_IDENTIFIER, wxSTC_SQL_CHARACTER, wxSTC_SQL_NUMBER,
                       wxSTC_SQL_COMMENTLINE};
  for (int a : parts) {
    for (int b : parts) {
      if (a < b) {
        EXPECT_NE(Sql()->StyleGetForeground(a), Sql()->StyleGetForeground(b)) << a << " and " << b;
      }
    }
  }
  EXPECT_GT(Sql()->GetMarginWidth(0), 0) << "line numbers";
  EXPECT_EQ(Sql()->GetMarginType(0), wxSTC_MARGIN_NUMBER);

  for (CEditPane* pane :
       {static_cast<CEditPane*>(m_frame->TraceView()), static_cast<CEditPane*>(m_frame->ResultView())}) {
    CTextEdit* edit = pane->GetEdit();
    EXPECT_NE(edit->GetLexer(), wxSTC_LEX_SQL);
    EXPECT_EQ(edit->GetMarginWidth(0), 0);
    edit->SetText("select 1");
    edit->Colourise(0, -1);
    EXPECT_EQ(edit->GetStyleAt(0), 0) << "plain text";
  }
}

// The options sheet is a modal dialog; a keyword it adds to the Script
// catalogue is highlighted once it closes, and one it removes no longer is.
TEST_F(TextPaneTest, AKeywordAddedToTheScriptCatalogueIsHighlightedOnceTheSheetCloses) {
  const std::string text = "select mykeyword from t";
  m_frame->QueryView()->SetQueryText(FromUtf8(text));
  EXPECT_EQ(StyleOf(text, "mykeyword"), wxSTC_SQL_IDENTIFIER);
  const auto runSheet = [&](const std::function<void()>& change) {
    wxDialog sheet(m_frame, wxID_ANY, "Options");
    wxTheApp->CallAfter([&] {
      change();
      sheet.EndModal(wxID_OK);
    });
    sheet.ShowModal();
    Pump(60);
  };
  runSheet([] {
    CatalogItem added{DT("Mine"), DT("Keyword"), DT("MYKEYWORD "), 33991};
    ASSERT_EQ(WriteItem(kScriptCatalog, added), 1);
  });
  EXPECT_EQ(StyleOf(text, "mykeyword"), wxSTC_SQL_WORD);
  EXPECT_EQ(StyleOf(text, "select"), wxSTC_SQL_WORD) << "the standard's words stay";
  runSheet([] { ASSERT_EQ(RemoveItem(DT("Mine"), DT(""), kScriptCatalog), 1); });
  EXPECT_EQ(StyleOf(text, "mykeyword"), wxSTC_SQL_IDENTIFIER);
}

TEST_F(TextPaneTest, AppendsShowTheNewestLinesAtTheTopShownOrNot) {
  TString lines;
  for (int line = 1; line <= 300; ++line) lines += Format(DT("trace line %d\r\n"), line);
  AppendTrace(DT("%s"), lines.c_str());  // written while the trace pane is hidden
  m_frame->SwitchPane(2);
  Pump(30);
  CTextEdit* edit = m_frame->TraceView()->GetEdit();
  ASSERT_EQ(edit->GetLineCount(), 301);
  EXPECT_EQ(edit->GetFirstVisibleLine(), 297) << "the last four lines at the top";
  EXPECT_EQ(edit->GetLineText(297), "trace line 298");
  AppendTrace(DT("one more\r\n"));
  Pump(30);
  EXPECT_EQ(edit->GetFirstVisibleLine(), 298);
  EXPECT_FALSE(edit->CanUndo()) << "the output panes keep no history";
}

}  // namespace
}  // namespace dossel::test
