// CGridCtrl: printing through CGridPrintout. No command of the program
// prints the grid; the operations are the grid's own. UI thread.

#include <wx/print.h>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_printout.h"

namespace dossel {

wxPrintout* CGridCtrl::CreatePrintout() { return m_bHandheld ? nullptr : new CGridPrintout(this); }

bool CGridCtrl::Print(bool bPrompt) {
  if (m_bFilling || m_bHandheld) return false;
  wxPrintDialogData data;
  data.EnableSelection(false);
  data.EnablePageNumbers(false);
  data.EnablePrintToFile(false);
  wxPrinter printer(&data);
  CGridPrintout printout(this);
  return printer.Print(this, &printout, bPrompt);
}

void CGridCtrl::SetPrintMargins(int32_t header, int32_t footer, int32_t left, int32_t right, int32_t top,
                                int32_t bottom, int32_t gap) {
  GridPrintMargins& m = m_printMargins;
  for (auto [value, field] :
       {std::pair{header, &m.header}, std::pair{footer, &m.footer}, std::pair{left, &m.left},
        std::pair{right, &m.right}, std::pair{top, &m.top}, std::pair{bottom, &m.bottom}, std::pair{gap, &m.gap}})
    if (value >= 0) *field = value;
}

}  // namespace dossel
