#include "check/check_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "check/check_test_fixture.h"
#include "platform/errors.h"
#include "tests/fault_platform.h"

namespace zepo::testing {
namespace {

using frmMain::cmdCheck_Click;

TEST_F(CheckTest, IntactInstallationReportsNoError) {
  installClient();
  cmdCheck_Click(*app);

  const std::vector<std::string> folders = {"C:\\ZEPO", "C:\\ZEPO\\PROG", "C:\\ZEPO\\TEMP",
                                            "C:\\ZEPO\\TXT", "C:\\ZEPO\\WEXA36"};
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    EXPECT_EQ(esito().txtDir[i], folders[i]);
    EXPECT_EQ(esito().txtCheck[i].text, "OK") << i;
    EXPECT_FALSE(esito().txtCheck[i].emphasised) << i;
  }
  EXPECT_EQ(esito().txtSistema.text, "OK");
  EXPECT_FALSE(esito().txtSistema.emphasised);
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(esito().lblTotale, "Nessun errore");
  EXPECT_FALSE(esito().cmdReportEnabled);
  EXPECT_EQ(esito().txtReport, "");
  EXPECT_FALSE(app->ErroriPresenti);
  EXPECT_TRUE(app->frmVerLoaded);
  EXPECT_TRUE(ui.messages.empty());
  // The window is shown before it is filled and shows the result at the end.
  EXPECT_EQ(ui.windowCalls,
            (std::vector<std::string>{"show Ver", "refresh Ver", "refresh Report"}));

