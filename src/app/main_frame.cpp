#include "app/main_frame.h"

#include <wx/filehistory.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <vector>

#include "app/command_table.h"
#include "app/dossel_doc.h"
#include "app/edition.h"
#include "app/images.h"
#include "app/query_view.h"
#include "app/recent_file_items.h"
#include "app/recovery_keeper.h"
#include "app/trace_view.h"
#include "options/connections_page.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "res/menus.h"
#include "result/wx/export_dlg.h"
#include "result/wx/result_view.h"
#include "schema/wx/schema_view.h"
#include "settings/settings_store.h"

using namespace dossel;
using namespace dossel::res;

namespace {

constexpr const TChar* kOptionsKey = DT("Software\\Harlune\\Dossel\\Options");
// Width of each keyboard indicator of the status bar.
constexpr int kIndicatorWidth = 44;

wxAcceleratorEntryFlags ToWxModifiers(unsigned modifiers) {
  int flags = wxACCEL_NORMAL;
  if (modifiers & kAccelCtrl) flags |= wxACCEL_CTRL;
  if (modifiers & kAccelAlt) flags |= wxACCEL_ALT;
  if (modifiers & kAccelShift) flags |= wxACCEL_SHIFT;
  return static_cast<wxAcceleratorEntryFlags>(flags);
}

int ToWxKey(int key) {
  if (key >= kVkF3 && key <= kVkF10) return WXK_F3 + (key - kVkF3);
  if (key == kVkPause) return WXK_PAUSE;
  return key;
}

// A menu caption as wx takes it. The keys themselves come from the
// accelerator table; the text after the tab only shows them, and the key
// that the table calls Break is called Pause here.
wxString MenuCaption(const TString& text) {
  wxString caption = ToWx(text);
  caption.Replace("\tAlt+Break", "\tAlt+Pause");
  return caption;
}

// The recent-file list lives with the user's settings, apart from the
// program's own, as the framework keeps it: "File1" (newest) to "File8".
constexpr const TChar* kRecentFilesKey = DT("Software\\Harlune\\Dossel\\Recent File List");

void LoadRecentFiles(wxFileHistory& history) {
  for (int i = ID_FILE_MRU_COUNT; i >= 1; --i) {
    TString path;
    if (KeyReadString(HKEY_CURRENT_USER, kRecentFilesKey, Format(DT("File%d"), i), DT(""), path) && !path.empty())
      history.AddFileToHistory(ToWx(path));
  }
}

void SaveRecentFiles(const wxFileHistory& history) {
  KeyDeleteTree(HKEY_CURRENT_USER, kRecentFilesKey);
  for (size_t i = 0; i < history.GetCount(); ++i)
    KeyWriteString(HKEY_CURRENT_USER, kRecentFilesKey, Format(DT("File%d"), static_cast<int>(i + 1)),
                   FromWx(history.GetHistoryFile(i)));
}

// Whether the items and buttons of the edition's identifier `id` are check items.
bool HasCheckMark(int id) {
  const FrameCommand* row = FindFrameCommand(Edition().CommandOf(id));
  return row && row->checked;
}

// The prompt and tooltip of the edition's identifier `id`.
TString PromptOfId(int id) {
  const FrameCommand* row = FindFrameCommand(Edition().CommandOf(id));
  return row ? PromptOf(row->spec) : TString();
}

TString TooltipOfId(int id) {
  const FrameCommand* row = FindFrameCommand(Edition().CommandOf(id));
  return row ? TooltipOf(row->spec) : TString();
}

}  // namespace

CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Dossel", wxDefaultPosition, wxSize(960, 700)),
      m_timer(this, 1),
      m_pSession(std::make_unique<session::CSession>(static_cast<session::ISessionView&>(*this))) {
  m_pSession->SetLoginTimeout(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("LoginTimeOut"), 0));
  m_pSession->SetQueryTimeout(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("QueryTimeOut"), 0));
  SetIcon(AppIcon());
  CExportDlg::SetOptionsPanelShown(Edition().hasExportPanel);
  CConnectionsPage::SetControlIds(Edition().connectionsPageIds);
  CreateMenuBar();
  CreateAcceleratorTable();
  CreateToolBarWithButtons();
  if (Edition().hasStatusBar) CreateStatusBarWithIndicators();
  CreatePanes();
  BindCommands();
  SetAppendTargets(&m_pTraceView->Appender(), &m_pResultView->Appender());
  m_pDoc = std::make_unique<CDosselDoc>(m_pQueryView);
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}

void CMainFrame::CreateMenuBar() {
  auto* bar = new wxMenuBar();
  // The popups being filled, innermost last, with their titles.
  std::vector<std::pair<wxMenu*, wxString>> popups;
  for (const MenuEntry& entry : Edition().Menu()) {
    wxMenu* popup = popups.empty() ? nullptr : popups.back().first;
    switch (entry.kind) {
      case MenuEntryKind::Popup:
        popups.emplace_back(new wxMenu(), ToWx(entry.text));
        break;
      case MenuEntryKind::Item:
        popup->Append(ToWxId(entry.id), MenuCaption(entry.text), ToWx(PromptOfId(entry.id)),
                      HasCheckMark(entry.id) ? wxITEM_CHECK : wxITEM_NORMAL);
        break;
      case MenuEntryKind::Separator:
        popup->AppendSeparator();
        break;
      case MenuEntryKind::RecentFiles: {
        auto* recent = new wxMenu();
        popup->AppendSubMenu(recent, ToWx(entry.text));
        m_pFileHistory = std::make_unique<wxFileHistory>(ID_FILE_MRU_COUNT, ToWxId(ID_FILE_MRU_FILE1));
        m_pFileHistory->UseMenu(recent);
        LoadRecentFiles(*m_pFileHistory);
        break;
      }
      case MenuEntryKind::RecentFileItems: {
        popup->Append(ToWxId(entry.id), ToWx(entry.text));
        auto items = std::make_unique<CRecentFileItems>(ID_FILE_MRU_COUNT, ToWxId(entry.id), popup, ToWx(entry.text));
        LoadRecentFiles(*items);
        items->RefreshItems();
        m_pFileHistory = std::move(items);
        break;
      }
      case MenuEntryKind::EndPopup: {
        auto [menu, title] = popups.back();
        popups.pop_back();
        if (popups.empty())
          bar->Append(menu, title);
        else
          popups.back().first->AppendSubMenu(menu, title);
        break;
      }
    }
  }
  SetMenuBar(bar);
}

