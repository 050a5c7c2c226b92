// The schema pane's script commands: their options, the two settings they
// are read from at every command, the "Delete" question, and which commands
// read the columns.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "recording_ui.h"
#include "schema/schema_commands.h"
#include "settings/settings_store.h"
#include "test_support.h"

namespace dossel::schema {
namespace {

class SchemaCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("DOSSEL_REGISTRY", m_folder.File("registry.reg").c_str(), 1);
    SetUserInterface(&m_ui);
  }
  void TearDown() override {
    SetUserInterface(nullptr);
    unsetenv("DOSSEL_REGISTRY");
  }

  static void WriteSettings(int highlight, int switchView) {
    ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kSchemaSettingsKey, kHighlightValue, highlight), 1);
    ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kSchemaSettingsKey, kSwitchViewValue, switchView), 1);
  }

  // Runs the command on table t (columns a, b), counting column reads.
  GeneratedScript Run(SchemaCommand command, ObjectKind kind = ObjectKind::UserTables) {
    const ScriptTarget target{DT("t"), DT(""), kind, std::nullopt, TString()};
    return PrepareScript(command, target, TChar('"'), [this](const ScriptTarget& read) {
      ++m_columnReads;
      m_readObject = read.object;
      return ColumnList{{DT("a"), DT("integer"), 4, 10, 0}, {DT("b"), DT("text"), -1, 65536, 1}};
    });
  }

  test::ScratchFolder m_folder;
  test::RecordingUserInterface m_ui;
  int m_columnReads = 0;
  TString m_readObject;
};

void ExpectOptions(const ScriptOptions& options, bool highlight, bool execute, bool switchPane) {
  EXPECT_EQ(options.highlight, highlight);
  EXPECT_EQ(options.execute, execute);
  EXPECT_EQ(options.switchPane, switchPane);
}

TEST_F(SchemaCommandsTest, TheCommandTable) {
  struct Row {
    int id;
    const TChar* menuText;
    Generator generator;
  };
  const Row rows[] = {{32787, DT("&Create"), Generator::Create}, {32788, DT("&Alter"), Generator::Alter},
                      {32789, DT("Dr&op"), Generator::Drop},     {32790, DT("&Select"), Generator::Select},
                      {32791, DT("&Insert"), Generator::Insert}, {32792, DT("&Update"), Generator::Update},
                      {32793, DT("&Delete"), Generator::Delete}, {32794, DT("&Execute"), Generator::Execute},
                      {32783, DT("&Open"), Generator::Select},   {32784, DT("&Edit"), Generator::Alter},
                      {32786, DT("&Delete"), Generator::Drop}};
  for (const Row& row : rows) {
    const SchemaCommandInfo* info = FindCommandById(row.id);
    ASSERT_NE(info, nullptr) << row.id;
    EXPECT_EQ(TString(info->menuText), row.menuText);
    EXPECT_EQ(info->generator, row.generator);
    EXPECT_EQ(&GetCommandInfo(info->command), info);
    EXPECT_EQ(info->asksFirst, row.id == 32786);
  }
  EXPECT_EQ(FindCommandById(32785), nullptr);
  EXPECT_EQ(FindCommandById(0), nullptr);
}

TEST_F(SchemaCommandsTest, ScriptAsFollowsTheSettingsReadAtEachCommand) {
  // Nothing stored: both default to on.
  ExpectOptions(Run(SchemaCommand::ScriptSelect).options, true, false, true);
  WriteSettings(0, 0);
  ExpectOptions(Run(SchemaCommand::ScriptSelect).options, false, false, false);
  WriteSettings(1, 0);
  ExpectOptions(Run(SchemaCommand::ScriptCreate).options, true, false, false);
  WriteSettings(0, 7);  // any value but 0 is on
  ExpectOptions(Run(SchemaCommand::ScriptExecute, ObjectKind::StoredProcedures).options, false, false, true);
  EXPECT_TRUE(m_ui.texts.empty());
}

TEST_F(SchemaCommandsTest, ObjectCommandsIgnoreTheSettings) {
  WriteSettings(0, 0);
  const auto open = Run(SchemaCommand::Open);
  EXPECT_EQ(open.text, DT("SELECT a,b \r\nFROM t;"));
  ExpectOptions(open.options, true, true, false);
  ExpectOptions(Run(SchemaCommand::Edit).options, true, false, true);
  EXPECT_EQ(Run(SchemaCommand::Edit).text, DT("ALTER TABLE t "));

  // Opening a procedure shows EXEC p; instead of running it.
  const auto procedure = Run(SchemaCommand::Open, ObjectKind::StoredProcedures);
  EXPECT_EQ(procedure.text, DT("EXEC t;"));
  ExpectOptions(procedure.options, true, false, true);
}

TEST_F(SchemaCommandsTest, DeleteAsksFirstAndOkRunsTheDrop) {
  m_ui.answer = kIdOk;
  const auto confirmed = Run(SchemaCommand::Delete);
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], DT("Are you sure?\r\nTo script only, please press Cancel."));
  EXPECT_EQ(m_ui.captions[0], DT("Delete"));
  EXPECT_EQ(m_ui.styles[0], unsigned(kMbOkCancel | kMbIconQuestion));
  EXPECT_EQ(confirmed.text, DT("DROP TABLE t;"));
  ExpectOptions(confirmed.options, true, true, false);

  m_ui.answer = kIdCancel;
  const auto declined = Run(SchemaCommand::Delete, ObjectKind::Views);
  EXPECT_EQ(m_ui.texts.size(), 2u);
  EXPECT_EQ(declined.text, DT("DROP VIEW t;"));
  ExpectOptions(declined.options, true, false, true);

  // Script As Delete is another command: no question, a DELETE text.
  EXPECT_EQ(Run(SchemaCommand::ScriptDelete).text, DT("DELETE FROM t;"));
  EXPECT_EQ(m_ui.texts.size(), 2u);
}

TEST_F(SchemaCommandsTest, ColumnsAreReadOncePerCommandAndOnlyWhenNeeded) {
  Run(SchemaCommand::ScriptDrop);
  Run(SchemaCommand::ScriptDelete);
  Run(SchemaCommand::ScriptSelect, ObjectKind::Columns);
  Run(SchemaCommand::ScriptAlter, ObjectKind::Triggers);
  EXPECT_EQ(m_columnReads, 0);
  EXPECT_EQ(Run(SchemaCommand::ScriptInsert).text, DT("INSERT INTO t (a,b) \r\nVALUES ( );"));
  EXPECT_EQ(m_columnReads, 1);
  EXPECT_EQ(m_readObject, DT("t"));
  Run(SchemaCommand::ScriptUpdate, ObjectKind::Columns);
  EXPECT_EQ(m_columnReads, 2);
}

TEST_F(SchemaCommandsTest, KindsWithoutATextStillSwitch) {
  const auto script = Run(SchemaCommand::ScriptExecute, ObjectKind::UserTables);
  EXPECT_FALSE(script.hasText);
  ExpectOptions(script.options, true, false, true);
  WriteSettings(1, 0);
  EXPECT_FALSE(Run(SchemaCommand::ScriptDrop, ObjectKind::Constraints).options.switchPane);
}

}  // namespace
}  // namespace dossel::schema
