#include "res/menus.h"

#include <algorithm>
#include <utility>

namespace dossel::res {
namespace {

enum class LayoutKind { Popup, Section, Separator, EndPopup };

struct LayoutEntry {
  LayoutKind kind;
  MenuSection section = MenuSection::NoItem;
  const TChar* title = nullptr;  // of a popup
};

constexpr LayoutEntry Popup(const TChar* title) { return {LayoutKind::Popup, MenuSection::NoItem, title}; }
constexpr LayoutEntry Section(MenuSection section) { return {LayoutKind::Section, section}; }
constexpr LayoutEntry kSeparator{LayoutKind::Separator};
constexpr LayoutEntry kEndPopup{LayoutKind::EndPopup};

using enum MenuSection;

// A popup's sections stand in these lines, a nested popup indented.
// clang-format off
constexpr LayoutEntry kDesktopMenu[] = {
    Popup(DT("&SQL")),
      Section(SqlSession), kSeparator, Section(SqlFile), kSeparator, Section(SqlPrint), kSeparator,
      Section(SqlRecentFiles), kSeparator, Section(SqlExit),
    kEndPopup,
    Popup(DT("&Edit")),
      Section(EditUndo), kSeparator, Section(EditClipboard), kSeparator, Section(EditSelect), kSeparator,
      Section(EditFind), kSeparator, Section(EditGoTo),
    kEndPopup,
    Popup(DT("&View")),
      Section(ViewBars), kSeparator, Section(ViewPanes), kSeparator, Section(ViewSheets), kSeparator,
      Section(ViewText), kSeparator, Section(ViewAbout),
    kEndPopup,
};

// The handheld's narrow menu bar: File and Edit are submenus of SQL.
constexpr LayoutEntry kHandheldMenu[] = {
    Popup(DT("&SQL")),
      Section(SqlSession), kSeparator,
      Popup(DT("&File")),
        Section(SqlFile),
      kEndPopup,
      Popup(DT("Ed&it")),
        Section(EditUndo), kSeparator, Section(EditClipboard), kSeparator, Section(EditSelect), kSeparator,
        Section(EditFind), kSeparator, Section(EditGoTo),
      kEndPopup,
      kSeparator, Section(SqlRecentFiles), kSeparator, Section(SqlExit),
    kEndPopup,
    Popup(DT("&View")),
      Section(ViewPanes), kSeparator, Section(ViewSheets), kSeparator, Section(ViewText), kSeparator,
      Section(ViewAbout),
    kEndPopup,
};
// clang-format on

// Where the toolbar has a separator: before the first button whose image
// is at or after each of these.
constexpr ToolbarImage kDesktopGaps[] = {ToolbarImage::Cut, ToolbarImage::Query};
constexpr ToolbarImage kHandheldGaps[] = {ToolbarImage::Query};

std::span<const LayoutEntry> MenuLayout(EditionKind edition) {
  if (edition == EditionKind::Handheld) return kHandheldMenu;
  return kDesktopMenu;
}

std::span<const ToolbarImage> ToolbarGaps(EditionKind edition) {
  if (edition == EditionKind::Handheld) return kHandheldGaps;
  return kDesktopGaps;
}

MenuEntry ItemOf(const CommandSpec& command, EditionKind edition) {
  MenuEntryKind kind = MenuEntryKind::Item;
  if (command.recentFiles)
    kind = edition == EditionKind::Handheld ? MenuEntryKind::RecentFileItems : MenuEntryKind::RecentFiles;
  return {kind, IdIn(command, edition), MenuText(command, edition)};
}

// Appends entries to a menu. A separator waits until an entry of the same
// popup follows it, and a popup until it gets an entry, so that what an
// edition lacks leaves neither a stray separator nor an empty popup.
class MenuWriter {
 public:
  explicit MenuWriter(std::vector<MenuEntry>& menu) : m_menu(menu) {}
  void BeginPopup(const TChar* title) { m_open.push_back({title}); }
  void EndPopup() {
    if (m_open.back().written) m_menu.push_back({MenuEntryKind::EndPopup, 0, {}});
    m_open.pop_back();
  }
  void Separator() { m_open.back().separatorDue = true; }
  void Add(MenuEntry entry) {
    for (size_t i = 0; i < m_open.size(); ++i) {
      if (m_open[i].written) continue;
      if (i > 0) Count(m_open[i - 1]);
      m_menu.push_back({MenuEntryKind::Popup, 0, m_open[i].title});
      m_open[i].written = true;
    }
    Count(m_open.back());
    m_menu.push_back(std::move(entry));
  }

