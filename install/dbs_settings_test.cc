#include "install/dbs_settings.h"

#include <gtest/gtest.h>

#include "install/install_test_fixture.h"
#include "platform/forwarding_platform.h"

namespace zepo::testing {
namespace {

bool keyExists(Platform& platform, RegKey root, const std::string& subKey) {
  RegKey key = 0;
  if (platform.RegOpenKeyExA(root, subKey, kKeyQueryValue, key) != kErrorSuccess) return false;
  platform.RegCloseKey(key);
  return true;
}

class DbsSettingsTest : public InstallTest {
 protected:
  std::string systemIni() { return windowsFolder(ws.platform()) + "\\system.ini"; }
  void run() { AggiornaSystemIni(app, windowsFolder(ws.platform())); }
  std::optional<std::string> registry(const char* key) {
    return registryValue(ws.dir(), key, "X:\\");
  }
  std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
  }
};

TEST_F(DbsSettingsTest, ValueLandsInSystemIniAndUnderBothKeys) {
  // A system.ini without the section gains it; its other sections stay.
  ws.writeFile(systemIni(), "[boot]\r\nshell=Explorer.exe\r\n");
  run();
  EXPECT_EQ(ini(systemIni(), "DBS_REG_32", "X"), "\\\\SRV1\\criteria");
  EXPECT_EQ(ini(systemIni(), "boot", "shell"), "Explorer.exe");
  EXPECT_EQ(registry(kDbsKeyUser), "\\\\SRV1\\criteria");
  EXPECT_EQ(registry(kDbsKeyDefault), "\\\\SRV1\\criteria");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DbsSettingsTest, NoValueRemovesTheEntriesAndStillMakesTheKeys) {
  run();
  ws.writeFile(systemIni(), "[DBS_REG_32]\r\nX=old\r\nY=keep\r\n");
  ws.writeFile(kSettings, "[DBS_REG_32]\r\nX=\r\n");
  run();
  EXPECT_EQ(ws.readFile(systemIni()), "[DBS_REG_32]\r\nY=keep\r\n");
  EXPECT_EQ(registry(kDbsKeyUser), std::nullopt);
  EXPECT_EQ(registry(kDbsKeyDefault), std::nullopt);

  // On a fresh workstation, with no settings file reachable at all.
  TestWorkstation fresh;
  ScriptedUi freshUi;
  Installer freshApp{fresh.platform(), freshUi};
  freshApp.frmMain.txtServer = "NOSERVER";
  AggiornaSystemIni(freshApp, windowsFolder(fresh.platform()));
  const std::string subKey = "software\\prologue software\\configuration\\criteria\\DBS_REG_32";
  EXPECT_TRUE(keyExists(fresh.platform(), kHkeyCurrentUser, subKey));
  EXPECT_TRUE(keyExists(fresh.platform(), kHkeyUsers, ".default\\" + subKey));
  EXPECT_EQ(registryValue(fresh.dir(), kDbsKeyUser, "X:\\"), std::nullopt);
  EXPECT_EQ(readProfileString(fresh.platform(), "DBS_REG_32", "X",
                              windowsFolder(fresh.platform()) + "\\system.ini"),
            "");
}

TEST_F(DbsSettingsTest, RunningTwiceGivesWhatRunningOnceGives) {
  run();
  const std::string ini = ws.readFile(systemIni());
  const std::string reg = fileText(ws.dir() + "/registry.reg");
  run();
  EXPECT_EQ(ws.readFile(systemIni()), ini);
  EXPECT_EQ(fileText(ws.dir() + "/registry.reg"), reg);
}

// The default user's hive refuses every access, as without the rights to it.
class NoDefaultUserPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) override {
    if (root == kHkeyUsers) return kErrorAccessDenied;
    return ForwardingPlatform::RegCreateKeyExA(root, subKey, options, access, result, disposition);
  }
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                             RegKey& result) override {
    if (root == kHkeyUsers) return kErrorAccessDenied;
    return ForwardingPlatform::RegOpenKeyExA(root, subKey, access, result);
  }
};

TEST_F(DbsSettingsTest, AKeyThatCannotBeWrittenIsSkippedSilently) {
  NoDefaultUserPlatform platform{ws.platform()};
  Installer limited{platform, ui};
  limited.frmMain = app.frmMain;
  ScriviRegistroDBS(limited, "valore");
  EXPECT_EQ(registry(kDbsKeyUser), "valore");
  EXPECT_EQ(registry(kDbsKeyDefault), std::nullopt);
  EXPECT_FALSE(keyExists(ws.platform(), kHkeyUsers,
                         ".default\\software\\prologue software\\configuration\\criteria"));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace zepo::testing
