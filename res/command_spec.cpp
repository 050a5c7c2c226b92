#include "res/command_spec.h"

namespace dossel::res {

bool IsIn(const CommandSpec& command, EditionKind edition) {
  return edition == EditionKind::Desktop || command.handheld.present;
}

int IdIn(const CommandSpec& command, EditionKind edition) {
  if (edition == EditionKind::Handheld && command.handheld.id != 0) return command.handheld.id;
  return command.id;
}

TString KeyText(Key key) {
  if (key.key == 0) return {};
  TString text;
  if (key.modifiers & kAccelCtrl) text += DT("Ctrl+");
  if (key.modifiers & kAccelShift) text += DT("Shift+");
  if (key.modifiers & kAccelAlt) text += DT("Alt+");
  if (key.key >= kVkF3 && key.key <= kVkF10) {
    text += TChar('F');
    const int number = 3 + (key.key - kVkF3);
    if (number >= 10) text += TChar('0' + number / 10);
    text += TChar('0' + number % 10);
  } else if (key.key == kVkPause) {
    text += DT("Break");
  } else {
    text += static_cast<TChar>(key.key);
  }
  return text;
}

TString MenuText(const CommandSpec& command, EditionKind edition) {
  if (edition == EditionKind::Handheld)
    return command.handheld.caption ? command.handheld.caption : command.caption ? command.caption : DT("");
  TString text = command.caption ? command.caption : DT("");
  if (command.key.key != 0) {
    text += DT('\t');
    text += KeyText(command.key);
  }
  return text;
}

TString PromptOf(const CommandSpec& command) {
  const TStringView text = command.prompt;
  return TString(text.substr(0, text.find('\n')));
}

TString TooltipOf(const CommandSpec& command) {
  const TStringView text = command.prompt;
  const size_t newline = text.find('\n');
  return TString(newline == TStringView::npos ? text : text.substr(newline + 1));
}

}  // namespace dossel::res
