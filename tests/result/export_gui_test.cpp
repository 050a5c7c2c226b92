// The window side of the export: the grid adapter over a real CGridCtrl, the
// save dialog's options panel with its stored choices, ExportResults end to
// end through the test's stand-in for the user, and one run of the real GTK
// file dialog with its panel.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/timer.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "grid/wx/grid_ctrl.h"
#include "platform/wx/wx_text.h"
#include "recording_ui.h"
#include "result/export_choices.h"
#include "result/wx/export_dlg.h"
#include "result/wx/export_panel.h"
#include "result/wx/export_results.h"
#include "result/wx/grid_export_source.h"
#include "settings/settings_store.h"
#include "test_support.h"

namespace dossel {
namespace {

template <typename T>
T* Find(wxWindow& panel, int id) {
  T* control = dynamic_cast<T*>(panel.FindWindow(id));
  EXPECT_NE(control, nullptr) << id;
  return control;
}

TString Stored(TStringView name) {
  TString value;
  KeyReadString(HKEY_LOCAL_MACHINE, kExportSettingsKey, name, DT("<missing>"), value);
  return value;
}
int StoredInt(TStringView name) { return KeyReadInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, name, -1); }

class ExportGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("DOSSEL_REGISTRY", m_folder.File("registry.reg").c_str(), 1);
    SetUserInterface(&m_ui);
    m_frame = new wxFrame(nullptr, wxID_ANY, "export test", wxDefaultPosition, wxSize(500, 400));
    m_grid = new CGridCtrl();
    ASSERT_TRUE(m_grid->Create(wxRect(0, 0, 480, 360), m_frame, 100));
    m_grid->SetRowCount(4);
    m_grid->SetColumnCount(3);
    m_grid->SetFixedRowCount(1);
    const TStringView cells[4][3] = {{DT("id"), DT("name"), DT("city")},
                                     {DT("1"), DT("Ann"), DT("Oslo")},
                                     {DT("2"), DT("Bob"), DT("Porto, PT")},
                                     {DT("3"), DT("<Cy>"), DT("Lisbon")}};
    for (int32_t r = 0; r < 4; ++r)
      for (int32_t c = 0; c < 3; ++c) m_grid->SetCellText(r, c, cells[r][c]);
    m_frame->Show();
  }
  void TearDown() override {
    CExportDlg::SetModalHook({});
    m_frame->Destroy();
    wxTheApp->Yield(true);
    SetUserInterface(nullptr);
    unsetenv("DOSSEL_REGISTRY");
  }

  // Runs ExportResults with `user` standing in for the person at the dialog.
  int Export(bool selection, const std::function<int(CExportDlg&, CExportPanel&)>& user) {
    m_hookRan = false;
    CExportDlg::SetModalHook([&](CExportDlg& dlg) {
      m_hookRan = true;
      CExportPanel* panel = dlg.GetPanel();
      EXPECT_NE(panel, nullptr);
      EXPECT_EQ(dlg.GetMessage(), selection ? "Save Selection As" : "Save As");
      return panel ? user(dlg, *panel) : wxID_CANCEL;
    });
    return ExportResults(m_frame, *m_grid, selection, [this](TStringView line) { m_trace += ToUtf8(line); });
  }
  // A user who picks `name` in the scratch folder with file type `filter` and presses OK.
  std::function<int(CExportDlg&, CExportPanel&)> Choose(const std::string& name, int filter = 0,
                                                        std::function<void(CExportPanel&)> panelAction = {}) {
    return [=, this](CExportDlg& dlg, CExportPanel& panel) {
      if (panelAction) panelAction(panel);
      dlg.SetChosenFile(FromUtf8(m_folder.File(name)), filter);
      return static_cast<int>(wxID_OK);
    };
  }
  std::string Read(const std::string& name) { return test::ReadFile(m_folder.File(name)); }
  static void Click(wxWindow& panel, int id) {
    wxCommandEvent event(wxEVT_RADIOBUTTON, id);
    event.SetEventObject(panel.FindWindow(id));
    dynamic_cast<wxRadioButton*>(panel.FindWindow(id))->SetValue(true);
    panel.FindWindow(id)->GetEventHandler()->ProcessEvent(event);
  }

  test::ScratchFolder m_folder;
  test::RecordingUserInterface m_ui;
  wxFrame* m_frame = nullptr;
  CGridCtrl* m_grid = nullptr;
  std::string m_trace;
  bool m_hookRan = false;
};

