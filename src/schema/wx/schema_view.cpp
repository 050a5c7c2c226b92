#include "schema/wx/schema_view.h"

#include <wx/fontdlg.h>
#include <wx/sizer.h>
#include <wx/wupdlock.h>

#include "app/edit_pane.h"
#include "app/edition.h"
#include "platform/system.h"
#include "platform/wx/log_font_wx.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "res/images/images.h"
#include "schema/schema_expansion.h"
#include "session/session.h"
#include "settings/wx/font_wx.h"

using namespace dossel;
using namespace dossel::schema;

namespace {

constexpr TStringView kFontKey = DT("Software\\Harlune\\Dossel\\Schema\\Font");
// A placeholder's caption: one space, only there to make its parent expandable.
constexpr const char* kPlaceholderCaption = " ";
// The child a node shows while its children are read.
constexpr const char* kReadingCaption = "Reading...";

// The data a node keeps beyond its caption.
class CSchemaItemData : public wxTreeItemData {
 public:
  explicit CSchemaItemData(const SchemaEntry& entry) : m_catalogName(entry.catalogName), m_owner(entry.owner) {}
  const TString& CatalogName() const { return m_catalogName; }
  const TString& Owner() const { return m_owner; }

 private:
  TString m_catalogName;
  TString m_owner;
};

// What a node from the catalog keeps beyond its caption; null for others.
const CSchemaItemData* ItemDataOf(const wxTreeCtrl* tree, const wxTreeItemId& item) {
  return item.IsOk() ? dynamic_cast<const CSchemaItemData*>(tree->GetItemData(item)) : nullptr;
}

// A placeholder or "Reading..." child: stands in for children to come.
class CStandInData : public wxTreeItemData {};

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

int CSchemaView::ImageOf(ChildKind kind) {
  switch (kind) {
    case ChildKind::Database:
      return kDatabaseImage;
    case ChildKind::Folder:
      return kFolderImage;
    case ChildKind::View:
      return kViewImage;
    case ChildKind::Procedure:
      return kProcedureImage;
    case ChildKind::Column:
      return kColumnImage;
    case ChildKind::Index:
      return kIndexImage;
    case ChildKind::Constraint:
      return kConstraintImage;
    case ChildKind::Trigger:
      return kTriggerImage;
    default:
      return kTableImage;
  }
}

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
  m_tree->Bind(wxEVT_TREE_DELETE_ITEM, &CSchemaView::OnItemDeleted, this);
  m_tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, &CSchemaView::OnItemActivated, this);
  m_tree->Bind(wxEVT_TREE_END_LABEL_EDIT, &CSchemaView::OnEndLabelEdit, this);
  m_tree->Bind(wxEVT_RIGHT_DOWN, &CSchemaView::OnRightDown, this);
  m_tree->Bind(wxEVT_RIGHT_UP, &CSchemaView::OnRightUp, this);
  m_tree->Bind(wxEVT_TREE_ITEM_MENU, &CSchemaView::OnItemMenu, this);
  Bind(wxEVT_MENU, &CSchemaView::OnSchemaCommand, this, res::ToWxId(res::ID_SCHEMA_OPEN),
       res::ToWxId(res::ID_SCRIPT_AS_EXECUTE));
  // Delete is always offered, as the pane's other items are. The handheld
  // numbers it as the desktop numbers Disconnect, whose rule in the frame
  // (only while connected) would otherwise answer for it.
  Bind(
      wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); }, res::ToWxId(Edition().schemaDeleteId));
  OnInitialUpdate();
}

// The tree sends its deletions while it is destroyed, after this pane's members.
CSchemaView::~CSchemaView() { m_tree->Unbind(wxEVT_TREE_DELETE_ITEM, &CSchemaView::OnItemDeleted, this); }

