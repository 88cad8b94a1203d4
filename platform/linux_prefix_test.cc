// The prefix of the emulated workstation: the default layout, platform.ini,
// what the platform reports from them, and how a Windows path resolves to
// a Linux one in it.
#include "platform/linux_prefix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/linux_platform.h"
#include "platform/test_error_of.h"
#include "tests/test_workstation.h"

namespace fs = std::filesystem;

namespace zepo {
namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DefaultWorkstation, LaidOutForThePlatformAndVersion) {
  struct Layout {
    TestWorkstation::Options options;
    std::vector<const char*> there, missing;
    std::size_t drives;
  };
  const Layout layouts[] = {
      {{.platform = 1, .version = "4.10", .labels = {}},
       {"c:\\windows\\hosts", "c:\\windows\\hosts.sam", "c:\\windows\\services",
        "c:\\windows\\desktop"},
       {"c:\\windows\\system32\\drivers\\etc\\hosts"},
       1},
      {{2, "4.0", "D:\\WINNT", "\\\\SRV1\\inst\\clientZEPO", {}},
       {"d:\\winnt\\profiles\\all users\\desktop", "d:\\winnt\\system32\\drivers\\etc\\services",
        "\\\\SRV1\\inst\\clientZEPO"},
       {"c:\\documents and settings"},
       2},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.options.version);
    TestWorkstation ws(layout.options);
    LinuxPlatform& p = ws.platform();
    for (const char* path : layout.there) EXPECT_TRUE(ws.exists(path)) << path;
    for (const char* path : layout.missing) EXPECT_FALSE(ws.exists(path)) << path;
    EXPECT_EQ(p.appPath(), layout.options.programDirectory);
    std::string buffer(255, ' ');
    buffer.resize(p.GetWindowsDirectoryA(buffer, 255));
    EXPECT_EQ(buffer, layout.options.windowsDirectory);
    EXPECT_EQ(p.drives().size(), layout.drives);
  }

  TestWorkstation ws;
  EXPECT_NE(ws.readFile("c:\\windows\\system32\\drivers\\etc\\hosts")
                .find("\r\n127.0.0.1       localhost\r\n"),
            std::string::npos);
  // Started programs see the same workstation.
  EXPECT_EQ(std::string(std::getenv("ZEPO_PREFIX")), ws.dir());
}

TEST(DefaultWorkstation, AnExistingPrefixIsUsedAsItStands) {
  TestWorkstation ws;
  ws.platform().deleteFile("c:\\windows\\system32\\drivers\\etc\\hosts");
  ws.reopen();
  EXPECT_FALSE(ws.exists("c:\\windows\\system32\\drivers\\etc\\hosts"));

  // A folder with something in it but no platform.ini (a Wine prefix, say)
  // takes the default facts and is not laid out; its program folder is
  // made when it is first asked for (on a drive that is there).
  std::string wine = ws.dir() + "/wine";
  fs::create_directories(wine + "/dosdevices");
  EXPECT_EQ(LinuxPlatform(wine).drives().size(), 0u);
  EXPECT_FALSE(fs::exists(wine + "/platform.ini"));
  EXPECT_FALSE(fs::exists(wine + "/drive_c"));
  fs::create_directories(wine + "/drive_c/windows");
  fs::create_directory_symlink("../drive_c", wine + "/dosdevices/c:");
  LinuxPlatform used(wine);
  EXPECT_FALSE(fs::exists(wine + "/drive_c/clientZEPO"));
  EXPECT_EQ(used.osPlatform(), 2);
  EXPECT_EQ(used.appPath(), "C:\\clientZEPO");
  used.openText(1, used.appPath() + "\\filetmp.txt", TextMode::kOutput);
  used.writeLine(1, "x");
  used.closeFile(1);
  EXPECT_EQ(contents(wine + "/drive_c/clientZEPO/filetmp.txt"), "x\r\n");
}

