// Start-up through the document list: listing the documents folder, opening
// and creating query files from it, the Open command showing it again, and
// a query file with non-ASCII SQL opened from it and run.

#include <wx/choice.h>
#include <wx/listctrl.h>

#include <filesystem>
#include <fstream>

#include "app/dossel_doc.h"
#include "ce/document_list.h"
#include "ce_test_fixture.h"
#include "res/command_ids.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

class DocumentListTest : public CeFrameTest {
 protected:
  void SetUp() override {
    m_documents = m_folder.Path() / "docs";
    std::filesystem::create_directories(m_documents / "sub");
    std::ofstream(m_documents / "orders.sql") << "select 'caf\xC3\xA9 \xE4\xB8\xAD' as v";
    std::ofstream(m_documents / "sub" / "notes.txt") << "notes";
    std::ofstream(m_documents / "sub" / "Archive.sql") << "select 2";
    setenv("DOSSEL_DOCUMENTS", m_documents.c_str(), 1);
    CeFrameTest::SetUp();
    m_list = new CDocumentList(m_frame, "All Files|*.*|", "All Folders");
  }
  void TearDown() override {
    CeFrameTest::TearDown();
    unsetenv("DOSSEL_DOCUMENTS");
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (long i = 0; i < m_list->GetListCtrl()->GetItemCount(); ++i)
      names.push_back(m_list->GetListCtrl()->GetItemText(i).utf8_string());
    return names;
  }
  long IndexOf(const std::string& name) const { return m_list->GetListCtrl()->FindItem(-1, wxString::FromUTF8(name)); }

  std::filesystem::path m_documents;
  CDocumentList* m_list = nullptr;
};

TEST_F(DocumentListTest, ListsEveryFileOfEveryFolderOrOfTheChosenFolder) {
  ASSERT_TRUE(m_list->ShowList());
  EXPECT_TRUE(m_list->IsShown());
  EXPECT_EQ(CDocumentList::Of(m_frame), m_list);
  EXPECT_EQ(m_list->GetFolderChoice()->GetString(0), "All Folders");
  EXPECT_EQ(m_list->GetFolderChoice()->GetString(1), "sub");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Archive.sql", "notes.txt", "orders.sql"}));
  EXPECT_EQ(m_list->GetListCtrl()->GetItemText(IndexOf("notes.txt"), 1), "sub");
  EXPECT_EQ(m_list->GetListCtrl()->GetItemText(IndexOf("orders.sql"), 1), "");

  m_list->GetFolderChoice()->SetSelection(1);
  wxCommandEvent choice(wxEVT_CHOICE, m_list->GetFolderChoice()->GetId());
  choice.SetEventObject(m_list->GetFolderChoice());
  m_list->GetFolderChoice()->ProcessWindowEvent(choice);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Archive.sql", "notes.txt"}));
}

TEST_F(DocumentListTest, OpeningAFileFromTheListPutsItInTheQueryPaneAndRunsItsNonAsciiSql) {
  ASSERT_TRUE(m_list->ShowList());
  m_frame->SwitchPane(2);
  // The user activates the item, as a double click or Enter would.
  wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, m_list->GetListCtrl()->GetId());
  activate.m_itemIndex = IndexOf("orders.sql");
  activate.SetEventObject(m_list->GetListCtrl());
  m_list->GetListCtrl()->ProcessWindowEvent(activate);

  EXPECT_FALSE(m_list->IsShown());
  EXPECT_EQ(m_frame->GetCurrentPane(), 0);
  EXPECT_EQ(m_frame->GetDocument()->GetPathName(), (m_documents / "orders.sql").string());
  EXPECT_EQ(ToUtf8(FromWx(m_frame->QueryView()->GetEdit()->GetValue())), "select 'caf\xC3\xA9 \xE4\xB8\xAD' as v");
  EXPECT_NE(m_frame->GetTitle().Find("orders.sql"), wxNOT_FOUND);

  const std::string database = m_folder.File("shop.db");
  RunSqlite(database, "create table t(a);");
  ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + database));
  StartAndWait();
  EXPECT_NE(Result().find("caf\xC3\xA9 \xE4\xB8\xAD"), std::string::npos) << Result();
}

TEST_F(DocumentListTest, TheOpenCommandShowsTheListAgainAndNewStartsAnEmptyQuery) {
  ASSERT_TRUE(m_list->ShowList());
  ASSERT_TRUE(m_list->OpenItem(IndexOf("Archive.sql")));
  EXPECT_FALSE(m_list->IsShown());

  // A file written since shows up when the list comes back.
  std::ofstream(m_documents / "later.sql") << "select 3";
  EXPECT_TRUE(SendCommand(m_frame, ID_FILE_OPEN));
  EXPECT_TRUE(m_list->IsShown());
  EXPECT_NE(IndexOf("later.sql"), -1);

  m_list->NewDocument();
  EXPECT_FALSE(m_list->IsShown());
  EXPECT_TRUE(m_frame->GetDocument()->GetPathName().empty());
  EXPECT_TRUE(m_frame->QueryView()->GetEdit()->IsEmpty());
  // Closing the list steps aside (the close is refused); the program goes on.
  EXPECT_TRUE(SendCommand(m_frame, ID_FILE_OPEN));
  EXPECT_FALSE(m_list->Close());
  EXPECT_FALSE(m_list->IsShown());
  EXPECT_TRUE(m_frame->IsShown());
}

TEST_F(DocumentListTest, AFileThatCannotBeReadLeavesTheListUp) {
  ASSERT_TRUE(m_list->ShowList());
  const long index = IndexOf("orders.sql");
  std::filesystem::remove(m_documents / "orders.sql");
  EXPECT_FALSE(m_list->OpenItem(index));
  EXPECT_TRUE(m_list->IsShown());
  EXPECT_EQ(m_ui.texts.size(), 1u);
}

TEST_F(DocumentListTest, ADocumentsFolderThatCannotBeMadeIsNotShown) {
  const std::string file = m_folder.File("plain-file");
  std::ofstream(file) << "x";
  setenv("DOSSEL_DOCUMENTS", (file + "/docs").c_str(), 1);
  auto* list = new CDocumentList(m_frame, "All Files|*.*|", "All Folders");
  EXPECT_FALSE(list->ShowList());
  EXPECT_FALSE(list->IsShown());
  list->Destroy();
}

}  // namespace
}  // namespace dossel::test
