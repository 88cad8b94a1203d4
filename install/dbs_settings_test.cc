#include "install/dbs_settings.h"

#include <gtest/gtest.h>

#include "install/install_test_fixture.h"
#include "tests/fault_platform.h"

namespace zepo::testing {
namespace {

class DbsSettingsTest : public InstallTest {
 protected:
  std::string systemIni() { return windowsFolder(ws.platform()) + "\\system.ini"; }
  void run() { AggiornaSystemIni(app, windowsFolder(ws.platform())); }
  std::optional<std::string> registryX(const char* key) { return ws.registryString(key, "X:\\"); }
};

TEST_F(DbsSettingsTest, NoValueRemovesTheEntriesAndStillMakesTheKeys) {
  run();
  EXPECT_EQ(registryX(kDbsKeyDefault), "\\\\SRV1\\criteria");
  ws.writeFile(systemIni(), "[DBS_REG_32]\r\nX=old\r\nY=keep\r\n");
  ws.writeFile(kSettings, "[DBS_REG_32]\r\nX=\r\n");
  run();
  EXPECT_EQ(ws.readFile(systemIni()), "[DBS_REG_32]\r\nY=keep\r\n");
  EXPECT_EQ(registryX(kDbsKeyUser), std::nullopt);
  EXPECT_EQ(registryX(kDbsKeyDefault), std::nullopt);

  // On a fresh workstation, with no settings file reachable at all.
  TestWorkstation fresh;
  Installer freshApp{fresh.platform(), ui};
  freshApp.frmMain.txtServer = "NOSERVER";
  AggiornaSystemIni(freshApp, windowsFolder(fresh.platform()));
  EXPECT_TRUE(fresh.registryKeyExists(kDbsKeyUser));
  EXPECT_TRUE(fresh.registryKeyExists(kDbsKeyDefault));
  EXPECT_EQ(fresh.registryString(kDbsKeyUser, "X:\\"), std::nullopt);
  EXPECT_EQ(readProfileString(fresh.platform(), "DBS_REG_32", "X",
                              windowsFolder(fresh.platform()) + "\\system.ini"),
            "");
}

TEST_F(DbsSettingsTest, AKeyThatCannotBeWrittenIsSkippedSilently) {
  // The default user's hive refuses every access, as without the rights to it.
  FaultPlatform platform{ws.platform()};
  const std::string denied = std::to_string(kErrorAccessDenied);
  const std::string users = "(" + std::to_string(kHkeyUsers) + ",";
  platform.rules = {FaultPlatform::answer("RegCreateKeyExA", denied, users),
                    FaultPlatform::answer("RegOpenKeyExA", denied, users)};
  Installer limited{platform, ui};
  limited.frmMain = app.frmMain;
  ScriviRegistroDBS(limited, "valore");
  EXPECT_EQ(registryX(kDbsKeyUser), "valore");
  EXPECT_FALSE(ws.registryKeyExists("HKEY_USERS\\.default\\software\\prologue software"));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace zepo::testing
