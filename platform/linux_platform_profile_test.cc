#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/codepage.h"
#include "platform/linux_platform.h"
#include "tests/file_size_limit.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

namespace fs = std::filesystem;

class LinuxProfileTest : public ::testing::Test {
 protected:
  // The Linux path of a file in the root of drive C:.
  std::string onDriveC(const std::string& name) {
    return (fs::path(p_.hostPath("c:\\")) / name).string();
  }
  std::string contents(const std::string& name) {
    std::ifstream in(onDriveC(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(onDriveC(name), std::ios::binary) << bytes;
  }
  // A read the way the installer does it: default "", 255 blanks, size 255.
  std::string read(const std::string& section, const std::string& key, const std::string& file,
                   std::uint32_t* count = nullptr) {
    std::string buffer(255, ' ');
    std::uint32_t n = p_.GetPrivateProfileStringA(section, key, "", buffer, 255, file);
    if (count) *count = n;
    return buffer.substr(0, buffer.find('\0'));
  }

  TestWorkstation ws_;
  LinuxPlatform& p_ = ws_.platform();
};

TEST_F(LinuxProfileTest, ReadsIntoTheBufferByCharacters) {
  writeFile("a.ini", "[S]\r\nCity = citt\xE0 \r\n");

  std::string buffer(255, ' ');
  EXPECT_EQ(p_.GetPrivateProfileStringA("s", "CITY", "", buffer, 255, "C:\\A.INI"), 5u);
  EXPECT_EQ(buffer, "città" + std::string(1, '\0') + std::string(249, ' '));

  EXPECT_EQ(read("S", "City", "c:\\bad|name.ini"), "");
  EXPECT_EQ(read("S", "City", "\\\\NOSERVER\\share\\a.ini"), "");
}

TEST_F(LinuxProfileTest, WritesOnlyWhatItMustInWindows1252) {
  writeFile("sys.ini", "; comment\r\n[boot]\r\nshell=Explorer.exe\r\n\r\n[DBS_REG_32]\r\nX=old\n");
  EXPECT_TRUE(p_.WritePrivateProfileStringA("DBS_REG_32", "x", std::string("più"), "c:\\SYS.INI"));
  EXPECT_EQ(contents("sys.ini"),
            "; comment\r\n[boot]\r\nshell=Explorer.exe\r\n\r\n[DBS_REG_32]\r\nX=pi\xF9\n");
  EXPECT_EQ(read("dbs_reg_32", "X", "c:\\sys.ini"), "più");

  EXPECT_TRUE(p_.WritePrivateProfileStringA("DBS_REG_32", "X", std::nullopt, "c:\\sys.ini"));
  EXPECT_EQ(contents("sys.ini"),
            "; comment\r\n[boot]\r\nshell=Explorer.exe\r\n\r\n[DBS_REG_32]\r\n");

  // A missing file is made; removing from a missing file makes none.
  EXPECT_TRUE(
      p_.WritePrivateProfileStringA("Abal~Context", "Key", std::string("v"), "c:\\new.ini"));
  EXPECT_EQ(contents("new.ini"), "[Abal~Context]\r\nKey=v\r\n");
  EXPECT_TRUE(p_.WritePrivateProfileStringA("S", "K", std::nullopt, "c:\\none.ini"));
  EXPECT_FALSE(fs::exists(onDriveC("none.ini")));
}

TEST_F(LinuxProfileTest, WriteFailuresReturnFalse) {
  EXPECT_FALSE(p_.WritePrivateProfileStringA("S", "K", std::string("v"), "q:\\a.ini"));
  EXPECT_FALSE(p_.WritePrivateProfileStringA("S", "K", std::string("v"), "c:\\no\\a.ini"));
  EXPECT_FALSE(p_.WritePrivateProfileStringA("S", "K", std::string("v"), "c:\\bad|name.ini"));

  fs::create_directory(onDriveC("folder.ini"));
  EXPECT_FALSE(p_.WritePrivateProfileStringA("S", "K", std::string("v"), "c:\\folder.ini"));

  writeFile("ro.ini", "[S]\r\nK=1\r\n");
  fs::permissions(onDriveC("ro.ini"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(p_.WritePrivateProfileStringA("S", "K", std::string("2"), "c:\\ro.ini"));
  EXPECT_EQ(contents("ro.ini"), "[S]\r\nK=1\r\n");
}

TEST_F(LinuxProfileTest, WritesReplaceTheWholeFile) {
  writeFile("sys.ini", "[boot]\r\nshell=Explorer.exe\r\n");
  const std::string path = onDriveC("sys.ini");
  fs::permissions(path, fs::perms(0640));
  ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", "0x4", 3, 0), 0);
  // A reader of the old file sees it whole; the new one keeps the old one's
  // permissions and attributes.
  std::ifstream reader(path, std::ios::binary);
  EXPECT_TRUE(
      p_.WritePrivateProfileStringA("DBS_REG_32", "X", std::string(5000, 'x'), "c:\\sys.ini"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}),
            "[boot]\r\nshell=Explorer.exe\r\n");
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
  char bits[8] = {};
  EXPECT_EQ(getxattr(path.c_str(), "user.DOSATTRIB", bits, sizeof bits), 3);
  EXPECT_STREQ(bits, "0x4");

  // A full disk half-way: false, the old file whole, nothing left beside it.
  const std::string before = contents("sys.ini");
  {
    FileSizeLimit full(4096);
    EXPECT_FALSE(
        p_.WritePrivateProfileStringA("DBS_REG_32", "X", std::string(9000, 'y'), "c:\\sys.ini"));
  }
  EXPECT_EQ(contents("sys.ini"), before);
  for (const auto& entry : fs::directory_iterator(p_.hostPath("c:\\"))) {
    EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
  }
}

TEST_F(LinuxProfileTest, UnicodeFilesStayInTheirEncoding) {
  writeFile("u.ini", "\xEF\xBB\xBF[S]\r\nCity=citt\xC3\xA0\r\n");
  std::uint32_t count = 0;
  EXPECT_EQ(read("S", "City", "c:\\u.ini", &count), "città");
  EXPECT_EQ(count, 5u);
  EXPECT_TRUE(p_.WritePrivateProfileStringA("S", "Town", std::string("più"), "c:\\u.ini"));
  EXPECT_EQ(contents("u.ini"), "\xEF\xBB\xBF[S]\r\nCity=citt\xC3\xA0\r\nTown=pi\xC3\xB9\r\n");

  // UTF-16 (here big-endian) is written back as UTF-16.
  writeFile("w.ini", std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0\xE0", 18));
  EXPECT_EQ(read("s", "K", "c:\\w.ini"), "à");
  EXPECT_TRUE(p_.WritePrivateProfileStringA("S", "T", std::string("ù"), "c:\\w.ini"));
  EXPECT_EQ(contents("w.ini"), std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0\xE0"
                                           "\0\r\0\n\0T\0=\0\xF9\0\r\0\n",
                                           32));
}

}  // namespace
}  // namespace zepo
