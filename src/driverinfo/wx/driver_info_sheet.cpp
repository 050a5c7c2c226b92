#include "driverinfo/wx/driver_info_sheet.h"

#include <wx/bookctrl.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/sizer.h>

#include "db/db_connection.h"
#include "db/odbc_constants.h"
#include "driverinfo/report_file.h"
#include "driverinfo/wx/data_types_page.h"
#include "driverinfo/wx/field_page.h"
#include "driverinfo/wx/functions_page.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

namespace {
CMyPropertySheet::SaveHook& SaveHookSlot() {
  static CMyPropertySheet::SaveHook hook;
  return hook;
}
}  // namespace

void CMyPropertySheet::SetSaveHook(SaveHook hook) { SaveHookSlot() = std::move(hook); }

CMyPropertySheet::CMyPropertySheet(wxWindow* parent, ConnectionAsk ask) : m_ask(std::move(ask)) {
  Create(parent, wxID_ANY, "ODBC Driver Info", wxDefaultPosition, wxDefaultSize,
         wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
  wxBookCtrlBase* book = GetBookCtrl();
  m_pages = {new CDriverInfo(book),  new CFunctions(book), new CSupportedSQL(book), new CDataTypes(book),
             new CIdentifiers(book), new CLimits(book),    new CMisc1(book),        new CMisc2(book)};
  for (CInfoPage* page : m_pages) book->AddPage(page, page->GetTitle());
  CreateButtonRow();
  // Empty until the answer comes; a closed connection leaves every page
  // empty (the function lists say no).
  for (CInfoPage* page : m_pages) page->Refresh(m_snapshot);
  LayoutDialog();
  AskSnapshot([](CInfoSnapshot& snapshot, db::CDbConnection& connection) { snapshot.Read(connection); },
              [this] { ShowSnapshot(); });
}

void CMyPropertySheet::AskSnapshot(std::function<void(CInfoSnapshot&, db::CDbConnection&)> read,
                                   std::function<void()> then) {
  auto copy = std::make_shared<CInfoSnapshot>(m_snapshot);
  const std::weak_ptr<int> alive = m_alive;
  const bool asked = m_ask && m_ask([copy, read](db::CDbConnection& connection) { read(*copy, connection); },
                                    [this, alive, copy, then] {
                                      if (alive.expired()) return;
                                      m_snapshot = std::move(*copy);
                                      then();
                                    });
  if (!asked) then();
}

void CMyPropertySheet::ShowSnapshot() {
  for (CInfoPage* page : m_pages) page->Refresh(m_snapshot);
  Layout();
}

void CMyPropertySheet::CreateButtonRow() {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  m_cursorLibrary = new wxStaticText(this, wxID_ANY, "Cursor Library Not Loaded");
  m_saveAs = new wxButton(this, wxID_OK, "&Save As...");
  m_close = new wxButton(this, wxID_CANCEL, "&Close");
  row->Add(m_cursorLibrary, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
  row->AddStretchSpacer();
  row->Add(m_saveAs, 0, wxRIGHT, 6);
  row->Add(m_close, 0);
  GetInnerSizer()->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  SetEscapeId(wxID_CANCEL);
  // Save As writes the report and leaves the sheet open.
  m_saveAs->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { SaveAs(); });
}

void CMyPropertySheet::MakeReport(std::function<void(const TString& report)> done) {
  AskSnapshot(
      [](CInfoSnapshot& snapshot, db::CDbConnection& connection) { snapshot.ReadFunctionsAndTypes(connection); },
      [this, done] {
        TString report = DT("Cursor Library is Not Loaded\n\n");
        for (const CInfoPage* page : m_pages) page->WriteReport(report);
        done(report);
      });
}

void CMyPropertySheet::SaveAs() {
  TransferDataFromWindow();
  const wxString path = AskForFile(ToWx(DefaultReportName(m_snapshot.Text(SQL_DRIVER_NAME))));
  if (path.empty()) return;
  MakeReport([chosen = FromWx(path)](const TString& report) { SaveReportFile(chosen, report); });
}

wxString CMyPropertySheet::AskForFile(const wxString& defaultName) {
  if (SaveHookSlot()) return SaveHookSlot()(defaultName);
  wxFileDialog dialog(this, "Save As", wxString(), defaultName, "Driver Info Files (*.txt)|*.txt|All Files(*.*)|*.*",
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return {};
  wxFileName chosen(dialog.GetPath());
  if (!chosen.HasExt()) chosen.SetExt("txt");
  return chosen.GetFullPath();
}

}  // namespace dossel::driverinfo
