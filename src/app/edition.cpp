#include "app/edition.h"

#include <wx/fontdlg.h>

#include "app/command_table.h"
#include "app/driver_info_command.h"
#include "platform/wx/log_font_wx.h"

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
  edition.showDriverInfo = DesktopDriverInfoSheet();
  return edition;
}

const CEdition s_desktop = MakeDesktopEdition();
const CEdition* s_edition = &s_desktop;

}  // namespace

std::vector<MenuEntry> CEdition::Menu() const { return BuildMenu(CommandSpecs(), kind); }
std::vector<AcceleratorEntry> CEdition::Accelerators() const { return BuildAccelerators(CommandSpecs(), kind); }
std::vector<ToolbarButton> CEdition::Toolbar() const { return BuildToolbar(CommandSpecs(), kind); }

int CEdition::CommandOf(int id) const {
  int command = id;
  return FindCommand(CommandSpecs(), kind, id, command) ? command : id;
}

int CEdition::IdOf(int command) const {
  const FrameCommand* row = FindFrameCommand(command);
  return row ? IdIn(row->spec, kind) + (command - row->spec.id) : command;
}

bool CEdition::HasCommand(int command) const {
  const FrameCommand* row = FindFrameCommand(command);
  return row && IsIn(row->spec, kind);
}

const CEdition& DesktopEdition() { return s_desktop; }
const CEdition& Edition() { return *s_edition; }
void SetEdition(const CEdition& edition) { s_edition = &edition; }

bool ChooseFontRecord(wxWindow* parent, LOGFONT& font) {
  const FontChooser chooser = Edition().chooseFont ? Edition().chooseFont : ChooseFontWithDialog;
  return chooser(parent, font);
}
