#pragma once
// CCePropertySheet: the handheld edition's property sheet, for the font
// chooser. Above its pages it shows a title line (the caption) and, when
// set, a link line; at its top edge it has a command bar of its own (a
// toolbar, identifier 0xE800), which lives as long as the sheet's window.
// The two texts are kept program-wide, where the sheet's callback reads
// them when the window is made, as the platform's sheet asks for them.
// UI thread only.

#include <wx/propdlg.h>

#include "platform/text.h"

class wxToolBar;
class wxStaticText;

class CCePropertySheet : public wxPropertySheetDialog {
 public:
  // What the sheet's callback is asked for.
  enum CallbackCode { kGetTitle = 4, kGetLinkText = 5 };
  using Callback = void (*)(CCePropertySheet* sheet, int code, wxString& buffer);

  // `caption` becomes the title line; `selectPage` is shown first.
  CCePropertySheet(const wxString& caption, wxWindow* parent, int selectPage = 0);

  void AddPage(wxWindow* page, const wxString& title);
  // Makes the sheet's window (title line, link line, command bar) and runs it.
  int DoModal();

  static const wxString& GetTitleText() { return s_strTitle; }
  static void SetLinkText(const wxString& link) { s_strLink = link; }
  static const wxString& GetLinkText() { return s_strLink; }
  wxToolBar* GetCommandBar() const { return m_pCommandBar; }
  wxStaticText* GetTitleLine() const { return m_pTitleLine; }
  wxStaticText* GetLinkLine() const { return m_pLinkLine; }

 private:
  static void SheetCallback(CCePropertySheet* sheet, int code, wxString& buffer);
  static void FrameworkCallback(CCePropertySheet* sheet, int code, wxString& buffer);
  void CreateSheetWindow();

  static wxString s_strTitle;
  static wxString s_strLink;
  Callback m_previousCallback;
  int m_nSelectPage;
  wxToolBar* m_pCommandBar = nullptr;
  wxStaticText* m_pTitleLine = nullptr;
  wxStaticText* m_pLinkLine = nullptr;
};
