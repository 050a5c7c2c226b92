#include "settings/dsn_settings.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "settings_fixture.h"

namespace dossel::test {
namespace {

using DsnSettingsTest = SettingsTest;

TEST_F(DsnSettingsTest, RemembersValuesPerName) {
  DsnSettings values = LoadDsnSettings(DT("Unknown"));
  EXPECT_EQ(values.database, DT(""));
  EXPECT_EQ(values.lockTimeout, 1000u);
  EXPECT_EQ(values.stepApi, 1) << "the step interface unless a stored value says otherwise";

  ASSERT_EQ(SaveDsnSettings(DT("N"), {DT("D"), 2500, 1}), 1);
  values = LoadDsnSettings(DT("n"));
  EXPECT_EQ(values.database, DT("D"));
  EXPECT_EQ(values.lockTimeout, 2500u);
  EXPECT_EQ(values.stepApi, 1);
  TString stored;
  KeyReadString(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\DSN\\N"), DT("DSN"), DT(""), stored);
  EXPECT_EQ(stored, DT("N"));
  EXPECT_EQ(BuildDsnConnectString(DT("N"), values), DT("DSN=N;Database=D;Timeout=2500;StepAPI=1"));

  // The largest unsigned time-out survives the signed store and prints unsigned.
  SaveDsnSettings(DT("Big"), {DT("x"), 4294967295u, 0});
  EXPECT_EQ(LoadDsnSettings(DT("Big")).lockTimeout, 4294967295u);
  EXPECT_EQ(BuildDsnConnectString(DT("Big"), LoadDsnSettings(DT("Big"))),
            DT("DSN=Big;Database=x;Timeout=4294967295;StepAPI=0"));
}

// An empty key would override what a configured data source names itself
// (a driver takes "Database=" as "no database"), so empty fields are left out.
TEST_F(DsnSettingsTest, ConnectStringLeavesOutEmptyFields) {
  EXPECT_EQ(BuildDsnConnectString(DT("Sales"), {DT(""), 1000, 0}), DT("DSN=Sales;Timeout=1000;StepAPI=0"));
  EXPECT_EQ(BuildDsnConnectString(DT(""), {DT("/data/a.db"), 300, 1}), DT("Database=/data/a.db;Timeout=300;StepAPI=1"));
  EXPECT_EQ(BuildDsnConnectString(DT(""), {}), DT("Timeout=1000;StepAPI=1"));
}

// A stored step flag is used as stored; a key without one (written by hand,
// or by an older program) gets the step interface.
TEST_F(DsnSettingsTest, AStoredStepFlagIsKeptAndAMissingOneIsOn) {
  SaveDsnSettings(DT("Off"), {DT("/data/off.db"), 1000, 0});
  EXPECT_EQ(LoadDsnSettings(DT("Off")).stepApi, 0);
  const TString path = DT("Software\\Harlune\\Dossel\\DSN\\Bare");
  KeyWriteString(HKEY_LOCAL_MACHINE, path, DT("Database"), DT("/data/bare.db"));
  const DsnSettings bare = LoadDsnSettings(DT("Bare"));
  EXPECT_EQ(bare.database, DT("/data/bare.db"));
  EXPECT_EQ(bare.stepApi, 1);
}

TEST_F(DsnSettingsTest, NameWithBackslashIsStoredDeeperAndNotListed) {
  SaveDsnSettings(DT("Plain"), {});
  SaveDsnSettings(DT("Team\\Sales"), {DT("/data/sales.db"), 1000, 0});
  EXPECT_EQ(ListDsnNames(), (std::vector<TString>{DT("Plain"), DT("Team")}));
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\DSN\\Team\\Sales")), 1);
  EXPECT_EQ(LoadDsnSettings(DT("Team\\Sales")).database, DT("/data/sales.db"));
}

TEST_F(DsnSettingsTest, DeleteRemovesOneNameAndNeverTheWholeList) {
  SaveDsnSettings(DT("One"), {});
  SaveDsnSettings(DT("Two"), {});
  SaveDsnSettings(DT("Two\\Nested"), {});
  EXPECT_EQ(DeleteDsnSettings(DT("Two")), 1);
  EXPECT_EQ(ListDsnNames(), std::vector<TString>{DT("One")});
  EXPECT_EQ(DeleteDsnSettings(DT("")), 0);
  EXPECT_EQ(DeleteDsnSettings(DT("\\")), 0);
  EXPECT_EQ(SaveDsnSettings(DT(""), {}), 0);
  EXPECT_EQ(ListDsnNames(), std::vector<TString>{DT("One")});
}

TEST_F(DsnSettingsTest, ConnectStringBracesValuesThatWouldBreakIt) {
  EXPECT_EQ(BuildDsnConnectString(DT("A"), {DT("/tmp/a;b.db"), 5, 0}),
            DT("DSN=A;Database={/tmp/a;b.db};Timeout=5;StepAPI=0"));
  EXPECT_EQ(BuildDsnConnectString(DT("A"), {DT("{x}.db"), 5, 0}), DT("DSN=A;Database={{x}}.db};Timeout=5;StepAPI=0"));
}

}  // namespace
}  // namespace dossel::test
