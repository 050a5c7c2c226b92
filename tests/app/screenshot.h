#pragma once
// Saves what the X server shows of a window as a PNG file, through
// ImageMagick's import; false when that failed.

#include <string>

class wxWindow;

namespace dossel::test {
bool SaveWindowPicture(wxWindow& window, const std::string& path);
}
