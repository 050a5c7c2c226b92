// The "ODBC Driver Info" sheet on a real SQLite connection: the eight pages
// in order, the relabelled buttons, values on the pages, the SQL Functions
// sort by header clicks, the Data Types selection, the keyword lists, the
// display-only check boxes, Save As through the test's stand-in for the file
// dialog, and a sheet over a closed connection.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/frame.h>
#include <wx/headerctrl.h>

#include <string>

#include "db/db_connection.h"
#include "driverinfo/report_writer.h"
#include "driverinfo/wx/data_types_page.h"
#include "driverinfo/wx/driver_info_sheet.h"
#include "driverinfo/wx/field_page.h"
#include "driverinfo/wx/functions_page.h"
#include "platform/wx/wx_text.h"
#include "recording_ui.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using namespace driverinfo;

class DriverInfoGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUserInterface(&m_ui);
    m_databasePath = m_folder.File("test.db");
    RunSqlite(m_databasePath, "create table seed(x)");
    ASSERT_TRUE(m_connection.OpenWithOptions(SqliteConnectString(m_databasePath), db::kNoOdbcDialog));
    m_frame = new wxFrame(nullptr, wxID_ANY, "driver info test");
  }
  void TearDown() override {
    CMyPropertySheet::SetSaveHook({});
    m_frame->Destroy();
    SetUserInterface(nullptr);
  }

  // The ask the frame makes through its session, answered at once: the
  // test thread is the connection's only user.
  ConnectionAsk Direct() {
    return [this](std::function<void(db::CDbConnection&)> read, std::function<void()> then) {
      read(m_connection);
      then();
      return true;
    };
  }

  // The value field of a page, found by its label.
  static wxString Value(wxWindow* page, const wxString& label) {
    auto* field = dynamic_cast<wxStaticText*>(page->FindWindowByName(label, page));
    return field ? field->GetLabel() : wxString("<no field " + label + ">");
  }

  static void ClickHeader(CListCtrlEx* list, int column) {
    for (wxWindow* child : list->GetChildren()) {
      if (auto* header = dynamic_cast<wxHeaderCtrl*>(child)) {
        wxHeaderCtrlEvent click(wxEVT_HEADER_CLICK, header->GetId());
        click.SetEventObject(header);
        click.SetColumn(column);
        header->ProcessWindowEvent(click);
        return;
      }
    }
    ADD_FAILURE() << "no header";
  }

  static std::vector<wxString> Column(CListCtrlEx* list, int column) {
    std::vector<wxString> texts;
    for (int i = 0; i < list->GetItemCount(); ++i) texts.push_back(list->GetItemText(i, column));
    return texts;
  }

  RecordingUserInterface m_ui;
  ScratchFolder m_folder;
  std::string m_databasePath;
  db::CDbConnection m_connection;
  wxFrame* m_frame = nullptr;
};

