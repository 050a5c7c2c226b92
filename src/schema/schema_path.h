#pragma once
// Where an item of the schema tree lies: the captions from the root down to
// it, and what they mean (database, object folder, object, detail folder,
// entry). Also the folder captions themselves and the flags that hide them.
//
// A caption may contain "/" (the SQLite driver names its database by the
// file's path), so a path is parsed from the list of captions the tree
// gives, never by splitting the joined text.
//
// Pure functions of their arguments, except the flag readers, which read the
// settings store; any thread may call them.

#include <array>
#include <vector>

#include "platform/text.h"
#include "schema/script_texts.h"

namespace dossel::schema {

// Levels of the tree, as the number of captions in a path.
enum SchemaDepth : int {
  kRootDepth = 1,
  kDatabaseDepth = 2,
  kObjectFolderDepth = 3,
  kObjectDepth = 4,
  kDetailFolderDepth = 5,
  kEntryDepth = 6,
};

struct SchemaPath {
  TString computer;
  TString database;   // empty for the database captioned kUnnamedDatabaseCaption
  TString object;     // table, view or procedure name
  TString subobject;  // column caption, index, key or trigger name
  ObjectKind kind = ObjectKind::None;
  int depth = 0;
  // The schema of the object, where the tree names it (its caption is then
  // "owner.object"; the tree, not the caption, gives both parts).
  TString owner;
};

// The caption of a database whose name the driver leaves empty: an empty
// caption counts for nothing in a path, so the node would read as the root.
// A database really so named is read as the unnamed one, which no statement
// switches to: its folders show the connection's current database.
inline constexpr TStringView kUnnamedDatabaseCaption = DT("(no name)");

// The caption of the database `name`.
TString DatabaseCaption(const TString& name);

// The captions of the object folders and of the detail folders, in the order
// their kinds are numbered.
inline constexpr std::array<TStringView, 4> kObjectFolderCaptions = {DT("User Tables"), DT("System Tables"),
                                                                     DT("Views"), DT("Stored Procedures")};
inline constexpr std::array<TStringView, 4> kDetailFolderCaptions = {DT("Columns"), DT("Indexes"), DT("Constraints"),
                                                                     DT("Triggers")};

// The kind a folder caption stands for (compared without regard to case);
// None for any other caption.
ObjectKind KindOfFolderCaption(TStringView caption);

// "/" and the captions joined by "/": "/HOST/main/User Tables/orders".
TString JoinPath(const std::vector<TString>& captions);

// The path of an item from its captions, root first. The database captioned
// kUnnamedDatabaseCaption is the database with the empty name.
SchemaPath ParseCaptions(const std::vector<TString>& captions);

// The settings that show or hide each folder, under the schema key.
inline constexpr std::array<TStringView, 4> kObjectFolderFlags = {DT("UserTable"), DT("SystemTable"), DT("View"),
                                                                  DT("Procedure")};
inline constexpr std::array<TStringView, 4> kDetailFolderFlags = {DT("Column"), DT("Index"), DT("Constraint"),
                                                                  DT("Trigger")};

// The folder captions whose flag is not 0 now, in list order.
std::vector<TString> VisibleObjectFolders();
std::vector<TString> VisibleDetailFolders();

}  // namespace dossel::schema
