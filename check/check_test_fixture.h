// Shared set-up of the check tests: a fresh workstation with the share
// \\SRV1\zepo, the main window's fields, and an installed client written
// file by file (no install logic involved).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "shell/drive_list.h"
#include "shell/installer.h"
#include "shell/settings.h"
#include "tests/scripted_ui.h"
#include "tests/test_workstation.h"

namespace zepo::testing {

inline constexpr const char* kHostsLine = "192.168.10.5\tSRV1";
inline constexpr const char* kListFile = "C:\\clientZEPO\\filetmp.txt";

class CheckTest : public ::testing::Test {
 protected:
  CheckTest() {
    ws.addShare("SRV1", "zepo");
    useApp(ws.platform());
  }

  // The installer on `platform` (the workstation's, or a wrapper around it).
  void useApp(Platform& platform) {
    app = std::make_unique<Installer>(platform, ui);
    app->frmMain.txtServer = "SRV1";
    app->frmMain.txtIP = "192.168.10.5";
    app->frmMain.txtPath = "dati";
    setDrive(*app, "c");
  }

  // The server's folders and a client that holds everything they require,
  // with hosts, services and system.ini as the setup leaves them.
  // Can be called again to mend what a test broke.
  void installClient() {
    for (std::string name :
         {"dati\\zepo.ini", "dati\\anagrafe.dat", "prog\\main.exe", "prog\\stampe.prg",
          "prog\\Crired.dll", "wexa36\\winpcf.fon", "wexa36\\FLFILE32.dll"}) {
      ws.writeFile("\\\\SRV1\\zepo\\" + name, "server");
      ws.writeFile("c:\\zepo\\" + (name.starts_with("dati\\") ? name.substr(5) : name), "local");
    }
    if (ws.platform().listFirst("c:\\zepo\\temp", kAttrDirectory).empty()) {
      ws.platform().makeFolder("c:\\zepo\\temp");
    }
    ws.writeFile("c:\\zepo\\txt\\leggimi.txt", "local");

    writeHosts("127.0.0.1\tlocalhost\r\n192.168.10.5\tSRV1\r\n");
    writeServices("echo\t7/tcp\r\ncriteria\t2001/tcp\t#database\r\nftp\t21/tcp\r\n");
    writeSystemIni("[boot]\r\nshell=Explorer.exe\r\n[DBS_REG_32]\r\nX=SRV1:2001\r\n");
  }

  void writeHosts(const std::string& text) { ws.writeFile(etc + "\\hosts", text); }
  void writeServices(const std::string& text) { ws.writeFile(etc + "\\services", text); }
  void writeSystemIni(const std::string& text) { ws.writeFile(windows + "\\system.ini", text); }

  // Removes a folder of the workstation with everything in it.
  void removeTree(const std::string& windowsPath) {
    std::filesystem::remove_all(ws.hostPath(windowsPath));
  }

  const EsitoVerifica& esito() const { return app->esito; }
  // The five rows' boxes and the system files' one, each "OK", "ERR" or its
  // design text, with "!" when emphasised: "OK ERR! OK OK OK | OK".
  std::string states() const {
    std::string out;
    for (const StateBox& box : esito().txtCheck) out += box.text + (box.emphasised ? "! " : " ");
    return out + "| " + esito().txtSistema.text + (esito().txtSistema.emphasised ? "!" : "");
  }
  // The outcome below the rows, from whether the run found errors and
  // whether system files need the repair.
  void expectTotal(bool errors, bool repair) {
    EXPECT_EQ(app->ErroriPresenti, errors);
    EXPECT_EQ(esito().lblTotale,
              errors ? "L'installazione presenta degli errori" : "Nessun errore");
    EXPECT_EQ(esito().cmdReportEnabled, errors);
    EXPECT_EQ(esito().cmdRiparaVisible, repair);
  }

  TestWorkstation ws;
  // The workstation's Windows folder, and the folder of hosts and services
  // of the NT family.
  const std::string windows = windowsFolder(ws.platform());
  const std::string etc = windows + "\\system32\\drivers\\etc";
  ScriptedUi ui;
  std::unique_ptr<Installer> app;
};

}  // namespace zepo::testing
