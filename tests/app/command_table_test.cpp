// The command table: every identifier the menus, toolbars and accelerators
// of either edition use has a row, and every row the edition has shows up
// somewhere or is reached by a key; the rows agree with one another (no
// identifier, key or button twice in an edition); the desktop keys are the
// program's own; only the narrow build has the driver-information sheet.

#include <map>
#include <set>

#include "app/driver_info_command.h"
#include "command_rows.h"
#include "frame_fixture.h"
#include "res/menus.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

constexpr EditionKind kEditions[] = {EditionKind::Desktop, EditionKind::Handheld};

std::string Name(EditionKind edition) { return edition == EditionKind::Desktop ? "desktop" : "handheld"; }

// The row of the edition's identifier `id`, checked to exist.
const FrameCommand* RowOf(EditionKind edition, int id, const std::string& where) {
  int command = 0;
  const CommandSpec* spec = FindCommand(CommandSpecs(), edition, id, command);
  EXPECT_NE(spec, nullptr) << Name(edition) << " " << where << " " << id << " has no row";
  const FrameCommand* row = spec ? FindFrameCommand(command) : nullptr;
  if (spec) {
    EXPECT_NE(row, nullptr) << Name(edition) << " " << where << " " << id;
  }
  return row;
}

TEST(CommandTableTest, EveryIdentifierOfTheMenusToolbarsAndKeysHasARow) {
  for (EditionKind edition : kEditions) {
    std::set<int> reached;
    for (const MenuEntry& entry : BuildMenu(CommandSpecs(), edition)) {
      if (entry.kind == MenuEntryKind::Popup || entry.kind == MenuEntryKind::EndPopup ||
          entry.kind == MenuEntryKind::Separator)
        continue;
      if (const FrameCommand* row = RowOf(edition, entry.id, "menu item " + ToUtf8(entry.text))) {
        reached.insert(row->spec.id);
        EXPECT_NE(row->spec.caption, nullptr) << entry.id;
      }
    }
    for (const AcceleratorEntry& entry : BuildAccelerators(CommandSpecs(), edition))
      if (const FrameCommand* row = RowOf(edition, entry.command, "key")) reached.insert(row->spec.id);
    for (const ToolbarButton& button : BuildToolbar(CommandSpecs(), edition)) {
      if (button.command == 0) continue;
      if (const FrameCommand* row = RowOf(edition, button.command, "button")) {
        reached.insert(row->spec.id);
        EXPECT_FALSE(TooltipOf(row->spec).empty()) << button.command;
      }
    }
    // A row the edition has is reached by the user, or is sent by a pane
    // (the result pane's word wrap) or the printing framework.
    for (const FrameCommand& row : FrameCommands()) {
      EXPECT_NE(row.run, nullptr) << row.spec.id;
      if (!IsIn(row.spec, edition) || row.spec.id == ID_QUERY_WORD_WRAP || row.spec.id == ID_FILE_PRINT_DIRECT)
        continue;
      EXPECT_TRUE(reached.count(row.spec.id)) << Name(edition) << " row " << row.spec.id << " is never shown";
    }
  }
}

TEST(CommandTableTest, NoIdentifierKeyOrButtonStandsForTwoCommandsInAnEdition) {
  for (EditionKind edition : kEditions) {
    std::map<int, int> owners;  // edition's identifier -> desktop command
    std::map<std::pair<unsigned, int>, int> keys;
    std::map<ToolbarImage, int> buttons;
    for (const FrameCommand& row : FrameCommands()) {
      const CommandSpec& spec = row.spec;
      if (!IsIn(spec, edition)) continue;
      for (int i = 0; i < spec.count; ++i) {
        EXPECT_TRUE(owners.emplace(IdIn(spec, edition) + i, spec.id).second)
            << Name(edition) << " identifier " << IdIn(spec, edition) + i << " twice";
      }
      // The frame binds the desktop's identifiers in either edition.
      if (IdIn(spec, edition) != spec.id) {
        for (int i = 0; i < spec.count; ++i) {
          EXPECT_TRUE(owners.emplace(spec.id + i, spec.id).second)
              << Name(edition) << " identifier " << spec.id + i << " twice";
        }
      }
      if (spec.key.key != 0) {
        EXPECT_TRUE(keys.emplace(std::pair(spec.key.modifiers, spec.key.key), spec.id).second)
            << "key of " << spec.id << " twice";
      }
      if (spec.button) {
        EXPECT_TRUE(buttons.emplace(*spec.button, spec.id).second) << "button of " << spec.id;
      }
      // What a row says of the handheld edition that lacks it would be lost.
      if (!spec.handheld.present) {
        EXPECT_TRUE(spec.handheld.id == 0 && !spec.handheld.caption && !spec.handheld.key && !spec.handheld.button)
            << spec.id;
      }
    }
  }
}

