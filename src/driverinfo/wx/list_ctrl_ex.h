#pragma once
// CListCtrlEx: a report-style list that draws its own rows: full-row
// selection whose bar spans the client width, a 16 x 16 image before the
// first column, every text shortened with "..." when its column is too
// narrow, each column aligned as its header says, and a focus rectangle on
// the current item. A header above the rows reports clicks as
// wxEVT_LIST_COL_CLICK (GetColumn() is the column). The items and their
// texts live here; the image list is the caller's. UI thread only.

#include <wx/headerctrl.h>
#include <wx/imaglist.h>
#include <wx/listbase.h>
#include <wx/panel.h>
#include <wx/vlbox.h>

#include <vector>

namespace dossel::driverinfo {

class CListCtrlEx : public wxPanel {
 public:
  CListCtrlEx(wxWindow* parent, wxWindowID id, const wxSize& size = wxDefaultSize);

  // Not owned: the pages share one image list.
  void SetImageList(wxImageList* images) { m_images = images; }
  int InsertColumn(int column, const wxString& heading, int format = wxLIST_FORMAT_LEFT, int width = 100);
  int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
  wxString GetColumnHeading(int column) const;

  long InsertItem(long index, const wxString& text, int image = -1);
  bool SetItemText(long item, int column, const wxString& text);
  wxString GetItemText(long item, int column = 0) const;
  int GetItemImage(long item) const;
  bool SetItemData(long item, wxUIntPtr data);
  wxUIntPtr GetItemData(long item) const;
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  void DeleteAllItems();
  // Sorts the items as wxListCtrl does: compare(data1, data2, sortData) < 0
  // puts the item with data1 first. Equal items keep their order.
  void SortItems(wxListCtrlCompare compare, wxIntPtr sortData);

  long GetSelection() const;
  void Select(long item);

  // `text` as a row shows it in `width` pixels: whole, or cut with "...".
  static wxString ShortenText(const wxDC& dc, const wxString& text, int width);

 private:
  class CBody;
  struct Column {
    wxString heading;
    int format;
    int width;
  };
  struct Item {
    std::vector<wxString> texts;
    int image;
    wxUIntPtr data;
    bool selected;  // only while sorting
  };

  void OnHeaderClick(wxHeaderCtrlEvent& event);
  void OnHeaderResize(wxHeaderCtrlEvent& event);
  void SyncCount();

  wxHeaderCtrlSimple* m_header;
  CBody* m_body;
  wxImageList* m_images = nullptr;
  std::vector<Column> m_columns;
  std::vector<Item> m_items;
};

}  // namespace dossel::driverinfo
