// The prefix of the emulated workstation: the default layout, platform.ini
// and what the platform reports from them.
#include "platform/linux_prefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/linux_platform.h"
#include "tests/test_workstation.h"

namespace fs = std::filesystem;

namespace zepo {
namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Every line of the text ends in CR LF.
bool allCrLf(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) return false;
  }
  return !text.empty() && text.back() == '\n';
}

TEST(DefaultWorkstation, LooksLikeAFreshWindowsXpMachine) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  EXPECT_EQ(fs::read_symlink(ws.dir() + "/dosdevices/c:"), "../drive_c");
  EXPECT_TRUE(fs::is_directory(ws.dir() + "/drive_c/WINDOWS"));
  std::string etc = "c:\\windows\\system32\\drivers\\etc\\";
  std::string hosts = ws.readFile(etc + "hosts");
  EXPECT_NE(hosts.find("\r\n127.0.0.1       localhost\r\n"), std::string::npos);
  EXPECT_EQ(ws.readFile(etc + "hosts.sam"), hosts);
  std::string services = ws.readFile(etc + "services");
  EXPECT_NE(services.find("\r\nhttp               80/tcp"), std::string::npos);
  EXPECT_EQ(services.find("criteria"), std::string::npos);
  std::string systemIni = ws.readFile("c:\\windows\\system.ini");
  EXPECT_NE(systemIni.find("[386Enh]\r\n"), std::string::npos);
  for (const std::string& text : {hosts, services, systemIni}) EXPECT_TRUE(allCrLf(text));
  EXPECT_EQ(p.listFirst("c:\\documents and settings\\all users\\desktop", kAttrDirectory),
            "Desktop");
  EXPECT_EQ(p.listFirst("c:\\clientzepo", kAttrDirectory), "clientZEPO");
  EXPECT_EQ(contents(ws.dir() + "/registry.reg"), "REGEDIT4\r\n");
  EXPECT_TRUE(allCrLf(contents(ws.dir() + "/platform.ini")));

  EXPECT_EQ(p.osPlatform(), 2);
  EXPECT_FLOAT_EQ(p.osVersion(), 5.1f);
  EXPECT_EQ(p.appPath(), "C:\\clientZEPO");
  ASSERT_EQ(p.drives().size(), 1u);
  EXPECT_EQ(p.drives()[0].letter, 'c');
  EXPECT_EQ(p.drives()[0].label, "");
  // Started programs see the same workstation.
  EXPECT_EQ(std::string(std::getenv("ZEPO_PREFIX")), ws.dir());
}

TEST(DefaultWorkstation, FollowsThePlatformAndVersion) {
  TestWorkstation::Options nine;
  nine.platform = 1;
  nine.version = "4.10";
  TestWorkstation ws9x(nine);
  EXPECT_TRUE(ws9x.exists("c:\\windows\\hosts"));
  EXPECT_TRUE(ws9x.exists("c:\\windows\\hosts.sam"));
  EXPECT_TRUE(ws9x.exists("c:\\windows\\services"));
  EXPECT_FALSE(ws9x.exists("c:\\windows\\system32\\drivers\\etc\\hosts"));
  EXPECT_TRUE(ws9x.exists("c:\\windows\\desktop"));
  EXPECT_NE(ws9x.readFile("c:\\windows\\system.ini").find("[boot]\r\n"), std::string::npos);
  EXPECT_EQ(ws9x.platform().osPlatform(), 1);
  EXPECT_FLOAT_EQ(ws9x.platform().osVersion(), 4.1f);

  TestWorkstation::Options nt4;
  nt4.version = "4.0";
  nt4.windowsDirectory = "D:\\WINNT";
  nt4.programDirectory = "\\\\SRV1\\inst\\clientZEPO";
  TestWorkstation wsNt4(nt4);
  EXPECT_TRUE(wsNt4.exists("d:\\winnt\\profiles\\all users\\desktop"));
  EXPECT_TRUE(wsNt4.exists("d:\\winnt\\system32\\drivers\\etc\\services"));
  EXPECT_TRUE(wsNt4.exists("\\\\SRV1\\inst\\clientZEPO"));
  EXPECT_FALSE(wsNt4.exists("c:\\documents and settings"));
  EXPECT_EQ(wsNt4.platform().drives().size(), 2u);
  EXPECT_EQ(wsNt4.platform().appPath(), "\\\\SRV1\\inst\\clientZEPO");
  std::string buffer(255, ' ');
  EXPECT_EQ(wsNt4.platform().GetWindowsDirectoryA(buffer, 255), 8u);
  EXPECT_EQ(buffer.substr(0, 9), std::string("D:\\WINNT\0", 9));

  // Version 6 and above are no version 5.
  TestWorkstation::Options seven;
  seven.version = "6.1";
  TestWorkstation ws7(seven);
  EXPECT_TRUE(ws7.exists("c:\\windows\\profiles\\all users\\desktop"));
}

