// The options sheet: its pages, OK and Cancel, the time-outs and their
// validation, and the schema page's boxes.

#include <gtest/gtest.h>
#include <wx/button.h>

#include "options/schema_item_page.h"
#include "options/script_page.h"
#include "options/template_page.h"
#include "options/timeout_field.h"
#include "options_test_support.h"

namespace dossel::test {
namespace {

using OptionsSheetTest = OptionsTest;

TEST_F(OptionsSheetTest, ShowsItsFourPagesInOrderWithTheirControls) {
  COptionsSheet sheet(nullptr);
  EXPECT_EQ(sheet.GetTitle(), "Options");
  wxBookCtrlBase* book = sheet.GetBookCtrl();
  ASSERT_EQ(book->GetPageCount(), 4u);
  const char* titles[] = {"Connections", "Script", "Template", "Schema"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(book->GetPageText(i), titles[i]);
  EXPECT_EQ(book->GetPage(0), sheet.GetConnectionsPage());
  EXPECT_EQ(book->GetPage(1), sheet.GetScriptPage());
  EXPECT_EQ(book->GetPage(2), sheet.GetTemplatePage());
  EXPECT_EQ(book->GetPage(3), sheet.GetSchemaItemPage());
  EXPECT_EQ(book->GetSelection(), 0);

  for (int id : {1009, 1084, 1198}) EXPECT_NE(sheet.GetConnectionsPage()->FindWindow(id), nullptr) << id;
  EXPECT_EQ(dynamic_cast<wxButton*>(sheet.FindWindow(1198))->GetLabel(), "&Reset All");
  for (int id : {1105, 1108, 1111, 1113, 1115}) EXPECT_NE(sheet.GetScriptPage()->FindWindow(id), nullptr) << id;
  for (int id : {1090, 1093, 1083, 1116, 1117}) EXPECT_NE(sheet.GetTemplatePage()->FindWindow(id), nullptr) << id;
  EXPECT_EQ(dynamic_cast<wxButton*>(sheet.FindWindow(1116))->GetLabel(), "&Add");
  EXPECT_EQ(dynamic_cast<wxButton*>(sheet.FindWindow(1117))->GetLabel(), "&Remove");
  EXPECT_TRUE(sheet.GetTemplatePage()->TextEdit()->IsMultiLine());
  const char* boxes[] = {
      "User Table", "System Table", "View",    "Stored Procedure",          "Column",
      "Index",      "Constraint",   "Trigger", "Highlight After Scripting", "Switch View After Scripting"};
  for (int i = 0; i < 10; ++i) {
    auto* box = dynamic_cast<wxCheckBox*>(sheet.FindWindow(1199 + i));
    ASSERT_NE(box, nullptr) << 1199 + i;
    EXPECT_EQ(box->GetLabel(), boxes[i]);
  }
}

// ---- time-outs ----

TEST_F(OptionsSheetTest, OkOnAFreshStoreWritesZeroTimeouts) {
  ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOptions));
  EXPECT_EQ(RunSheet([](COptionsSheet& sheet) {
              EXPECT_EQ(sheet.GetConnectionsPage()->LoginEdit()->GetValue(), "0");
              EXPECT_EQ(sheet.GetConnectionsPage()->QueryEdit()->GetValue(), "0");
              Click(sheet, wxID_OK);
            }),
            wxID_OK);
  EXPECT_EQ(Stored(kOptions, DT("LoginTimeOut")), 0);
  EXPECT_EQ(Stored(kOptions, DT("QueryTimeOut")), 0);
  EXPECT_TRUE(m_messages.texts.empty());
}

TEST_F(OptionsSheetTest, TimeoutsAreStoredOnOkOnlyAndResetAllShowsTheStoredOnes) {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("LoginTimeOut"), 12);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("QueryTimeOut"), 30);
  // Cancel discards an edit.
  EXPECT_EQ(RunSheet([](COptionsSheet& sheet) {
              EXPECT_EQ(sheet.GetConnectionsPage()->LoginEdit()->GetValue(), "12");
              EXPECT_EQ(sheet.GetConnectionsPage()->QueryEdit()->GetValue(), "30");
              sheet.GetConnectionsPage()->QueryEdit()->SetValue("99");
              Click(sheet, wxID_CANCEL);
            }),
            wxID_CANCEL);
  EXPECT_EQ(Stored(kOptions, DT("QueryTimeOut")), 30);

  // "&Reset All" shows the stored values again; nothing is written before OK.
  RunSheet([](COptionsSheet& sheet) {
    CConnectionsPage* page = sheet.GetConnectionsPage();
    page->LoginEdit()->SetValue("1");
    page->QueryEdit()->SetValue("2");
    KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("LoginTimeOut"), 7);
    Click(sheet, CConnectionsPage::kIdResetAll);
    EXPECT_EQ(page->LoginEdit()->GetValue(), "7");
    EXPECT_EQ(page->QueryEdit()->GetValue(), "30");
    page->QueryEdit()->SetValue("45");
    EXPECT_EQ(Stored(kOptions, DT("QueryTimeOut")), 30);
    Click(sheet, wxID_OK);
  });
  EXPECT_EQ(Stored(kOptions, DT("LoginTimeOut")), 7);
  EXPECT_EQ(Stored(kOptions, DT("QueryTimeOut")), 45);

  // OK from another page still stores the Connections page's edits, and the
  // extremes of a signed 32-bit number pass, the negative one as stored.
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("LoginTimeOut"), -2147483647 - 1);
  RunSheet([](COptionsSheet& sheet) {
    EXPECT_EQ(sheet.GetConnectionsPage()->LoginEdit()->GetValue(), "-2147483648");
    sheet.GetConnectionsPage()->QueryEdit()->SetValue("2147483647");
    sheet.GetBookCtrl()->SetSelection(3);
    EXPECT_EQ(sheet.GetBookCtrl()->GetSelection(), 3);
    Click(sheet, wxID_OK);
  });
  EXPECT_EQ(Stored(kOptions, DT("LoginTimeOut")), -2147483647 - 1);
  EXPECT_EQ(Stored(kOptions, DT("QueryTimeOut")), 2147483647);
  EXPECT_TRUE(m_messages.texts.empty());
}

