#pragma once
// The schema pane: a tree of the connected data source's databases, their
// object folders, objects, detail folders and entries. Nothing is loaded in
// advance: a node is filled anew at every expansion, from catalog reads asked
// of the session's connection thread (the pane never waits for them), so the
// tree shows the catalog as of that moment. Its context menu and double click write scripts of the
// selected item into the query pane (schema_view_commands.cpp).
//
// UI thread only.

#include <wx/font.h>
#include <wx/imaglist.h>
#include <wx/treectrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "app/pane.h"
#include "platform/text.h"
#include "schema/schema_commands.h"
#include "schema/schema_expansion.h"
#include "schema/schema_path.h"
#include "session/session.h"

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
  ~CSchemaView() override;

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

  // Expansion. A node whose children are read from the catalog shows a
  // "Reading..." child until the connection thread's answer comes.
  void OnItemExpanding(wxTreeEvent& event);
  void OnItemCollapsing(wxTreeEvent& event);
  void OnItemDeleted(wxTreeEvent& event);
  // The answer of read number `read`; dropped when its node has gone or
  // was expanded again meanwhile.
  void OnChildrenRead(uint64_t read, dossel::schema::ExpandedChildren children);
  // Inserts the children; false, inserting nothing, when the expansion is refused.
  bool InsertChildren(const wxTreeItemId& item, const dossel::schema::ExpandedChildren& children);
  void DeleteChildrenOf(const wxTreeItemId& item);
  // A placeholder or "Reading..." node: no catalog object, no commands.
  bool IsStandIn(const wxTreeItemId& item) const;
  wxTreeItemId InsertNode(const wxTreeItemId& parent, const dossel::schema::SchemaEntry& entry, int image,
                          int selectedImage);
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
  void WriteScript(const dossel::schema::ScriptPlan& plan, const dossel::schema::ColumnList& columns);

  IPaneHost* m_pHost;
  CSchemaTree* m_tree;
  std::unique_ptr<wxImageList> m_images;
  wxFont m_font;
  // The catalog reads asked for and not yet answered, by number, with the
  // node each fills.
  std::map<uint64_t, wxTreeItemId> m_pendingReads;
  uint64_t m_nLastRead = 0;
  // Answers the session posts after the pane has gone are dropped.
  dossel::session::CAskOwner m_askOwner;
};
