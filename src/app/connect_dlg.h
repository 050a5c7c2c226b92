#pragma once
// The Connect dialog: a data-source name (with the remembered ones offered in
// a sorted drop-down), the database file, the lock time-out and the Step API
// flag. Picking or typing a remembered name fills the other fields from its
// stored values, and OK fills them first if that has not happened, so that
// it never saves over stored values the user did not see; Delete forgets
// the name. The Step API box is checked wherever no
// stored "StepAPI" value says otherwise (a new name, a name stored without
// one): only with it does the SQLite driver hand over rows as it reads them.
// The value members are set before and read after ShowModal, as the
// framework's data exchange would.
//
// The dialog itself does not connect. RunConnectDialog performs its OK the way
// the session controller wants it: the values are remembered first (so a
// failed connect still keeps them), then the connect string
// "DSN=...;Database=...;Timeout=...;StepAPI=..." (without a key whose field
// is empty) goes to the caller's connect callback, which is where the
// controller's Connect plugs in.
//
// UI thread only.

#include <wx/dialog.h>

#include <cstdint>
#include <functional>

#include "platform/text.h"
#include "settings/dsn_settings.h"

class wxButton;
class wxCheckBox;
class wxComboBox;
class wxTextCtrl;

// Chooses a file for a dialog; true with `path` set, false when cancelled.
// The default shows the system's open-file dialog; tests install their own.
using FilePicker = std::function<bool(wxWindow* parent, dossel::TString& path)>;

// The control identifiers of the dialog in one edition, and the lock
// time-out's label, which the handheld edition words otherwise.
struct ConnectDialogIds {
  int dsn, database, browse, lockTimeout, stepApi, inMemory, deleteButton;
  const char* lockLabel;
};

// Where the dialog's controls stand in one edition, in dialog units.
struct ConnectDialogLayout {
  struct Rect {
    int x, y, w, h;
  };
  Rect dialog, dsnLabel, dsnCombo, databaseLabel, databaseEdit, browse, lockLabel, lockEdit, stepApi, inMemory, ok,
      cancel, remove;
  // Labels end right-aligned before their fields, or stand left-aligned above them.
  bool labelsAbove;
};

class CConnectDlg : public wxDialog {
 public:
  // Control ids of the dialog (the desktop's; Ids() gives this edition's).
  enum : int {
    kIdDelete = 3,
    kIdDatabase = 1040,
    kIdLockTimeout = 1044,
    kIdDsn = 1048,
    kIdBrowse = 1051,
    kIdStepApi = 1054,
    kIdInMemory = 1058,
  };

  explicit CConnectDlg(wxWindow* parent);

  static const ConnectDialogIds& DesktopIds();
  // The identifiers of this edition's dialog.
  static const ConnectDialogIds& Ids();
  static const ConnectDialogLayout& DesktopLayout();
  // The layout of this edition's dialog.
  static const ConnectDialogLayout& TemplateLayout();

  bool TransferDataToWindow() override;
  // Fails (after the framework's message for a bad number) when the lock
  // time-out is not an unsigned number; the fields before it are taken.
  bool TransferDataFromWindow() override;

  // The connect string for the current member values.
  dossel::TString BuildConnectString() const;

  void SetFilePicker(FilePicker picker) { m_filePicker = std::move(picker); }

  int m_bStepApi = dossel::kDefaultStepApi;
  dossel::TString m_strDsn;
  dossel::TString m_strDatabase;
  uint32_t m_nLockTimeout = 1000;
  int m_bInMemory = 0;

 private:
  void CreateControls();
  void OnBrowse(wxCommandEvent& event);
  void OnDsnSelected(wxCommandEvent& event);
  void OnDsnTyped(wxCommandEvent& event);
  void ShowStoredValuesOfTypedName();
  void OnInMemory(wxCommandEvent& event);
  void OnDelete(wxCommandEvent& event);
  void ShowDsnValues(const dossel::TString& name);
  void ResetFields();

  // The remembered name whose values the fields were last filled with.
  dossel::TString m_strShownDsn;
  wxComboBox* m_dsn = nullptr;
  wxTextCtrl* m_database = nullptr;
  wxButton* m_browse = nullptr;
  wxTextCtrl* m_lockTimeout = nullptr;
  wxCheckBox* m_stepApi = nullptr;
  wxCheckBox* m_inMemory = nullptr;
  FilePicker m_filePicker;
};

// "Please enter a positive integer." unless `text` is an unsigned 32-bit
// decimal number (surrounding blanks allowed).
bool ParseUnsignedNumber(const wxString& text, uint32_t& value);

// Called with the connect string built from the dialog; answers whether the
// connection was established.
using ConnectCallback = std::function<bool(const dossel::TString& connectString)>;

// Shows the dialog; on OK remembers the values under the name, builds the
// connect string and calls `connect`. False when cancelled or not connected.
// Afterwards the keyboard focus is where it was before the dialog.
bool RunConnectDialog(wxWindow* parent, const ConnectCallback& connect);

// The OK step of RunConnectDialog alone, for a dialog already confirmed.
bool ConnectWithDialogValues(const CConnectDlg& dialog, const ConnectCallback& connect);
