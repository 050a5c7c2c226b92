// F10 in the main frame: the command opens the "ODBC Driver Info" sheet on
// the session's connection (read on its connection thread, the sheet filled
// when the answer comes), and Save As
// there writes the same text as the report writer; without a connection
// the command is disabled.

#include <gtest/gtest.h>
#include <wx/app.h>

#include "db/db_connection.h"
#include "driverinfo/report_writer.h"
#include "driverinfo/wx/driver_info_sheet.h"
#include "frame_fixture.h"
#include "res/command_ids.h"

namespace dossel::test {
namespace {

using driverinfo::CMyPropertySheet;

class FrameDriverInfoTest : public FrameTest {
 protected:
  bool Enabled(int id) {
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    return m_frame->IsCommandEnabled(id);
  }
};

TEST_F(FrameDriverInfoTest, F10OpensTheSheetOnTheSessionsConnection) {
  EXPECT_FALSE(Enabled(res::ID_VIEW_ODBC_INFO));
  const std::string database = m_folder.File("info.db");
  RunSqlite(database, "create table t(a)");
  ASSERT_TRUE(ConnectTo("DSN=Info;Database=" + database));
  EXPECT_TRUE(Enabled(res::ID_VIEW_ODBC_INFO));

  const std::string path = m_folder.File("saved.txt");
  CMyPropertySheet::SetSaveHook([&](const wxString&) { return wxString::FromUTF8(path); });
  bool seen = false;
  wxString driverName;
  wxTheApp->CallAfter([&] {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* sheet = dynamic_cast<CMyPropertySheet*>(window);
      if (!sheet || !sheet->IsModal()) continue;
      seen = true;
      // The sheet is up before its pages are read; they fill when the
      // connection thread's answer comes, and so does the saved report.
      auto* field = dynamic_cast<wxStaticText*>(wxWindow::FindWindowByName("Driver Name:", sheet->GetInfoPage(0)));
      EXPECT_TRUE(PumpUntil([&] { return field && !field->GetLabel().empty(); }));
      if (field) driverName = field->GetLabel();
      sheet->SaveAs();
      EXPECT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading(); }));
      sheet->EndModal(wxID_CANCEL);
    }
  });
  wxCommandEvent f10(wxEVT_MENU, res::ToWxId(res::ID_VIEW_ODBC_INFO));
  f10.SetEventObject(m_frame);
  m_frame->ProcessWindowEvent(f10);
  CMyPropertySheet::SetSaveHook({});
  ASSERT_TRUE(seen);
  EXPECT_EQ(driverName, "sqlite3odbc.so");

  // The report writer on a connection of its own to the same file.
  db::CDbConnection own;
  ASSERT_TRUE(own.OpenWithOptions(FromUtf8("DSN=Info;Database=" + database), db::kNoOdbcDialog));
  driverinfo::CInfoSnapshot snapshot;
  snapshot.Read(own);
  EXPECT_EQ(ReadFile(path), ToUtf8(driverinfo::BuildReport(snapshot)));
}

}  // namespace
}  // namespace dossel::test
