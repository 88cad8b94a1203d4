#include "check/check_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "check/check_test_fixture.h"
#include "platform/errors.h"
#include "shell/event.h"
#include "tests/fault_platform.h"

namespace zepo::testing {
namespace {

using frmMain::cmdCheck_Click;

TEST_F(CheckTest, EachMissingFolderOrFileIsOneLineOfTheReport) {
  struct Case {
    const char* why;
    std::function<void()> change;
    const char* states;
    std::string report;
    // The list file keeps the last comparison's listing, in listing order;
    // nullptr: not looked at.
    const char* listed = nullptr;
  };
  const Case cases[] = {
      {"nothing", [] {}, "OK OK OK OK OK | OK", "", "FLFILE32.dll\r\nwinpcf.fon\r\n"},
      // A missing folder is one line and no file lines; the report keeps the
      // drive's letter case.
      {"prog", [&] { removeTree("c:\\zepo\\prog"); }, "OK ERR! OK OK OK | OK",
       "Manca la cartella c:\\zepo\\prog\r\n"},
      // Presence-only rows and the last row: one line each, in row order.
      // Without the prog and wexa36 comparisons the list file holds the client
      // data folder's listing.
      {"prog, temp and wexa36",
       [&] {
         for (const char* name : {"prog", "temp", "wexa36"})
           removeTree(std::string("c:\\zepo\\") + name);
       },
       "OK ERR! ERR! OK ERR! | OK",
       "Manca la cartella c:\\zepo\\prog\r\nManca la cartella c:\\zepo\\temp\r\n"
       "Manca la cartella c:\\zepo\\wexa36\r\n",
       "anagrafe.dat\r\nzepo.ini\r\n"},
      {"server files",
       [&] {
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
       },
       "OK ERR! OK OK OK | OK",
       "Manca il file c:\\zepo\\prog\\Alfa.prg\r\nManca il file c:\\zepo\\prog\\cartella.prg\r\n"
       "Manca il file c:\\zepo\\prog\\zeta.prg\r\n"},
      {"names in another letter case, hidden and system files, names no Windows path spells",
       [&] {
         // Names are looked for in the platform's letter case rules.
         ws.writeFile("\\\\SRV1\\zepo\\prog\\Alfa.prg", "server");
         ws.writeFile("c:\\zepo\\prog\\ALFA.PRG", "local");
         // Names that a Linux share may hold are not required: tested on the
         // client they would be a bad name (52) or a pattern that another file
         // matches.
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
       },
       "ERR! OK OK OK ERR! | OK",
       "Manca il file c:\\zepo\\zepo.ini\r\nManca il file c:\\zepo\\wexa36\\winpcf.fon\r\n"},
      // An empty or missing server folder requires nothing; the last
      // comparison listed nothing and left an empty list file.
      {"server folders",
       [&] {
         removeTree("\\\\SRV1\\zepo\\wexa36");
         ws.platform().makeFolder("\\\\SRV1\\zepo\\wexa36");
         removeTree("c:\\zepo\\wexa36");
         ws.platform().makeFolder("c:\\zepo\\wexa36");
         removeTree("\\\\SRV1\\zepo\\prog");
       },
       "OK OK OK OK OK | OK", "", ""},
      // An unknown server reads as a server without files.
      {"another server",
       [&] {
         app->frmMain.txtServer = "ALTRO";
         writeHosts("192.168.10.5\tALTRO\r\n");
       },
       "OK OK OK OK OK | OK", ""},
      // Row 0 is present, then its comparison finds none of the server's files.
      {"a plain file named zepo",
       [&] {
         removeTree("c:\\zepo");
         ws.writeFile("c:\\zepo", "not a folder");
       },
       "ERR! ERR! ERR! ERR! ERR! | OK",
       "Manca il file c:\\zepo\\anagrafe.dat\r\nManca il file c:\\zepo\\zepo.ini\r\n"
       "Manca la cartella c:\\zepo\\prog\r\nManca la cartella c:\\zepo\\temp\r\n"
       "Manca la cartella c:\\zepo\\txt\r\nManca la cartella c:\\zepo\\wexa36\r\n"},
      // An empty client data folder lists the share's top: its files are
      // then required of the client root.
      {"no client data folder",
       [&] {
         app->frmMain.txtPath = "";
         ws.writeFile("\\\\SRV1\\zepo\\zepoinst.ini", "[HOST]\r\n");
       },
       "ERR! OK OK OK OK | OK", "Manca il file c:\\zepo\\zepoinst.ini\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    removeTree("c:\\zepo");
    removeTree("\\\\SRV1\\zepo");
    ws.addShare("SRV1", "zepo");
    installClient();
    useApp(ws.platform());
    c.change();
    cmdCheck_Click(*app);
    EXPECT_EQ(states(), c.states);
    EXPECT_EQ(esito().txtReport, c.report);
    // Folders and files alone never offer the repair.
    expectTotal(!c.report.empty(), false);
    if (c.listed) {
      EXPECT_EQ(ws.readFile(kListFile), c.listed);
    }
  }
}

TEST_F(CheckTest, ListFileThatCannotBeCreatedStopsTheRun) {
  installClient();
  // The program's folder is gone: the list file in it cannot be made.
  FaultPlatform platform(ws.platform());
  platform.rules = {FaultPlatform::answer("appPath", "C:\\clientZEPO\\mancante")};
  useApp(platform);
  EXPECT_EQ(runEventProcedure(*app, cmdCheck_Click), 1);
  EXPECT_EQ(ui.prompts(), std::vector<std::string>{
                              "Errore di run-time '76':\r\n\r\nImpossibile trovare il percorso"});
  // The run stopped inside row 0's comparison: nothing after it was done.
  EXPECT_EQ(states(), "OK Text2 Text2 Text2 Text2 | ");
  EXPECT_EQ(ui.windowCalls, std::vector<std::string>{"show Ver"});
}

}  // namespace
}  // namespace zepo::testing
