#include "install/client_setup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "install/install_test_fixture.h"
#include "platform/errors.h"
#include "tests/fault_platform.h"

namespace zepo::testing {
namespace {

const char* const kClientIni = "c:\\zepo\\zepo.ini";
const char* const kCopyQuestion =
    "Aggiornamento file di sistema completato.\r\nProcedo con la copia dei file?";

class AggiornaClientTest : public InstallTest {
 protected:
  explicit AggiornaClientTest(const TestWorkstation::Options& options = {}) : InstallTest(options) {
    fillShare();
  }
  std::string entry(const std::string& section, const std::string& key) {
    return ini(kClientIni, section, key);
  }
  // Entries 1 to 6, with the drive as the drive list gives it.
  void expectSixEntries(const std::string& drive, const std::string& file) {
    EXPECT_EQ(ini(file, "Abal~FileMgt", "FileMgt32"), drive + "\\Zepo\\CRIRED36\\cred32.dll");
    EXPECT_EQ(ini(file, "Abal~FileMgt", "FileRaw32"), drive + "\\Zepo\\wexa36\\FLFILE32.dll");
    EXPECT_EQ(ini(file, "Abal~Context", "Keyboard"), drive + "\\Zepo\\wexa36\\IT102AT.CLV");
    EXPECT_EQ(ini(file, "Abal~Environ", "ATFIND"), "\\\\SRV1\\ZEPO\\DATI\\");
    EXPECT_EQ(ini(file, "Abal~Environ", "ATIPSERVER"), "\\\\SRV1\\ZEPO\\PROG\\");
    EXPECT_EQ(ini(file, "Abal~Environ", "ATDIR"), drive + "\\ZEPO\\");
    EXPECT_EQ(ini(file, "Abal~Environ", "OTHER"), "kept");
  }
  bool systemFilesUpdated() {
    return ws.readFile(etc + "\\hosts") == "127.0.0.1 localhost\r\n10.0.0.5\tSRV1\r\n" &&
           ini(windowsFolder(ws.platform()) + "\\system.ini", "DBS_REG_32", "X") ==
               "\\\\SRV1\\criteria";
  }
};

TEST_F(AggiornaClientTest, InstallCopiesTheTreesAndKeepsTheIniItWrote) {
  // What the operator sees at the first tree copy.
  FaultPlatform observer{ws.platform()};
  Installer observed{observer, ui};
  observed.frmMain = app.frmMain;
  bool labelShown = false;
  bool repainted = false;
  observer.onCall = [&](const std::string& call) {
    if (!call.starts_with("CreateProcessA(") || observer.calls("CreateProcessA").size() != 1)
      return;
    labelShown = observed.frmMain.lblAttendiVisible;
    repainted = ui.windowCalls == std::vector<std::string>{"refresh Main"};
  };

  AggiornaClient(observed, "c:\\zepo", true);

  EXPECT_TRUE(systemFilesUpdated());
  EXPECT_EQ(ui.messages, (std::vector<ScriptedUi::Message>{
                             {kCopyQuestion, kMbOkCancelQuestion, "Installazione Client ZEPO"}}));
  EXPECT_TRUE(labelShown);
  EXPECT_TRUE(repainted);
  EXPECT_TRUE(observed.frmMain.lblAttendiVisible);
  // The three trees, with their subfolders.
  EXPECT_EQ(ws.readFile("c:\\zepo\\archivio.dat"), "dati");
  EXPECT_EQ(ws.readFile("c:\\zepo\\prog\\moduli\\mod.dll"), "dll");
  EXPECT_EQ(ws.readFile("c:\\zepo\\wexa36\\winpcf.fon"), "font");
  EXPECT_TRUE(ws.exists("c:\\zepo\\temp"));
  EXPECT_TRUE(ws.exists("c:\\zepo\\txt"));
  EXPECT_FALSE(ws.exists("c:\\zepo\\zepoini.old"));

  // The INI is the template with the nine entries, not the data folder's.
  expectSixEntries("c:", kClientIni);
  EXPECT_EQ(entry("Abal~Context", "Police"), "WinPC,31");
  EXPECT_EQ(entry("Abal~Context", "ProcessOffset"), "30");
  EXPECT_EQ(entry("Abal~Context", "ProcessLimit"), "39");
  EXPECT_EQ(entry("Abal~Context", "Copied"), "");
}

TEST_F(AggiornaClientTest, FontSizeFollowsTheScreenAndProcessesTheWorkstation) {
  // The width counts in device pixels whatever the scaling; at 100 and
  // 144 dpi a pixel is a fraction of twips.
  struct Case {
    int width;
    int dpi;
    const char* posto;
    const char* police;
    const char* offset;
    const char* limit;
  };
  const Case cases[] = {
      {640, 96, "7", "WinPC,16", "70", "79"},
      {800, 96, "12", "WinPC,21", "120", "129"},
      {1280, 96, " 3 ", "WinPC,31", "30", "39"},
      {600, 96, "x", "WinPC,31", "0", "9"},
      {1024, 96, "1.005", "WinPC,31", "10.05", "19.05"},
      {1024, 96, "12345678901234567", "WinPC,31", "1.23456789012346E+17", "1.23456789012346E+17"},
      {800, 144, "1", "WinPC,21", "10", "19"},
      {640, 144, "1", "WinPC,16", "10", "19"},
      {1024, 120, "1", "WinPC,31", "10", "19"},
  };
  for (const Case& c : cases) {
    ui.screenWidthPixels = c.width;
    ui.twipsPerPixel = 1440.0 / c.dpi;
    ui.msgBoxAnswers = {kIdCancel};
    app.frmMain.txtPosto = c.posto;
    AggiornaClient(app, "c:\\zepo", true);
    EXPECT_EQ(entry("Abal~Context", "Police"), c.police) << c.width << " at " << c.dpi;
    EXPECT_EQ(entry("Abal~Context", "ProcessOffset"), c.offset) << c.posto;
    EXPECT_EQ(entry("Abal~Context", "ProcessLimit"), c.limit) << c.posto;
  }
  // Cancel at the copy question copies nothing; the last entries are written.
  EXPECT_EQ(ui.prompts(), std::vector<std::string>(std::size(cases), kCopyQuestion));
  EXPECT_FALSE(app.frmMain.lblAttendiVisible);
  EXPECT_TRUE(ui.windowCalls.empty());
  EXPECT_FALSE(ws.exists("c:\\zepo\\archivio.dat"));
  expectSixEntries("c:", kClientIni);
}

TEST_F(AggiornaClientTest, AMissingOrLeftoverFileStopsTheRunWhereItIs) {
  struct Case {
    const char* why;
    std::function<void()> before;
    int error;
    std::function<void()> after;
  };
  const Case cases[] = {
      {"no template",
       [&] {
         ws.platform().deleteFile("\\\\SRV1\\zepo\\client\\zepo.ini");
         ws.writeFile(kClientIni, "old");
       },
       kErrFileNotFound,
       [&] {
         // Stopped after the system files, before any question.
         EXPECT_TRUE(systemFilesUpdated());
         EXPECT_EQ(ws.readFile(kClientIni), "old");
         EXPECT_TRUE(ui.messages.empty());
       }},
      {"the INI set aside by an earlier run",
       [&] { ws.writeFile("c:\\zepo\\zepoini.old", "earlier"); }, kErrFileAlreadyExists,
       [&] {
         EXPECT_EQ(ws.readFile("c:\\zepo\\zepoini.old"), "earlier");
         expectSixEntries("c:", kClientIni);
         EXPECT_FALSE(ws.exists("c:\\zepo\\archivio.dat"));
       }},
      {"a data folder without its INI",
       [&] { ws.platform().deleteFile("\\\\SRV1\\zepo\\dati\\zepo.ini"); }, kErrFileNotFound,
       [&] {
         // The INI stays set aside; the trees were copied.
         EXPECT_FALSE(ws.exists(kClientIni));
         expectSixEntries("c:", "c:\\zepo\\zepoini.old");
         EXPECT_TRUE(ws.exists("c:\\zepo\\wexa36\\winpcf.fon"));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::filesystem::remove_all(ws.hostPath("c:\\zepo"));
    fillShare();
    ui.messages.clear();
    c.before();
    try {
      AggiornaClient(app, "c:\\zepo", true);
      ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), c.error);
    }
    c.after();
  }
}

}  // namespace
}  // namespace zepo::testing
