#include "result/wx/result_view.h"

#include <wx/clipbrd.h>
#include <wx/menu.h>
#include <wx/sizer.h>

#include "app/edition.h"
#include "app/text_printout.h"
#include "grid/wx/grid_ctrl.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "result/wx/result_tabs.h"
#include "session/session.h"
#include "settings/settings_store.h"

using namespace dossel;
using namespace dossel::res;

namespace {

constexpr const TChar* kResultKey = DT("Software\\Harlune\\Dossel\\Result");
constexpr int ID_FILE_SAVE_SELECTION = 32803;
// The grid's first counts for a run; the store writer grows and trims them.
constexpr int32_t kInitialRows = 100;
constexpr int32_t kInitialColumns = 20;

}  // namespace

CResultView::CResultView(wxWindow* parent, int id, IPaneHost* host)
    : CEditPane(parent, id, kResultKey, false),
      m_pHost(host),
      m_nFormat(KeyReadInteger(HKEY_LOCAL_MACHINE, kResultKey, DT("Format"), kGridFormat)) {
  GetEdit()->MakeOutputPane();
  // What a query returned is copied, never cut or pasted over, by any key.
  const int editingKeys[][2] = {{'X', wxSTC_KEYMOD_CTRL},
                                {'V', wxSTC_KEYMOD_CTRL},
                                {wxSTC_KEY_DELETE, wxSTC_KEYMOD_SHIFT},
                                {wxSTC_KEY_INSERT, wxSTC_KEYMOD_SHIFT}};
  for (const auto& key : editingKeys) GetEdit()->CmdKeyClear(key[0], key[1]);
  m_appender.SetTarget(GetEdit());
  if (!IsTextFormat()) GetEdit()->SetEditable(false);
  Bind(wxEVT_CONTEXT_MENU, &CResultView::OnContextMenu, this);
}

void CResultView::ClearAll() {
  m_appender.Discard();
  CEditPane::ClearAll();
}

bool CResultView::IsGridShown() const { return m_pGrid && m_pGrid->IsShown(); }

// A run may start filling the grid at any moment while it executes, so the
// grid is busy for the whole run, not only while its fill goes on.
bool CResultView::IsGridBusy() const {
  return m_pGrid && (m_pGrid->IsFilling() || (m_pHost && m_pHost->Session().IsExecuting()));
}

CTextEdit* CResultView::FindTarget() { return IsTextFormat() ? GetEdit() : nullptr; }

wxWindow* CResultView::FocusWindow() { return IsGridShown() ? static_cast<wxWindow*>(m_pGrid) : GetEdit(); }

CGridCtrl* CResultView::CreateGrid(int id) {
  auto* grid = new CGridCtrl(0, 0, 0, 0);
  if (!grid->Create(GetClientRect(), this, id)) {
    delete grid;
    return nullptr;
  }
  GetEdit()->Hide();
  GetSizer()->Add(grid, 1, wxEXPAND);
  if (Edition().hasHandheldGrid) grid->SetHandheld();
  grid->SetEditable(true);
  grid->SetAutoSizeStyle(GVS_BOTH);
  grid->SetRowCount(kInitialRows);
  grid->SetColumnCount(kInitialColumns);
  ApplyGridSettings(grid);
  grid->EnableColumnHide(true);
  grid->SetHeaderSort(true);
  // Numbers sort by value; drivers describe some numeric columns as text.
  grid->GetStore().SetNumericSort(true);
  ApplyGridFont(grid);
  return grid;
}

CGridCtrl* CResultView::PrepareResultGrid() {
  if (!m_pGrid) {
    CGridCtrl* grid = CreateGrid(kGridId);
    if (!grid) return nullptr;
    m_pGrid = grid;
    m_grids = {grid};
    m_rowCounts = {0};
    m_pTabs = new CResultTabs(this, [this](size_t index) { ShowResult(index); });
    m_pTabs->Hide();
    GetSizer()->Insert(0, m_pTabs, 0, wxEXPAND);
    Layout();
  } else if (m_nRunResults == 0) {
    DropLaterGrids();
    ResetGrid();
  } else {
    CGridCtrl* grid = CreateGrid(wxID_ANY);
    if (!grid) return nullptr;
    m_grids.push_back(grid);
    m_rowCounts.push_back(0);
    m_pTabs->SetCount(m_grids.size());
    for (size_t i = 0; i + 1 < m_grids.size(); ++i) m_pTabs->SetRows(i, m_rowCounts[i]);
    m_pTabs->Show();
    ShowResult(m_grids.size() - 1);
  }
  ++m_nRunResults;
  m_pFillGrid = m_grids.back();
  return m_pFillGrid;
}

void CResultView::ResetGrid() {
  m_pGrid->ResetForNewResult(kInitialRows, kInitialColumns);
  ApplyGridSettings(m_pGrid);
}

void CResultView::DropLaterGrids() {
  if (m_grids.size() <= 1) return;
  for (size_t i = 1; i < m_grids.size(); ++i) m_grids[i]->Destroy();
  m_grids.resize(1);
  m_rowCounts.resize(1);
  m_pGrid = m_grids[0];
  m_pFillGrid = nullptr;
  m_pGrid->Show();
  m_pTabs->SetCount(0);
  m_pTabs->Hide();
  Layout();
}

