#pragma once
// A pane that is one text control (CTextEdit): the query, trace and (in
// text format) result panes. Owns the control, its font and its word-wrap
// state; word wrap switches in place, keeping text, font, selection and
// focus. UI thread only.

#include <wx/font.h>
#include <wx/menu.h>

#include "app/pane.h"
#include "app/text_edit.h"
#include "platform/text.h"

// The pane fonts of a machine that lacks the settings' default face ("MS
// Sans Serif", which would fall back to a small sans font): the desktop's
// fixed-width font for text, its normal font for the grid.
wxFont DesktopFixedFont();
wxFont DesktopGridFont();

// The font stored under `fontKeyPath` (the default record when none is), into
// `font`; when its face is the settings' default and this machine lacks it,
// `desktop` instead. A face the user chose is used as stored. 1 when a font
// was made.
int CreatePaneFont(dossel::TStringView fontKeyPath, const wxFont& desktop, wxFont& font);

class CEditPane : public CPane {
 public:
  // `settingsKey` is the pane's key ("Software\Harlune\Dossel\Query"); its
  // "Font" subkey is read here, and its "WordWrap" value when
  // `readsWordWrap` (a pane whose flag starts cleared does not read it).
  // `makeEdit` makes the pane's control (a plain CTextEdit when null).
  using MakeEdit = CTextEdit* (*)(wxWindow* parent, bool wordWrap);
  CEditPane(wxWindow* parent, int id, dossel::TStringView settingsKey, bool readsWordWrap = true,
            MakeEdit makeEdit = nullptr);

  CTextEdit* GetEdit() const { return m_edit; }
  bool IsWordWrap() const override { return m_bWordWrap != 0; }
  // Switches the control's word wrap to `wrap`.
  void SetWordWrap(bool wrap);
  // Toggles word wrap and stores the new flag.
  void ToggleWordWrap() override;
  // Sets the pane's font keeping the selection.
  void ApplyFont(const wxFont& font);
  const wxFont& GetPaneFont() const { return m_font; }
  dossel::TString FontKey() const;
  // What the font dialog's OK does: stores `chosen` under the font key and,
  // when a font could be made from it, applies it. False when nothing changed.
  bool ChangeFont(const wxFont& chosen);

  bool IsEditCommandEnabled(int command) const override;
  void DoEditCommand(int command) override;
  wxWindow* FocusWindow() override { return m_edit; }

 protected:
  virtual void ClearAll();
  // The font dialog, opened on the pane's font (or the default font).
  void RunFontDialog();
  // The pane's context menu, made fresh for each opening (owned by the
  // caller); null for none.
  virtual wxMenu* BuildContextMenu() { return nullptr; }
  dossel::TString m_settingsKey;
  wxFont m_font;
  int m_bWordWrap = 0;

 private:
  void OnContextMenu(wxContextMenuEvent& event);

  CTextEdit* m_edit = nullptr;
};
