#include "history/wx/history_window.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/datetime.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "platform/format.h"
#include "platform/wx/wx_text.h"

namespace dossel::history {

namespace {

constexpr int kPageSize = 200;
// A page more is read when the list shows a row this close to the last one read.
constexpr long kReadAhead = 40;
enum Column { kTime, kDuration, kRows, kOutcome, kSource, kQuery };

}  // namespace

// The list over the window's entries: it holds no rows of its own.
class CHistoryList : public wxListView {
 public:
  explicit CHistoryList(CHistoryWindow* owner)
      : wxListView(owner, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL), m_owner(owner) {}

 private:
  wxString OnGetItemText(long item, long column) const override {
    const std::vector<HistoryEntry>& entries = m_owner->m_entries;
    if (item < 0 || static_cast<size_t>(item) >= entries.size()) return {};
    if (item + kReadAhead >= static_cast<long>(entries.size())) m_owner->LoadMore();
    const HistoryEntry& entry = entries[static_cast<size_t>(item)];
    switch (column) {
      case kTime:
        return ToWx(CHistoryWindow::TimeText(entry.startedAt));
      case kDuration:
        return ToWx(CHistoryWindow::DurationText(entry.durationMs));
      case kRows:
        return entry.rows < 0 ? wxString() : wxString::Format("%lld", static_cast<long long>(entry.rows));
      case kOutcome:
        return ToWx(CHistoryWindow::OutcomeText(entry));
      case kSource:
        return ToWx(entry.dataSource);
      default:
        return ToWx(entry.summary);
    }
  }

  CHistoryWindow* m_owner;
};

CHistoryWindow::CHistoryWindow(wxWindow* parent, CHistory& history, Pick pick)
    : wxDialog(parent, wxID_ANY, "History", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_history(history),
      m_pick(std::move(pick)) {
  CreateControls();
  Bind(wxEVT_CHAR_HOOK, &CHistoryWindow::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Hide(); });
}

CHistoryWindow::~CHistoryWindow() { *m_alive = false; }

wxListView* CHistoryWindow::List() const { return m_list; }

void CHistoryWindow::CreateControls() {
  const int gap = FromDIP(6);
  m_search = new wxTextCtrl(this, wxID_ANY);
  m_search->SetHint("Words of the query");
  m_source = new wxChoice(this, wxID_ANY);
  m_source->Append("All data sources");
  m_source->SetSelection(0);
  m_list = new CHistoryList(this);
  const struct {
    const char* title;
    int width;
    wxListColumnFormat format;
  } columns[] = {{"Time", 150, wxLIST_FORMAT_LEFT},        {"Duration", 80, wxLIST_FORMAT_RIGHT},
                 {"Rows", 70, wxLIST_FORMAT_RIGHT},        {"Outcome", 160, wxLIST_FORMAT_LEFT},
                 {"Data Source", 110, wxLIST_FORMAT_LEFT}, {"Query", 420, wxLIST_FORMAT_LEFT}};
  for (const auto& column : columns) m_list->AppendColumn(column.title, column.format, FromDIP(column.width));
  m_status = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                              wxST_ELLIPSIZE_END | wxST_NO_AUTORESIZE);
  m_insert = new wxButton(this, wxID_ANY, "&Insert");
  m_insert->SetToolTip("Put the query into the query pane (Enter)");
  m_run = new wxButton(this, wxID_ANY, "&Run");
  m_run->SetToolTip("Put the query into the query pane and run it (Ctrl+Enter)");
  m_delete = new wxButton(this, wxID_ANY, "&Delete");
  m_delete->SetToolTip("Remove the selected runs from the history (Delete)");
  auto* close = new wxButton(this, wxID_CANCEL, "Close");

  auto* filters = new wxBoxSizer(wxHORIZONTAL);
  filters->Add(new wxStaticText(this, wxID_ANY, "&Search:"), wxSizerFlags().CenterVertical().Border(wxRIGHT, gap));
  filters->Add(m_search, wxSizerFlags(1).CenterVertical().Border(wxRIGHT, 2 * gap));
  filters->Add(new wxStaticText(this, wxID_ANY, "Data s&ource:"), wxSizerFlags().CenterVertical().Border(wxRIGHT, gap));
  filters->Add(m_source, wxSizerFlags().CenterVertical());
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(m_status, wxSizerFlags(1).CenterVertical().Border(wxRIGHT, gap));
  for (wxButton* button : {m_insert, m_run, m_delete, close}) buttons->Add(button, wxSizerFlags().Border(wxLEFT, gap));
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(filters, wxSizerFlags().Expand().Border(wxALL, gap));
  column->Add(m_list, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, gap));
  column->Add(buttons, wxSizerFlags().Expand().Border(wxALL, gap));
  SetSizer(column);
  SetSize(FromDIP(wxSize(1000, 480)));
  m_insert->SetDefault();
  // Tab goes from the search field on to the runs it found.
  m_list->MoveAfterInTabOrder(m_search);

  m_search->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { Search(); });
  m_source->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { Search(); });
  m_list->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { PickSelected(false); });
  m_insert->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { PickSelected(false); });
  m_run->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { PickSelected(true); });
  m_delete->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveSelected(); });
  close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); });
}

