// What the tests of the client installation share: a fresh workstation with
// the server SRV1 and its share \\SRV1\zepo, an installer on it with a
// scripted user interface, and readers of the results.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "shell/installer.h"
#include "shell/settings.h"
#include "tests/scripted_ui.h"
#include "tests/test_workstation.h"

namespace zepo::testing {

inline constexpr const char* kSettings = "\\\\SRV1\\zepo\\zepoinst.ini";
inline constexpr const char* kDbsKeyUser =
    "HKEY_CURRENT_USER\\software\\prologue software\\configuration\\criteria\\DBS_REG_32";
inline constexpr const char* kDbsKeyDefault =
    "HKEY_USERS\\.default\\software\\prologue software\\configuration\\criteria\\DBS_REG_32";

// The server's template of the client INI.
inline constexpr const char* kTemplate =
    "[Abal~FileMgt]\r\nFileMgt32=server\r\n"
    "[Abal~Context]\r\nPolice=WinPC,99\r\n; kept\r\nKeyboard=server\r\n"
    "[Abal~Environ]\r\nATDIR=server\r\nOTHER=kept\r\n";

// Where the workstation keeps hosts and services: the drivers\etc folder of
// the Windows folder on the NT family, the Windows folder itself elsewhere.
inline std::string hostsFolder(Platform& platform) {
  if (platform.osPlatform() != 2) return windowsFolder(platform);
  return windowsFolder(platform) + "\\system32\\drivers\\etc";
}

// A shortcut whose target path is stored as 16-bit and as 8-bit text, with a
// lower-case "c:" and bytes above 127 besides.
inline std::string shortcut() {
  using namespace std::string_literals;
  return "L\0\0\0\xff\x81"s + "C\0:\0\\\0z\0e\0p\0o\0\0\0"s + "C:\\zepo\\prog\\zepo.exe\0"s +
         "c:\\lower\0"s;
}

class InstallTest : public ::testing::Test {
 protected:
  explicit InstallTest(const TestWorkstation::Options& options = {}) : ws(options) {
    ws.addShare("SRV1", "zepo");
    ws.writeFile(kSettings,
                 "[HOST]\r\nHostIP=10.0.0.5\r\n"
                 "[PATH]\r\nDefaultDrive=c\r\nInstallPath=dati\r\n"
                 "[SERV]\r\nServiceName=crserver\r\nServiceID=5000/tcp\r\n"
                 "ServiceComment=#database client\r\n"
                 "[DBS_REG_32]\r\nX=\\\\SRV1\\criteria\r\n");
    // The system files as a fresh machine has them, written here since the
    // Windows build's drive C: is shared by every test.
    ws.writeFile(etc + "\\hosts", "127.0.0.1 localhost\r\n");
    ws.writeFile(etc + "\\services", "echo\t7/tcp\r\n");
    ws.writeFile(windowsFolder(ws.platform()) + "\\system.ini", "[boot]\r\n");
    app.frmMain.txtServer = "SRV1";
    app.frmMain.txtIP = "10.0.0.5";
    app.frmMain.txtPath = "dati";
    app.frmMain.txtPosto = "3";
    app.frmMain.drive = "c:";
  }

  // The server's client files: the INI template, the client data folder
  // "dati" (with its own zepo.ini and the two shortcuts), prog and wexa36.
  void fillShare() {
    ws.writeFile("\\\\SRV1\\zepo\\client\\zepo.ini", kTemplate);
    ws.writeFile("\\\\SRV1\\zepo\\dati\\zepo.ini", "[Abal~Context]\r\nPolice=dati\r\nCopied=1\r\n");
    ws.writeFile("\\\\SRV1\\zepo\\dati\\archivio.dat", "dati");
    ws.writeFile("\\\\SRV1\\zepo\\dati\\zepont~1.lnk", shortcut());
    ws.writeFile("\\\\SRV1\\zepo\\dati\\config~1.lnk", shortcut());
    ws.writeFile("\\\\SRV1\\zepo\\prog\\zepo.exe", "exe");
    ws.writeFile("\\\\SRV1\\zepo\\prog\\moduli\\mod.dll", "dll");
    ws.writeFile("\\\\SRV1\\zepo\\wexa36\\winpcf.fon", "font");
  }

  // A value of an INI file as the installer reads it ("" for none).
  std::string ini(const std::string& file, const std::string& section, const std::string& key) {
    return readProfileString(ws.platform(), section, key, file);
  }

  TestWorkstation ws;
  ScriptedUi ui;
  Installer app{ws.platform(), ui};
  const std::string etc = hostsFolder(ws.platform());
};

}  // namespace zepo::testing
