// An install through the real windows on the demo workstation, from the
// start-up's input box to the files it leaves on disk.
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/qt/e2e_driver.h"
#include "install/install_test_fixture.h"
#include "platform/registry_store.h"
#include "shell/settings.h"

namespace zepo::qt::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::hostsFolder;
using testing::kDbsKeyDefault;
using testing::kDbsKeyUser;

class InstallEndToEndTest : public EndToEndTest {
 protected:
  // Expects every ordinary file of the tree `from` to have an equal copy at
  // its place below `to`, the files named in `skip` (relative paths) aside.
  // The number of files compared.
  int expectTreeCopied(const std::string& from, const std::string& to,
                       const std::set<std::string>& skip = {}) {
    int compared = 0;
    fs::path root = demo.hostPath(from);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      std::string relative = fs::relative(entry.path(), root).string();
      if (skip.contains(relative)) continue;
      std::string windows = relative;
      std::replace(windows.begin(), windows.end(), '/', '\\');
      EXPECT_EQ(demo.readFile(to + "\\" + windows), demo.readFile(from + "\\" + windows))
          << windows;
      ++compared;
    }
    return compared;
  }

  // The workstation's list of loaded fonts, one path a line.
  std::string loadedFonts() {
    std::ifstream in(demo.dir() + "/fonts.txt", std::ios::binary);
    std::stringstream fonts;
    fonts << in.rdbuf();
    return fonts.str();
  }

  std::string ini(const std::string& file, const std::string& section, const std::string& key) {
    return readProfileString(demo.platform(), section, key, file);
  }
};

// The font size entry that a screen of this width gives.
std::string policeFor(int screenWidth) {
  if (screenWidth == 640) return "WinPC,16";
  if (screenWidth == 800) return "WinPC,21";
  return "WinPC,31";
}

