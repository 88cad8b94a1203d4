#include "shell/main_window.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/windows_names.h"
#include "shell/event.h"
#include "tests/fault_platform.h"
#include "tests/scripted_ui.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

const char* kSettings = "\\\\ZEPOSRV\\zepo\\zepoinst.ini";

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    ws.addDrive('d', "DATI");
    ws.addShare("ZEPOSRV", "zepo");
  }
  void writeSettings(const std::string& text) { ws.writeFile(kSettings, text); }

  TestWorkstation ws;
  ScriptedUi ui;
};

TEST_F(StartupTest, FillsTheFieldsFromTheSettingsFile) {
  const std::string longPath(300, 'p');
  struct Case {
    std::string settings;
    const char* ip;
    const char* drive;  // nullptr: a drive the workstation does not have
    std::string path;
  };
  const Case cases[] = {
      // The file is in the code page; a value is cut by characters.
      {"[HOST]\r\nHostIP=192.168.1.10\r\n[PATH]\r\nDefaultDrive=d\r\nInstallPath=citt\xe0\r\n",
       "192.168.1.10", "d: [DATI]", "città"},
      // Keys without values keep the designed contents; the drive is the one
      // of the installer's folder.
      {"[HOST]\r\nHostIP=\r\n[PATH]\r\nInstallPath=" + longPath + "\r\n", "255.255.255.255",
       "c:", std::string(254, 'p')},
      {"[PATH]\r\nDefaultDrive=D:\r\n", "255.255.255.255", "d: [DATI]", ""},
      {"[PATH]\r\nDefaultDrive=q:\r\n", "255.255.255.255", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    writeSettings(c.settings);
    ScriptedUi runUi;
    runUi.inputBoxAnswers = {"ZEPOSRV"};
    Installer app(ws.platform(), runUi);
    EXPECT_EQ(runEventProcedure(app, frmMain::Form_Load),
              c.drive ? std::nullopt : std::optional(1));
    EXPECT_EQ(
        runUi.inputBoxes,
        (std::vector<ScriptedUi::Message>{{"Inserire il nome del server", 0, "Client ZEPO"}}));
    if (!c.drive) {
      EXPECT_EQ(runUi.prompts(), std::vector<std::string>{
                                     "Errore di run-time '68':\r\n\r\nPeriferica non disponibile"});
      continue;
    }
    EXPECT_TRUE(runUi.messages.empty());
    EXPECT_EQ(app.frmMain.txtServer, "ZEPOSRV");
    EXPECT_EQ(app.frmMain.txtIP, c.ip);
    EXPECT_EQ(app.frmMain.drive, c.drive);
    EXPECT_EQ(app.frmMain.txtPath, c.path);
    EXPECT_EQ(app.CartellaWindows.size(), 255u);
    // Windows spells its folder as it was installed (C:\WINDOWS, C:\Windows,
    // C:\windows under Wine): the name matters, not its case.
    EXPECT_EQ(upperName(app.CartellaWindows.substr(0, 11)), "C:\\WINDOWS ");
  }
}

TEST_F(StartupTest, TheDriveListOpensOnADriveTheWorkstationHas) {
  writeSettings("[HOST]\r\nHostIP=1.2.3.4\r\n");
  struct Case {
    const char* folder;
    const char* drive;
    const char* windows = "C:\\WINDOWS";
  };
  const Case cases[] = {
      {"D:\\inst", "d: [DATI]"},
      // Started straight from the server: the Windows folder's drive.
      {"\\\\ZEPOSRV\\zepo", "c:"},
      {"\\\\ZEPOSRV\\zepo", "d: [DATI]", "D:\\WINNT"},
      {"q:\\inst", "c:"},  // a drive that is not there (a drive mapped no more)
      // Neither drive is there: the first of the list.
      {"q:\\inst", "c:", "R:\\WINDOWS"},
  };
  for (const Case& c : cases) {
    // An installer started from elsewhere than the workstation's own folder.
    FaultPlatform platform(ws.platform());
    platform.rules = {FaultPlatform::answer("appPath", c.folder),
                      FaultPlatform::answer("GetWindowsDirectoryA", c.windows)};
    ScriptedUi runUi;
    runUi.inputBoxAnswers = {"ZEPOSRV"};
    Installer app(platform, runUi);
    EXPECT_EQ(runEventProcedure(app, frmMain::Form_Load), std::nullopt) << c.folder;
    EXPECT_EQ(app.frmMain.drive, c.drive) << c.folder << " " << c.windows;
  }
}

TEST_F(StartupTest, NoServerNameOrNoSettingsFileEndsTheInstaller) {
  struct Case {
    const char* server;  // "": the input box is cancelled
    bool settings;
    ScriptedUi::Message told;
  };
  const ScriptedUi::Message noFile{"Il file ZEPOINST.INI non esiste", 16,
                                   "Installazione Client ZEPO"};
  const Case cases[] = {
      {"",
       true,
       {"Se non si specifica il nome del server\ril programma non può essere eseguito.", 64,
        "Client ZEPO"}},
      {"ZEPOSRV", false, noFile},
      // The name is never cleaned: a server with an empty name is on no
      // network, and the settings file is not found.
      {"\\\\ZEPOSRV", true, noFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.server);
    if (c.settings) {
      writeSettings("[HOST]\r\nHostIP=1.2.3.4\r\n");
    } else {
      ws.platform().deleteFile(kSettings);
    }
    ScriptedUi runUi;
    runUi.inputBoxAnswers = {c.server};
    Installer app(ws.platform(), runUi);
    EXPECT_THROW(frmMain::Form_Load(app), InstallerEnd);
    EXPECT_EQ(runUi.messages, std::vector<ScriptedUi::Message>{c.told});
    EXPECT_EQ(app.frmMain.txtServer, c.server);
    EXPECT_EQ(app.frmMain.txtIP, "255.255.255.255");  // the settings were never read
  }
}

// What the menus and the close box do once the installer has started.
TEST_F(StartupTest, TheMenusAndTheCloseBoxAfterStartUp) {
  writeSettings("[HOST]\r\nHostIP=10.0.0.1\r\n[PATH]\r\nInstallPath=dati\r\n");
  Installer app(ws.platform(), ui);
  ui.inputBoxAnswers = {"ZEPOSRV", "ALTRO"};
  frmMain::Form_Load(app);
  // A later server name keeps the fields read at start-up.
  frmMain::mnuServer_Click(app);
  EXPECT_EQ(app.frmMain.txtServer, "ALTRO");
  EXPECT_EQ(app.frmMain.txtIP, "10.0.0.1");
  EXPECT_EQ(app.frmMain.txtPath, "dati");

  // The about window is loaded only when it is not there.
  ui.windowCalls.clear();
  frmMain::mnuInfo_Click(app);
  EXPECT_EQ(app.frmAbout.lblTitle, "clientZEPO");
  app.frmAbout.lblTitle = "changed";
  frmMain::mnuInfo_Click(app);
  EXPECT_EQ(app.frmAbout.lblTitle, "changed");
  EXPECT_EQ(ui.windowCalls, (std::vector<std::string>{"show About", "show About"}));
  frmAbout::cmdOK_Click(app);
  frmMain::mnuInfo_Click(app);
  EXPECT_EQ(app.frmAbout.lblTitle, "clientZEPO");

  // "Esci" leaves test.txt; closing the window deletes it, and closes it
  // without the file too.
  ws.writeFile("C:\\WINDOWS\\test.txt", "x");
  EXPECT_THROW(frmMain::mnuEsci_Click(app), InstallerEnd);
  EXPECT_TRUE(ws.exists("C:\\WINDOWS\\test.txt"));
  EXPECT_THROW(frmMain::Form_Unload(app), InstallerEnd);
  EXPECT_FALSE(ws.exists("C:\\WINDOWS\\test.txt"));
  EXPECT_THROW(frmMain::Form_Unload(app), InstallerEnd);

  // An empty answer from the menu is stored, told and ends the installer.
  EXPECT_THROW(frmMain::mnuServer_Click(app), InstallerEnd);
  EXPECT_EQ(app.frmMain.txtServer, "");
  EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace zepo
