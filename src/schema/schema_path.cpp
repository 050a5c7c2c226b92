#include "schema/schema_path.h"

#include "schema/schema_commands.h"
#include "settings/settings_store.h"

namespace dossel::schema {
namespace {

ObjectKind KindAt(const std::array<TStringView, 4>& captions, int firstKind, TStringView caption) {
  for (size_t i = 0; i < captions.size(); ++i) {
    if (EqualsNoCase(captions[i], caption)) return static_cast<ObjectKind>(firstKind + static_cast<int>(i));
  }
  return ObjectKind::None;
}

std::vector<TString> VisibleFolders(const std::array<TStringView, 4>& captions,
                                    const std::array<TStringView, 4>& flags) {
  std::vector<TString> folders;
  for (size_t i = 0; i < captions.size(); ++i) {
    if (KeyReadInteger(HKEY_LOCAL_MACHINE, kSchemaSettingsKey, flags[i], 1) != 0) folders.emplace_back(captions[i]);
  }
  return folders;
}

}  // namespace

ObjectKind KindOfFolderCaption(TStringView caption) {
  const ObjectKind kind = KindAt(kObjectFolderCaptions, static_cast<int>(ObjectKind::UserTables), caption);
  if (kind != ObjectKind::None) return kind;
  return KindAt(kDetailFolderCaptions, static_cast<int>(ObjectKind::Columns), caption);
}

TString DatabaseCaption(const TString& name) { return name.empty() ? TString(kUnnamedDatabaseCaption) : name; }

TString JoinPath(const std::vector<TString>& captions) {
  TString path;
  for (const TString& caption : captions) path += DT("/") + caption;
  return path;
}

SchemaPath ParseCaptions(const std::vector<TString>& captions) {
  SchemaPath path;
  // Empty captions stand for nothing, as the empty pieces of a split path.
  std::vector<TString> pieces;
  for (const TString& caption : captions) {
    if (!caption.empty()) pieces.push_back(caption);
  }
  path.depth = static_cast<int>(pieces.size());
  auto piece = [&pieces](int depth) {
    return depth <= static_cast<int>(pieces.size()) ? pieces[depth - 1] : TString();
  };
  path.computer = piece(kRootDepth);
  path.database = piece(kDatabaseDepth);
  if (path.database == kUnnamedDatabaseCaption) path.database.clear();
  path.object = piece(kObjectDepth);
  path.subobject = piece(kEntryDepth);
  // The object folder's caption says what kind the object is, until a
  // detail folder below it says more.
  if (path.depth >= kObjectFolderDepth) path.kind = KindOfFolderCaption(piece(kObjectFolderDepth));
  if (path.depth >= kDetailFolderDepth) path.kind = KindOfFolderCaption(piece(kDetailFolderDepth));
  return path;
}

std::vector<TString> VisibleObjectFolders() { return VisibleFolders(kObjectFolderCaptions, kObjectFolderFlags); }
std::vector<TString> VisibleDetailFolders() { return VisibleFolders(kDetailFolderCaptions, kDetailFolderFlags); }

}  // namespace dossel::schema
