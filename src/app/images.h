#pragma once
// The program's own images (drawn in res/images) as wx bitmaps. UI thread only.

#include <wx/bitmap.h>
#include <wx/icon.h>

#include "res/menus.h"

wxBitmap ToolbarBitmap(dossel::res::ToolbarImage image);
wxIcon AppIcon();