TEST_F(OptionsSheetTest, ABadTimeoutIsRefusedAndTheSheetStaysOpen) {
  for (const char* bad : {"abc", "", "2147483648", "-2147483649", "12x", "99999999999999999999"}) {
    m_messages.texts.clear();
    bool stillOpen = false;
    EXPECT_EQ(RunSheet([&](COptionsSheet& sheet) {
                sheet.GetConnectionsPage()->QueryEdit()->SetValue(bad);
                Click(sheet, wxID_OK);
                stillOpen = sheet.IsModal();
                EXPECT_EQ(wxWindow::FindFocus(), sheet.GetConnectionsPage()->QueryEdit());
                // Nor can the page be left while it holds a bad number.
                sheet.GetBookCtrl()->SetSelection(2);
                for (int i = 0; i < 100 && sheet.GetBookCtrl()->GetSelection() != 0; ++i) wxYield();
                EXPECT_EQ(sheet.GetBookCtrl()->GetSelection(), 0);
              }),
              wxID_CANCEL)
        << bad;
    EXPECT_TRUE(stillOpen) << bad;
    ASSERT_EQ(m_messages.texts.size(), 2u) << bad;
    EXPECT_EQ(m_messages.texts[0], kBadTimeoutMessage);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOptions)) << bad;
  }

  // A bad login time-out stops the query time-out from being taken; put
  // right, the next OK goes through.
  RunSheet([](COptionsSheet& sheet) {
    CConnectionsPage* page = sheet.GetConnectionsPage();
    page->LoginEdit()->SetValue("-");
    page->QueryEdit()->SetValue("5");
    Click(sheet, wxID_OK);
    EXPECT_EQ(page->m_nQueryTimeout, 0);
    ASSERT_TRUE(sheet.IsModal());
    page->LoginEdit()->SetValue("8");
    Click(sheet, wxID_OK);
  });
  EXPECT_EQ(Stored(kOptions, DT("LoginTimeOut")), 8);
  EXPECT_EQ(Stored(kOptions, DT("QueryTimeOut")), 5);
}

