// The one place that reaches below wx: GTK's text view can keep its last
// lines at the top of the visible area only with a bottom margin as tall as
// the rest of the view, which wx does not offer.

#include <gtk/gtk.h>

#include "app/pane_appender.h"

namespace {

GtkTextView* TextViewOf(wxTextCtrl* text) {
  GtkWidget* widget = text->GetHandle();
  if (GTK_IS_TEXT_VIEW(widget)) return GTK_TEXT_VIEW(widget);
  if (GTK_IS_BIN(widget)) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
    if (child && GTK_IS_TEXT_VIEW(child)) return GTK_TEXT_VIEW(child);
  }
  return nullptr;
}

}  // namespace

void ShowLastLinesAtTop(wxTextCtrl* text, int lines) {
  GtkTextView* view = text ? TextViewOf(text) : nullptr;
  if (!view) {
    if (text) text->ShowPosition(text->GetLastPosition());
    return;
  }
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
  const int lineCount = gtk_text_buffer_get_line_count(buffer);
  GtkTextIter top;
  gtk_text_buffer_get_iter_at_line(buffer, &top, lineCount > lines ? lineCount - lines : 0);

  // Room below the text so that the chosen line can reach the top.
  int lineY = 0, lineHeight = 0;
  gtk_text_view_get_line_yrange(view, &top, &lineY, &lineHeight);
  // wx knows the control's size before GTK has allocated a just-shown widget.
  const int viewHeight = text->GetClientSize().y;
  const int margin = viewHeight - lines * (lineHeight > 0 ? lineHeight : 16);
  gtk_text_view_set_bottom_margin(view, margin > 0 ? margin : 0);

  GtkTextMark* mark = gtk_text_buffer_get_mark(buffer, "dossel-newest");
  if (!mark)
    mark = gtk_text_buffer_create_mark(buffer, "dossel-newest", &top, TRUE);
  else
    gtk_text_buffer_move_mark(buffer, mark, &top);
  gtk_text_view_scroll_to_mark(view, mark, 0.0, TRUE, 0.0, 0.0);
}
