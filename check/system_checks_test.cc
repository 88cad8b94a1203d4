#include "check/system_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "check/check_run.h"
#include "check/check_test_fixture.h"
#include "install/hosts_services.h"
#include "platform/errors.h"
#include "tests/fault_platform.h"

namespace zepo::testing {
namespace {

using frmMain::cmdCheck_Click;

constexpr const char* kTrapMessage = "Errore durante l'agg. dei file di sistema";

class SystemCheckTest : public CheckTest {
 protected:
  SystemCheckTest() { installClient(); }

  // One check run; the system files alone decide the outcome.
  void run() { cmdCheck_Click(*app); }

  void expectSystemError(const std::string& report) {
    EXPECT_EQ(esito().txtReport, report);
    EXPECT_EQ(states(), "OK OK OK OK OK | ERR!");
    expectTotal(true, true);
    EXPECT_TRUE(ui.messages.empty());
  }
};

TEST_F(SystemCheckTest, EachSystemFileNeedsItsEntry) {
  const std::string hostsOk = "127.0.0.1\tlocalhost\r\n192.168.10.5\tSRV1\r\n";
  const std::string servicesOk = "echo\t7/tcp\r\ncriteria\t2001/tcp\r\n";
  const std::string iniOk = "[DBS_REG_32]\r\nX=SRV1:2001\r\n";
  const char* const hostsWrong = "Errore nel file HOSTS\r\n";
  const char* const servicesWrong = "Errore nel file SERVICES\r\n";
  const char* const iniWrong = "Errore nel file SYSTEM.INI\r\n";
  struct Case {
    std::string hosts;
    int hostsAttributes;
    std::string services;
    const char* systemIni;  // nullptr: missing
    std::string report;
    bool nineX = false;  // the 9x family, which keeps hosts and services
                         // in the Windows folder
  };
  const Case cases[] = {
      // The line anywhere in the file, with any line end, is enough.
      {"# tabella\n127.0.0.1\tlocalhost\r192.168.10.5\tSRV1", 0, servicesOk, iniOk.c_str(), ""},
      {"127.0.0.1\tlocalhost\r\n192.168.10.5 SRV1\r\n", 0, servicesOk, iniOk.c_str(), hostsWrong},
      {"192.168.10.5\tSRV1 # server ZEPO\r\n", 0, servicesOk, iniOk.c_str(), hostsWrong},
      {"192.168.10.5\tsrv1\r\n", 0, servicesOk, iniOk.c_str(), hostsWrong},
      // A hidden or system hosts is missing.
      {hostsOk, kAttrHidden, servicesOk, iniOk.c_str(), "Manca il file HOSTS\r\n"},
      {hostsOk, kAttrSystem, servicesOk, iniOk.c_str(), "Manca il file HOSTS\r\n"},
      // "criteria" in lower case, anywhere in a line, a comment included.
      {hostsOk, 0, "echo\t7/tcp\r\n# il servizio criteria e' sulla 2001\r\n", iniOk.c_str(), ""},
      {hostsOk, 0, "echo\t7/tcp\r\nCRITERIA\t2001/tcp\r\n", iniOk.c_str(), servicesWrong},
      {hostsOk, 0, "", iniOk.c_str(), servicesWrong},
      // X needs a value in its section; names ignore case, the value is not
      // compared.
      {hostsOk, 0, servicesOk, "[dbs_reg_32]\r\nx = qualunque\r\n", ""},
      {hostsOk, 0, servicesOk, "[DBS_REG_32]\r\nX=\r\n", iniWrong},
      {hostsOk, 0, servicesOk, "[DBS_REG_32]\r\nY=1\r\n", iniWrong},
      {hostsOk, 0, servicesOk, ";[DBS_REG_32]\r\n;X=1\r\n", iniWrong},
      {hostsOk, 0, servicesOk, nullptr, iniWrong},
      {hostsOk, 0, servicesOk, iniOk.c_str(), "", true},
      {hostsOk, 0, "echo\t7/tcp\r\n", iniOk.c_str(), servicesWrong, true},
  };
  FaultPlatform nineX(ws.platform());
  nineX.rules = {FaultPlatform::answer("osPlatform", "1")};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hosts + c.services + (c.systemIni ? c.systemIni : "no system.ini"));
    // The other family's folder holds files that would fail.
    const std::string& folder = c.nineX ? windows : etc;
    const std::string& other = c.nineX ? etc : windows;
    ws.writeFile(other + "\\hosts", "127.0.0.1\tlocalhost\r\n");
    ws.writeFile(other + "\\services", "");
    ws.writeFile(folder + "\\hosts", c.hosts);
    ws.setHidden(folder + "\\hosts", c.hostsAttributes);
    ws.writeFile(folder + "\\services", c.services);
    std::filesystem::remove(ws.hostPath(windows + "\\system.ini"));
    if (c.systemIni) writeSystemIni(c.systemIni);
    useApp(c.nineX ? static_cast<Platform&>(nineX) : ws.platform());
    run();
    if (!c.report.empty()) {
      expectSystemError(c.report);
      continue;
    }
    EXPECT_EQ(esito().txtReport, "");
    EXPECT_EQ(states(), "OK OK OK OK OK | OK");
  }
}

