// What an item of the schema tree is, from the captions on its way up: the
// pieces by depth, the folder kinds, and captions that hold "/" (the SQLite
// driver names a database by its file's path).

#include <gtest/gtest.h>

#include "schema/schema_path.h"

namespace dossel::schema {
namespace {

TEST(SchemaPathTest, PiecesAndKindsByDepth) {
  const SchemaPath root = ParseCaptions({DT("HOST")});
  EXPECT_EQ(root.depth, kRootDepth);
  EXPECT_EQ(root.kind, ObjectKind::None);

  const SchemaPath folder = ParseCaptions({DT("HOST"), DT("main"), DT("views")});
  EXPECT_EQ(folder.depth, kObjectFolderDepth);
  EXPECT_EQ(folder.kind, ObjectKind::Views) << "folder captions compare without regard to case";
  EXPECT_EQ(folder.object, DT(""));

  const SchemaPath entry = ParseCaptions(
      {DT("HOST"), DT("main"), DT("User Tables"), DT("orders"), DT("Columns"), DT("code [varchar(10),Not Null]")});
  EXPECT_EQ(entry.depth, kEntryDepth);
  EXPECT_EQ(entry.computer, DT("HOST"));
  EXPECT_EQ(entry.database, DT("main"));
  EXPECT_EQ(entry.object, DT("orders"));
  EXPECT_EQ(entry.subobject, DT("code [varchar(10),Not Null]"));
  EXPECT_EQ(entry.kind, ObjectKind::Columns) << "the detail folder says more than the object folder";

  const SchemaPath procedure = ParseCaptions({DT("HOST"), DT("main"), DT("Stored Procedures"), DT("p")});
  EXPECT_EQ(procedure.kind, ObjectKind::StoredProcedures);
  EXPECT_EQ(ParseCaptions({DT("HOST"), DT("main"), DT("Other")}).kind, ObjectKind::None);
}

TEST(SchemaPathTest, CaptionsWithSlashesStayWhole) {
  const std::vector<TString> captions = {DT("HOST"), DT("/data/shop.db"), DT("User Tables"),
                                         DT("a/b"),  DT("Indexes"),       DT("ix/1")};
  const SchemaPath path = ParseCaptions(captions);
  EXPECT_EQ(path.depth, kEntryDepth);
  EXPECT_EQ(path.database, DT("/data/shop.db"));
  EXPECT_EQ(path.object, DT("a/b"));
  EXPECT_EQ(path.subobject, DT("ix/1"));
  EXPECT_EQ(path.kind, ObjectKind::Indexes);
  // The joined text is the plain one, for captions with or without "/".
  EXPECT_EQ(JoinPath(captions), DT("/HOST//data/shop.db/User Tables/a/b/Indexes/ix/1"));
  EXPECT_EQ(JoinPath({DT("HOST"), DT("main"), DT("User Tables"), DT("orders"), DT("Columns")}),
            DT("/HOST/main/User Tables/orders/Columns"));
}

TEST(SchemaPathTest, ADatabaseWithoutANameKeepsItsPlaceInThePath) {
  EXPECT_EQ(DatabaseCaption(DT("")), kUnnamedDatabaseCaption);
  EXPECT_EQ(DatabaseCaption(DT("shop")), DT("shop"));
  const SchemaPath database = ParseCaptions({DT("HOST"), DatabaseCaption(DT(""))});
  EXPECT_EQ(database.depth, kDatabaseDepth) << "not the root";
  EXPECT_EQ(database.database, DT(""));
  const SchemaPath table = ParseCaptions({DT("HOST"), DatabaseCaption(DT("")), DT("User Tables"), DT("orders")});
  EXPECT_EQ(table.depth, kObjectDepth);
  EXPECT_EQ(table.database, DT(""));
  EXPECT_EQ(table.object, DT("orders"));
  EXPECT_EQ(table.kind, ObjectKind::UserTables);
  // Only at the database's place: a table may have that caption.
  EXPECT_EQ(ParseCaptions({DT("HOST"), DT("main"), DT("User Tables"), TString(kUnnamedDatabaseCaption)}).object,
            kUnnamedDatabaseCaption);
}

}  // namespace
}  // namespace dossel::schema
