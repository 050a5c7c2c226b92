// The parts of an edition that the command table decides: its menu bar,
// keys and toolbar, and which commands it has under which identifiers. They
// live beside the table, in the frame's library; the panes below it read
// only the edition's plain description (edition.cpp).
#include "app/command_table.h"
#include "app/edition.h"

using namespace dossel::res;

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
