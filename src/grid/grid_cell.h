#pragma once
// CGridCell, the class of every ordinary cell, and CGridDefaultCell, the
// four per-grid templates that supply what a cell leaves at "default".
//
// A CGridCell keeps what nearly every cell has (state, format, text, owner)
// in the object itself and everything most cells never set (data, image,
// colours, own font, margin, editor) in a side block made on first use, so
// that a million-row result costs little more than its characters.
// Storage operations make no window-system call (query worker allowed while
// drawing is off); font objects and measuring are UI thread only.

#include <memory>

#include "grid/compact_text.h"
#include "grid/grid_cell_base.h"

class wxFont;

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
  void SetGrid(CGridCtrl* pGrid) override { m_pGrid = pGrid; }
  void SetCoords(int32_t, int32_t) override {}

  TStringView GetText() const override { return m_strText.View(); }
  int32_t GetImage() const override { return m_pExtra ? m_pExtra->nImage : -1; }
  uint32_t GetData() const override { return m_pExtra ? m_pExtra->lParam : 0; }
  uint32_t GetFormat() const override;
  GridColour GetTextClr() const override { return m_pExtra ? m_pExtra->crFgClr : kClrDefault; }
  GridColour GetBackClr() const override { return m_pExtra ? m_pExtra->crBkClr : kClrDefault; }
  const GridLogFont* GetFont() const override;
  const wxFont* GetFontObject() const override;
  CGridCtrl* GetGrid() const override { return m_pGrid; }
  wxWindow* GetEditWnd() const override { return m_pExtra ? m_pExtra->pEditWnd : nullptr; }
  uint32_t GetMargin() const override;

  bool IsDefaultFont() const override { return !m_pExtra || !m_pExtra->plfFont; }
  bool IsEditing() const override { return m_pExtra && m_pExtra->bEditing; }

  void Reset() override;
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
    wxWindow* pEditWnd = nullptr;
  };
  Extra& TakeExtra();

  uint32_t m_nFormat = kFormatDefault;
  CGridCtrl* m_pGrid = nullptr;
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
  const wxFont* GetFontObject() const override { return m_pFont.get(); }
  void SetCoords(int32_t, int32_t) override {}
  // Re-measures the default size and margin with the new font (UI thread);
  // a null font is ignored.
  void SetFont(const GridLogFont* plf) override;

 protected:
  GridSize m_Size{30, 10};
  std::unique_ptr<wxFont> m_pFont;
  uint32_t m_dwStyle = 0;
};

}  // namespace dossel
