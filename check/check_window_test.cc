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
};

TEST_F(CheckWindowTest, RepairOfferIsOnlyShownByARunAndHiddenByOk) {
  writeSystemIni("[boot]\r\n");
  cmdCheck_Click(*app);
  EXPECT_TRUE(esito().cmdRiparaVisible);

  // Fixed behind the window's back: a new run while the window is open
  // keeps offering the repair.
  writeSystemIni("[DBS_REG_32]\r\nX=1\r\n");
  cmdCheck_Click(*app);
  EXPECT_EQ(states(), "OK OK OK OK OK | OK!");
  EXPECT_TRUE(esito().cmdRiparaVisible);

  // "OK" withdraws the offer before the window goes.
  ui.windowCalls.clear();
  frmVer::cmdTorna_Click(*app);
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(ui.windowCalls, (std::vector<std::string>{"refresh Ver", "hide Ver"}));
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
  EXPECT_EQ(esito().txtDir, EsitoVerifica().txtDir);
  EXPECT_EQ(states(), "Text2 Text2 Text2 Text2 Text2 | ");
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(esito().lblTotale, "");
  EXPECT_TRUE(esito().cmdReportEnabled);
  // The report window was not closed: its text stays.
  EXPECT_EQ(esito().txtReport, report);
}

TEST_F(CheckWindowTest, RepairRunsTheSetupWithoutItsCopyAndHidesTheWindow) {
  // What the setup routine reads on the share for a repair.
  ws.writeFile("\\\\SRV1\\zepo\\zepoinst.ini",
               "[HOST]\r\nHostIP=192.168.10.5\r\n[SERV]\r\nServiceName=criteria\r\n"
               "[DBS_REG_32]\r\nX=SRV1:2001\r\n");
  ws.writeFile("\\\\SRV1\\zepo\\client\\zepo.ini", "[Abal~Context]\r\nPolice=WinPC,99\r\n");
  writeHosts("127.0.0.1\tlocalhost\r\n");
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
  EXPECT_NE(ws.readFile(etc + "\\hosts").find(std::string(kHostsLine) + "\r\n"), std::string::npos);
  const std::string clientIni = ws.readFile("c:\\zepo\\zepo.ini");
  EXPECT_NE(clientIni.find("c:\\Zepo\\CRIRED36\\cred32.dll"), std::string::npos);
  EXPECT_NE(clientIni.find("Police=WinPC,99"), std::string::npos);
  EXPECT_EQ(clientIni.find("ProcessOffset"), std::string::npos);

  // A setup that reports a failure still closes the window.
  ws.platform().deleteFile(etc + "\\hosts");
  ws.platform().deleteFile(etc + "\\hosts.sam");
  cmdCheck_Click(*app);
  ASSERT_TRUE(esito().cmdRiparaVisible);
  frmVer::cmdRipara_Click(*app);
  EXPECT_EQ(ui.prompts(), std::vector<std::string>{"Errore durante l'agg. dei file di sistema"});
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(ui.windowCalls.back(), "hide Ver");
}

}  // namespace
}  // namespace zepo::testing
