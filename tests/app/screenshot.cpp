// Kept apart from the tests: the X11 headers define names that clash with
// the test framework's.

#include "screenshot.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/window.h>

#include <cstdlib>

namespace dossel::test {

bool SaveWindowPicture(wxWindow& window, const std::string& path) {
  GdkWindow* gdkWindow = gtk_widget_get_window(window.GetHandle());
  if (!gdkWindow) return false;
  const std::string command =
      "import -window " + std::to_string(static_cast<unsigned long>(GDK_WINDOW_XID(gdkWindow))) + " '" + path + "'";
  return std::system(command.c_str()) == 0;
}

}  // namespace dossel::test