void CResultView::ShowResult(size_t index) {
  if (index >= m_grids.size()) return;
  const bool focused = wxWindow::FindFocus() == m_pGrid;
  for (size_t i = 0; i < m_grids.size(); ++i) m_grids[i]->Show(i == index);
  m_pGrid = m_grids[index];
  if (m_pTabs) m_pTabs->Select(index);
  Layout();
  if (focused) m_pGrid->SetFocus();
}

void CResultView::EmptyResults() {
  if (!m_pGrid || m_nRunResults > 0) return;
  DropLaterGrids();
  m_pGrid->DeleteAllCells();
  m_pGrid->Refresh();
}

void CResultView::FinishGridFill(bool rowsWritten) {
  CGridCtrl* grid = m_pFillGrid;
  if (!grid) return;
  // A result without rows keeps the counts its grid was prepared with.
  const int32_t rows = rowsWritten ? grid->GetRowCount() - 1 : 0;
  // Ending the fill sizes the columns over every row (or the header alone).
  grid->EndFill();
  grid->StretchLastColumn();
  grid->Refresh();
  grid->Update();
  m_rowCounts.back() = rows;
  if (m_grids.size() > 1) m_pTabs->SetRows(m_grids.size() - 1, rows);
}

void CResultView::EndAbandonedFill() {
  if (m_pFillGrid && m_pFillGrid->IsFilling()) FinishGridFill(true);
}

void CResultView::ApplyGridSettings(CGridCtrl* grid) {
  grid->SetFixedRowCount(1);
  grid->SetFixedColumnCount(1);
  grid->SetFixedRowSelection(true);
  grid->SetFixedColumnSelection(true);
}

bool CResultView::IsEditCommandEnabled(int command) const {
  // What a query returned may be copied, never cut or pasted over.
  if (IsTextFormat())
    return command != ID_EDIT_CUT && command != ID_EDIT_PASTE && CEditPane::IsEditCommandEnabled(command);
  if (!m_pGrid) return false;
  if (!IsGridShown() || IsGridBusy()) return false;
  switch (command) {
    case ID_EDIT_COPY:
      return m_pGrid->GetSelectedCount() > 0;
    case ID_EDIT_SELECT_ALL:
      return m_pGrid->GetRowCount() > 0;
    default:
      return false;
  }
}

void CResultView::DoEditCommand(int command) {
  if (!IsEditCommandEnabled(command)) return;
  if (IsTextFormat()) {
    CEditPane::DoEditCommand(command);
    return;
  }
  if (command == ID_EDIT_COPY) m_pGrid->OnEditCopy();
  if (command == ID_EDIT_SELECT_ALL) m_pGrid->OnEditSelectAll();
}

void CResultView::ChooseFont() {
  RunFontDialog();
  // In grid format the grids take the font; it shows at the next repaint.
  if (!IsTextFormat())
    for (CGridCtrl* grid : m_grids) ApplyGridFont(grid);
}

void CResultView::ApplyGridFont(CGridCtrl* grid) {
  wxFont font;
  if (CreatePaneFont(FontKey(), DesktopGridFont(), font)) grid->SetFont(font);
}

int CResultView::WordWrapCommand() const { return IsGridShown() ? 0 : ID_QUERY_WORD_WRAP; }

wxPrintout* CResultView::CreatePrintout() {
  if (IsGridShown()) return nullptr;
  return new CTextPrintout("Result", GetEdit()->GetValue(),
                           GetPaneFont().IsOk() ? GetPaneFont() : GetEdit()->GetFont());
}

bool CResultView::CanExport() const { return IsGridShown() && !IsGridBusy(); }

void CResultView::OnContextMenu(wxContextMenuEvent& event) {
  if (!IsGridShown()) {
    event.Skip();
    return;
  }
  wxMenu menu;
  menu.Append(ToWxId(ID_EDIT_UNDO), "Undo");
  menu.Append(ToWxId(ID_EDIT_CUT), "Cu&t");
  menu.Append(ToWxId(ID_EDIT_COPY), "&Copy");
  menu.Append(ToWxId(ID_EDIT_PASTE), "&Paste");
  menu.Append(ToWxId(ID_EDIT_SELECT_ALL), "Select A&ll");
  menu.AppendSeparator();
  menu.Append(ToWxId(ID_FILE_SAVE_AS), "Save &As...");
  menu.Append(ToWxId(ID_FILE_SAVE_SELECTION), "&Save Selection...");
  for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_PASTE}) menu.Enable(ToWxId(id), false);
  menu.Enable(ToWxId(ID_EDIT_COPY), IsEditCommandEnabled(ID_EDIT_COPY));
  menu.Enable(ToWxId(ID_EDIT_SELECT_ALL), IsEditCommandEnabled(ID_EDIT_SELECT_ALL));
  menu.Enable(ToWxId(ID_FILE_SAVE_AS), CanExport());
  menu.Enable(ToWxId(ID_FILE_SAVE_SELECTION), CanExport());
  menu.Bind(wxEVT_MENU, &CResultView::OnContextCommand, this);
  PopupMenu(&menu);
}

void CResultView::OnContextCommand(wxCommandEvent& event) {
  const int command = FromWxId(event.GetId());
  if (command == ID_FILE_SAVE_AS || command == ID_FILE_SAVE_SELECTION)
    ExportResults(command == ID_FILE_SAVE_SELECTION);
  else
    DoEditCommand(command);
}