TEST_F(DriverInfoGuiTest, SheetShowsEightPagesAndItsButtons) {
  CMyPropertySheet sheet(m_frame, Direct());
  EXPECT_EQ(sheet.GetTitle(), "ODBC Driver Info");
  const std::vector<wxString> expected = {"Driver Information", "Functions", "Supported SQL", "Data Types",
                                          "Identifiers",        "Limits",    "Misc. 1",       "Misc. 2"};
  wxBookCtrlBase* book = sheet.GetBookCtrl();
  ASSERT_EQ(book->GetPageCount(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(book->GetPageText(i), expected[i]) << i;
  EXPECT_EQ(sheet.GetSaveAsButton()->GetLabel(), "&Save As...");
  EXPECT_EQ(sheet.GetCloseButton()->GetLabel(), "&Close");
  EXPECT_EQ(sheet.GetCursorLibraryNote()->GetLabel(), "Cursor Library Not Loaded");
  // The note sits left of the two buttons, Save As left of Close.
  sheet.Show();
  EXPECT_LT(sheet.GetCursorLibraryNote()->GetPosition().x, sheet.GetSaveAsButton()->GetPosition().x);
  EXPECT_LT(sheet.GetSaveAsButton()->GetPosition().x, sheet.GetCloseButton()->GetPosition().x);

  wxWindow* info = sheet.GetInfoPage(0);
  EXPECT_EQ(Value(info, "Driver Name:"), "sqlite3odbc.so");
  EXPECT_EQ(Value(info, "DBMS Name:"), "SQLite");
  EXPECT_EQ(Value(info, "ODBC API Conformance:"), "Level 1");
  EXPECT_EQ(Value(info, "Active Statements:"), "No Limit");
  EXPECT_EQ(Value(sheet.GetInfoPage(5), "Max Statement Length:"), "16384");
  EXPECT_EQ(Value(sheet.GetInfoPage(6), "Transaction Capabilities:"), "DDL and DML statements supported");
  EXPECT_EQ(Value(sheet.GetInfoPage(7), "Null Collation:"), "Start");
}

TEST_F(DriverInfoGuiTest, FunctionListsShowTheImagesAndSortByHeaderClicks) {
  CMyPropertySheet sheet(m_frame, Direct());
  auto* page = dynamic_cast<CFunctions*>(sheet.GetInfoPage(1));
  ASSERT_NE(page, nullptr);
  CListCtrlEx* api = page->GetApiList();
  ASSERT_EQ(api->GetItemCount(), 56);
  EXPECT_EQ(api->GetItemText(0), "SQLAllocConnect");
  EXPECT_EQ(api->GetItemText(20), "SQLSetCursorName");
  EXPECT_EQ(api->GetItemImage(20), kImageNotSupported);  // the SQLite driver lacks it
  EXPECT_EQ(api->GetItemImage(12), kImageSupported);     // SQLFetch

  CListCtrlEx* sql = page->GetSqlList();
  EXPECT_EQ(sql->GetId(), kSqlFunctionsListId);
  ASSERT_EQ(sql->GetItemCount(), 1 + 24 + 19 + 3 + 17);
  EXPECT_EQ(sql->GetColumnHeading(0), "Function");
  EXPECT_EQ(sql->GetColumnHeading(1), "Category");
  EXPECT_EQ(sql->GetItemText(0), "Convert()");
  EXPECT_EQ(sql->GetItemText(0, 1), "Conversion");
  EXPECT_EQ(sql->GetItemText(sql->GetItemCount() - 1, 1), "TimeDate");
  for (int i = 0; i < sql->GetItemCount(); ++i) sql->SetItemData(i, 1000 + i);

  sql->Select(0);       // Convert()
  ClickHeader(sql, 0);  // first click: descending
  std::vector<wxString> names = Column(sql, 0);
  // The selection moves with its item.
  ASSERT_GE(sql->GetSelection(), 0);
  EXPECT_EQ(sql->GetItemText(sql->GetSelection()), "Convert()");
  EXPECT_EQ(names.front(), "Year()");
  EXPECT_EQ(names.back(), "Abs()");
  for (size_t i = 1; i < names.size(); ++i) EXPECT_GE(names[i - 1].CmpNoCase(names[i]), 0) << names[i];
  ClickHeader(sql, 0);  // then ascending, case ignored: "LCase()" before "Left()" before "Locate()"
  names = Column(sql, 0);
  EXPECT_EQ(names.front(), "Abs()");
  for (size_t i = 1; i < names.size(); ++i) EXPECT_LE(names[i - 1].CmpNoCase(names[i]), 0) << names[i];
  ClickHeader(sql, 1);  // the direction keeps toggling across columns: descending categories
  EXPECT_EQ(sql->GetItemText(0, 1), "TimeDate");
  EXPECT_EQ(sql->GetItemText(sql->GetItemCount() - 1, 1), "Conversion");
  // Every item keeps its own data through the sorts.
  for (int i = 0; i < sql->GetItemCount(); ++i) {
    const wxUIntPtr data = sql->GetItemData(i);
    ASSERT_GE(data, 1000u);
    ASSERT_LT(data, 1000u + sql->GetItemCount());
  }
  EXPECT_EQ(sql->GetItemData(sql->GetItemCount() - 1), 1000u);  // Convert(), the one Conversion
}

TEST_F(DriverInfoGuiTest, DataTypesAndIdentifiersPages) {
  CMyPropertySheet sheet(m_frame, Direct());
  auto* types = dynamic_cast<CDataTypes*>(sheet.GetInfoPage(3));
  ASSERT_NE(types, nullptr);
  ASSERT_EQ(types->GetTypeList()->GetCount(), sheet.GetSnapshot().Types().size());
  EXPECT_EQ(types->GetTypeList()->GetSelection(), 0);
  EXPECT_EQ(Value(types, "SQL Type:"), "SQL_BIT");  // the first type is shown at once
  types->ShowType("varchar");
  EXPECT_EQ(Value(types, "SQL Type:"), "SQL_VARCHAR");
  EXPECT_EQ(Value(types, "Precision:"), "255");
  EXPECT_EQ(Value(types, "Literal Prefix,Suffix:"), "','");
  EXPECT_EQ(Value(types, "Create Parameters:"), "length");
  EXPECT_EQ(Value(types, "Unsigned:"), "<n/a>");
  EXPECT_EQ(Value(types, "Minimum Scale:"), "<n/a>");
  wxListBox* conversions = types->GetConversionList();
  ASSERT_EQ(conversions->GetCount(), 16u);
  EXPECT_EQ(conversions->GetString(0), "SQL_BIGINT");
  types->ShowType("varbinary");
  ASSERT_EQ(conversions->GetCount(), 1u);
  EXPECT_EQ(conversions->GetString(0), "<none>");
  types->ShowType("no such type");
  EXPECT_EQ(Value(types, "SQL Type:"), "<n/a>?");
  EXPECT_EQ(conversions->GetCount(), 0u);

  auto* identifiers = dynamic_cast<CIdentifiers*>(sheet.GetInfoPage(4));
  ASSERT_NE(identifiers, nullptr);
  wxListBox* odbc = identifiers->FindControl<wxListBox>("ODBC Keywords:");
  ASSERT_NE(odbc, nullptr);
  EXPECT_EQ(odbc->GetString(0), "ABSOLUTE");
  EXPECT_EQ(odbc->GetString(odbc->GetCount() - 1), "ZONE");
  const int rows = odbc->FindString("ROWS", true);
  ASSERT_NE(rows, wxNOT_FOUND);
  EXPECT_EQ(odbc->GetString(rows + 1), "SCHEMA");
  wxListBox* driver = identifiers->FindControl<wxListBox>("Driver-Specific Keywords:");
  ASSERT_NE(driver, nullptr);
  ASSERT_EQ(driver->GetCount(), 16u);
  EXPECT_EQ(driver->GetString(0), "CREATE");
  EXPECT_EQ(driver->GetString(15), "OF");
  EXPECT_EQ(Value(identifiers, "Identifier Case:"), "Sensitive");

  auto* limits = dynamic_cast<CLimits*>(sheet.GetInfoPage(5));
  ASSERT_NE(limits, nullptr);
  auto* addIntervals = limits->FindControl<CListCtrlEx>("Timestamp Add Intervals:");
  ASSERT_NE(addIntervals, nullptr);
  ASSERT_EQ(addIntervals->GetItemCount(), 1);
  EXPECT_EQ(addIntervals->GetItemText(0), "<n/a>");
}

TEST_F(DriverInfoGuiTest, CheckBoxesOnlyShowTheDriversAnswer) {
  CMyPropertySheet sheet(m_frame, Direct());
  wxWindow* misc1 = sheet.GetInfoPage(6);
  wxCheckBox* serializable = nullptr;
  wxCheckBox* readCommitted = nullptr;
  for (wxWindow* window : misc1->GetChildren()) {
    for (wxWindow* child : window->GetChildren()) {
      auto* box = dynamic_cast<wxCheckBox*>(child);
      if (box && box->GetLabel() == "Serializable" && !serializable) serializable = box;
      if (box && box->GetLabel() == "Read Committed") readCommitted = box;
    }
  }
  ASSERT_NE(serializable, nullptr);
  ASSERT_NE(readCommitted, nullptr);
  EXPECT_TRUE(serializable->GetValue());
  EXPECT_FALSE(readCommitted->GetValue());
  readCommitted->SetValue(true);
  wxCommandEvent click(wxEVT_CHECKBOX, readCommitted->GetId());
  click.SetEventObject(readCommitted);
  readCommitted->ProcessWindowEvent(click);
  EXPECT_FALSE(readCommitted->GetValue());
}

TEST_F(DriverInfoGuiTest, SaveAsWritesTheReportUnderTheDriversName) {
  CMyPropertySheet sheet(m_frame, Direct());
  const std::string path = m_folder.File("report.txt");
  wxString offered;
  CMyPropertySheet::SetSaveHook([&](const wxString& defaultName) {
    offered = defaultName;
    return wxString::FromUTF8(path);
  });
  wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
  click.SetEventObject(sheet.GetSaveAsButton());
  sheet.GetSaveAsButton()->ProcessWindowEvent(click);
  EXPECT_EQ(offered, "sqlite3odbc");
  CInfoSnapshot fresh;
  fresh.Read(m_connection);
  EXPECT_EQ(ReadFile(path), ToUtf8(BuildReport(fresh)));
  EXPECT_TRUE(m_ui.texts.empty());
  EXPECT_FALSE(sheet.IsModal());  // the sheet stays

  // A cancelled dialog writes nothing; a file that cannot be made says so.
  CMyPropertySheet::SetSaveHook([](const wxString&) { return wxString(); });
  sheet.SaveAs();
  EXPECT_TRUE(m_ui.texts.empty());
  CMyPropertySheet::SetSaveHook([&](const wxString&) { return wxString::FromUTF8(m_folder.File("no/such/dir.txt")); });
  sheet.SaveAs();
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0].rfind(DT("File Path Name: <"), 0), 0u);
}