TEST_F(SystemCheckTest, AServerNameOutsideTheCodePageIsFoundAsTheRepairWroteIt) {
  // The name's last letter (U+0100) is not in the code page: hosts holds a
  // '?' in its place, and that is the line looked for.
  app->frmMain.txtServer = "SRV\xC4\x80";
  run();
  expectSystemError("Errore nel file HOSTS\r\n");

  AggiornaHostsServizi(*app, etc);
  const std::string repaired = ws.readFile(etc + "\\hosts");
  EXPECT_EQ(repaired, "127.0.0.1\tlocalhost\r\n192.168.10.5\tSRV1\r\n192.168.10.5\tSRV?\r\n");
  run();
  EXPECT_EQ(esito().txtReport, "");

  // The update finds its own line too, and leaves hosts as it is; with
  // another address it replaces that line.
  AggiornaHostsServizi(*app, etc);
  EXPECT_EQ(ws.readFile(etc + "\\hosts"), repaired);
  app->frmMain.txtIP = "10.0.0.9";
  AggiornaHostsServizi(*app, etc);
  EXPECT_EQ(ws.readFile(etc + "\\hosts"),
            "127.0.0.1\tlocalhost\r\n192.168.10.5\tSRV1\r\n10.0.0.9\tSRV?\r\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SystemCheckTest, AFailingSystemFileEndsInTheTrapAndClosesItsFile) {
  // hosts wrong, services missing, system.ini wrong too.
  writeHosts("127.0.0.1\tlocalhost\r\n");
  ws.platform().deleteFile(etc + "\\services");
  writeSystemIni("[boot]\r\n");
  run();
  EXPECT_EQ(ui.messages, (std::vector<ScriptedUi::Message>{{kTrapMessage, kMbCritical, ""}}));
  // The line found before the error stays; system.ini is never looked at;
  // nothing else of the outcome is recorded, and the run goes on to its end.
  EXPECT_EQ(esito().txtReport, "Errore nel file HOSTS\r\n");
  EXPECT_EQ(states(), "OK OK OK OK OK | OK");
  expectTotal(false, false);
  EXPECT_EQ(ui.windowCalls,
            (std::vector<std::string>{"show Ver", "refresh Ver", "refresh Report"}));

  // Reading services fails once, after its first line; the next run opens
  // its files under number 1 again and completes.
  installClient();
  FaultPlatform platform(ws.platform());
  platform.rules = {FaultPlatform::fail("readLine", kErrDeviceUnavailable, "\\services)", 2)};
  useApp(platform);
  ui.messages.clear();
  run();
  EXPECT_EQ(ui.prompts(), std::vector<std::string>{kTrapMessage});
  ui.messages.clear();
  run();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(esito().lblTotale, "Nessun errore");
}

}  // namespace
}  // namespace zepo::testing