TEST_F(ExportGuiTest, AdapterReadsTheGridsCellsAndSelection) {
  const GridExportSource source(*m_grid);
  EXPECT_EQ(source.GetRowCount(), 4);
  EXPECT_EQ(source.GetColumnCount(), 3);
  EXPECT_EQ(source.GetCellText(2, 2), DT("Porto, PT"));
  EXPECT_EQ(source.GetCellText(9, 9), DT(""));
  EXPECT_FALSE(source.IsValidRange(source.GetSelectedRange()));
  m_grid->SetCellState(2, 0, m_grid->GetCellState(2, 0) | GVIS_SELECTED);
  m_grid->SetCellState(2, 2, m_grid->GetCellState(2, 2) | GVIS_SELECTED);
  const ExportRange range = source.GetSelectedRange();
  EXPECT_EQ(range.minRow, 2);
  EXPECT_EQ(range.minCol, 0);
  EXPECT_EQ(range.maxRow, 2);
  EXPECT_EQ(range.maxCol, 2);
  EXPECT_TRUE(source.IsValidRange(range));
  EXPECT_TRUE(source.IsCellSelected(2, 0));
  EXPECT_FALSE(source.IsCellSelected(2, 1));
  EXPECT_FALSE(source.IsCellSelected(9, 0));
  EXPECT_FALSE(source.IsValidRange({0, 0, 4, 2}));
}

TEST_F(ExportGuiTest, FirstExportUsesTheDefaultsAndStoresTheChoices) {
  const int result = Export(false, [this](CExportDlg& dlg, CExportPanel& panel) {
    EXPECT_EQ(dlg.GetWildcard(), ToWx(ExportFileFilter()));
    EXPECT_EQ(dlg.GetFilename(), "Untitled");
    EXPECT_EQ(Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->GetValue(), "Comma Delimited");
    EXPECT_EQ(Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->GetCount(), 3u);
    EXPECT_EQ(Find<wxComboBox>(panel, IDC_EXPORT_ROW_BEGIN)->GetValue(), "<TR>");
    EXPECT_EQ(Find<wxComboBox>(panel, IDC_EXPORT_COL_END)->GetValue(), "</TD>");
    EXPECT_TRUE(Find<wxRadioButton>(panel, IDC_EXPORT_DELIMIT)->GetValue());
    EXPECT_TRUE(Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->IsEnabled());
    EXPECT_FALSE(Find<wxComboBox>(panel, IDC_EXPORT_ROW_END)->IsEnabled());
    EXPECT_TRUE(Find<wxCheckBox>(panel, IDC_EXPORT_HEADER)->GetValue());
    EXPECT_TRUE(Find<wxCheckBox>(panel, IDC_EXPORT_HEADER)->IsEnabled());
    return Choose("all")(dlg, panel);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Read("all.csv"), "id,name,city\n1,Ann,Oslo\n2,Bob,\"Porto, PT\"\n3,<Cy>,Lisbon");
  EXPECT_EQ(m_trace, "Exporting results ...\r\n");
  EXPECT_EQ(Stored(DT("Delimiter")), DT("Comma Delimited"));
  EXPECT_EQ(StoredInt(DT("Header")), 1);
  EXPECT_EQ(StoredInt(DT("Delimit")), 0);
  EXPECT_EQ(Stored(DT("RowBegin")), DT("<TR>"));
  EXPECT_EQ(Stored(DT("RowEnd")), DT("</TR>"));
  EXPECT_EQ(Stored(DT("ColBegin")), DT("<TD>"));
  EXPECT_EQ(Stored(DT("ColEnd")), DT("</TD>"));
  EXPECT_TRUE(m_ui.texts.empty());
}

TEST_F(ExportGuiTest, StoredChoicesSelectListItemsAndTypedChoicesAreStoredAsTyped) {
  KeyWriteString(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Delimiter"), DT("  tab "));
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Header"), 0);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Delimit"), 1);
  KeyWriteString(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("RowBegin"), DT("<tr"));
  KeyWriteString(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("ColEnd"), DT("[end]"));
  EXPECT_EQ(Export(false, Choose("tags.htm", 1,
                                 [](CExportPanel& panel) {
                                   EXPECT_EQ(Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->GetValue(),
                                             "Tab Delimited");
                                   EXPECT_EQ(Find<wxComboBox>(panel, IDC_EXPORT_ROW_BEGIN)->GetValue(), "<TR>");
                                   // A stored value no item begins with leaves the field empty.
                                   EXPECT_EQ(Find<wxComboBox>(panel, IDC_EXPORT_COL_END)->GetValue(), "");
                                   EXPECT_FALSE(Find<wxCheckBox>(panel, IDC_EXPORT_HEADER)->GetValue());
                                   EXPECT_TRUE(Find<wxRadioButton>(panel, IDC_EXPORT_TAG)->GetValue());
                                   EXPECT_FALSE(Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->IsEnabled());
                                   EXPECT_TRUE(Find<wxComboBox>(panel, IDC_EXPORT_COL_BEGIN)->IsEnabled());
                                   Find<wxComboBox>(panel, IDC_EXPORT_COL_END)->SetValue("</TD>");
                                 })),
            1);
  EXPECT_EQ(Read("tags.htm"),
            "<TR><TD>1</TD><TD>Ann</TD><TD>Oslo</TD></TR>\n<TR><TD>2</TD><TD>Bob</TD><TD>Porto, PT</TD></TR>\n"
            "<TR><TD>3</TD><TD>&lt;Cy&gt;</TD><TD>Lisbon</TD></TR>");
  EXPECT_EQ(StoredInt(DT("Delimit")), 1);
  EXPECT_EQ(Stored(DT("Delimiter")), DT("Tab Delimited"));
  EXPECT_EQ(Stored(DT("ColEnd")), DT("</TD>"));

  // Back to delimited by a click, a custom delimiter typed, header on.
  EXPECT_EQ(Export(false, Choose("semi.csv", 0,
                                 [](CExportPanel& panel) {
                                   Click(panel, IDC_EXPORT_DELIMIT);
                                   EXPECT_TRUE(Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->IsEnabled());
                                   EXPECT_FALSE(Find<wxComboBox>(panel, IDC_EXPORT_ROW_BEGIN)->IsEnabled());
                                   Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->SetValue(";");
                                   Find<wxCheckBox>(panel, IDC_EXPORT_HEADER)->SetValue(true);
                                 })),
            1);
  EXPECT_EQ(Read("semi.csv"), "id;name;city\n1;Ann;Oslo\n2;Bob;Porto, PT\n3;<Cy>;Lisbon");
  EXPECT_EQ(Stored(DT("Delimiter")), DT(";"));
  EXPECT_EQ(StoredInt(DT("Delimit")), 0);
  EXPECT_EQ(StoredInt(DT("Header")), 1);

  // Tab and pipe chosen from the list.
  EXPECT_EQ(Export(false, Choose("tab.txt", 3,
                                 [](CExportPanel& panel) {
                                   Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->SetValue("Tab Delimited");
                                   Find<wxCheckBox>(panel, IDC_EXPORT_HEADER)->SetValue(false);
                                 })),
            1);
  EXPECT_EQ(Read("tab.txt"), "1\tAnn\tOslo\n2\tBob\tPorto, PT\n3\t<Cy>\tLisbon");
  EXPECT_EQ(Export(false,
                   Choose("pipe", 3,
                          [](CExportPanel& panel) { Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->SetSelection(1); })),
            1);
  EXPECT_EQ(Read("pipe.csv"), "1|Ann|Oslo\n2|Bob|Porto, PT\n3|<Cy>|Lisbon");
}