void CHistoryWindow::ShowAndSearch() {
  if (!IsShown()) CentreOnParent();
  Show();
  Raise();
  m_search->SetFocus();
  m_search->SelectAll();
  LoadDataSources();
  Search();
}

// Called on the history writer: touches nothing of the window there.
void CHistoryWindow::PostTo(const std::shared_ptr<bool>& alive, std::function<void()> call) {
  wxTheApp->CallAfter([alive, call = std::move(call)] {
    if (*alive) call();
  });
}

void CHistoryWindow::Search() {
  m_query.words = FromWx(m_search->GetValue());
  const int source = m_source->GetSelection();
  m_query.dataSource = source > 0 && static_cast<size_t>(source) <= m_sources.size()
                           ? m_sources[static_cast<size_t>(source - 1)]
                           : TString();
  m_query.beforeId = 0;
  m_query.limit = kPageSize;
  const uint64_t generation = ++m_generation;
  m_bSearching = true;
  m_bLoadingMore = false;
  m_history.Search(m_query, [this, alive = m_alive, generation](CHistory::Page page) {
    PostTo(alive, [this, generation, page = std::move(page)]() mutable {
      if (generation == m_generation) ShowPage(std::move(page), false);
    });
  });
}

void CHistoryWindow::LoadMore() {
  if (!m_bMore || m_bLoadingMore || m_bSearching || m_entries.empty()) return;
  m_bLoadingMore = true;
  HistoryQuery query = m_query;
  query.beforeId = m_entries.back().id;
  const uint64_t generation = m_generation;
  m_history.Search(query, [this, alive = m_alive, generation](CHistory::Page page) {
    PostTo(alive, [this, generation, page = std::move(page)]() mutable {
      if (generation == m_generation && m_bLoadingMore) ShowPage(std::move(page), true);
    });
  });
}

void CHistoryWindow::ShowPage(CHistory::Page page, bool append) {
  m_bSearching = false;
  m_bLoadingMore = false;
  m_bMore = page.more;
  if (append) {
    for (HistoryEntry& entry : page.entries) m_entries.push_back(std::move(entry));
  } else {
    m_entries = std::move(page.entries);
  }
  m_list->SetItemCount(static_cast<long>(m_entries.size()));
  m_list->Refresh();
  if (!append) {
    const long last = static_cast<long>(m_entries.size()) - 1;
    SelectRow(last < 0 ? -1 : std::min(std::max(m_nKeepRow, 0L), last));
  }
  m_nKeepRow = 0;
  ShowStatus();
}

void CHistoryWindow::ShowStatus() {
  wxString text;
  if (m_history.GetState() == CHistory::State::kUnavailable)
    text = "The run history cannot be used (the trace says why).";
  else if (m_entries.empty())
    text = m_query.words.empty() ? "No runs recorded." : "No run matches.";
  else
    text = wxString::Format(m_bMore ? "The newest %zu matching runs; more below." : "%zu matching runs.",
                            m_entries.size());
  m_status->SetLabel(text);
  m_status->SetToolTip(text);
}

void CHistoryWindow::SelectRow(long row) {
  for (long selected = m_list->GetFirstSelected(); selected != -1; selected = m_list->GetNextSelected(selected))
    m_list->SetItemState(selected, 0, wxLIST_STATE_SELECTED);
  if (row < 0) return;
  m_list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  m_list->EnsureVisible(row);
}

void CHistoryWindow::LoadDataSources() {
  m_history.ListDataSources([this, alive = m_alive](std::vector<TString> names) {
    PostTo(alive, [this, names = std::move(names)]() mutable { ShowDataSources(std::move(names)); });
  });
}

void CHistoryWindow::ShowDataSources(std::vector<TString> names) {
  const int selected = m_source->GetSelection();
  const TString current = selected > 0 && static_cast<size_t>(selected) <= m_sources.size()
                              ? m_sources[static_cast<size_t>(selected - 1)]
                              : TString();
  m_sources = std::move(names);
  m_source->Freeze();
  while (m_source->GetCount() > 1) m_source->Delete(1);
  int keep = 0;
  for (size_t i = 0; i < m_sources.size(); ++i) {
    m_source->Append(ToWx(m_sources[i]));
    if (!current.empty() && m_sources[i] == current) keep = static_cast<int>(i + 1);
  }
  m_source->SetSelection(keep);
  m_source->Thaw();
  if (!current.empty() && keep == 0) Search();
}

