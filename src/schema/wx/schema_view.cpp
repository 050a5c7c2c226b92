#include "schema/wx/schema_view.h"

#include <wx/fontdlg.h>
#include <wx/sizer.h>
#include <wx/wupdlock.h>

#include "app/edit_pane.h"
#include "app/edition.h"
#include "app/pane_appender.h"
#include "platform/system.h"
#include "platform/wx/log_font_wx.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "res/images/images.h"
#include "session/session.h"
#include "settings/wx/font_wx.h"

using namespace dossel;
using namespace dossel::schema;

namespace {

constexpr TStringView kFontKey = DT("Software\\Harlune\\Dossel\\Schema\\Font");
// A placeholder's caption: one space, only there to make its parent expandable.
constexpr const char* kPlaceholderCaption = " ";

// The data a node keeps beyond its caption.
class CSchemaItemData : public wxTreeItemData {
 public:
  explicit CSchemaItemData(const TString& catalogName) : m_catalogName(catalogName) {}
  const TString& CatalogName() const { return m_catalogName; }

 private:
  TString m_catalogName;
};

// The images by their position in the list; the positions the tree does not
// use still hold an image, so the numbers stay those of the bitmap.
std::unique_ptr<wxImageList> CreateImages() {
  const char* const* const kImages[] = {
      tree_computer_xpm, tree_folder_xpm,      tree_folder_open_xpm, tree_database_xpm, tree_table_xpm,
      tree_view_xpm,     tree_procedure_xpm,   tree_column_xpm,      tree_index_xpm,    tree_system_table_xpm,
      tree_trigger_xpm,  tree_primary_key_xpm, tree_foreign_key_xpm, tree_folder_xpm,   tree_constraint_xpm,
  };
  auto images = std::make_unique<wxImageList>(16, 16, true, static_cast<int>(std::size(kImages)));
  for (const char* const* xpm : kImages) images->Add(wxBitmap(xpm));
  return images;
}

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CSchemaTree, wxTreeCtrl);

CSchemaTree::CSchemaTree(wxWindow* parent, long style)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, style) {}

int CSchemaTree::OnCompareItems(const wxTreeItemId& first, const wxTreeItemId& second) {
  return GetItemText(first).CmpNoCase(GetItemText(second));
}

CSchemaView::CSchemaView(wxWindow* parent, int id, IPaneHost* host)
    : CPane(parent, id),
      m_pHost(host),
      m_tree(new CSchemaTree(this,
                             wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_EDIT_LABELS | wxTR_SINGLE | wxBORDER_SUNKEN)),
      m_images(CreateImages()) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(m_tree, 1, wxEXPAND);
  SetSizer(sizer);
  m_tree->SetImageList(m_images.get());
  if (CreatePaneFont(kFontKey, DesktopGridFont(), m_font)) m_tree->SetFont(m_font);

  m_tree->Bind(wxEVT_TREE_ITEM_EXPANDING, &CSchemaView::OnItemExpanding, this);
  m_tree->Bind(wxEVT_TREE_ITEM_COLLAPSING, &CSchemaView::OnItemCollapsing, this);
  m_tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, &CSchemaView::OnItemActivated, this);
  m_tree->Bind(wxEVT_TREE_END_LABEL_EDIT, &CSchemaView::OnEndLabelEdit, this);
  m_tree->Bind(wxEVT_RIGHT_DOWN, &CSchemaView::OnRightDown, this);
  m_tree->Bind(wxEVT_RIGHT_UP, &CSchemaView::OnRightUp, this);
  m_tree->Bind(wxEVT_TREE_ITEM_MENU, &CSchemaView::OnItemMenu, this);
  Bind(wxEVT_MENU, &CSchemaView::OnSchemaCommand, this, res::ToWxId(res::ID_SCHEMA_OPEN),
       res::ToWxId(res::ID_SCRIPT_AS_EXECUTE));
  OnInitialUpdate();
}

void CSchemaView::OnInitialUpdate() {
  m_tree->DeleteAllItems();
  const TString caption = *Edition().schemaRootCaption ? TString(Edition().schemaRootCaption) : GetComputerName();
  const wxTreeItemId root = m_tree->AddRoot(ToWx(caption), kRootImage, kRootImage);
  AddPlaceholder(root, kDatabaseImage, kDatabaseImage);
}

