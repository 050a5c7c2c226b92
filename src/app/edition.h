#pragma once
// CEdition: what tells the two programs built from these sources apart. The
// desktop program and the handheld edition share the frame, the panes and
// the dialogs; each sets its edition once at start-up, before the frame is
// made, and the frame takes its menu, accelerators, toolbar and features
// from it. Which commands an edition has, and under which identifiers,
// stands in the command table (app/command_table.h). UI thread only.

#include <span>
#include <vector>

#include "options/connections_page.h"
#include "options/options_sheet.h"
#include "platform/log_font.h"
#include "platform/text.h"
#include "res/command_ids.h"
#include "res/menus.h"

class wxWindow;
class CMainFrame;
struct ConnectDialogIds;
struct ConnectDialogLayout;
struct GoToDialogIds;
namespace dossel::session {
class CSession;
}

// Lets the user edit `font` (the pane's font record, or the default one);
// true on OK, with the record changed.
using FontChooser = bool (*)(wxWindow* parent, dossel::LOGFONT& font);

struct CEdition {
  // The command table's column this edition takes its commands from.
  dossel::res::EditionKind kind = dossel::res::EditionKind::Desktop;
  bool hasStatusBar = true;
  // The pane buttons of the toolbar show which pane is active.
  bool hasCheckedPaneButtons = true;
  // The result grid has no title tips, printing, saving or loading.
  bool hasHandheldGrid = false;
  // The identifier of the schema pane's Delete item.
  int schemaDeleteId = dossel::res::ID_SCHEMA_DELETE;
  // The schema tree's root caption; empty for the computer's name.
  const dossel::TChar* schemaRootCaption = DT("");
  // The Font command's chooser; null for the desktop's font dialog.
  FontChooser chooseFont = nullptr;
  // The export's save dialog carries the options panel; without it the
  // export takes the stored choices (an options page edits them).
  bool hasExportPanel = true;
  // New query files are written as UTF-16 (little-endian, no header), the
  // text as the handheld's edit control holds it; files read as UTF-16 are
  // written back so. Files of the narrow program keep their bytes' encoding.
  bool hasUtf16QueryFiles = false;
  // The Connect dialog's control identifiers; null for the desktop's.
  const ConnectDialogIds* connectDialogIds = nullptr;
  // Where the Connect dialog's controls stand; null for the desktop's layout.
  const ConnectDialogLayout* connectDialogLayout = nullptr;
  // The about box's version text, and whether the box has OK and Cancel.
  int aboutVersionId = dossel::res::IDC_ABOUT_VERSION;
  bool hasAboutButtons = true;
  // The Go To dialog's control identifiers; null for the desktop's.
  const GoToDialogIds* goToDialogIds = nullptr;
  // The control ids of the Connections page.
  dossel::CConnectionsPage::Ids connectionsPageIds = dossel::CConnectionsPage::kDesktopIds;
  // Pages this edition adds to the options sheet.
  std::span<const dossel::OptionsPageSpec> optionsPages;
  // The Open command; null for the desktop's file dialog.
  void (*openDocument)(CMainFrame* frame) = nullptr;

  // The menu bar, accelerators and toolbar, made from the command table.
  std::vector<dossel::res::MenuEntry> Menu() const;
  std::vector<dossel::res::AcceleratorEntry> Accelerators() const;
  std::vector<dossel::res::ToolbarButton> Toolbar() const;
  // The desktop command an identifier of this edition stands for (itself
  // when it is not one of the edition's own).
  int CommandOf(int id) const;
  // The identifier this edition gives the desktop command.
  int IdOf(int command) const;
  // Whether this edition has the (desktop) command at all.
  bool HasCommand(int command) const;
};

const CEdition& DesktopEdition();
// The edition of this process: the desktop one until SetEdition.
const CEdition& Edition();
// `edition` is kept by reference: it must outlive the program's windows.
void SetEdition(const CEdition& edition);

// The Font command of every pane: runs the edition's chooser on `font`.
bool ChooseFontRecord(wxWindow* parent, dossel::LOGFONT& font);
