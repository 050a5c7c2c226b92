#include "app/result_view.h"

void CResultView::ExportResults(bool selectionOnly) {
  (void)selectionOnly;
  if (!CanExport()) return;
}
