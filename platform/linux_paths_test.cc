#include "platform/linux_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/errors.h"
#include "tests/test_workstation.h"

namespace fs = std::filesystem;

namespace zepo {
namespace {

int errorOf(TestWorkstation& ws, const std::string& path) {
  try {
    ws.hostPath(path);
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST(PathResolution, MatchesNamesIgnoringCaseAndKeepsNewSpelling) {
  TestWorkstation ws;
  std::string c = ws.dir() + "/dosdevices/c:";
  EXPECT_EQ(ws.hostPath("C:\\windows\\SYSTEM.INI"), c + "/WINDOWS/system.ini");
  EXPECT_EQ(ws.hostPath("c:\\WINDOWS\\System32\\DRIVERS\\etc\\Hosts"),
            c + "/WINDOWS/system32/drivers/etc/hosts");
  // A missing last component keeps the spelling it was given.
  EXPECT_EQ(ws.hostPath("c:\\windows\\NewFile.TXT"), c + "/WINDOWS/NewFile.TXT");
  EXPECT_EQ(ws.hostPath("C:"), c);

  // Writing through the workstation finds the existing file...
  ws.writeFile("c:\\data\\Foo", "1");
  ws.writeFile("c:\\data\\FOO", "2");
  EXPECT_EQ(ws.readFile("c:\\data\\foo"), "2");
  // ...but Linux may hold two names that differ only in case: the exact
  // spelling wins, else the first in byte order.
  std::ofstream(c + "/data/FOO") << "3";
  EXPECT_EQ(ws.hostPath("c:\\data\\Foo"), c + "/data/Foo");
  EXPECT_EQ(ws.hostPath("c:\\data\\FOO"), c + "/data/FOO");
  EXPECT_EQ(ws.hostPath("c:\\data\\foo"), c + "/data/FOO");
  EXPECT_EQ(ws.hostPath("c:\\DATA\\città"), c + "/data/città");
  ws.writeFile("c:\\data\\CITTÀ", "");
  EXPECT_EQ(ws.hostPath("c:\\DATA\\città"), c + "/data/CITTÀ");
}

TEST(PathResolution, SeparatorsAndDots) {
  TestWorkstation ws;
  std::string ini = ws.dir() + "/dosdevices/c:/WINDOWS/system.ini";
  EXPECT_EQ(ws.hostPath("c:/windows/system.ini"), ini);
  EXPECT_EQ(ws.hostPath("c:\\\\windows\\/\\system.ini"), ini);
  EXPECT_EQ(ws.hostPath("c:\\windows\\.\\system32\\..\\system.ini"), ini);
  // ".." never climbs above the drive's root or the share.
  EXPECT_EQ(ws.hostPath("c:\\..\\..\\windows\\system.ini"), ini);
  ws.addShare("SRV1", "zepo");
  EXPECT_EQ(ws.hostPath("\\\\SRV1\\zepo\\..\\..\\x"), ws.dir() + "/dosdevices/unc/SRV1/zepo/x");
  EXPECT_EQ(ws.hostPath("\\\\SRV1\\zepo\\..\\zepo2"), ws.dir() + "/dosdevices/unc/SRV1/zepo/zepo2");
  // The last component loses its trailing dots and blanks, as Windows
  // reads it; a new file gets the name without them.
  EXPECT_EQ(ws.hostPath("c:\\windows\\system.ini."), ini);
  EXPECT_EQ(ws.hostPath("c:\\windows\\system.ini . ."), ini);
  EXPECT_EQ(ws.hostPath("c:\\windows\\nuovo.txt..."),
            ws.dir() + "/dosdevices/c:/WINDOWS/nuovo.txt");
  EXPECT_EQ(ws.hostPath("c:\\windows\\..."), ws.dir() + "/dosdevices/c:/WINDOWS");
  EXPECT_EQ(ws.platform().listFirst("c:\\windows\\SYSTEM.INI.", 0), "system.ini");
  // A path without a drive starts from the installer's own folder.
  EXPECT_EQ(ws.hostPath("filetmp.txt"), ws.dir() + "/dosdevices/c:/clientZEPO/filetmp.txt");
  EXPECT_EQ(ws.hostPath("\\windows"), ws.dir() + "/dosdevices/c:/WINDOWS");
}

TEST(PathResolution, SharesAndUnknownPlaces) {
  TestWorkstation ws;
  ws.addShare("SRV1", "zepo");
  ws.writeFile("\\\\SRV1\\zepo\\prog\\a.exe", "MZ");
  EXPECT_EQ(ws.hostPath("\\\\srv1\\ZEPO\\PROG\\A.EXE"),
            ws.dir() + "/dosdevices/unc/SRV1/zepo/prog/a.exe");
  EXPECT_EQ(ws.hostPath("//SRV1/zepo/prog"), ws.dir() + "/dosdevices/unc/SRV1/zepo/prog");
  EXPECT_EQ(errorOf(ws, "\\\\SRV2\\zepo\\x"), kErrPathNotFound);           // unknown server
  EXPECT_EQ(errorOf(ws, "\\\\SRV1\\other\\x"), kErrPathNotFound);          // unknown share
  EXPECT_EQ(errorOf(ws, "q:\\x"), kErrPathNotFound);                       // unknown drive
  EXPECT_EQ(errorOf(ws, "c:\\nope\\x"), kErrPathNotFound);                 // missing folder
  EXPECT_EQ(errorOf(ws, "c:\\windows\\system.ini\\x"), kErrPathNotFound);  // a file on the way
  EXPECT_EQ(errorOf(ws, "\\\\SRV1"), kErrBadFileNameOrNumber);             // no share
}

TEST(PathResolution, ForbiddenCharactersRaise52) {
  TestWorkstation ws;
  for (const char* path : {"c:\\a|b", "c:\\a<b\\c", "c:\\x:y", "c:\\\"q\"", "c:\\*.txt",
                           "c:\\win?ows\\system.ini", "\\\\SRV*\\zepo"}) {
    EXPECT_EQ(errorOf(ws, path), kErrBadFileNameOrNumber) << path;
  }
}

TEST(PathResolution, FollowsLinksPlacedInThePrefix) {
  TestWorkstation ws;
  fs::create_directories(ws.dir() + "/elsewhere/Share");
  std::ofstream(ws.dir() + "/elsewhere/Share/Zepoinst.ini") << "x";
  fs::create_directories(ws.dir() + "/dosdevices/unc/SRV9");
  fs::create_directory_symlink("../../../elsewhere/Share", ws.dir() + "/dosdevices/unc/SRV9/zepo");
  EXPECT_EQ(ws.hostPath("\\\\srv9\\ZEPO\\ZEPOINST.INI"),
            ws.dir() + "/dosdevices/unc/SRV9/zepo/Zepoinst.ini");
  EXPECT_EQ(ws.platform().listFirst("\\\\SRV9\\zepo\\zepoinst.ini", 0), "Zepoinst.ini");
}

TEST(PathResolution, SeesChangesMadeBehindItsBack) {
  TestWorkstation ws;
  std::string folder = ws.dir() + "/dosdevices/c:/WINDOWS";
  EXPECT_EQ(ws.hostPath("c:\\windows\\late.txt"), folder + "/late.txt");
  std::ofstream(folder + "/LATE.TXT") << "x";
  EXPECT_EQ(ws.hostPath("c:\\windows\\late.txt"), folder + "/LATE.TXT");
  fs::remove(folder + "/LATE.TXT");
  std::ofstream(folder + "/Late.txt") << "x";
  EXPECT_EQ(ws.hostPath("c:\\windows\\late.txt"), folder + "/Late.txt");

  // A folder reached through another spelling, then made by someone else
  // with the spelling asked for: from then on that one is meant.
  std::string c = ws.dir() + "/dosdevices/c:";
  std::ofstream(folder + "/one.txt") << "x";
  EXPECT_EQ(ws.hostPath("c:\\Windows\\one.txt"), folder + "/one.txt");
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\two.txt", 0), "");
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\ONE.TXT", 0), "one.txt");
  fs::create_directory(c + "/Windows");
  std::ofstream(c + "/Windows/two.txt") << "x";
  EXPECT_EQ(ws.hostPath("c:\\Windows\\one.txt"), c + "/Windows/one.txt");
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\two.txt", 0), "two.txt");
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\ONE.TXT", 0), "");
  // And when it goes, the other spelling is found again.
  fs::remove_all(c + "/Windows");
  EXPECT_EQ(ws.platform().listFirst("c:\\Windows\\one.txt", 0), "one.txt");
  EXPECT_EQ(ws.hostPath("c:\\Windows\\two.txt"), folder + "/two.txt");
}

TEST(PathResolution, ParsesWindowsPaths) {
  WindowsPath drive = parseWindowsPath("D:zepo\\prog\\", "c:\\x", false);
  EXPECT_FALSE(drive.unc);
  EXPECT_EQ(drive.drive, 'd');
  EXPECT_EQ(drive.components, (std::vector<std::string>{"zepo", "prog"}));
  WindowsPath unc = parseWindowsPath("\\\\S\\z\\a\\..\\b", "c:\\x", false);
  EXPECT_TRUE(unc.unc);
  EXPECT_EQ(unc.server, "S");
  EXPECT_EQ(unc.share, "z");
  EXPECT_EQ(unc.components, (std::vector<std::string>{"b"}));
  WindowsPath relative = parseWindowsPath("..\\y\\*.*", "\\\\S\\z\\a", true);
  EXPECT_EQ(relative.components, (std::vector<std::string>{"y", "*.*"}));
  EXPECT_THROW(parseWindowsPath("c:\\*\\x", "", true), RuntimeError);
}

}  // namespace
}  // namespace zepo
