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

bool Exists(TStringView path) {
  struct stat info {};
  return ::stat(ToUtf8(path).c_str(), &info) == 0;
}

}  // namespace

CExportDlg::CExportDlg(wxWindow* parent, bool selectionOnly)
    : wxFileDialog(parent, selectionOnly ? "Save Selection As" : "Save As", wxEmptyString, ToWx(kExportInitialName),
                   ToWx(ExportFileFilter()), wxFD_SAVE | wxFD_OVERWRITE_PROMPT),
      m_bSelectionOnly(selectionOnly) {
  SetExtraControlCreator(&CExportDlg::CreatePanel);
}

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
    CreateExtraControl();
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
