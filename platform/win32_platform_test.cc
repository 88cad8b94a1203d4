// What only the Windows platform shows, under Wine on a drive of its own
// made for each test (the rest is the platform contract): the Windows
// functions called for real, and whole-file writes against a file that
// another program holds.
#include "platform/win32_platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/test_error_of.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

using Names = std::vector<std::string>;

class Win32PlatformTest : public ::testing::Test {
 protected:
  Win32PlatformTest() { ws.addDrive('t', "PROVA"); }

  TestWorkstation ws;
  Platform& p = ws.platform();
};

// Every name in a folder, hidden ones too.
Names everyName(const std::string& folder) {
  Names names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(Win32PlatformTest, WholeFileWritesReplaceTheOldFile) {
  // A hidden INI file gets its new value and stays hidden; nothing is left
  // beside it.
  const std::string ini = "t:\\ini\\system.ini";
  ws.writeFile(ini, "[DBS_REG_32]\r\nX=old\r\n");
  ws.setHidden(ini, kAttrHidden);
  const FileIdentity before = p.fileIdentity(ini);
  EXPECT_TRUE(p.WritePrivateProfileStringA("DBS_REG_32", "X", std::string("new"), ini));
  EXPECT_EQ(ws.readFile(ini), "[DBS_REG_32]\r\nX=new\r\n");
  EXPECT_FALSE(p.fileIdentity(ini) == before);  // a new file, not the old one rewritten
  EXPECT_EQ(p.getAttributes(ini), kAttrHidden);
  EXPECT_EQ(everyName("t:\\ini"), Names{"system.ini"});

  // A file that another program holds open without sharing it: the write
  // and a copy from it fail, the old files stay whole, and nothing
  // half-written is left beside them.
  ws.writeFile("t:\\ini\\other.ini", "other");
  HANDLE held = ::CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(p.WritePrivateProfileStringA("DBS_REG_32", "X", std::string("lost"), ini));
  EXPECT_EQ(errorOf([&] { p.copyFile(ini, "t:\\ini\\other.ini"); }), kErrPermissionDenied);
  ::CloseHandle(held);
  EXPECT_EQ(ws.readFile(ini), "[DBS_REG_32]\r\nX=new\r\n");
  EXPECT_EQ(ws.readFile("t:\\ini\\other.ini"), "other");
  EXPECT_EQ(everyName("t:\\ini"), (Names{"other.ini", "system.ini"}));

  // A copy onto a file replaces it the same way.
  const FileIdentity other = p.fileIdentity("t:\\ini\\other.ini");
  p.copyFile(ini, "t:\\ini\\Other.ini");
  EXPECT_EQ(ws.readFile("t:\\ini\\other.ini"), "[DBS_REG_32]\r\nX=new\r\n");
  EXPECT_FALSE(p.fileIdentity("t:\\ini\\other.ini") == other);
}

TEST_F(Win32PlatformTest, DrivesAndTheProgramsFolder) {
  // A drive that Wine's mount manager made, with its label.
  const std::vector<DriveInfo> drives = p.drives();
  const auto t = std::ranges::find(drives, 't', &DriveInfo::letter);
  ASSERT_NE(t, drives.end());
  EXPECT_EQ(t->label, "PROVA");
  EXPECT_EQ(p.listFirst(p.appPath() + "\\zepo_tests.exe", 0), "zepo_tests.exe");
}

}  // namespace
}  // namespace zepo