void CHistoryWindow::PickSelected(bool run) {
  const long row = m_list->GetFirstSelected();
  if (row < 0 || static_cast<size_t>(row) >= m_entries.size()) return;
  m_history.ReadText(m_entries[static_cast<size_t>(row)].id, [this, alive = m_alive, run](std::optional<TString> text) {
    PostTo(alive, [this, run, text = std::move(text)] {
      if (!text) return;
      Hide();
      m_pick(*text, run);
    });
  });
}

void CHistoryWindow::RemoveSelected() {
  std::vector<int64_t> ids;
  long first = -1;
  for (long row = m_list->GetFirstSelected(); row != -1; row = m_list->GetNextSelected(row)) {
    if (static_cast<size_t>(row) >= m_entries.size()) continue;
    if (first < 0) first = row;
    ids.push_back(m_entries[static_cast<size_t>(row)].id);
  }
  if (ids.empty()) return;
  // The rows go at once; the list is read again once the history removed them.
  for (auto it = ids.rbegin(); it != ids.rend(); ++it)
    std::erase_if(m_entries, [id = *it](const HistoryEntry& entry) { return entry.id == id; });
  m_list->SetItemCount(static_cast<long>(m_entries.size()));
  SelectRow(m_entries.empty() ? -1 : std::min<long>(first, static_cast<long>(m_entries.size()) - 1));
  m_list->Refresh();
  m_history.Remove(std::move(ids), [this, alive = m_alive, first] {
    PostTo(alive, [this, first] {
      m_nKeepRow = first;
      Search();
      LoadDataSources();
    });
  });
}

// Keys the whole window takes, wherever its focus is.
void CHistoryWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool enter = key == WXK_RETURN || key == WXK_NUMPAD_ENTER;
  wxWindow* focus = wxWindow::FindFocus();
  // The list takes the keys in a window of its own inside it.
  const bool inList = focus && (focus == m_list || m_list->IsDescendant(focus));
  if (enter && event.GetModifiers() == wxMOD_CONTROL) {
    PickSelected(true);
    return;
  }
  if (enter && event.GetModifiers() == wxMOD_NONE && (focus == m_search || inList)) {
    PickSelected(false);
    return;
  }
  if (key == WXK_DELETE && inList && event.GetModifiers() == wxMOD_NONE) {
    RemoveSelected();
    return;
  }
  if (key == WXK_ESCAPE) {
    Hide();
    return;
  }
  if (focus == m_search && event.GetModifiers() == wxMOD_NONE && MoveSelection(key)) return;
  event.Skip();
}

// Up, Down and the page keys typed in the search field move the list's selection.
bool CHistoryWindow::MoveSelection(int keyCode) {
  const long count = static_cast<long>(m_entries.size());
  if (count == 0) return false;
  const long page = std::max(1, m_list->GetCountPerPage());
  long row = std::max(0L, m_list->GetFirstSelected());
  switch (keyCode) {
    case WXK_DOWN:
      ++row;
      break;
    case WXK_UP:
      --row;
      break;
    case WXK_PAGEDOWN:
      row += page;
      break;
    case WXK_PAGEUP:
      row -= page;
      break;
    default:
      return false;
  }
  SelectRow(std::clamp(row, 0L, count - 1));
  return true;
}

TString CHistoryWindow::TimeText(int64_t startedAt) {
  const wxDateTime time(static_cast<wxLongLong>(startedAt));
  return FromWx(time.Format("%Y-%m-%d %H:%M:%S"));
}

TString CHistoryWindow::DurationText(uint32_t milliseconds) {
  if (milliseconds < 1000) return Format(DT("%d ms"), milliseconds);
  if (milliseconds < 60000) return Format(DT("%d.%03d s"), milliseconds / 1000, milliseconds % 1000);
  const uint32_t seconds = milliseconds / 1000;
  return Format(DT("%d:%02d:%02d"), seconds / 3600, seconds / 60 % 60, seconds % 60);
}

TString CHistoryWindow::OutcomeText(const HistoryEntry& entry) {
  switch (entry.outcome) {
    case session::RunOutcome::kCompleted:
      return DT("Completed");
    case session::RunOutcome::kCanceled:
      return DT("Canceled");
    case session::RunOutcome::kTimedOut:
      return DT("Timed out");
    case session::RunOutcome::kErrors:
      break;
  }
  return entry.firstError.empty() ? TString(DT("Errors")) : DT("Errors: ") + entry.firstError;
}

}  // namespace dossel::history