TEST(DefaultWorkstation, AnExistingPrefixIsUsedAsItStands) {
  TestWorkstation ws;
  ws.platform().deleteFile("c:\\windows\\system32\\drivers\\etc\\hosts");
  ws.reopen();
  EXPECT_FALSE(ws.exists("c:\\windows\\system32\\drivers\\etc\\hosts"));

  // A folder with something in it but no platform.ini (a Wine prefix, say)
  // takes the default facts and is not laid out.
  std::string wine = ws.dir() + "/wine";
  fs::create_directories(wine + "/dosdevices");
  LinuxPlatform p(wine);
  EXPECT_EQ(p.osPlatform(), 2);
  EXPECT_EQ(p.drives().size(), 0u);
  EXPECT_FALSE(fs::exists(wine + "/platform.ini"));
  EXPECT_FALSE(fs::exists(wine + "/drive_c"));

  // Its program folder is made when it is first asked for (on a drive
  // that is there), so that the check run can write its scratch list.
  fs::create_directories(wine + "/drive_c/windows");
  fs::create_directory_symlink("../drive_c", wine + "/dosdevices/c:");
  LinuxPlatform used(wine);
  EXPECT_FALSE(fs::exists(wine + "/drive_c/clientZEPO"));
  EXPECT_EQ(used.appPath(), "C:\\clientZEPO");
  used.openText(1, used.appPath() + "\\filetmp.txt", TextMode::kOutput);
  used.writeLine(1, "x");
  used.closeFile(1);
  EXPECT_EQ(contents(wine + "/drive_c/clientZEPO/filetmp.txt"), "x\r\n");
  // Without the drive nothing is made, and asking does not fail.
  fs::create_directories(ws.dir() + "/wine2/dosdevices");
  LinuxPlatform noDrive(ws.dir() + "/wine2");
  EXPECT_EQ(noDrive.appPath(), "C:\\clientZEPO");
  EXPECT_FALSE(fs::exists(ws.dir() + "/wine2/drive_c"));
}

TEST(DefaultWorkstation, MalformedPlatformIniNamesFileAndLine) {
  TestWorkstation ws;
  std::string dir = ws.dir() + "/bad";
  fs::create_directories(dir);
  struct Case {
    std::string text;
    int line;
  };
  for (const Case& c :
       {Case{"[System]\r\nVersion=5.1\r\nPlatform=two\r\n", 3},
        Case{"; ok\nthis is no setting\n", 2}, Case{"Platform=2\n", 1},
        Case{"[System]\rVersion=5,1\r", 2}, Case{"[System]\nWindowsDirectory=WINDOWS\n", 2},
        Case{"[System]\nPlatfrom=2\n", 2}, Case{"[Labels]\n\nd=DATI\ndata=x\n", 4},
        Case{"[System\n", 1}, Case{"[System]\nVersion=" + std::string(50, '9') + "\n", 2},
        Case{"[System]\n\nPlatform=99999999999999999999\n", 3},
        Case{"[System]\nWindowsDirectory=C:\\" + std::string(252, 'W') + "\n", 2}}) {
    std::string ini = dir + "/platform.ini";
    std::ofstream(ini, std::ios::binary) << c.text;
    try {
      LinuxPlatform p(dir);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(ini + ":" + std::to_string(c.line) + ":"),
                std::string::npos)
          << e.what();
    }
    // Nothing was written: the file is as it was, no workstation laid out.
    EXPECT_EQ(contents(ini), c.text);
    EXPECT_FALSE(fs::exists(dir + "/dosdevices"));
  }

  // A platform.ini that is a folder is no settings file either.
  fs::remove(dir + "/platform.ini");
  fs::create_directory(dir + "/platform.ini");
  try {
    LinuxPlatform p(dir);
    ADD_FAILURE() << "accepted a folder";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              dir + "/platform.ini: is a folder, not the workstation's settings file");
  }
  EXPECT_FALSE(fs::exists(dir + "/dosdevices"));
}