void CSchemaView::OnInitialUpdate() {
  m_tree->DeleteAllItems();
  m_pendingReads.clear();
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
  if (path.depth < kObjectDepth) return;
  // A caption "owner.name" may also be a name with a dot: the object's node
  // knows which.
  wxTreeItemId object = item;
  for (int depth = path.depth; depth > kObjectDepth; --depth) object = m_tree->GetItemParent(object);
  if (const CSchemaItemData* data = ItemDataOf(m_tree, object); data && !data->Owner().empty()) {
    path.owner = data->Owner();
    path.object = data->CatalogName();
  }
}

TString CSchemaView::GetCatalogName(const wxTreeItemId& item) const {
  const CSchemaItemData* data = ItemDataOf(m_tree, item);
  return data ? data->CatalogName() : TString();
}

// ---- expansion ----

void CSchemaView::OnItemExpanding(wxTreeEvent& event) {
  const wxTreeItemId item = event.GetItem();
  wxWindowUpdateLocker noUpdates(m_tree);
  DeleteChildrenOf(item);
  // An earlier read for this node is no longer wanted.
  for (auto at = m_pendingReads.begin(); at != m_pendingReads.end();)
    at = at->second == item ? m_pendingReads.erase(at) : std::next(at);
  SchemaPath path;
  ParsePath(item, path);
  const uint64_t read = ++m_nLastRead;
  const std::optional<ExpandedChildren> now =
      LoadChildrenOf(m_pHost->Session(), path, m_askOwner.Token(),
                     [this, read](ExpandedChildren children) { OnChildrenRead(read, std::move(children)); });
  if (!now) {
    m_pendingReads[read] = item;
    m_tree->AppendItem(item, kReadingCaption, kFolderImage, kOpenFolderImage, new CStandInData);
    return;
  }
  if (!InsertChildren(item, *now)) {
    // Refused, but still expandable: the next try may find a connection.
    AddPlaceholder(item);
    event.Veto();
  }
  m_tree->SortChildren(item);
}

void CSchemaView::OnChildrenRead(uint64_t read, ExpandedChildren children) {
  const auto found = m_pendingReads.find(read);
  if (found == m_pendingReads.end()) return;
  const wxTreeItemId item = found->second;
  m_pendingReads.erase(found);
  wxWindowUpdateLocker noUpdates(m_tree);
  DeleteChildrenOf(item);
  if (!InsertChildren(item, children)) {
    AddPlaceholder(item);
    m_tree->Collapse(item);
    return;
  }
  m_tree->SortChildren(item);
}

void CSchemaView::OnItemDeleted(wxTreeEvent& event) {
  event.Skip();
  for (auto at = m_pendingReads.begin(); at != m_pendingReads.end();)
    at = at->second == event.GetItem() ? m_pendingReads.erase(at) : std::next(at);
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

bool CSchemaView::InsertChildren(const wxTreeItemId& item, const ExpandedChildren& children) {
  if (!children.ok) return false;
  const int image = ImageOf(children.kind);
  const int selectedImage = children.kind == ChildKind::Folder ? kOpenFolderImage : image;
  for (const SchemaEntry& entry : children.entries) InsertNode(item, entry, image, selectedImage);
  return true;
}

bool CSchemaView::IsStandIn(const wxTreeItemId& item) const {
  return item.IsOk() && dynamic_cast<CStandInData*>(m_tree->GetItemData(item)) != nullptr;
}

// Every node the loaders give gets a placeholder, leaves too.
wxTreeItemId CSchemaView::InsertNode(const wxTreeItemId& parent, const SchemaEntry& entry, int image,
                                     int selectedImage) {
  wxTreeItemData* data = entry.catalogName.empty() ? nullptr : new CSchemaItemData(entry);
  const wxTreeItemId item = m_tree->AppendItem(parent, ToWx(entry.caption), image, selectedImage, data);
  AddPlaceholder(item);
  return item;
}

void CSchemaView::AddPlaceholder(const wxTreeItemId& item, int image, int selectedImage) {
  m_tree->AppendItem(item, kPlaceholderCaption, image, selectedImage, new CStandInData);
}