TEST(CommandTableTest, TheDesktopKeysAreTheProgramsOwn) {
  std::map<std::pair<unsigned, int>, int> keys;
  for (const AcceleratorEntry& entry : BuildAccelerators(CommandSpecs(), EditionKind::Desktop))
    keys[{entry.modifiers, entry.key}] = entry.command;
  std::map<std::pair<unsigned, int>, int> expected = {
      {{kAccelCtrl, 'A'}, ID_EDIT_SELECT_ALL},   {{kAccelCtrl, 'C'}, ID_EDIT_COPY},
      {{kAccelCtrl, 'D'}, ID_SQL_DISCONNECT},    {{kAccelCtrl, 'E'}, ID_SQL_CONNECT},
      {{kAccelCtrl, 'F'}, ID_EDIT_FIND},         {{kAccelCtrl, 'G'}, ID_EDIT_GOTO},
      {{kAccelCtrl, 'H'}, ID_EDIT_REPLACE},      {{kAccelCtrl, 'N'}, ID_FILE_NEW},
      {{kAccelCtrl, 'O'}, ID_FILE_OPEN},         {{kAccelCtrl, 'P'}, ID_FILE_PRINT},
      {{kAccelCtrl, 'S'}, ID_FILE_SAVE},         {{kAccelCtrl, 'T'}, ID_SQL_CONNECT_DATA_SOURCE},
      {{kAccelCtrl, 'V'}, ID_EDIT_PASTE},        {{kAccelCtrl, 'X'}, ID_EDIT_CUT},
      {{kAccelCtrl, 'Z'}, ID_EDIT_UNDO},         {{kAccelNone, kVkF3}, ID_EDIT_REPEAT},
      {{kAccelNone, kVkF4}, ID_SQL_EXECUTE},     {{kAccelNone, kVkF5}, ID_VIEW_QUERY},
      {{kAccelNone, kVkF6}, ID_VIEW_RESULT},     {{kAccelNone, kVkF7}, ID_VIEW_TRACE},
      {{kAccelNone, kVkF8}, ID_VIEW_SCHEMA},     {{kAccelNone, kVkF9}, ID_VIEW_OPTIONS},
      {{kAccelNone, kVkF10}, ID_VIEW_ODBC_INFO}, {{kAccelAlt, kVkPause}, ID_SQL_CANCEL},
  };
  // The run history's window.
  expected[{kAccelCtrl, 'R'}] = ID_VIEW_HISTORY;
  EXPECT_EQ(keys, expected);
}

TEST_F(TextFrameTest, TheFramesItemsAndButtonsShowTheirRows) {
  const std::set<int> shown = ExpectRowsOfFrame(m_frame);
  EXPECT_TRUE(shown.count(ID_SQL_CONNECT) && shown.count(ID_VIEW_ODBC_INFO) && shown.count(ID_SQL_CANCEL));
  // The driver-information sheet belongs to the narrow build, the desktop program's.
  EXPECT_EQ(DriverInfoSheetOf(Edition()) != nullptr, !kWideText);
  const std::string database = m_folder.File("rows.db");
  RunSqlite(database, "create table t(a)");
  ASSERT_TRUE(ConnectTo("DSN=Rows;Database=" + database));
  EXPECT_EQ(m_frame->IsCommandEnabled(ID_VIEW_ODBC_INFO), !kWideText);
}

}  // namespace
}  // namespace dossel::test