TEST_F(DriverInfoGuiTest, ClosedConnectionLeavesThePagesEmpty) {
  m_connection.Close();
  CMyPropertySheet sheet(m_frame, Direct());
  EXPECT_EQ(Value(sheet.GetInfoPage(0), "Driver Name:"), "");
  auto* functions = dynamic_cast<CFunctions*>(sheet.GetInfoPage(1));
  ASSERT_EQ(functions->GetApiList()->GetItemCount(), 56);
  for (int i = 0; i < 56; ++i) EXPECT_EQ(functions->GetApiList()->GetItemImage(i), kImageNotSupported);
  EXPECT_EQ(dynamic_cast<CDataTypes*>(sheet.GetInfoPage(3))->GetTypeList()->GetCount(), 0u);
  auto* addIntervals =
      dynamic_cast<CLimits*>(sheet.GetInfoPage(5))->FindControl<CListCtrlEx>("Timestamp Add Intervals:");
  ASSERT_NE(addIntervals, nullptr);
  EXPECT_EQ(addIntervals->GetItemCount(), 0);
  TString report;
  sheet.MakeReport([&](const TString& made) { report = made; });
  EXPECT_EQ(report, DT("Cursor Library is Not Loaded\n\n"));
}

}  // namespace
}  // namespace dossel::test
