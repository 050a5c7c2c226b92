#pragma once
// The command table: one row per command of both programs. A row holds what
// res/ makes the menus, accelerators and toolbars from (res::CommandSpec:
// identifier, prompt, menu item, key, button, the handheld edition's alias
// or absence) and the frame's handler with its enable and check rules, from
// which CMainFrame::BindCommands and the one update handler are made. The
// table itself is CMainFrame::CommandTable() (command_table.cpp), so that
// its rows may name the frame's private members. UI thread only.

#include <span>

#include "res/command_spec.h"

class CMainFrame;

struct FrameCommand {
  dossel::res::CommandSpec spec;
  // Runs the command, given by its desktop identifier. The frame calls it
  // only while `enabled` allows: an accelerator reaches the frame even
  // while its command is disabled.
  void (CMainFrame::*run)(int command);
  // Null: always enabled, and the update event is left alone.
  bool (CMainFrame::*enabled)(int command) const = nullptr;
  // Null: the command has no check mark; else its items are check items.
  bool (CMainFrame::*checked)(int command) const = nullptr;
};

std::span<const FrameCommand> FrameCommands();
// The row of a desktop identifier (any of a row's range), or null.
const FrameCommand* FindFrameCommand(int command);
// The rows' specs, in table order, for the builders of res/menus.h.
std::span<const dossel::res::CommandSpec> CommandSpecs();
