#include "app/edition.h"

#include <wx/fontdlg.h>

#include "platform/wx/log_font_wx.h"

using namespace dossel;

namespace {

// The desktop's font dialog, without the effects it would not keep.
bool ChooseFontWithDialog(wxWindow* parent, LOGFONT& font) {
  wxFontData data;
  data.SetInitialFont(FontFromLogFont(font));
  data.EnableEffects(false);
  wxFontDialog dialog(parent, data);
  if (dialog.ShowModal() != wxID_OK) return false;
  const wxFont chosen = dialog.GetFontData().GetChosenFont();
  if (!chosen.IsOk()) return false;
  font = LogFontFromFont(chosen);
  return true;
}

const CEdition s_desktop;
const CEdition* s_edition = &s_desktop;

}  // namespace

const CEdition& DesktopEdition() { return s_desktop; }
const CEdition& Edition() { return *s_edition; }
void SetEdition(const CEdition& edition) { s_edition = &edition; }

bool ChooseFontRecord(wxWindow* parent, LOGFONT& font) {
  const FontChooser chooser = Edition().chooseFont ? Edition().chooseFont : ChooseFontWithDialog;
  return chooser(parent, font);
}