TEST_F(ExportGuiTest, SelectionOfTwoCellsApartGivesEmptyFieldsBetweenThem) {
  m_grid->SetCellState(2, 0, m_grid->GetCellState(2, 0) | GVIS_SELECTED);
  m_grid->SetCellState(2, 2, m_grid->GetCellState(2, 2) | GVIS_SELECTED);
  EXPECT_EQ(Export(true, Choose("sel.csv", 0,
                                [](CExportPanel& panel) {
                                  EXPECT_FALSE(Find<wxCheckBox>(panel, IDC_EXPORT_HEADER)->IsEnabled());
                                  Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->SetValue("Pipe Delimited");
                                })),
            1);
  EXPECT_EQ(Read("sel.csv"), "2||Porto, PT");
  EXPECT_EQ(m_trace, "Exporting selection ...\r\n");

  // The XML file type only names the file: same content, .xml name.
  EXPECT_EQ(Export(true, Choose("sel", 2)), 1);
  EXPECT_EQ(Read("sel.xml"), "2||Porto, PT");

  m_grid->ClearSelection();
  EXPECT_EQ(Export(true, Choose("none.csv")), 0);
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("none.csv")));
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], kNoSelectionText);
}

TEST_F(ExportGuiTest, BareNamesGetAnExtensionWithoutReplacingFilesUnasked) {
  // An existing file picked without an extension keeps its name.
  std::ofstream(m_folder.File("data")) << "old";
  EXPECT_EQ(Export(false, Choose("data")), 1);
  EXPECT_EQ(Read("data"), "id,name,city\n1,Ann,Oslo\n2,Bob,\"Porto, PT\"\n3,<Cy>,Lisbon");
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("data.csv")));

  // A file only the added extension names is replaced when the user agrees.
  std::ofstream(m_folder.File("report.csv")) << "old";
  m_ui.answer = kIdNo;
  EXPECT_EQ(Export(false, Choose("report")), 0);
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(ToUtf8(m_ui.texts[0]), m_folder.File("report.csv") + " already exists.\r\nDo you want to replace it?");
  EXPECT_EQ(Read("report.csv"), "old");
  m_ui.answer = kIdYes;
  EXPECT_EQ(Export(false, Choose("report")), 1);
  EXPECT_EQ(Read("report.csv").substr(0, 13), "id,name,city\n");
}

