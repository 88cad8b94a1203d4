#include "check/check_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check_run.h"
#include "check/check_test_fixture.h"

namespace zepo::testing {
namespace {

using frmMain::cmdCheck_Click;

class CheckWindowTest : public CheckTest {
 protected:
  CheckWindowTest() { installClient(); }

  // The last `n` window calls.
  std::vector<std::string> lastCalls(std::size_t n) const {
    return {ui.windowCalls.end() - static_cast<std::ptrdiff_t>(n), ui.windowCalls.end()};
  }
};

TEST_F(CheckWindowTest, ReportWindowShowsTheLastRunsLines) {
  removeTree("c:\\zepo\\temp");
  writeHosts("127.0.0.1\tlocalhost\r\n");
  cmdCheck_Click(*app);
  const std::string report =
      "Manca la cartella c:\\zepo\\temp\r\n"
      "Errore nel file HOSTS\r\n";
  EXPECT_EQ(esito().txtReport, report);
  EXPECT_TRUE(esito().cmdReportEnabled);

  ui.windowCalls.clear();
  frmVer::cmdReport_Click(*app);
  frmVer::cmdReport_Click(*app);
  EXPECT_EQ(ui.windowCalls, (std::vector<std::string>{"show Report", "show Report"}));
  EXPECT_EQ(esito().txtReport, report);

  frmReport::cmdOK_Click(*app);
  EXPECT_EQ(lastCalls(1), std::vector<std::string>{"hide Report"});
  EXPECT_EQ(esito().txtReport, report);

  // A new run empties and refills the text in place.
  writeHosts(std::string(kHostsLine) + "\r\n");
  cmdCheck_Click(*app);
  EXPECT_EQ(esito().txtReport, "Manca la cartella c:\\zepo\\temp\r\n");
  EXPECT_EQ(lastCalls(2), (std::vector<std::string>{"refresh Ver", "refresh Report"}));
}

TEST_F(CheckWindowTest, RepairOfferIsOnlyShownByARunAndHiddenByOk) {
  writeSystemIni("[boot]\r\n");
  cmdCheck_Click(*app);
  EXPECT_TRUE(esito().cmdRiparaVisible);

  // Fixed behind the window's back: a new run while the window is open
  // keeps offering the repair.
  writeSystemIni("[DBS_REG_32]\r\nX=1\r\n");
  cmdCheck_Click(*app);
  EXPECT_EQ(esito().txtSistema.text, "OK");
  EXPECT_TRUE(esito().cmdRiparaVisible);

  // "OK" withdraws the offer before the window goes.
  frmVer::cmdTorna_Click(*app);
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(lastCalls(2), (std::vector<std::string>{"refresh Ver", "hide Ver"}));
  EXPECT_TRUE(app->frmVerLoaded);
  cmdCheck_Click(*app);
  EXPECT_FALSE(esito().cmdRiparaVisible);
}

TEST_F(CheckWindowTest, CloseBoxGivesAFreshWindow) {
  removeTree("c:\\zepo\\prog");
  writeSystemIni("");
  cmdCheck_Click(*app);
  const std::string report = esito().txtReport;
  ASSERT_FALSE(report.empty());

  frmVer::Form_Unload(*app);
  EXPECT_FALSE(app->frmVerLoaded);
  const EsitoVerifica fresh;
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    EXPECT_EQ(esito().txtDir[i], "Text1");
    EXPECT_EQ(esito().txtCheck[i].text, "Text2");
    EXPECT_FALSE(esito().txtCheck[i].emphasised);
  }
  EXPECT_EQ(esito().txtSistema.text, fresh.txtSistema.text);
  EXPECT_FALSE(esito().txtSistema.emphasised);
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(esito().lblTotale, "");
  EXPECT_TRUE(esito().cmdReportEnabled);
  // The report window was not closed: its text stays.
  EXPECT_EQ(esito().txtReport, report);
}

// What the setup routine reads on the share for a repair.
class RepairTest : public CheckWindowTest {
 protected:
  RepairTest() {
    ws.writeFile("\\\\SRV1\\zepo\\zepoinst.ini",
                 "[HOST]\r\nHostIP=192.168.10.5\r\n[PATH]\r\nDefaultDrive=c\r\n"
                 "InstallPath=dati\r\n[SERV]\r\nServiceName=criteria\r\n"
                 "ServiceID=2001/tcp\r\nServiceComment=#database\r\n"
                 "[DBS_REG_32]\r\nX=SRV1:2001\r\n");
    ws.writeFile("\\\\SRV1\\zepo\\client\\zepo.ini", "[Abal~Context]\r\nPolice=WinPC,31\r\n");
  }
};

TEST_F(RepairTest, RepairMendsTheSystemFilesAndHidesTheWindow) {
  writeHosts("127.0.0.1\tlocalhost\r\n");
  writeServices("echo\t7/tcp\r\n");
  writeSystemIni("[boot]\r\n");
  cmdCheck_Click(*app);
  ASSERT_TRUE(esito().cmdRiparaVisible);
  const std::string report = esito().txtReport;

  ui.windowCalls.clear();
  frmVer::cmdRipara_Click(*app);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.windowCalls, (std::vector<std::string>{"refresh Ver", "hide Ver"}));
  EXPECT_FALSE(esito().cmdRiparaVisible);
  // No check runs after the repair.
  EXPECT_EQ(esito().txtSistema.text, "ERR");
  EXPECT_EQ(esito().txtReport, report);

  // The setup ran on the client root of the drive, without its copy phase.
  const std::string hosts = ws.readFile(etc + "\\hosts");
  EXPECT_NE(hosts.find(std::string(kHostsLine) + "\r\n"), std::string::npos);
  EXPECT_NE(ws.readFile(etc + "\\services").find("criteria"), std::string::npos);
  const std::string clientIni = ws.readFile("c:\\zepo\\zepo.ini");
  EXPECT_NE(clientIni.find("c:\\Zepo\\CRIRED36\\cred32.dll"), std::string::npos);
  EXPECT_EQ(clientIni.find("ProcessOffset"), std::string::npos);

  // The next run finds everything right; the bold red of the system files
  // outlives the repair, since the window was only hidden.
  cmdCheck_Click(*app);
  EXPECT_EQ(esito().txtReport, "");
  EXPECT_EQ(esito().txtSistema.text, "OK");
  EXPECT_TRUE(esito().txtSistema.emphasised);
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(esito().lblTotale, "Nessun errore");
  EXPECT_FALSE(esito().cmdReportEnabled);
}

TEST_F(RepairTest, WindowGoesEvenWhenTheSetupReportsAFailure) {
  ws.platform().deleteFile(etc + "\\hosts");
  ws.platform().deleteFile(etc + "\\hosts.sam");
  writeSystemIni("[boot]\r\n");
  cmdCheck_Click(*app);
  ASSERT_TRUE(esito().cmdRiparaVisible);
  ui.messages.clear();

  frmVer::cmdRipara_Click(*app);
  EXPECT_EQ(ui.prompts(), std::vector<std::string>{"Errore durante l'agg. dei file di sistema"});
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(lastCalls(1), std::vector<std::string>{"hide Ver"});
}

}  // namespace
}  // namespace zepo::testing
