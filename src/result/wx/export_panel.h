#pragma once
// CExportPanel: the options panel below the save dialog's file controls:
// the mode radio buttons, the delimiter list and the four tag lists, and
// "Include Header". It owns its controls, reads the stored choices when it
// is created and writes them back when the dialog is accepted. UI thread only.

#include <wx/panel.h>

#include "result/export_writer.h"

class wxCheckBox;
class wxComboBox;
class wxCommandEvent;
class wxRadioButton;

namespace dossel {

// Control ids of the panel.
enum ExportPanelId : int {
  IDC_EXPORT_DELIMITER = 1064,
  IDC_EXPORT_ROW_BEGIN = 1067,
  IDC_EXPORT_ROW_END = 1070,
  IDC_EXPORT_COL_BEGIN = 1072,
  IDC_EXPORT_COL_END = 1075,
  IDC_EXPORT_DELIMIT = 1077,
  IDC_EXPORT_TAG = 1079,
  IDC_EXPORT_HEADER = 1101,
};

class CExportPanel : public wxPanel {
 public:
  CExportPanel(wxWindow* parent, bool selectionOnly);

  ExportMode GetMode() const;
  // Checks the radio button of `mode` and enables the lists that belong to it.
  void SetMode(ExportMode mode);

  // The options the controls stand for (the delimiter field's text resolved).
  ExportOptions GetOptions() const;
  // Stores the controls' choices as the next panel will read them.
  void StoreChoices() const;

 private:
  void CreateControls();
  void LoadChoices();
  void OnModeClicked(wxCommandEvent& event);

  bool m_bSelectionOnly;
  wxRadioButton* m_pDelimit = nullptr;
  wxRadioButton* m_pTag = nullptr;
  wxComboBox* m_pDelimiter = nullptr;
  wxComboBox* m_pRowBegin = nullptr;
  wxComboBox* m_pRowEnd = nullptr;
  wxComboBox* m_pColBegin = nullptr;
  wxComboBox* m_pColEnd = nullptr;
  wxCheckBox* m_pHeader = nullptr;
};

}  // namespace dossel
