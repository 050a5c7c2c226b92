#include "app/edition.h"

#include <wx/fontdlg.h>

#include "platform/wx/log_font_wx.h"
#include "res/command_ids.h"

using namespace dossel;
using namespace dossel::res;

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

CEdition MakeDesktopEdition() {
  CEdition edition;
  edition.menu = MainMenu();
  edition.accelerators = MainAccelerators();
  edition.toolbar = MainToolbar();
  return edition;
}

const CEdition s_desktop = MakeDesktopEdition();
const CEdition* s_edition = &s_desktop;

}  // namespace

int CEdition::CommandOf(int id) const {
  for (const CommandAlias& alias : aliases)
    if (alias.id == id) return alias.command;
  return id;
}

bool CEdition::HasCommand(int command) const {
  switch (command) {
    case ID_SQL_CONNECT_DATA_SOURCE:
      return hasConnectWithChooser;
    case ID_VIEW_ODBC_INFO:
      return hasDriverInfo;
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
      return hasBarToggles;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_PRINT_SETUP:
      return hasPrinting;
    default:
      return true;
  }
}

const CEdition& DesktopEdition() { return s_desktop; }
const CEdition& Edition() { return *s_edition; }
void SetEdition(const CEdition& edition) { s_edition = &edition; }

bool ChooseFontRecord(wxWindow* parent, LOGFONT& font) {
  const FontChooser chooser = Edition().chooseFont ? Edition().chooseFont : ChooseFontWithDialog;
  return chooser(parent, font);
}