void CSchemaView::ChooseFont() {
  LOGFONT record = LogFontFromFont(m_font.IsOk() ? m_font : m_tree->GetFont());
  if (!ChooseFontRecord(this, record)) return;
  wxFont font;
  if (!ChangeFontSetting(kFontKey, record, font)) return;
  m_font = font;
  m_tree->SetFont(m_font);
}

// ---- paths ----

std::vector<TString> CSchemaView::CaptionsOf(const wxTreeItemId& item) const {
  std::vector<TString> captions;
  for (wxTreeItemId at = item; at.IsOk(); at = m_tree->GetItemParent(at))
    captions.insert(captions.begin(), FromWx(m_tree->GetItemText(at)));
  return captions;
}

TString CSchemaView::GetPathFromItem(const wxTreeItemId& item) const { return JoinPath(CaptionsOf(item)); }

void CSchemaView::ParsePath(const wxTreeItemId& item, SchemaPath& path) const {
  path = ParseCaptions(CaptionsOf(item));
}

TString CSchemaView::GetCatalogName(const wxTreeItemId& item) const {
  const auto* data = item.IsOk() ? dynamic_cast<CSchemaItemData*>(m_tree->GetItemData(item)) : nullptr;
  return data ? data->CatalogName() : TString();
}

// ---- expansion ----

void CSchemaView::OnItemExpanding(wxTreeEvent& event) {
  const wxTreeItemId item = event.GetItem();
  wxWindowUpdateLocker noUpdates(m_tree);
  DeleteChildrenOf(item);
  if (!LoadChildren(item)) {
    // Refused, but still expandable: the next try may find a connection.
    AddPlaceholder(item);
    event.Veto();
  }
  m_tree->SortChildren(item);
}

void CSchemaView::OnItemCollapsing(wxTreeEvent& event) {
  const wxTreeItemId item = event.GetItem();
  if (m_tree->GetChildrenCount(item, false) == 0) AddPlaceholder(item);
  m_tree->SortChildren(item);
}

void CSchemaView::DeleteChildrenOf(const wxTreeItemId& item) {
  const wxTreeItemId selected = m_tree->GetSelection();
  for (wxTreeItemId at = selected; at.IsOk(); at = m_tree->GetItemParent(at)) {
    if (at != item && m_tree->GetItemParent(at) == item) {
      m_tree->SelectItem(item);
      break;
    }
  }
  m_tree->DeleteChildren(item);
}

bool CSchemaView::LoadChildren(const wxTreeItemId& item) {
  SchemaPath path;
  ParsePath(item, path);
  switch (path.depth) {
    case kRootDepth:
      return LoadDatabases(item);
    case kDatabaseDepth:
      LoadFolders(item, VisibleObjectFolders());
      return true;
    case kObjectFolderDepth:
      if (path.kind == ObjectKind::UserTables) return LoadUserTables(item, path);
      return LoadObjects(item, path.kind);
    case kObjectDepth:
      LoadFolders(item, VisibleDetailFolders());
      return true;
    case kDetailFolderDepth:
      return LoadDetails(item, path);
    default:
      return true;
  }
}

LoadedChildren CSchemaView::ReadCatalog(const std::function<LoadedChildren(db::CDbConnection&)>& read) {
  session::CSession& session = m_pHost->Session();
  if (!session.IsConnected()) return LoadedChildren{};
  if (session.IsExecuting()) {
    // The connection's thread is busy with the run until it ends.
    AppendTrace(DT("The schema cannot be read while a query runs.\r\n"));
    return LoadedChildren{};
  }
  LoadedChildren loaded;
  session.CallOnConnection([&](db::CDbConnection& connection) { loaded = read(connection); });
  return loaded;
}

bool CSchemaView::LoadDatabases(const wxTreeItemId& item) {
  session::CSession& session = m_pHost->Session();
  const DbmsFamily family = FamilyOf(session.GetDbmsName(), session.IsTransactSql());
  const TString current = session.GetDatabaseName();
  std::optional<TString> selected = current;
  const LoadedChildren loaded = ReadCatalog([&](db::CDbConnection& connection) {
    LoadedChildren databases = schema::LoadDatabases(connection, family, current);
    if (databases.ok && family == DbmsFamily::TransactSql) selected = session.ReadCurrentDatabase();
    return databases;
  });
  if (!loaded.ok) {
    if (!session.IsExecuting()) AppendTrace(DT("Unexpected Error.\r\n"));
    return false;
  }
  InsertEntries(item, loaded, kDatabaseImage);
  if (selected)
    session.SetCurrentDatabaseName(*selected);
  else
    AppendTrace(DT("Failed to select database.\r\n"));
  return true;
}

