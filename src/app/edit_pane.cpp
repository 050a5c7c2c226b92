#include "app/edit_pane.h"

#include <wx/clipbrd.h>
#include <wx/fontdlg.h>
#include <wx/fontenum.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include <memory>

#include "app/edition.h"
#include "platform/format.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "settings/settings_store.h"
#include "settings/wx/font_wx.h"

using namespace dossel;
using namespace dossel::res;

namespace {

bool IsMissingDefaultFace(const LOGFONT& record) {
  const TString defaultFace = DefaultLogFont().lfFaceName;
  if (!EqualsNoCase(record.lfFaceName, defaultFace)) return false;
  // Enumerating the faces takes a while; the answer holds for the run.
  static const bool missing = !wxFontEnumerator::IsValidFacename(ToWx(defaultFace));
  return missing;
}

}  // namespace

wxFont DesktopFixedFont() {
  const wxFont fixed = wxSystemSettings::GetFont(wxSYS_ANSI_FIXED_FONT);
  if (fixed.IsOk() && fixed.IsFixedWidth()) return fixed;
  // GTK answers its normal font there: the monospace family at that size.
  return wxFont(
      wxFontInfo(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetPointSize()).Family(wxFONTFAMILY_TELETYPE));
}

wxFont DesktopGridFont() { return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT); }

int CreatePaneFont(TStringView fontKeyPath, const wxFont& desktop, wxFont& font) {
  LOGFONT record;
  ReadFontSetting(fontKeyPath, record);
  if (!IsMissingDefaultFace(record)) return CreateFontFromSetting(fontKeyPath, font);
  font = desktop;
  return font.IsOk() ? 1 : 0;
}

CEditPane::CEditPane(wxWindow* parent, int id, TStringView settingsKey, bool readsWordWrap, MakeEdit makeEdit)
    : CPane(parent, id), m_settingsKey(settingsKey) {
  if (readsWordWrap) m_bWordWrap = KeyReadInteger(HKEY_LOCAL_MACHINE, m_settingsKey, DT("WordWrap"), 0) == 1 ? 1 : 0;
  SetSizer(new wxBoxSizer(wxVERTICAL));
  m_edit = makeEdit ? makeEdit(this, IsWordWrap()) : new CTextEdit(this, IsWordWrap());
  m_edit->Bind(wxEVT_CONTEXT_MENU, &CEditPane::OnContextMenu, this);
  GetSizer()->Add(m_edit, 1, wxEXPAND);
  wxFont font;
  if (CreatePaneFont(FontKey(), DesktopFixedFont(), font)) ApplyFont(font);
}

TString CEditPane::FontKey() const { return m_settingsKey + DT("\\Font"); }

void CEditPane::SetWordWrap(bool wrap) {
  m_bWordWrap = wrap ? 1 : 0;
  m_edit->SetWordWrap(wrap);
}

void CEditPane::ToggleWordWrap() {
  SetWordWrap(!IsWordWrap());
  KeyWriteInteger(HKEY_LOCAL_MACHINE, m_settingsKey, DT("WordWrap"), m_bWordWrap);
}

void CEditPane::ApplyFont(const wxFont& font) {
  m_font = font;
  m_edit->ApplyFont(font);
}

bool CEditPane::IsEditCommandEnabled(int command) const {
  long from = 0, to = 0;
  m_edit->GetSelection(&from, &to);
  switch (command) {
    case ID_EDIT_UNDO:
      return m_edit->CanUndo();
    case ID_EDIT_CUT:
      return from != to && m_edit->IsEditable();
    case ID_EDIT_COPY:
      return from != to;
    case ID_EDIT_PASTE:
      return m_edit->CanPaste();
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_CLEAR_ALL:
      return !m_edit->IsEmpty();
    default:
      return false;
  }
}

void CEditPane::DoEditCommand(int command) {
  switch (command) {
    case ID_EDIT_UNDO:
      m_edit->UndoStep();
      break;
    case ID_EDIT_CUT:
      m_edit->Cut();
      break;
    case ID_EDIT_COPY:
      m_edit->Copy();
      break;
    case ID_EDIT_PASTE:
      m_edit->Paste();
      break;
    case ID_EDIT_SELECT_ALL:
      m_edit->SelectAll();
      break;
    case ID_EDIT_CLEAR_ALL:
      ClearAll();
      break;
    default:
      break;
  }
}

// The output panes keep no undo history: emptying them is final.
void CEditPane::ClearAll() {
  m_edit->ClearAll();
  m_edit->EmptyUndoBuffer();
}

bool CEditPane::ChangeFont(const wxFont& chosen) {
  if (!chosen.IsOk()) return false;
  wxFont font;
  if (!ChangeFontSetting(FontKey(), LogFontFromFont(chosen), font)) return false;
  ApplyFont(font);
  return true;
}

void CEditPane::RunFontDialog() {
  LOGFONT record = m_font.IsOk() ? LogFontFromFont(m_font) : DefaultLogFont();
  if (!ChooseFontRecord(this, record)) return;
  wxFont font;
  if (ChangeFontSetting(FontKey(), record, font)) ApplyFont(font);
}

void CEditPane::OnContextMenu(wxContextMenuEvent& event) {
  std::unique_ptr<wxMenu> menu(BuildContextMenu());
  if (!menu) {
    event.Skip();
    return;
  }
  // At the mouse cursor, with the pane receiving the commands.
  PopupMenu(menu.get(), ScreenToClient(wxGetMousePosition()));
}