 private:
  struct Popup {
    const TChar* title;
    bool written = false;
    bool separatorDue = false;
    int entries = 0;
  };
  // An entry is about to be written into `popup`.
  void Count(Popup& popup) {
    if (popup.separatorDue && popup.entries > 0) m_menu.push_back({MenuEntryKind::Separator, 0, {}});
    popup.separatorDue = false;
    ++popup.entries;
  }

  std::vector<MenuEntry>& m_menu;
  // The open popups, the innermost last.
  std::vector<Popup> m_open;
};

}  // namespace

std::vector<MenuEntry> BuildMenu(std::span<const CommandSpec> commands, EditionKind edition) {
  std::vector<MenuEntry> menu;
  MenuWriter writer(menu);
  for (const LayoutEntry& part : MenuLayout(edition)) {
    switch (part.kind) {
      case LayoutKind::Popup:
        writer.BeginPopup(part.title);
        break;
      case LayoutKind::EndPopup:
        writer.EndPopup();
        break;
      case LayoutKind::Separator:
        writer.Separator();
        break;
      case LayoutKind::Section:
        for (const CommandSpec& command : commands)
          if (command.menu == part.section && IsIn(command, edition)) writer.Add(ItemOf(command, edition));
        break;
    }
  }
  return menu;
}

std::vector<AcceleratorEntry> BuildAccelerators(std::span<const CommandSpec> commands, EditionKind edition) {
  std::vector<AcceleratorEntry> entries;
  for (const CommandSpec& command : commands) {
    if (command.key.key == 0 || !IsIn(command, edition)) continue;
    if (edition == EditionKind::Handheld && !command.handheld.key) continue;
    entries.push_back({command.key.modifiers, command.key.key, IdIn(command, edition)});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const AcceleratorEntry& a, const AcceleratorEntry& b) {
    return a.modifiers != b.modifiers ? a.modifiers < b.modifiers : a.key < b.key;
  });
  return entries;
}

std::vector<ToolbarButton> BuildToolbar(std::span<const CommandSpec> commands, EditionKind edition) {
  std::vector<ToolbarButton> buttons;
  for (const CommandSpec& command : commands) {
    if (!command.button || !IsIn(command, edition)) continue;
    if (edition == EditionKind::Handheld && !command.handheld.button) continue;
    buttons.push_back({IdIn(command, edition), *command.button});
  }
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const ToolbarButton& a, const ToolbarButton& b) { return a.image < b.image; });
  std::vector<ToolbarButton> toolbar;
  const std::span<const ToolbarImage> gaps = ToolbarGaps(edition);
  size_t gap = 0;
  for (const ToolbarButton& button : buttons) {
    bool separator = false;
    for (; gap < gaps.size() && gaps[gap] <= button.image; ++gap) separator = true;
    if (separator) toolbar.push_back({0, button.image});
    toolbar.push_back(button);
  }
  return toolbar;
}

const CommandSpec* FindCommand(std::span<const CommandSpec> commands, EditionKind edition, int id, int& command) {
  for (const CommandSpec& spec : commands) {
    const int first = IdIn(spec, edition);
    if (IsIn(spec, edition) && id >= first && id < first + spec.count) {
      command = spec.id + (id - first);
      return &spec;
    }
  }
  return nullptr;
}

}  // namespace dossel::res
