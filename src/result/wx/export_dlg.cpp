#include "result/wx/export_dlg.h"

#include <sys/stat.h>

#include <utility>

#include "platform/format.h"
#include "platform/user_interface.h"
#include "platform/wx/wx_text.h"
#include "result/export_choices.h"
#include "result/wx/export_panel.h"

namespace dossel {

namespace {

CExportDlg::ModalHook& Hook() {
  static CExportDlg::ModalHook hook;
  return hook;
}

CExportDlg* s_pRunning = nullptr;
bool s_bPanelShown = true;

bool Exists(TStringView path) {
  struct stat info {};
  return ::stat(ToUtf8(path).c_str(), &info) == 0;
}

}  // namespace

CExportDlg::CExportDlg(wxWindow* parent, bool selectionOnly)
    : wxFileDialog(parent, selectionOnly ? "Save Selection As" : "Save As", wxEmptyString, ToWx(kExportInitialName),
                   ToWx(ExportFileFilter()), wxFD_SAVE | wxFD_OVERWRITE_PROMPT),
      m_bSelectionOnly(selectionOnly) {
  if (s_bPanelShown) SetExtraControlCreator(&CExportDlg::CreatePanel);
}

void CExportDlg::SetOptionsPanelShown(bool shown) { s_bPanelShown = shown; }
bool CExportDlg::IsOptionsPanelShown() { return s_bPanelShown; }

// The file dialog calls this with itself as the parent when it builds its
// extra controls; the creator cannot carry data of its own, so the panel
// learns the selection flag from the dialog.
wxWindow* CExportDlg::CreatePanel(wxWindow* parent) {
  const auto* dlg = dynamic_cast<CExportDlg*>(parent);
  return new CExportPanel(parent, dlg && dlg->IsSelectionOnly());
}

CExportPanel* CExportDlg::GetPanel() const { return dynamic_cast<CExportPanel*>(GetExtraControl()); }

CExportDlg* CExportDlg::GetRunning() { return s_pRunning; }

void CExportDlg::SetModalHook(ModalHook hook) { Hook() = std::move(hook); }

void CExportDlg::SetChosenFile(TStringView path, int filterIndex) {
  m_path = TString(path);
  m_filterIndex = filterIndex;
  m_bChosen = true;
}

int CExportDlg::ShowModal() {
  int result;
  if (Hook()) {
    if (s_bPanelShown) CreateExtraControl();
    result = Hook()(*this);
  } else {
    CExportDlg* outer = std::exchange(s_pRunning, this);
    result = wxFileDialog::ShowModal();
    s_pRunning = outer;
  }
  if (result == wxID_OK && !Accept()) result = wxID_CANCEL;
  return result;
}

bool CExportDlg::Accept() {
  if (!m_bChosen) SetChosenFile(FromWx(GetPath()), GetFilterIndex());
  if (!ResolveExportPath()) return false;
  if (const CExportPanel* panel = GetPanel()) {
    m_options = panel->GetOptions();
    panel->StoreChoices();
  } else if (!s_bPanelShown) {
    // The stored choices, read as the panel reads them.
    auto* stored = new CExportPanel(GetParent() ? GetParent() : this, m_bSelectionOnly);
    stored->Hide();
    m_options = stored->GetOptions();
    stored->Destroy();
  }
  m_options.selectionOnly = m_bSelectionOnly;
  return true;
}

// A bare name gets the file type's extension, as a save dialog with a default
// extension does; but an existing file the user picked keeps its name, and a
// file that only the added extension names is replaced only when the user
// agrees, since the file dialog asked about the bare name.
bool CExportDlg::ResolveExportPath() {
  m_exportPath = ApplyDefaultExtension(m_path, m_filterIndex);
  if (m_exportPath == m_path) return true;
  if (Exists(m_path)) {
    m_exportPath = m_path;
    return true;
  }
  if (!Exists(m_exportPath)) return true;
  const TString question = Format(DT("%s already exists.\r\nDo you want to replace it?"), m_exportPath);
  return ShowMessageBox(question, m_bSelectionOnly ? DT("Save Selection As") : DT("Save As"),
                        kMbYesNo | kMbIconWarning) == kIdYes;
}

}  // namespace dossel