  // The list file keeps the last comparison's listing (wexa36), in listing
  // order, and nothing else of the run is written.
  EXPECT_EQ(ws.readFile(kListFile), "FLFILE32.dll\r\nwinpcf.fon\r\n");
}

TEST_F(CheckTest, MissingFolderGivesOneLineAndNoFileLines) {
  installClient();
  removeTree("c:\\zepo\\prog");
  cmdCheck_Click(*app);

  EXPECT_EQ(esito().txtDir[1], "C:\\ZEPO\\PROG");
  EXPECT_EQ(esito().txtCheck[1].text, "ERR");
  EXPECT_TRUE(esito().txtCheck[1].emphasised);
  for (int i : {0, 2, 3, 4}) EXPECT_EQ(esito().txtCheck[i].text, "OK") << i;
  // The report keeps the drive's letter case.
  EXPECT_EQ(esito().txtReport, "Manca la cartella c:\\zepo\\prog\r\n");
  EXPECT_EQ(esito().lblTotale, "L'installazione presenta degli errori");
  EXPECT_TRUE(esito().cmdReportEnabled);
  // Folders alone never offer the repair.
  EXPECT_FALSE(esito().cmdRiparaVisible);
  EXPECT_EQ(esito().txtSistema.text, "OK");

  // Presence-only rows and the last row: one line each, in row order.
  removeTree("c:\\zepo\\temp");
  removeTree("c:\\zepo\\wexa36");
  cmdCheck_Click(*app);
  EXPECT_EQ(esito().txtReport,
            "Manca la cartella c:\\zepo\\prog\r\n"
            "Manca la cartella c:\\zepo\\temp\r\n"
            "Manca la cartella c:\\zepo\\wexa36\r\n");
  // Without the prog and wexa36 comparisons the list file holds the client
  // data folder's listing.
  EXPECT_EQ(ws.readFile(kListFile), "anagrafe.dat\r\nzepo.ini\r\n");

  // A later run in the same window writes "OK" over the bold red: the
  // emphasis stays while the window exists.
  installClient();
  cmdCheck_Click(*app);
  for (int i : {1, 2, 4}) {
    EXPECT_EQ(esito().txtCheck[i].text, "OK") << i;
    EXPECT_TRUE(esito().txtCheck[i].emphasised) << i;
  }
  EXPECT_FALSE(esito().txtCheck[0].emphasised);
  EXPECT_EQ(esito().lblTotale, "Nessun errore");
}

TEST_F(CheckTest, MissingServerFilesGiveOneLineEachInListingOrder) {
  installClient();
  ws.writeFile("\\\\SRV1\\zepo\\prog\\zeta.prg", "server");
  ws.writeFile("\\\\SRV1\\zepo\\prog\\Alfa.prg", "server");
  // Neither subfolders nor files that only the client has are looked at.
  ws.writeFile("\\\\SRV1\\zepo\\prog\\moduli\\m1.prg", "server");
  ws.writeFile("c:\\zepo\\prog\\solo_locale.prg", "local");
  // A local folder of a server file's name is no file.
  ws.writeFile("\\\\SRV1\\zepo\\prog\\cartella.prg", "server");
  ws.platform().makeFolder("c:\\zepo\\prog\\cartella.prg");
  // Files of the presence-only folders are never compared.
  ws.writeFile("\\\\SRV1\\zepo\\temp\\t.tmp", "server");
  ws.writeFile("\\\\SRV1\\zepo\\txt\\t.txt", "server");
  cmdCheck_Click(*app);

  EXPECT_EQ(esito().txtReport,
            "Manca il file c:\\zepo\\prog\\Alfa.prg\r\n"
            "Manca il file c:\\zepo\\prog\\cartella.prg\r\n"
            "Manca il file c:\\zepo\\prog\\zeta.prg\r\n");
  EXPECT_EQ(esito().txtCheck[1].text, "ERR");
  EXPECT_TRUE(esito().txtCheck[1].emphasised);
  for (int i : {0, 2, 3, 4}) {
    EXPECT_EQ(esito().txtCheck[i].text, "OK") << i;
    EXPECT_FALSE(esito().txtCheck[i].emphasised) << i;
  }
  EXPECT_EQ(esito().lblTotale, "L'installazione presenta degli errori");
  EXPECT_TRUE(esito().cmdReportEnabled);
  EXPECT_FALSE(esito().cmdRiparaVisible);

  // Names are looked for in the platform's letter case rules.
  ws.writeFile("c:\\zepo\\prog\\ALFA.PRG", "local");
  ws.writeFile("c:\\zepo\\prog\\zeta.prg", "local");
  cmdCheck_Click(*app);
  EXPECT_EQ(esito().txtReport, "Manca il file c:\\zepo\\prog\\cartella.prg\r\n");
  removeTree("\\\\SRV1\\zepo\\prog\\cartella.prg");
  cmdCheck_Click(*app);
  EXPECT_EQ(esito().txtReport, "");
  EXPECT_EQ(esito().txtCheck[1].text, "OK");
}

TEST_F(CheckTest, HiddenAndSystemFilesAndNamesNoWindowsPathSpells) {
  installClient();
  // Names that a Linux share may hold are not required: tested on the client
  // they would be a bad name (52) or a pattern that another file matches.
  ws.writeFile("c:\\zepo\\prog\\whatX.txt", "local");
  for (const char* name : {"report 10:30.txt", "a|b", "what?.txt"})
    std::ofstream(ws.hostPath("\\\\SRV1\\zepo\\prog") + "/" + name) << "server";
  // A hidden or system file of the client counts as missing.
  ws.setHidden("c:\\zepo\\wexa36\\winpcf.fon", kAttrHidden);
  ws.setHidden("c:\\zepo\\zepo.ini", kAttrSystem);
  // A hidden or system file of the server is not required.
  ws.writeFile("\\\\SRV1\\zepo\\prog\\nascosto.dat", "server");
  ws.setHidden("\\\\SRV1\\zepo\\prog\\nascosto.dat", kAttrHidden);
  ws.writeFile("\\\\SRV1\\zepo\\prog\\sistema.dat", "server");
  ws.setHidden("\\\\SRV1\\zepo\\prog\\sistema.dat", kAttrSystem | kAttrHidden);
  cmdCheck_Click(*app);

  EXPECT_EQ(esito().txtReport,
            "Manca il file c:\\zepo\\zepo.ini\r\n"
            "Manca il file c:\\zepo\\wexa36\\winpcf.fon\r\n");
  EXPECT_EQ(esito().txtCheck[0].text, "ERR");
  EXPECT_EQ(esito().txtCheck[1].text, "OK");
  EXPECT_EQ(esito().txtCheck[4].text, "ERR");
}

TEST_F(CheckTest, EmptyOrMissingServerFolderRequiresNothing) {
  installClient();
  removeTree("\\\\SRV1\\zepo\\wexa36");
  ws.platform().makeFolder("\\\\SRV1\\zepo\\wexa36");
  removeTree("c:\\zepo\\wexa36");
  ws.platform().makeFolder("c:\\zepo\\wexa36");
  removeTree("\\\\SRV1\\zepo\\prog");
  cmdCheck_Click(*app);

  for (int i = 0; i < EsitoVerifica::kRows; ++i) EXPECT_EQ(esito().txtCheck[i].text, "OK") << i;
  EXPECT_EQ(esito().txtReport, "");
  EXPECT_EQ(esito().lblTotale, "Nessun errore");
  // The last comparison listed nothing and left an empty list file.
  EXPECT_EQ(ws.readFile(kListFile), "");

  // An unknown server reads as a server without files.
  app->frmMain.txtServer = "ALTRO";
  app->frmMain.txtIP = "192.168.10.5";
  writeHosts("192.168.10.5\tALTRO\r\n");
  cmdCheck_Click(*app);
  EXPECT_EQ(esito().txtReport, "");
  EXPECT_EQ(esito().lblTotale, "Nessun errore");
}

TEST_F(CheckTest, PlainFileNamedZepoCountsAsTheFolder) {
  installClient();
  removeTree("c:\\zepo");
  ws.writeFile("c:\\zepo", "not a folder");
  cmdCheck_Click(*app);

  // Row 0 is present, then its comparison finds none of the server's files.
  EXPECT_EQ(esito().txtCheck[0].text, "ERR");
  EXPECT_EQ(esito().txtReport,
            "Manca il file c:\\zepo\\anagrafe.dat\r\n"
            "Manca il file c:\\zepo\\zepo.ini\r\n"
            "Manca la cartella c:\\zepo\\prog\r\n"
            "Manca la cartella c:\\zepo\\temp\r\n"
            "Manca la cartella c:\\zepo\\txt\r\n"
            "Manca la cartella c:\\zepo\\wexa36\r\n");
}

TEST_F(CheckTest, EmptyClientDataFolderListsTheShareTop) {
  installClient();
  FaultPlatform recorder(ws.platform());
  useApp(recorder);
  app->frmMain.txtPath = "";
  ws.writeFile("\\\\SRV1\\zepo\\zepoinst.ini", "[HOST]\r\n");
  cmdCheck_Click(*app);

  const std::vector<std::string> listed = recorder.calls("listFirst");
  ASSERT_GE(listed.size(), 2u);
  EXPECT_EQ(listed[0], "listFirst(c:\\zepo, 16)");
  EXPECT_EQ(listed[1], "listFirst(\\\\SRV1\\zepo\\\\*.*, 0)");
  // The share's own top files are then required of the client root.
  EXPECT_EQ(esito().txtReport, "Manca il file c:\\zepo\\zepoinst.ini\r\n");
  EXPECT_EQ(esito().txtCheck[0].text, "ERR");
}

TEST_F(CheckTest, ListFileThatCannotBeCreatedStopsTheRun) {
  installClient();
  // The program's folder is gone: the list file in it cannot be made.
  FaultPlatform platform(ws.platform());
  platform.rules = {FaultPlatform::answer("appPath", "C:\\clientZEPO\\mancante")};
  useApp(platform);
  try {
    cmdCheck_Click(*app);
    FAIL() << "the run went on without its list file";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kErrPathNotFound);
  }
  // The run stopped inside row 0's comparison: nothing after it was done.
  EXPECT_EQ(esito().txtCheck[0].text, "OK");
  EXPECT_EQ(esito().txtDir[1], "Text1");
  EXPECT_EQ(esito().lblTotale, "");
  EXPECT_EQ(ui.windowCalls, std::vector<std::string>{"show Ver"});
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace zepo::testing