TEST(DefaultWorkstation, MalformedPlatformIniNamesFileAndLine) {
  TestWorkstation ws;
  std::string dir = ws.dir() + "/bad";
  fs::create_directories(dir);
  const std::string ini = dir + "/platform.ini";
  const std::pair<std::string, int> cases[] = {
      {"[System]\r\nVersion=5.1\r\nPlatform=two\r\n", 3},
      {"; ok\nthis is no setting\n", 2},
      {"Platform=2\n", 1},
      {"[System]\rVersion=5,1\r", 2},
      {"[System]\nWindowsDirectory=WINDOWS\n", 2},
      {"[System]\nPlatfrom=2\n", 2},
      {"[Labels]\n\nd=DATI\ndata=x\n", 4},
      {"[System\n", 1},
      {"[System]\nVersion=" + std::string(50, '9') + "\n", 2},
      {"[System]\n\nPlatform=99999999999999999999\n", 3},
      {"[System]\nWindowsDirectory=C:\\" + std::string(252, 'W') + "\n", 2},
      {"", 0},  // platform.ini is a folder
  };
  for (const auto& [text, line] : cases) {
    fs::remove_all(ini);
    if (line == 0) fs::create_directory(ini);
    if (line != 0) std::ofstream(ini, std::ios::binary) << text;
    const std::string message = messageOf([&] { LinuxPlatform p(dir); });
    EXPECT_EQ(message.find(line ? ini + ":" + std::to_string(line) + ":"
                                : ini + ": is a folder, not the workstation's"),
              0u)
        << text << " -> " << message;
    // Nothing was written: the file is as it was, no workstation laid out.
    if (line) {
      EXPECT_EQ(contents(ini), text);
    }
    EXPECT_FALSE(fs::exists(dir + "/dosdevices"));
  }
}

TEST(DefaultWorkstation, PlatformIniRulesAndDrives) {
  TestWorkstation ws;
  std::string dir = ws.dir() + "/other";
  fs::create_directories(dir);
  // The first of a key given twice counts; a comment starts only after a
  // blank.
  std::ofstream(dir + "/platform.ini", std::ios::binary)
      << "\xEF\xBB\xBF; comment\n[system]\n  platform = 1   ; the 9x family\n"
         "VERSION=4.90\nPlatform=2\n[Other]\nanything goes=here\n[LABELS]\nD:=\ne=BACKUP\nf=A;B\n";
  LinuxPlatform p(dir);
  EXPECT_EQ(p.osPlatform(), 1);
  EXPECT_FLOAT_EQ(p.osVersion(), 4.9f);
  for (const char* drive : {"d:", "E:", "f:"})
    fs::create_directory_symlink("../drive_c", dir + "/dosdevices/" + drive);
  // Not drives: com1, "c::"; a drive that is not ready is still one.
  for (const char* other : {"com1", "c::"}) fs::create_directories(dir + "/dosdevices/" + other);
  fs::create_directory_symlink("/nonexistent", dir + "/dosdevices/z:");
  std::string drives;
  for (const DriveInfo& drive : p.drives()) drives += drive.letter + ("[" + drive.label + "]");
  EXPECT_EQ(drives, "c[]d[]e[BACKUP]f[A;B]z[]");

  // Without [Labels] no drive has a label (a Wine prefix, say).
  ws.addDrive('e', "BACKUP");
  fs::create_directories(dir + "2/dosdevices/d:");
  EXPECT_EQ(LinuxPlatform(dir + "2").drives().at(0).label, "");
  EXPECT_EQ(ws.platform().drives().at(1).label, "BACKUP");
}

TEST(WindowsFunctions, AddFontResourceRecordsEveryFontLoaded) {
  TestWorkstation ws;
  ws.writeFile("c:\\zepo\\winpcf.fon", "font");
  LinuxPlatform& p = ws.platform();
  EXPECT_EQ(p.AddFontResourceA("C:\\zepo\\WINPCF.fon"), 1);
  EXPECT_EQ(p.AddFontResourceA("c:\\zepo"), 0);
  EXPECT_EQ(p.AddFontResourceA("c:\\zepo\\winpcf.fon"), 1);
  EXPECT_EQ(contents(ws.dir() + "/fonts.txt"), "C:\\zepo\\WINPCF.fon\nc:\\zepo\\winpcf.fon\n");
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
}

