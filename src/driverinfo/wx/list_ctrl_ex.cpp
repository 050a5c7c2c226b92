#include "driverinfo/wx/list_ctrl_ex.h"

#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include <algorithm>

namespace dossel::driverinfo {

namespace {
constexpr int kImageSize = 16;
constexpr int kTextMargin = 4;
wxHeaderColumnSimple HeaderColumn(const wxString& heading, int format, int width) {
  wxHeaderColumnSimple header(heading, width);
  header.SetAlignment(format == wxLIST_FORMAT_RIGHT    ? wxALIGN_RIGHT
                      : format == wxLIST_FORMAT_CENTRE ? wxALIGN_CENTER
                                                       : wxALIGN_LEFT);
  return header;
}

}  // namespace

// The rows under the header: selection, keyboard and scrolling come from
// wxVListBox; drawing is ours.
class CListCtrlEx::CBody : public wxVListBox {
 public:
  explicit CBody(CListCtrlEx* owner) : wxVListBox(owner, wxID_ANY, wxDefaultPosition, wxSize(120, 80)), m_owner(owner) {
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    // The selected rows change colour with the focus.
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) { RefreshAll(), e.Skip(); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) { RefreshAll(), e.Skip(); });
  }

 protected:
  wxCoord OnMeasureItem(size_t) const override { return std::max(kImageSize + 2, GetCharHeight() + 4); }

  bool Highlighted(size_t n) const { return IsSelected(n) && HasFocus(); }

  // Paints across the whole client width, so the bar spans past the last column.
  void OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const override {
    const wxColour colour =
        Highlighted(n) ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT) : GetBackgroundColour();
    dc.SetBrush(wxBrush(colour));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(wxRect(0, rect.y, GetClientSize().x, rect.height));
  }

  void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override {
    const Item& item = m_owner->m_items[n];
    dc.SetTextForeground(Highlighted(n) ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)
                                        : GetForegroundColour());
    dc.SetFont(GetFont());
    int x = rect.x;
    for (size_t c = 0; c < m_owner->m_columns.size(); ++c) {
      const Column& column = m_owner->m_columns[c];
      wxRect cell(x, rect.y, column.width, rect.height);
      x += column.width;
      if (c == 0) {
        if (m_owner->m_images && item.image >= 0)
          m_owner->m_images->Draw(item.image, dc, cell.x + 2, cell.y + (cell.height - kImageSize) / 2,
                                  wxIMAGELIST_DRAW_TRANSPARENT);
        cell.x += kImageSize + 4;
        cell.width -= kImageSize + 4;
      }
      cell.Deflate(kTextMargin, 0);
      if (cell.width <= 0 || c >= item.texts.size()) continue;
      int align = wxALIGN_CENTER_VERTICAL | wxALIGN_LEFT;
      if (c > 0 && column.format == wxLIST_FORMAT_RIGHT) align = wxALIGN_CENTER_VERTICAL | wxALIGN_RIGHT;
      if (c > 0 && column.format == wxLIST_FORMAT_CENTRE) align = wxALIGN_CENTER;
      wxDCClipper clip(dc, cell);
      dc.DrawLabel(ShortenText(dc, item.texts[c], cell.width), cell, align);
    }
    if (HasFocus() && IsCurrent(n)) {
      wxRect focus(0, rect.y, GetClientSize().x, rect.height);
      wxRendererNative::Get().DrawFocusRect(const_cast<CBody*>(this), dc, focus);
    }
  }

 private:
  CListCtrlEx* m_owner;
};