void CSchemaView::LoadFolders(const wxTreeItemId& item, const std::vector<TString>& captions) {
  for (const TString& caption : captions) InsertNode(item, caption, kFolderImage, kOpenFolderImage, true);
}

bool CSchemaView::LoadUserTables(const wxTreeItemId& item, const SchemaPath& path) {
  session::CSession& session = m_pHost->Session();
  const bool switchDatabase = !EqualsNoCase(path.database, session.GetDatabaseName());
  const LoadedChildren loaded = ReadCatalog([&](db::CDbConnection& connection) {
    if (switchDatabase)
      connection.ExecuteAndDiscard(UseDatabaseStatement(path.database, connection.GetIdentifierQuoteChar()));
    return LoadTables(connection, DT("'TABLE'"));
  });
  // The switch was asked for whether or not the tables could be read.
  if (switchDatabase && session.IsConnected() && !session.IsExecuting()) session.SetCurrentDatabaseName(path.database);
  return InsertLoaded(item, loaded, kTableImage);
}

bool CSchemaView::LoadObjects(const wxTreeItemId& item, ObjectKind kind) {
  LoadedChildren loaded;
  int image = kTableImage;
  switch (kind) {
    case ObjectKind::SystemTables:
      loaded = ReadCatalog([](db::CDbConnection& c) { return LoadTables(c, DT("'SYSTEM TABLE'")); });
      break;
    case ObjectKind::Views:
      loaded = ReadCatalog([](db::CDbConnection& c) { return LoadTables(c, DT("'VIEW'")); });
      image = kViewImage;
      break;
    case ObjectKind::StoredProcedures:
      loaded = ReadCatalog([](db::CDbConnection& c) { return LoadProcedures(c); });
      image = kProcedureImage;
      break;
    default:
      return true;
  }
  return InsertLoaded(item, loaded, image);
}

bool CSchemaView::LoadDetails(const wxTreeItemId& item, const SchemaPath& path) {
  session::CSession& session = m_pHost->Session();
  const TString& table = path.object;
  LoadedChildren loaded;
  int image = kColumnImage;
  switch (path.kind) {
    case ObjectKind::Columns: {
      const TString dbms = session.GetDbmsName();
      loaded = ReadCatalog([&](db::CDbConnection& c) { return LoadColumns(c, table, dbms); });
      break;
    }
    case ObjectKind::Indexes:
      loaded = ReadCatalog([&](db::CDbConnection& c) { return LoadIndexes(c, table); });
      image = kIndexImage;
      break;
    case ObjectKind::Constraints:
      loaded = ReadCatalog([&](db::CDbConnection& c) { return LoadConstraints(c, table); });
      image = kConstraintImage;
      break;
    case ObjectKind::Triggers: {
      const DbmsFamily family = FamilyOf(session.GetDbmsName(), session.IsTransactSql());
      loaded = ReadCatalog([&](db::CDbConnection& c) { return LoadTriggers(c, family, table); });
      image = kTriggerImage;
      break;
    }
    default:
      return true;
  }
  return InsertLoaded(item, loaded, image);
}

bool CSchemaView::InsertLoaded(const wxTreeItemId& parent, const LoadedChildren& loaded, int image) {
  if (!loaded.ok) return false;
  InsertEntries(parent, loaded, image);
  return true;
}

void CSchemaView::InsertEntries(const wxTreeItemId& parent, const LoadedChildren& loaded, int image) {
  for (const SchemaEntry& entry : loaded.entries)
    InsertNode(parent, entry.caption, image, image, true, entry.catalogName);
}

wxTreeItemId CSchemaView::InsertNode(const wxTreeItemId& parent, const TString& caption, int image, int selectedImage,
                                     bool withPlaceholder, const TString& catalogName) {
  wxTreeItemData* data = catalogName.empty() ? nullptr : new CSchemaItemData(catalogName);
  const wxTreeItemId item = m_tree->AppendItem(parent, ToWx(caption), image, selectedImage, data);
  if (withPlaceholder) AddPlaceholder(item);
  return item;
}

void CSchemaView::AddPlaceholder(const wxTreeItemId& item, int image, int selectedImage) {
  m_tree->AppendItem(item, kPlaceholderCaption, image, selectedImage);
}