TEST_F(InstallEndToEndTest, InstallFromTheStartUpToTheDesktop) {
  const std::string etc = hostsFolder(demo.platform());
  const std::string hostsBefore = demo.readFile(etc + "\\hosts");
  const std::string servicesBefore = demo.readFile(etc + "\\services");
  const std::string share = "\\\\ZEPOSRV\\zepo";
  const std::string fontsBefore = loadedFonts();

  ASSERT_NO_FATAL_FAILURE(startUp());
  // The settings file on the share filled the window.
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtServer")->text(), "ZEPOSRV");
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtIP")->text(), "192.0.2.10");
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtPath")->text(), "dati");
  EXPECT_EQ(control<QComboBox>(Form::kMain, "dlbDrive")->currentText(), "d: [DATI]");

  QList<Box> boxes = install("7");
  ASSERT_EQ(boxes.size(), 3);
  for (const Box& box : boxes) EXPECT_EQ(box.title, kInstallTitle);
  auto* lblAttendi = control<QLabel>(Form::kMain, "lblAttendi");
  EXPECT_FALSE(lblAttendi->isVisible());
  EXPECT_EQ(lblAttendi->text(), "Installazione in corso ...\nAttendere.");

  // The client tree, with the server's trees copied into it by xcopy.
  for (const char* folder :
       {"d:\\zepo", "d:\\zepo\\prog", "d:\\zepo\\temp", "d:\\zepo\\txt", "d:\\zepo\\wexa36"})
    EXPECT_TRUE(demo.isFolder(folder)) << folder;
  EXPECT_GT(expectTreeCopied(share + "\\dati", "d:\\zepo", {"zepo.ini", "zepont~1.lnk"}), 0);
  EXPECT_GT(expectTreeCopied(share + "\\prog", "d:\\zepo\\prog"), 0);
  EXPECT_TRUE(demo.isFolder("d:\\zepo\\prog\\moduli"));
  EXPECT_GT(expectTreeCopied(share + "\\wexa36", "d:\\zepo\\wexa36"), 0);
  EXPECT_FALSE(fs::exists(demo.hostPath("d:\\zepo\\zepoini.old")));

  // The client INI is the server's template with the workstation's entries,
  // not the one of the copied data folder.
  const std::string client = "d:\\zepo\\zepo.ini";
  EXPECT_EQ(ini(client, "Abal~FileMgt", "FileMgt32"), "d:\\Zepo\\CRIRED36\\cred32.dll");
  EXPECT_EQ(ini(client, "Abal~FileMgt", "FileRaw32"), "d:\\Zepo\\wexa36\\FLFILE32.dll");
  EXPECT_EQ(ini(client, "Abal~Context", "Keyboard"), "d:\\Zepo\\wexa36\\IT102AT.CLV");
  EXPECT_EQ(ini(client, "Abal~Environ", "ATFIND"), "\\\\ZEPOSRV\\ZEPO\\DATI\\");
  EXPECT_EQ(ini(client, "Abal~Environ", "ATIPSERVER"), "\\\\ZEPOSRV\\ZEPO\\PROG\\");
  EXPECT_EQ(ini(client, "Abal~Environ", "ATDIR"), "d:\\ZEPO\\");
  int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
  EXPECT_EQ(ini(client, "Abal~Context", "Police"), policeFor(screenWidth)) << screenWidth;
  EXPECT_EQ(ini(client, "Abal~Context", "ProcessOffset"), "70");
  EXPECT_EQ(ini(client, "Abal~Context", "ProcessLimit"), "79");
  const std::string clientTemplate = share + "\\client\\zepo.ini";
  EXPECT_NE(ini(clientTemplate, "Abal~Context", "Language"), "");
  EXPECT_EQ(ini(client, "Abal~Context", "Language"),
            ini(clientTemplate, "Abal~Context", "Language"));

  // The system files and the registry.
  EXPECT_EQ(demo.readFile(etc + "\\hosts"), hostsBefore + "192.0.2.10\tZEPOSRV\r\n");
  EXPECT_EQ(demo.readFile(etc + "\\services"),
            servicesBefore + "criteria\t7777/tcp\t#Servizio database Criteria\r\n");
  const std::string dbs = ini(share + "\\zepoinst.ini", "DBS_REG_32", "X");
  ASSERT_NE(dbs, "");
  EXPECT_EQ(ini(windowsFolder(demo.platform()) + "\\system.ini", "DBS_REG_32", "X"), dbs);
  RegistryStore registry(demo.dir() + "/registry.reg");
  EXPECT_EQ(registry.stringValue(kDbsKeyUser, "X:\\"), dbs);
  EXPECT_EQ(registry.stringValue(kDbsKeyDefault, "X:\\"), dbs);

  // The shortcuts on the desktop of the NT family's version 5, the main one
  // pointing to drive d: in its 16-bit and 8-bit paths alike.
  std::string shortcut = demo.readFile(share + "\\dati\\zepont~1.lnk");
  std::string fitted = shortcut;
  for (std::string from : {"C\0:"s, "C:"s})
    for (std::size_t at = fitted.find(from); at != std::string::npos; at = fitted.find(from, at))
      fitted[at] = 'd';
  ASSERT_NE(fitted.find("d:\\Zepo\\prog\\zepont.exe\0"s), std::string::npos);
  ASSERT_NE(fitted.find("d\0:\0\\\0Z\0e\0p\0o\0"s), std::string::npos);
  const std::string desktop =
      windowsFolder(demo.platform()).substr(0, 2) + "\\Documents and Settings\\All Users\\";
  EXPECT_EQ(demo.readFile("d:\\zepo\\zepont~1.lnk"), fitted);
  EXPECT_EQ(demo.readFile(desktop + "Desktop\\Zepo NT.lnk"), fitted);
  EXPECT_EQ(demo.readFile(desktop + "desktop\\configura ZEPO.lnk"),
            demo.readFile(share + "\\dati\\config~1.lnk"));

  // The client's font is loaded.
  EXPECT_EQ(loadedFonts(), fontsBefore + "d:\\zepo\\wexa36\\winpcf.fon\n");
}

}  // namespace
}  // namespace zepo::qt::e2e