CListCtrlEx::CListCtrlEx(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxPanel(parent, id, wxDefaultPosition, size, wxBORDER_THEME | wxTAB_TRAVERSAL) {
  m_header = new wxHeaderCtrlSimple(this, wxID_ANY);
  m_body = new CBody(this);
  // Created at a usable size: GTK allocates the scroll bar before the first
  // layout and complains when it gets less room than it needs.
  m_body->SetMinSize(wxSize(60, 60));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(m_header, 0, wxEXPAND);
  sizer->Add(m_body, 1, wxEXPAND);
  SetSizer(sizer);
  m_header->Bind(wxEVT_HEADER_CLICK, &CListCtrlEx::OnHeaderClick, this);
  m_header->Bind(wxEVT_HEADER_END_RESIZE, &CListCtrlEx::OnHeaderResize, this);
}

wxString CListCtrlEx::ShortenText(const wxDC& dc, const wxString& text, int width) {
  return wxControl::Ellipsize(text, dc, wxELLIPSIZE_END, width);
}

int CListCtrlEx::InsertColumn(int column, const wxString& heading, int format, int width) {
  column = std::clamp(column, 0, GetColumnCount());
  m_columns.insert(m_columns.begin() + column, Column{heading, format, width});
  m_header->InsertColumn(HeaderColumn(heading, format, width), column);
  for (Item& item : m_items) item.texts.insert(item.texts.begin() + std::min<size_t>(column, item.texts.size()), {});
  m_body->RefreshAll();
  return column;
}

wxString CListCtrlEx::GetColumnHeading(int column) const {
  return column >= 0 && column < GetColumnCount() ? m_columns[column].heading : wxString();
}

long CListCtrlEx::InsertItem(long index, const wxString& text, int image) {
  index = std::clamp<long>(index, 0, GetItemCount());
  Item item{std::vector<wxString>(std::max<size_t>(1, m_columns.size())), image, 0, false};
  item.texts[0] = text;
  m_items.insert(m_items.begin() + index, std::move(item));
  SyncCount();
  return index;
}

bool CListCtrlEx::SetItemText(long item, int column, const wxString& text) {
  if (item < 0 || item >= GetItemCount() || column < 0) return false;
  auto& texts = m_items[item].texts;
  if (static_cast<size_t>(column) >= texts.size()) texts.resize(column + 1);
  texts[column] = text;
  m_body->RefreshRow(item);
  return true;
}

wxString CListCtrlEx::GetItemText(long item, int column) const {
  if (item < 0 || item >= GetItemCount() || column < 0) return {};
  const auto& texts = m_items[item].texts;
  return static_cast<size_t>(column) < texts.size() ? texts[column] : wxString();
}

int CListCtrlEx::GetItemImage(long item) const { return item >= 0 && item < GetItemCount() ? m_items[item].image : -1; }

bool CListCtrlEx::SetItemData(long item, wxUIntPtr data) {
  if (item < 0 || item >= GetItemCount()) return false;
  m_items[item].data = data;
  return true;
}

wxUIntPtr CListCtrlEx::GetItemData(long item) const {
  return item >= 0 && item < GetItemCount() ? m_items[item].data : 0;
}

void CListCtrlEx::DeleteAllItems() {
  m_items.clear();
  SyncCount();
}

void CListCtrlEx::SortItems(wxListCtrlCompare compare, wxIntPtr sortData) {
  // The selection moves with its item.
  const long selected = GetSelection();
  for (long i = 0; i < GetItemCount(); ++i) m_items[i].selected = i == selected;
  std::stable_sort(m_items.begin(), m_items.end(), [&](const Item& a, const Item& b) {
    return compare(static_cast<wxIntPtr>(a.data), static_cast<wxIntPtr>(b.data), sortData) < 0;
  });
  for (long i = 0; i < GetItemCount(); ++i)
    if (m_items[i].selected) m_body->SetSelection(i);
  m_body->RefreshAll();
}

long CListCtrlEx::GetSelection() const { return m_body->GetSelection(); }

void CListCtrlEx::Select(long item) { m_body->SetSelection(item); }

void CListCtrlEx::SyncCount() {
  m_body->SetItemCount(m_items.size());
  m_body->RefreshAll();
}

void CListCtrlEx::OnHeaderClick(wxHeaderCtrlEvent& event) {
  wxListEvent click(wxEVT_LIST_COL_CLICK, GetId());
  click.SetEventObject(this);
  click.m_col = event.GetColumn();
  ProcessWindowEvent(click);
}

void CListCtrlEx::OnHeaderResize(wxHeaderCtrlEvent& event) {
  const int column = event.GetColumn();
  if (column < 0 || column >= GetColumnCount()) return;
  Column& changed = m_columns[column];
  changed.width = event.GetWidth();
  // The simple header keeps its own copy of each column.
  m_header->DeleteColumn(column);
  m_header->InsertColumn(HeaderColumn(changed.heading, changed.format, changed.width), column);
  m_body->RefreshAll();
}

}  // namespace dossel::driverinfo