TEST_F(OptionsSheetTest, TimeoutEditsTakeDigitsOnlyFromTheKeyboard) {
  COptionsSheet sheet(nullptr);
  wxTextCtrl* edit = sheet.GetConnectionsPage()->LoginEdit();
  // The validator sees each key before the edit; what it lets through
  // reaches the edit's own handler.
  int passed = 0;
  edit->Bind(wxEVT_CHAR, [&](wxKeyEvent&) { ++passed; });
  const auto press = [&](int key) {
    passed = 0;
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = key;
    event.m_uniChar = static_cast<wxChar>(key);
    event.SetEventObject(edit);
    edit->SetInsertionPointEnd();
    edit->GetEventHandler()->ProcessEvent(event);
    return passed == 1;
  };
  edit->ChangeValue("");
  EXPECT_TRUE(press('7'));
  EXPECT_FALSE(press('-'));
  EXPECT_FALSE(press('a'));
  EXPECT_FALSE(press('.'));
  EXPECT_FALSE(press(' '));
}

// ---- schema page ----

TEST_F(OptionsSheetTest, SchemaBoxesAreWrittenAtEachClickAndCancelKeepsThem) {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kSchema, DT("Index"), 0);
  EXPECT_EQ(RunSheet([](COptionsSheet& sheet) {
              CSchemaItemPage* page = sheet.GetSchemaItemPage();
              for (int i = 0; i < 10; ++i) EXPECT_EQ(page->Box(i)->GetValue(), i != 5) << i;
              EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Schema\\Trigger")));
              Toggle(page->Box(7));  // "Trigger"
              EXPECT_EQ(Stored(kSchema, DT("Trigger")), 0) << "written at the click";
              EXPECT_EQ(Stored(kSchema, DT("UserTable")), -99) << "only the clicked box is written";
              Toggle(page->Box(5));  // "Index"
              Toggle(page->Box(9));  // "SwitchView"
              Click(sheet, wxID_CANCEL);
            }),
            wxID_CANCEL);
  EXPECT_EQ(Stored(kSchema, DT("Trigger")), 0);
  EXPECT_EQ(Stored(kSchema, DT("Index")), 1);
  EXPECT_EQ(Stored(kSchema, DT("SwitchView")), 0);
  EXPECT_EQ(Stored(kSchema, DT("UserTable")), -99);

  // The next sheet starts from what was stored.
  COptionsSheet sheet(nullptr);
  CSchemaItemPage* page = sheet.GetSchemaItemPage();
  EXPECT_FALSE(page->Box(7)->GetValue());
  EXPECT_TRUE(page->Box(5)->GetValue());
  EXPECT_FALSE(page->Box(9)->GetValue());
  Toggle(page->Box(7));
  EXPECT_EQ(Stored(kSchema, DT("Trigger")), 1);
  const TChar* names[] = {DT("UserTable"), DT("SystemTable"), DT("View"),    DT("Procedure"), DT("Column"),
                          DT("Index"),     DT("Constraint"),  DT("Trigger"), DT("Highlight"), DT("SwitchView")};
  for (int i = 0; i < 10; ++i) {
    Toggle(page->Box(i));
    EXPECT_EQ(Stored(kSchema, names[i]), page->Box(i)->GetValue() ? 1 : 0) << i;
  }
}

}  // namespace
}  // namespace dossel::test