TEST_F(ExportGuiTest, CancelWritesAndStoresNothing) {
  EXPECT_EQ(Export(false,
                   [](CExportDlg&, CExportPanel& panel) {
                     Find<wxComboBox>(panel, IDC_EXPORT_DELIMITER)->SetValue(";");
                     return static_cast<int>(wxID_CANCEL);
                   }),
            0);
  EXPECT_TRUE(m_hookRan);
  EXPECT_EQ(Stored(DT("Delimiter")), DT("<missing>"));
  EXPECT_EQ(m_trace, "");
}

TEST_F(ExportGuiTest, FilesThatCannotBeWrittenShowTheFileMessage) {
  EXPECT_EQ(Export(false, Choose("missing/out.csv")), 0);
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(ToUtf8(m_ui.texts[0]), "File " + m_folder.File("missing/out.csv") + " All or part of the path is invalid.");
  EXPECT_EQ(m_trace, "");

  // Root writes into read-only folders; /sys still refuses to create files.
  m_ui.texts.clear();
  EXPECT_EQ(Export(false,
                   [](CExportDlg& dlg, CExportPanel&) {
                     dlg.SetChosenFile(DT("/sys/dossel-export-test.csv"), 0);
                     return static_cast<int>(wxID_OK);
                   }),
            0);
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], DT("File /sys/dossel-export-test.csv The file could not be accessed."));

  m_ui.texts.clear();
  EXPECT_EQ(Export(false,
                   [](CExportDlg& dlg, CExportPanel&) {
                     dlg.SetChosenFile(DT("/dev/full"), 0);
                     return static_cast<int>(wxID_OK);
                   }),
            0);
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], DT("File /dev/full The disk is full."));
  EXPECT_EQ(m_trace, "Exporting results ...\r\n");
}

TEST_F(ExportGuiTest, GridBeingFilledIsNotRead) {
  m_grid->BeginFill();
  EXPECT_EQ(Export(false, Choose("filling.csv")), 0);
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("filling.csv")));
  m_grid->EndFill();
  EXPECT_GT(Export(false, Choose("filled.csv")), 0);
}

// Closes the first modal export dialog after looking at its panel.
class ExportDialogCloser : public wxTimer {
 public:
  ExportDialogCloser() { Start(50); }
  void Notify() override {
    CExportDlg* dlg = CExportDlg::GetRunning();
    CExportPanel* panel = dlg ? dlg->GetPanel() : nullptr;
    if (!panel || !dlg->IsModal() || ++m_ticks < 4) return;
    title = dlg->GetMessage();
    panelShown = panel->IsShownOnScreen();
    auto* list = dynamic_cast<wxComboBox*>(panel->FindWindow(IDC_EXPORT_DELIMITER));
    for (unsigned i = 0; list && i < list->GetCount(); ++i) items.push_back(list->GetString(i));
    auto* header = dynamic_cast<wxCheckBox*>(panel->FindWindow(IDC_EXPORT_HEADER));
    headerEnabled = header && header->IsEnabled();
    tagLabel = panel->FindWindow(IDC_EXPORT_TAG) ? panel->FindWindow(IDC_EXPORT_TAG)->GetLabel() : "";
    dlg->EndModal(wxID_CANCEL);
    Stop();
  }
  wxString title, tagLabel;
  bool panelShown = false, headerEnabled = true;
  std::vector<wxString> items;

 private:
  int m_ticks = 0;
};

TEST_F(ExportGuiTest, RealFileDialogShowsTheOptionsPanel) {
  ExportDialogCloser closer;
  EXPECT_EQ(ExportResults(m_frame, *m_grid, true), 0);
  EXPECT_EQ(closer.title, "Save Selection As");
  EXPECT_TRUE(closer.panelShown);
  EXPECT_EQ(closer.items, (std::vector<wxString>{"Comma Delimited", "Pipe Delimited", "Tab Delimited"}));
  EXPECT_FALSE(closer.headerEnabled);
  EXPECT_EQ(closer.tagLabel, "Tag:");
  EXPECT_EQ(Stored(DT("Delimiter")), DT("<missing>"));
}

}  // namespace
}  // namespace dossel
