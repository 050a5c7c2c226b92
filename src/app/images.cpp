#include "app/images.h"

#include <wx/iconbndl.h>

#include "res/images/images.h"

using dossel::res::ToolbarImage;

wxBitmap ToolbarBitmap(ToolbarImage image) {
  switch (image) {
    case ToolbarImage::New:
      return wxBitmap(toolbar_new_xpm);
    case ToolbarImage::Open:
      return wxBitmap(toolbar_open_xpm);
    case ToolbarImage::Save:
      return wxBitmap(toolbar_save_xpm);
    case ToolbarImage::Cut:
      return wxBitmap(toolbar_cut_xpm);
    case ToolbarImage::Copy:
      return wxBitmap(toolbar_copy_xpm);
    case ToolbarImage::Paste:
      return wxBitmap(toolbar_paste_xpm);
    case ToolbarImage::Query:
      return wxBitmap(toolbar_query_xpm);
    case ToolbarImage::Result:
      return wxBitmap(toolbar_result_xpm);
    case ToolbarImage::Trace:
      return wxBitmap(toolbar_trace_xpm);
    case ToolbarImage::Schema:
      return wxBitmap(toolbar_schema_xpm);
    case ToolbarImage::Execute:
      return wxBitmap(toolbar_execute_xpm);
    case ToolbarImage::Cancel:
      return wxBitmap(toolbar_cancel_xpm);
  }
  return wxBitmap(toolbar_new_xpm);
}

wxIcon AppIcon() { return wxIcon(app_icon_xpm); }
