#pragma once
// CChooseFontPage: the handheld edition's font chooser, a page of its own
// property sheet (template 130, "Font"). It edits a copy of a font record:
// face name, point size (turned into a character height with the screen's
// pixels per inch), bold, italic, underline and ClearType, and draws
// "AaBbCcXxYyZz" in the font as it stands. The caller reads the record back
// after OK. UI thread only.

#include <wx/font.h>
#include <wx/panel.h>

#include "platform/log_font.h"

class wxCheckBox;
class wxComboBox;
class wxStaticText;

class CChooseFontPage : public wxPanel {
 public:
  enum ControlId {
    IDC_FACE_NAME = 1000,
    IDC_POINT_SIZE = 1002,
    IDC_STYLE = 1004,
    IDC_BOLD = 1005,
    IDC_ITALIC = 1006,
    IDC_UNDERLINE = 1009,
    IDC_PREVIEW_HEADING = 1011,
    IDC_PREVIEW = 1013,
    IDC_CLEARTYPE = 1014,
  };
  static constexpr int kTemplateId = 130;
  static constexpr int kBoldWeight = 700;
  static constexpr int kNormalWeight = 400;
  static constexpr int kClearTypeQuality = 5;

  // `font` is the record the page starts from; `pixelsPerInch` 0 reads the screen's.
  CChooseFontPage(wxWindow* parent, const dossel::LOGFONT& font, int pixelsPerInch = 0);

  const dossel::LOGFONT& GetLogFont() const { return m_logFont; }
  int GetPixelsPerInch() const { return m_nPixelsPerInch; }
  const wxFont& GetPreviewFont() const { return m_previewFont; }

 private:
  void CreateControls();
  void StartPage();
  void UpdatePreview();
  void OnStyle(wxCommandEvent& event);
  void OnFaceName(wxCommandEvent& event);
  void OnPointSize(wxCommandEvent& event);
  void OnPaint(wxPaintEvent& event);

  wxString m_strSize;
  wxString m_strFaceName;
  wxString m_strPreview = "AaBbCcXxYyZz";
  dossel::LOGFONT m_logFont;
  int m_nPixelsPerInch;
  wxFont m_boldFont;
  wxFont m_previewFont;

  wxComboBox* m_pFaceName = nullptr;
  wxComboBox* m_pPointSize = nullptr;
  wxStaticText* m_pStyle = nullptr;
  wxStaticText* m_pPreviewHeading = nullptr;
  wxStaticText* m_pPreview = nullptr;
  // Set while the page fills its controls, whose change events are not the user's.
  bool m_bStarting = false;
};

// The Font command of the handheld edition: "Choose Font" with this page.
bool ChooseFontCe(wxWindow* parent, dossel::LOGFONT& font);
