#pragma once
// CExportDlg: the save dialog of an export, a wx file dialog for saving
// (overwrite prompt, the export file types, initial name "Untitled") whose
// extra control is the options panel (CExportPanel). The dialog owns the
// panel; when the user accepts, it stores the panel's choices and keeps the
// chosen path and options for the caller. UI thread only.
//
// Tests can stand in for the user: with a modal hook installed, ShowModal
// creates the panel without showing the file dialog and lets the hook pick
// a file (SetChosenFile) and operate the panel before it answers.

#include <wx/filedlg.h>

#include <functional>

#include "result/export_writer.h"

namespace dossel {

class CExportPanel;

class CExportDlg : public wxFileDialog {
 public:
  CExportDlg(wxWindow* parent, bool selectionOnly);

  // Runs the dialog; on wxID_OK the choices are stored and GetOptions and
  // GetExportPath describe the export.
  int ShowModal() override;

  bool IsSelectionOnly() const { return m_bSelectionOnly; }
  CExportPanel* GetPanel() const;
  const ExportOptions& GetOptions() const { return m_options; }
  // The chosen path, with the chosen file type's extension added to a bare name.
  const TString& GetExportPath() const { return m_exportPath; }

  // Whether the dialog carries the options panel (the default); without it,
  // it asks only for the file name and the export takes the stored choices.
  // Set once at start-up.
  static void SetOptionsPanelShown(bool shown);
  static bool IsOptionsPanelShown();

  // The export dialog running its modal loop, or null. The GTK file dialog
  // is not among wx's top-level windows, so tests find it here.
  static CExportDlg* GetRunning();

  using ModalHook = std::function<int(CExportDlg& dlg)>;
  // Installs (or, with an empty hook, removes) the test's stand-in for the user.
  static void SetModalHook(ModalHook hook);
  // For the hook: the file the user would have chosen and its file type.
  void SetChosenFile(TStringView path, int filterIndex);

 private:
  static wxWindow* CreatePanel(wxWindow* parent);
  bool Accept();
  bool ResolveExportPath();

  bool m_bSelectionOnly;
  TString m_path;
  TString m_exportPath;
  int m_filterIndex = 0;
  bool m_bChosen = false;
  ExportOptions m_options;
};

}  // namespace dossel
