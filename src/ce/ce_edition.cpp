#include "ce/ce_edition.h"

#include "app/connect_dlg.h"
#include "app/edition.h"
#include "app/goto_dlg.h"
#include "ce/choose_font_page.h"
#include "ce/document_list.h"
#include "ce/export_page.h"
#include "res/command_ids.h"

namespace {

// "Export" after the desktop's four pages, the last.
constexpr dossel::OptionsPageSpec kOptionsPages[] = {
    {"Export", CExportPage::Create, static_cast<size_t>(-1)},
};

// Connect (template 150): the same controls under their own numbers.
const ConnectDialogIds kConnectIds{1017, 1015, 1018, 1016, 1019, 1020, 154, "Lock Timeout (ms):"};

// Connect on the handheld's narrow screen: 160 x 180 dialog units, each
// label above its field, the three buttons along the bottom.
constexpr ConnectDialogLayout kConnectLayout{{0, 0, 160, 180},   {7, 7, 146, 8},
                                             {7, 17, 146, 12},   {7, 36, 146, 8},
                                             {7, 46, 126, 12},   {137, 45, 16, 14},
                                             {7, 65, 146, 8},    {7, 75, 60, 12},
                                             {7, 95, 100, 10},   {7, 109, 100, 10},
                                             {7, 159, 44, 14},   {58, 159, 44, 14},
                                             {109, 159, 44, 14}, true};

// Go To (template 131): the line edit, "&Go To" and "&Previous".
constexpr GoToDialogIds kGoToIds{1007, 1012, 1010};

CEdition MakeCeEdition() {
  CEdition edition;
  // Its menus, keys, command bar and the commands it lacks or numbers
  // otherwise: the command table's handheld column.
  edition.kind = dossel::res::EditionKind::Handheld;
  edition.hasStatusBar = false;
  edition.hasHandheldGrid = true;
  edition.hasCheckedPaneButtons = false;
  edition.schemaRootCaption = DT("Pocket PC");
  edition.schemaDeleteId = dossel::res::ID_CE_SCHEMA_DELETE;
  edition.chooseFont = ChooseFontCe;
  edition.openDocument = ShowDocumentList;
  edition.optionsPages = kOptionsPages;
  edition.hasExportPanel = false;
  edition.hasUtf16QueryFiles = true;
  edition.connectDialogIds = &kConnectIds;
  edition.connectDialogLayout = &kConnectLayout;
  edition.goToDialogIds = &kGoToIds;
  // About (template 100): the version text is static 1001.
  edition.aboutVersionId = 1001;
  edition.hasAboutButtons = false;
  edition.connectionsPageIds = {1008, 1029, 153};
  return edition;
}

}  // namespace

const CEdition& CeEdition() {
  static const CEdition edition = MakeCeEdition();
  return edition;
}
