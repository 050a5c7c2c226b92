#pragma once
// CGridCell, the class of every ordinary cell, and CGridDefaultCell, the
// four per-grid templates that supply what a cell leaves at "default".
//
// A CGridCell keeps what nearly every cell has (state, format, text, owner)
// in the object itself and everything most cells never set (data, image,
// colours, own font, margin, editor) in a side block made on first use, so
// that a million-row result costs little more than its characters.
// No window-system call: the window makes font objects from the LOGFONT
// records and measures the default cells when it sets their font. Thread
// rules as for CGridCellBase.

#include <memory>

#include "grid/compact_text.h"
#include "grid/grid_cell_base.h"

namespace dossel {

class CGridCell : public CGridCellBase {
 public:
  static const GridRuntimeClass s_class;
  const GridRuntimeClass* GetRuntimeClass() const override { return &s_class; }
  static CGridCellBase* CreateObject() { return new CGridCell; }

  CGridCell();
  ~CGridCell() override;
  CGridCell(const CGridCell&) = delete;
  CGridCell& operator=(const CGridCell&) = delete;

  // Ordinary cells come from a shared slot pool; other sizes (derived
  // classes) use the normal heap.
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size);

  void SetText(TStringView text) override { m_strText.Assign(text); }
  void SetImage(int32_t nImage) override;
  void SetData(uint32_t lParam) override;
  void SetFormat(uint32_t nFormat) override { m_nFormat = nFormat; }
  void SetTextClr(GridColour clr) override;
  void SetBackClr(GridColour clr) override;
  void SetFont(const GridLogFont* plf) override;
  void SetMargin(uint32_t nMargin) override;
  void SetGrid(CGridStore* pGrid) override { m_pGrid = pGrid; }
  void SetCoords(int32_t, int32_t) override {}

  TStringView GetText() const override { return m_strText.View(); }
  int32_t GetImage() const override { return m_pExtra ? m_pExtra->nImage : -1; }
  uint32_t GetData() const override { return m_pExtra ? m_pExtra->lParam : 0; }
  uint32_t GetFormat() const override;
  GridColour GetTextClr() const override { return m_pExtra ? m_pExtra->crFgClr : kClrDefault; }
  GridColour GetBackClr() const override { return m_pExtra ? m_pExtra->crBkClr : kClrDefault; }
  const GridLogFont* GetFont() const override;
  CGridStore* GetGrid() const override { return m_pGrid; }
  GridEditWindow* GetEditWnd() const override { return m_pExtra ? m_pExtra->pEditWnd : nullptr; }
  uint32_t GetMargin() const override;

  bool IsDefaultFont() const override { return !m_pExtra || !m_pExtra->plfFont; }
  bool IsEditing() const override { return m_pExtra && m_pExtra->bEditing; }

  void Reset() override;
  // Opens the store's host's editor over rect (or passes the key to the one
  // open); false, editable again, when no editor could be made.
  bool Edit(int32_t nRow, int32_t nCol, const GridRect& rect, int32_t x, int32_t y, uint32_t nID,
            uint32_t nChar) override;
  void EndEdit() override;
  void OnEndEdit() override;

 protected:
  // What few cells set. Made on first non-default store.
  struct Extra {
    uint32_t lParam = 0;
    int32_t nImage = -1;
    GridColour crFgClr = kClrDefault;
    GridColour crBkClr = kClrDefault;
    uint32_t nMargin = kMarginDefault;
    bool bEditing = false;
    std::unique_ptr<GridLogFont> plfFont;
    GridEditWindow* pEditWnd = nullptr;
  };
  Extra& TakeExtra();

  uint32_t m_nFormat = kFormatDefault;
  CGridStore* m_pGrid = nullptr;
  CompactText m_strText;
  std::unique_ptr<Extra> m_pExtra;
};

class CGridDefaultCell : public CGridCell {
 public:
  static const GridRuntimeClass s_class;
  const GridRuntimeClass* GetRuntimeClass() const override { return &s_class; }
  static CGridCellBase* CreateObject() { return new CGridDefaultCell; }

  CGridDefaultCell();
  ~CGridDefaultCell() override;

  virtual uint32_t GetStyle() const { return m_dwStyle; }
  virtual void SetStyle(uint32_t dwStyle) { m_dwStyle = dwStyle; }
  virtual int32_t GetWidth() const { return m_Size.cx; }
  virtual int32_t GetHeight() const { return m_Size.cy; }
  virtual void SetWidth(int32_t nWidth) { m_Size.cx = nWidth; }
  virtual void SetHeight(int32_t nHeight) { m_Size.cy = nHeight; }

  uint32_t GetState() const override { return m_nState | GVIS_READONLY; }
  const GridLogFont* GetFont() const override;
  void SetCoords(int32_t, int32_t) override {}
  // Stores the font; a null font is ignored. The size and margin fall back
  // to 40 x 16 and 3 until the window measures the font (CGridCtrl::SetGridFont).
  void SetFont(const GridLogFont* plf) override;
  void SetMeasuredSize(GridSize size, uint32_t margin) {
    m_Size = size;
    SetMargin(margin);
  }

 protected:
  GridSize m_Size{30, 10};
  uint32_t m_dwStyle = 0;
};

}  // namespace dossel
