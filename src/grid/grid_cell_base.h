#pragma once
// The abstract grid cell: a state word plus the interface every cell class
// offers the grid's store (contents, attributes, editing hooks). A cell
// belongs to one store and makes no window-system call; the window draws
// and measures cells itself (CGridCtrl::DrawCell, GetCellExtent). The fill's
// store writer may call a cell's operations until its row is published;
// after that only the UI thread.

#include <cstdint>

#include "grid/grid_types.h"

namespace dossel {

class CGridStore;
class CGridCellBase;
// The in-place editor of a cell, as the store sees it: the window library
// makes it (IGridStoreHost::CreateCellEditor) and it ends itself. UI thread.
class GridEditWindow {
 public:
  // Passes on a key typed while the editor is already open.
  virtual void SendChar(uint32_t nChar) = 0;
  // Ends editing: the editor reports its text to the grid and goes away.
  virtual void EndEdit() = 0;

 protected:
  ~GridEditWindow() = default;
};
class CGridDefaultCell;

// A rectangle with the classic window-system convention: right and bottom
// lie one past the area a fill covers. The grid's cell rectangles are
// inclusive (right = left + width - 1), so drawing grows them by one pixel.
struct GridRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool operator==(const GridRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct GridSize {
  int32_t cx = 0;
  int32_t cy = 0;
};

// A run-time class record: lets the grid create cells of a class chosen at
// run time and refuse classes that are not cells.
struct GridRuntimeClass {
  const char* name;
  const GridRuntimeClass* base;
  CGridCellBase* (*create)();  // null: cannot be created dynamically
  bool IsDerivedFrom(const GridRuntimeClass* other) const;
};

class CGridCellBase {
 public:
  static const GridRuntimeClass s_class;
  virtual const GridRuntimeClass* GetRuntimeClass() const { return &s_class; }
  virtual ~CGridCellBase() = default;

  virtual void SetText(TStringView text) = 0;
  virtual void SetImage(int32_t nImage) = 0;
  virtual void SetData(uint32_t lParam) = 0;
  virtual void SetState(uint32_t nState) { m_nState = nState; }
  virtual void SetFormat(uint32_t nFormat) = 0;
  virtual void SetTextClr(GridColour clr) = 0;
  virtual void SetBackClr(GridColour clr) = 0;
  virtual void SetFont(const GridLogFont* plf) = 0;
  virtual void SetMargin(uint32_t nMargin) = 0;
  virtual void SetGrid(CGridStore* pGrid) = 0;
  virtual void SetCoords(int32_t nRow, int32_t nCol) = 0;

  // The text stays valid until the cell's text changes.
  virtual TStringView GetText() const = 0;
  virtual TStringView GetTipText() const { return GetText(); }
  virtual int32_t GetImage() const = 0;
  virtual uint32_t GetData() const = 0;
  virtual uint32_t GetState() const { return m_nState; }
  virtual uint32_t GetFormat() const = 0;
  virtual GridColour GetTextClr() const = 0;
  virtual GridColour GetBackClr() const = 0;
  virtual const GridLogFont* GetFont() const = 0;
  virtual CGridStore* GetGrid() const = 0;
  virtual GridEditWindow* GetEditWnd() const = 0;
  virtual uint32_t GetMargin() const = 0;
  virtual CGridDefaultCell* GetDefaultCell() const;

  virtual bool IsDefaultFont() const = 0;
  virtual bool IsEditing() const = 0;
  virtual bool IsFocused() const { return (GetState() & GVIS_FOCUSED) != 0; }
  virtual bool IsFixed() const { return (GetState() & GVIS_FIXED) != 0; }
  virtual bool IsFixedCol() const { return (GetState() & GVIS_FIXEDCOL) != 0; }
  virtual bool IsFixedRow() const { return (GetState() & GVIS_FIXEDROW) != 0; }
  virtual bool IsSelected() const { return (GetState() & GVIS_SELECTED) != 0; }
  virtual bool IsReadOnly() const { return (GetState() & GVIS_READONLY) != 0; }
  virtual bool IsModified() const { return (GetState() & GVIS_MODIFIED) != 0; }
  virtual bool IsDropHighlighted() const { return (GetState() & GVIS_DROPHILITED) != 0; }

  virtual void CopyFrom(const CGridCellBase& other);
  virtual void Reset() { m_nState = 0; }

  // The part of the cell's rectangle its text may use; the grid has no
  // image list, so it is the whole rectangle.
  virtual bool GetTextRect(GridRect*) { return true; }
  virtual bool GetTipTextRect(GridRect* pRect) { return GetTextRect(pRect); }

  // In-place editing and mouse hooks; the grid's interaction layer drives them.
  virtual bool Edit(int32_t, int32_t, const GridRect&, int32_t, int32_t, uint32_t, uint32_t) { return false; }
  virtual bool ValidateEdit(TStringView) { return true; }
  virtual void EndEdit() {}
  virtual void OnEndEdit() {}
  virtual void OnMouseEnter() {}
  virtual void OnMouseOver() {}
  virtual void OnMouseLeave() {}
  virtual void OnClick(int32_t, int32_t) {}
  virtual void OnClickDown(int32_t, int32_t) {}
  virtual void OnRClick(int32_t, int32_t) {}
  virtual void OnDblClick(int32_t, int32_t) {}
  // True when the cell wants the window's arrow cursor (the window sets it).
  virtual bool OnSetCursor() { return true; }

 protected:
  CGridCellBase() = default;
  CGridCellBase(const CGridCellBase&) = default;
  CGridCellBase& operator=(const CGridCellBase&) = default;

  uint32_t m_nState = 0;
};

}  // namespace dossel
