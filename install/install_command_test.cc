#include "install/install_command.h"

#include <gtest/gtest.h>

#include "install/install_test_fixture.h"
#include "platform/errors.h"
#include "shell/event.h"
#include "tests/fault_platform.h"

namespace zepo::testing {
namespace {

using namespace std::string_literals;

const char* const kConfirmation = "Sorgente dati   SRV1\\zepo\\dati\rCreo il client su c:";
const char* const kPrevious =
    "E' stata rilevata una installazione precedente.\rContinuo (i file verranno sovrascritti) ?";
const char* const kCopyQuestion =
    "Aggiornamento file di sistema completato.\r\nProcedo con la copia dei file?";
const char* const kCompleted = "Installazione completata.";

// The shortcut with the drive C: of its 16-bit and 8-bit paths turned into
// `letter`; the lower-case "c:" stays.
std::string fittedShortcut(char letter) {
  std::string bytes = shortcut();
  bytes[bytes.find("C\0:"s)] = letter;
  bytes[bytes.find("C:")] = letter;
  return bytes;
}

class InstallCommandTest : public InstallTest {
 protected:
  InstallCommandTest() {
    fillShare();
    recorded.frmMain = app.frmMain;
  }
  FaultPlatform recorder{ws.platform()};
  Installer recorded{recorder, ui};  // the installer, its calls logged
};

TEST_F(InstallCommandTest, AWorkstationNumberAndAServerNameAreRequired) {
  struct Case {
    const char* posto;
    const char* server;
    const char* prompt;
  };
  const Case cases[] = {
      {"", "SRV1", "Immettere il numero del posto"},
      {"", "", "Immettere il numero del posto"},
      // "Nome" cleared in the window.
      {"3", "", "Immettere il nome del server"},
  };
  for (const Case& c : cases) {
    ui.messages.clear();
    app.frmMain.txtPosto = c.posto;
    app.frmMain.txtServer = c.server;
    frmMain::cmdInstalla_Click(app);
    EXPECT_EQ(ui.messages,
              (std::vector<ScriptedUi::Message>{{c.prompt, kMbInformation, "Client ZEPO"}}));
    EXPECT_EQ(app.frmMain.lblAttendiCaption, "");
    EXPECT_FALSE(ws.exists("c:\\zepo"));
  }
}

TEST_F(InstallCommandTest, AWorkstationNumberBeyondADoubleEndsInTheOverflowBox) {
  // The copy is done when the process numbers are worked out; the runtime's
  // error box ends the installer there, as any runtime error would.
  recorded.frmMain.txtPosto = "1" + std::string(308, '0');
  EXPECT_EQ(runEventProcedure(recorded, frmMain::cmdInstalla_Click), 1);
  EXPECT_EQ(ui.prompts(), (std::vector<std::string>{kConfirmation, kCopyQuestion,
                                                    "Errore di run-time '6':\r\n\r\nOverflow"}));
  EXPECT_EQ(ws.readFile("c:\\zepo\\archivio.dat"), "dati");
  EXPECT_EQ(ini("c:\\zepo\\zepo.ini", "Abal~Context", "ProcessOffset"), "");
}

TEST_F(InstallCommandTest, CancelAtAQuestionChangesNothingOnDisk) {
  ui.msgBoxAnswers = {kIdCancel};
  frmMain::mnuInstalla_Click(app);
  EXPECT_EQ(ui.messages, (std::vector<ScriptedUi::Message>{
                             {kConfirmation, kMbOkCancelQuestion, "Installazione Client ZEPO"}}));
  EXPECT_EQ(app.frmMain.lblAttendiCaption, "Installazione in corso ...\r\nAttendere.");
  EXPECT_FALSE(app.frmMain.lblAttendiVisible);
  EXPECT_EQ(ui.windowCalls, std::vector<std::string>{"refresh Main"});
  EXPECT_FALSE(ws.exists("c:\\zepo"));

  // A previous installation: Cancel at its question, then OK and Cancel.
  ws.writeFile("c:\\zepo\\zepo.ini", "old");
  ui.messages.clear();
  ui.msgBoxAnswers = {kIdCancel, kIdOk, kIdCancel};
  frmMain::cmdInstalla_Click(app);
  frmMain::cmdInstalla_Click(app);
  EXPECT_EQ(ui.prompts(), (std::vector<std::string>{kPrevious, kPrevious, kConfirmation}));
  EXPECT_EQ(ws.readFile("c:\\zepo\\zepo.ini"), "old");
  EXPECT_EQ(ws.readFile(etc + "\\hosts"), "127.0.0.1 localhost\r\n");
}

TEST_F(InstallCommandTest, InstallFitsTheMainShortcutToTheDrive) {
  ws.addDrive('d', "DATI");
  const std::string windows = windowsFolder(ws.platform());
  // The 9x family keeps hosts and services in the Windows folder.
  ws.writeFile(windows + "\\hosts", "127.0.0.1 localhost\r\n");
  ws.writeFile(windows + "\\services", "echo\t7/tcp\r\n");
  ws.writeFile(windows + "\\Desktop\\desktop.ini", "");
  ws.writeFile(windows + "\\Profiles\\All Users\\Desktop\\desktop.ini", "");
  const std::string nt4 = windows + "\\Profiles\\All Users\\";
  const std::string nt5 = windows.substr(0, 2) + "\\Documents and Settings\\All Users\\";
  struct Case {
    const char* drive;
    const char* platform;
    const char* version;
    std::string desktop;  // the main shortcut's; the other's has "desktop"
  };
  const Case cases[] = {
      // The drive list shows the drive in lower case: it still counts as C:.
      {"c:", "2", "5.1", nt5},
      {"d: [DATI]", "2", "5.1", nt5},
      {"c:", "1", "4.0", windows + "\\"},
      // Halves go to the even number: 4.5 is 4, 5.5 is 6.
      {"c:", "2", "4.5", nt4},
      {"d: [DATI]", "2", "5.5", nt4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.drive) + " " + c.platform + " " + c.version);
    const std::string root = std::string(c.drive, 2) + "\\zepo";
    const std::string fitted = c.drive[0] == 'c' ? shortcut() : fittedShortcut('d');
    // Each literal keeps its letter case: "desktop" for the configuration
    // shortcut on the NT family.
    const std::string main = c.desktop + "Desktop\\Zepo NT.lnk";
    const std::string config =
        c.desktop + (c.platform[0] == '2' ? "desktop" : "Desktop") + "\\configura ZEPO.lnk";
    recorded.frmMain.drive = c.drive;
    recorder.rules = {FaultPlatform::answer("osPlatform", c.platform),
                      FaultPlatform::answer("osVersion", c.version)};
    recorder.log.clear();
    frmMain::cmdInstalla_Click(recorded);
    EXPECT_EQ(ui.messages.back(),
              (ScriptedUi::Message{kCompleted, kMbInformation, "Installazione Client ZEPO"}));
    EXPECT_FALSE(recorded.frmMain.lblAttendiVisible);
    EXPECT_EQ(ui.windowCalls.back(), "refresh Main");
    std::vector<std::string> shortcuts;
    for (const std::string& copy : recorder.calls("copyFile")) {
      if (copy.ends_with(".lnk)")) shortcuts.push_back(copy);
    }
    EXPECT_EQ(shortcuts,
              (std::vector<std::string>{"copyFile(" + root + "\\zepont~1.lnk, " + main + ")",
                                        "copyFile(" + root + "\\config~1.lnk, " + config + ")"}));
    EXPECT_EQ(ws.readFile(root + "\\zepont~1.lnk"), fitted);
    EXPECT_EQ(ws.readFile(main), fitted);
    EXPECT_EQ(ws.readFile(config), shortcut());
    EXPECT_EQ(recorder.calls("AddFontResourceA"),
              std::vector<std::string>{"AddFontResourceA(" + root + "\\wexa36\\winpcf.fon)"});
    EXPECT_EQ(ini(root + "\\zepo.ini", "Abal~Context", "ProcessLimit"), "39");
  }
}

class CambiaDriveTest : public InstallTest {
 protected:
  std::string change(const std::string& bytes, const std::string& drive = "d") {
    ws.writeFile("c:\\zepo\\zepont~1.lnk", bytes);
    frmMain::CambiaDrive(app, "c:\\zepo\\zepont~1.lnk", drive);
    return ws.readFile("c:\\zepo\\zepont~1.lnk");
  }
};

TEST_F(CambiaDriveTest, ChangesBothFormsOfDriveCAtMostTenTimesEach) {
  std::string wide;
  std::string narrow;
  for (int i = 0; i < 11; ++i) {
    wide += "C\0:\0\\\0"s;
    narrow += "C:\\";
  }
  std::string tenWide = wide;
  std::string tenNarrow = narrow;
  for (int i = 0; i < 10; ++i) {
    tenWide[i * 6] = 'e';
    tenNarrow[i * 3] = 'e';
  }
  // The largest file that a 16-bit length reads, and one byte more.
  const std::string largest = "C:" + std::string(32765, 'x');
  const std::string tooLarge = largest + "x";
  struct Case {
    std::string bytes;
    const char* drive;
    std::string expected;
  };
  const Case cases[] = {
      {shortcut(), "d", fittedShortcut('d')},    {"C:\\C:", "d", "d:\\d:"},
      {"xC\0\0:C;c\0:"s, "d", "xC\0\0:C;c\0:"s}, {wide + narrow, "e", tenWide + tenNarrow},
      {largest, "d", "d" + largest.substr(1)},   {tooLarge, "d", tooLarge},
  };
  for (const Case& c : cases) EXPECT_EQ(change(c.bytes, c.drive), c.expected) << c.bytes.size();
}

TEST_F(CambiaDriveTest, AMissingShortcutFailsWithoutMakingOne) {
  ws.writeFile("c:\\zepo\\config~1.lnk", shortcut());
  EXPECT_EQ(runEventProcedure(
                app, [](Installer& a) { frmMain::CambiaDrive(a, "c:\\zepo\\zepont~1.lnk", "d"); }),
            1);
  EXPECT_EQ(ui.prompts(), std::vector<std::string>{
                              "Errore di run-time '53':\r\n\r\nImpossibile trovare il file"});
  EXPECT_FALSE(ws.exists("c:\\zepo\\zepont~1.lnk"));
}

}  // namespace
}  // namespace zepo::testing
