#pragma once
// The schema pane: a tree of the connected data source's databases, their
// object folders, objects, detail folders and entries. Nothing is loaded in
// advance: a node is filled anew at every expansion, from catalog reads made
// on the session's connection thread, so the tree shows the catalog as of
// that moment. Its context menu and double click write scripts of the
// selected item into the query pane (schema_view_commands.cpp).
//
// UI thread only.

#include <wx/font.h>
#include <wx/imaglist.h>
#include <wx/treectrl.h>

#include <memory>
#include <vector>

#include "app/pane.h"
#include "platform/text.h"
#include "schema/schema_commands.h"
#include "schema/schema_expansion.h"
#include "schema/schema_path.h"

// The tree control, sorting children alphabetically without regard to case.
class CSchemaTree : public wxTreeCtrl {
 public:
  CSchemaTree() = default;
  CSchemaTree(wxWindow* parent, long style);
  int OnCompareItems(const wxTreeItemId& first, const wxTreeItemId& second) override;

 private:
  wxDECLARE_DYNAMIC_CLASS(CSchemaTree);
};

class CSchemaView : public CPane {
 public:
  // Positions in the tree's image list.
  enum Image : int {
    kRootImage = 0,
    kFolderImage = 1,
    kOpenFolderImage = 2,
    kDatabaseImage = 3,
    kTableImage = 4,
    kViewImage = 5,
    kProcedureImage = 6,
    kColumnImage = 7,
    kIndexImage = 8,
    kTriggerImage = 10,
    kConstraintImage = 14,
  };

  CSchemaView(wxWindow* parent, int id, IPaneHost* host);

  wxTreeCtrl* GetTree() const { return m_tree; }
  wxWindow* FocusWindow() override { return m_tree; }
  bool CanChooseFont() override { return true; }
  void ChooseFont() override;

  // Empties the tree down to its root, the computer (program start, File New).
  void OnInitialUpdate();

  // "/" and the captions from the root down to `item`, joined by "/".
  dossel::TString GetPathFromItem(const wxTreeItemId& item) const;
  // What `item` is, from the captions on its way up (a caption may hold "/").
  void ParsePath(const wxTreeItemId& item, dossel::schema::SchemaPath& path) const;
  // The catalog name kept with an entry (a column's name, which its caption
  // only begins with); empty when the node has none.
  dossel::TString GetCatalogName(const wxTreeItemId& item) const;

  // Runs a schema command on the selected item: "Script As", "&Open",
  // "&Edit", "&Delete".
  void RunCommand(dossel::schema::SchemaCommand command);

 private:
  std::vector<dossel::TString> CaptionsOf(const wxTreeItemId& item) const;
  static int ImageOf(dossel::schema::ChildKind kind);

  // Expansion.
  void OnItemExpanding(wxTreeEvent& event);
  void OnItemCollapsing(wxTreeEvent& event);
  // Reads the children of `item` and inserts them; false, inserting
  // nothing, when the expansion is refused.
  bool LoadChildren(const wxTreeItemId& item);
  void DeleteChildrenOf(const wxTreeItemId& item);
  wxTreeItemId InsertNode(const wxTreeItemId& parent, const dossel::TString& caption, int image, int selectedImage,
                          bool withPlaceholder, const dossel::TString& catalogName = dossel::TString());
  void AddPlaceholder(const wxTreeItemId& item, int image = kFolderImage, int selectedImage = kOpenFolderImage);

  // Commands (schema_view_commands.cpp).
  void OnRightDown(wxMouseEvent& event);
  void OnRightUp(wxMouseEvent& event);
  void OnItemMenu(wxTreeEvent& event);
  void ShowContextMenu(const wxPoint& position);
  void OnSchemaCommand(wxCommandEvent& event);
  void OnItemActivated(wxTreeEvent& event);
  void OnEndLabelEdit(wxTreeEvent& event);
  dossel::schema::ScriptTarget SelectedTarget() const;
  dossel::schema::ColumnList ReadColumnsOf(const dossel::TString& object);

  IPaneHost* m_pHost;
  CSchemaTree* m_tree;
  std::unique_ptr<wxImageList> m_images;
  wxFont m_font;
};