TEST(PathResolution, WindowsPathsToLinuxPaths) {
  TestWorkstation ws;
  ws.addShare("SRV1", "zepo");
  ws.writeFile("\\\\SRV1\\zepo\\prog\\a.exe", "MZ");
  ws.writeFile("c:\\data\\Foo", "1");
  ws.writeFile("c:\\data\\FOO", "2");  // the existing file, whatever the spelling
  EXPECT_EQ(ws.readFile("c:\\data\\foo"), "2");
  ws.writeFile("c:\\data\\CITTÀ", "");
  const std::string c = ws.dir() + "/dosdevices/c:", win = c + "/WINDOWS";
  const std::string unc = ws.dir() + "/dosdevices/unc/SRV1/zepo";
  // Linux may hold two names that differ only in case: the exact spelling
  // wins, else the first in byte order.
  std::ofstream(c + "/data/FOO") << "3";
  const std::pair<const char*, std::string> cases[] = {
      {"c:\\WINDOWS\\System32\\DRIVERS\\etc\\Hosts", win + "/system32/drivers/etc/hosts"},
      {"c:\\windows\\NewFile.TXT", win + "/NewFile.TXT"},  // a new name keeps its spelling
      {"C:", c},
      {"c:\\data\\Foo", c + "/data/Foo"},
      {"c:\\data\\FOO", c + "/data/FOO"},
      {"c:\\data\\foo", c + "/data/FOO"},
      {"c:\\DATA\\città", c + "/data/CITTÀ"},
      // ".." never climbs above the drive's root or the share.
      {"c:\\..\\..\\windows\\system.ini", win + "/system.ini"},
      {"c:\\windows\\.\\system32\\..\\system.ini", win + "/system.ini"},
      {"\\\\SRV1\\zepo\\..\\..\\x", unc + "/x"},
      {"\\\\SRV1\\zepo\\..\\zepo2", unc + "/zepo2"},
      // The last component loses its trailing dots and blanks.
      {"c:\\windows\\system.ini . .", win + "/system.ini"},
      {"c:\\windows\\...", win},
      // A path without a drive starts from the installer's own folder.
      {"filetmp.txt", c + "/clientZEPO/filetmp.txt"},
      {"\\windows", win},
  };
  for (const auto& [path, host] : cases) EXPECT_EQ(ws.hostPath(path), host) << path;
  // A file on the way is no folder (the contract has the other unknown
  // places); a UNC path needs a share, and a server name no wildcard.
  EXPECT_EQ(errorOf([&] { ws.hostPath("c:\\windows\\system.ini\\x"); }), kErrPathNotFound);
  for (const char* path : {"\\\\SRV1", "\\\\SRV*\\zepo", "c:\\x:y"})
    EXPECT_EQ(errorOf([&] { ws.hostPath(path); }), kErrBadFileNameOrNumber) << path;
}

TEST(PathResolution, FollowsLinksAndChangesMadeBehindItsBack) {
  TestWorkstation ws;
  fs::create_directories(ws.dir() + "/elsewhere/Share");
  std::ofstream(ws.dir() + "/elsewhere/Share/Zepoinst.ini") << "x";
  fs::create_directories(ws.dir() + "/dosdevices/unc/SRV9");
  fs::create_directory_symlink("../../../elsewhere/Share", ws.dir() + "/dosdevices/unc/SRV9/zepo");
  EXPECT_EQ(ws.platform().listFirst("\\\\SRV9\\zepo\\zepoinst.ini", 0), "Zepoinst.ini");

  std::string folder = ws.dir() + "/dosdevices/c:/WINDOWS";
  EXPECT_EQ(ws.hostPath("c:\\windows\\late.txt"), folder + "/late.txt");
  std::ofstream(folder + "/LATE.TXT") << "x";
  EXPECT_EQ(ws.hostPath("c:\\windows\\late.txt"), folder + "/LATE.TXT");
  fs::remove(folder + "/LATE.TXT");
  std::ofstream(folder + "/Late.txt") << "x";
  EXPECT_EQ(ws.hostPath("c:\\windows\\late.txt"), folder + "/Late.txt");

  // A folder reached through another spelling, then made by someone else
  // with the spelling asked for: from then on that one is meant, and when
  // it goes, the other spelling is found again.
  std::string c = ws.dir() + "/dosdevices/c:";
  std::ofstream(folder + "/one.txt") << "x";
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\ONE.TXT", 0), "one.txt");
  fs::create_directory(c + "/Windows");
  std::ofstream(c + "/Windows/two.txt") << "x";
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\two.txt", 0), "two.txt");
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\ONE.TXT", 0), "");
  fs::remove_all(c + "/Windows");
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\one.txt", 0), "one.txt");
}

}  // namespace
}  // namespace zepo