TEST(DefaultWorkstation, PlatformIniRules) {
  TestWorkstation ws;
  std::string dir = ws.dir() + "/other";
  fs::create_directories(dir);
  std::ofstream(dir + "/platform.ini", std::ios::binary)
      << "\xEF\xBB\xBF; comment\n[system]\n  platform = 1   ; the 9x family\n"
         "VERSION=4.90\nPlatform=2\n[Other]\nanything goes=here\n[LABELS]\nD:=\ne=BACKUP\n";
  LinuxPlatform p(dir);
  EXPECT_EQ(p.osPlatform(), 1);  // the first one counts
  EXPECT_FLOAT_EQ(p.osVersion(), 4.9f);
  fs::create_directory_symlink("../drive_c", dir + "/dosdevices/d:");
  fs::create_directory_symlink("../drive_c", dir + "/dosdevices/E:");
  std::vector<DriveInfo> drives = p.drives();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[1].letter, 'd');
  EXPECT_EQ(drives[1].label, "");  // given empty: no default
  EXPECT_EQ(drives[2].letter, 'e');
  EXPECT_EQ(drives[2].label, "BACKUP");
}

TEST(Drives, LettersInOrderWithTheirLabels) {
  TestWorkstation ws;
  ws.addDrive('e', "BACKUP");
  ws.addDrive('d');
  fs::create_directories(ws.dir() + "/dosdevices/com1");
  fs::create_directories(ws.dir() + "/dosdevices/c::");
  fs::create_directory_symlink("/nonexistent", ws.dir() + "/dosdevices/z:");
  std::vector<DriveInfo> drives = ws.platform().drives();
  ASSERT_EQ(drives.size(), 4u);
  EXPECT_EQ(drives[0].letter, 'c');
  EXPECT_EQ(drives[1].letter, 'd');
  EXPECT_EQ(drives[1].label, "");
  EXPECT_EQ(drives[2].letter, 'e');
  EXPECT_EQ(drives[2].label, "BACKUP");
  EXPECT_EQ(drives[3].letter, 'z');  // a drive that is not ready is still a drive

  // Without [Labels] no drive has a label (a Wine prefix, say).
  std::string dir = ws.dir() + "/plain";
  fs::create_directories(dir + "/dosdevices/d:");
  fs::create_directories(dir + "/dosdevices/c:");
  LinuxPlatform p(dir);
  EXPECT_EQ(p.drives()[1].label, "");
}

TEST(WindowsFunctions, GetWindowsDirectoryFillsTheBuffer) {
  TestWorkstation ws;
  std::string buffer(255, ' ');
  EXPECT_EQ(ws.platform().GetWindowsDirectoryA(buffer, 255), 10u);
  EXPECT_EQ(buffer, std::string("C:\\WINDOWS\0", 11) + std::string(244, ' '));
  // Too small: nothing written, the size it needs comes back.
  std::string small(10, ' ');
  EXPECT_EQ(ws.platform().GetWindowsDirectoryA(small, 10), 11u);
  EXPECT_EQ(small, std::string(10, ' '));
}

TEST(WindowsFunctions, AddFontResourceRecordsTheFont) {
  TestWorkstation ws;
  ws.addDrive('d', "DATI");
  ws.writeFile("d:\\zepo\\wexa36\\winpcf.fon", "font");
  LinuxPlatform& p = ws.platform();
  ws.writeFile("d:\\zepo\\wexa36\\other.fon", "font");
  EXPECT_EQ(p.AddFontResourceA("D:\\zepo\\WEXA36\\winpcf.fon"), 1);
  EXPECT_EQ(p.AddFontResourceA("d:\\zepo\\wexa36\\missing.fon"), 0);
  EXPECT_EQ(p.AddFontResourceA("q:\\zepo\\wexa36\\winpcf.fon"), 0);
  EXPECT_EQ(p.AddFontResourceA("d:\\zepo\\wexa36"), 0);
  EXPECT_EQ(p.AddFontResourceA("d:\\zepo\\wexa36\\other.fon"), 1);
  // Every font loaded stays listed.
  EXPECT_EQ(contents(ws.dir() + "/fonts.txt"),
            "D:\\zepo\\WEXA36\\winpcf.fon\nd:\\zepo\\wexa36\\other.fon\n");
}

TEST(WindowsFunctions, DefaultPrefixFolder) {
  setenv("ZEPO_PREFIX", "/srv/ws", 1);
  setenv("XDG_DATA_HOME", "/data", 1);
  setenv("HOME", "/home/op", 1);
  EXPECT_EQ(LinuxPlatform::defaultPrefixDir(), "/srv/ws");
  unsetenv("ZEPO_PREFIX");
  EXPECT_EQ(LinuxPlatform::defaultPrefixDir(), "/data/clientzepo");
  setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_EQ(LinuxPlatform::defaultPrefixDir(), "/home/op/.local/share/clientzepo");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(LinuxPlatform::defaultPrefixDir(), "/home/op/.local/share/clientzepo");
}

}  // namespace
}  // namespace zepo