void CMainFrame::CreateAcceleratorTable() {
  std::vector<wxAcceleratorEntry> entries;
  for (const AcceleratorEntry& entry : Edition().Accelerators())
    entries.emplace_back(ToWxModifiers(entry.modifiers), ToWxKey(entry.key), ToWxId(entry.command));
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

void CMainFrame::CreateToolBarWithButtons() {
  wxToolBar* toolbar = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER, ToWxId(AFX_IDW_TOOLBAR));
  toolbar->SetToolBitmapSize(wxSize(16, 15));
  for (const ToolbarButton& button : Edition().Toolbar()) {
    if (button.command == 0) {
      toolbar->AddSeparator();
      continue;
    }
    const bool checkable = Edition().hasCheckedPaneButtons && HasCheckMark(button.command);
    const wxString tooltip = ToWx(TooltipOfId(button.command));
    toolbar->AddTool(ToWxId(button.command), tooltip, ToolbarBitmap(button.image), wxNullBitmap,
                     checkable ? wxITEM_CHECK : wxITEM_NORMAL, tooltip, ToWx(PromptOfId(button.command)));
  }
  toolbar->Realize();
}

void CMainFrame::CreateStatusBarWithIndicators() {
  wxStatusBar* status = CreateStatusBar(4, wxSTB_DEFAULT_STYLE, ToWxId(AFX_IDW_STATUS_BAR));
  const int widths[] = {-1, kIndicatorWidth, kIndicatorWidth, kIndicatorWidth};
  status->SetStatusWidths(4, widths);
  SetStatusBarPane(0);
  SetStatusText("Ready", 0);
}

void CMainFrame::CreatePanes() {
  m_pQueryView = new CQueryView(this, ToWxId(AFX_IDW_PANE_FIRST), this);
  m_pResultView = new CResultView(this, ToWxId(AFX_IDW_PANE_FIRST + 1), this);
  m_pTraceView = new CTraceView(this, ToWxId(AFX_IDW_PANE_FIRST + 2), this);
  m_pSchemaView = new CSchemaView(this, ToWxId(AFX_IDW_PANE_FIRST + 3), this);
  m_pPanes = {m_pQueryView, m_pResultView, m_pTraceView, m_pSchemaView};
  for (CPane* pane : m_pPanes)
    if (pane != m_pQueryView) pane->Hide();
  // Every pane, hidden or not, keeps the size of the client area, so a grid
  // filled while its pane is hidden is sized for the space it will have.
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    event.Skip();
    for (CPane* pane : m_pPanes)
      if (pane) pane->SetSize(GetClientSize());
  });
  m_nCurrentPane = 0;
  m_pQueryView->FocusWindow()->SetFocus();
  Bind(wxEVT_CHILD_FOCUS, &CMainFrame::OnChildFocus, this);
}

void CMainFrame::InsertQueryText(TStringView text, bool select, bool execute) {
  m_pQueryView->InsertText(text, true, select, execute);
}

void CMainFrame::SwitchPane(int index) {
  if (index < 0 || index >= static_cast<int>(m_pPanes.size())) return;
  EndKeysBehind(m_pPanes[index]);
  CPane* oldPane = m_pPanes[m_nCurrentPane];
  CPane* newPane = m_pPanes[index];
  // Showing the pane already shown still gives it the keys, which may have
  // gone astray (a dialog, a disabled frame).
  if (oldPane == newPane) {
    newPane->FocusWindow()->SetFocus();
    return;
  }
  m_nCurrentPane = index;
  CloseCompletionList();
  // The visible pane always carries the first pane's identifier.
  const int oldId = oldPane->GetId();
  oldPane->SetId(newPane->GetId());
  newPane->SetId(oldId);
  newPane->SetSize(GetClientSize());
  oldPane->Hide();
  newPane->Show();
  newPane->FocusWindow()->SetFocus();
  if (newPane == m_pTraceView) m_pTraceView->Appender().OnPaneShown();
  if (newPane == m_pResultView) m_pResultView->Appender().OnPaneShown();
  newPane->Refresh();
  newPane->Update();
}

void CMainFrame::SaveKeptState() {
  if (m_pFileHistory) SaveRecentFiles(*m_pFileHistory);
  if (m_pRecoveryKeeper) m_pRecoveryKeeper->KeepNow();
}

CMainFrame::~CMainFrame() {
  m_pRecoveryKeeper.reset();
  m_pSession->SetRunObserver(nullptr);
  SetAppendTargets(nullptr, nullptr);
  if (m_pFileHistory) SaveRecentFiles(*m_pFileHistory);
  // The session closes its connection on its own thread before the panes go.
  m_pSession.reset();
  m_timer.Stop();
}
