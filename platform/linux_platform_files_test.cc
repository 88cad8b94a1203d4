// What only the Linux workstation's files have (the rest is the platform
// contract): links, attributes changed behind the layer's back, names that
// no Windows path spells, whole-file replacement with the old file's
// permissions, full disks and immutable files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux_platform.h"
#include "platform/test_error_of.h"
#include "tests/file_size_limit.h"
#include "tests/test_workstation.h"

namespace fs = std::filesystem;

namespace zepo {
namespace {

using Names = std::vector<std::string>;

class LinuxFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.writeFile("c:\\data\\b.txt", "x");
    ws.writeFile("c:\\data\\hidden.txt", "x");
    ws.setHidden("c:\\data\\hidden.txt", kAttrHidden);
    p.makeFolder("c:\\data\\Sub");
  }
  Names listAll(const std::string& pattern, int attributes) {
    Names names;
    for (std::string name = p.listFirst(pattern, attributes); !name.empty(); name = p.listNext())
      names.push_back(name);
    return names;
  }
  // How many entries a folder of the prefix holds.
  std::ptrdiff_t entries(const std::string& windowsPath) {
    return std::distance(fs::directory_iterator(ws.hostPath(windowsPath)), {});
  }

  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
};

// Links count as what they point to; pipes and dangling links are never
// given.
TEST_F(LinuxFiles, ListsTheEntriesThatWindowsCouldSee) {
  const std::string data = ws.hostPath("c:\\data");
  fs::create_symlink("b.txt", data + "/LinkToFile");
  fs::create_directory_symlink("Sub", data + "/LinkToDir");
  fs::create_symlink("hidden.txt", data + "/LinkToHidden");
  fs::create_symlink("gone.txt", data + "/Dangling");
  ASSERT_EQ(mkfifo((data + "/Pipe").c_str(), 0644), 0);
  EXPECT_EQ(listAll("c:\\data\\L*", 0), (Names{"LinkToFile"}));
  EXPECT_EQ(listAll("c:\\data\\*", kAttrDirectory),
            (Names{"b.txt", "LinkToDir", "LinkToFile", "Sub"}));
}

TEST_F(LinuxFiles, SeesAttributesChangedBehindItsBack) {
  // Past the time in which a change could go unseen in the file's change
  // time, so that what the listing learns about the files may be kept.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "b.txt");
  EXPECT_EQ(p.listFirst("c:\\data\\hidden.txt", 0), "");
  ws.setHidden("c:\\data\\b.txt", 0x2);
  ws.setHidden("c:\\data\\hidden.txt", 0x0);
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\hidden.txt", 0), "hidden.txt");
  // Removed by hand, as a file server may when the bits are all clear.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "");
  ASSERT_EQ(removexattr(ws.hostPath("c:\\data\\b.txt").c_str(), "user.DOSATTRIB"), 0);
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "b.txt");

  // Newer file servers write the bits as text, a NUL and a binary record
  // of their own, so the value may be long; a copy keeps it whole.
  const std::pair<std::string, int> values[] = {
      {std::string("0x2\0", 4) + std::string(59, '\x01'), kAttrHidden},  // 63 bytes
      {std::string("0x2\0", 4) + std::string(60, '\x01'), kAttrHidden},  // 64 bytes
      {std::string("0x6\0", 4) + std::string(400, '\xff'), kAttrHidden | kAttrSystem},
      {std::string("0x20\0", 5) + std::string(100, '\x02'), 0},  // archive only
  };
  const std::string host = ws.hostPath("c:\\data\\b.txt");
  for (const auto& [value, bits] : values) {
    ASSERT_EQ(setxattr(host.c_str(), "user.DOSATTRIB", value.data(), value.size(), 0), 0);
    EXPECT_EQ(p.getAttributes("c:\\data\\b.txt"), bits) << value.size();
    EXPECT_EQ(listAll("c:\\data\\b*", 0), bits ? Names{} : Names{"b.txt"});
    p.copyFile("c:\\data\\b.txt", "c:\\data\\Sub\\copy.txt");
    EXPECT_EQ(p.getAttributes("c:\\data\\Sub\\copy.txt"), bits) << value.size();
    ASSERT_EQ(unlink(ws.hostPath("c:\\data\\Sub\\copy.txt").c_str()), 0);
  }
}

TEST_F(LinuxFiles, WholeFileWritesKeepTheOldFileUntilTheNewOneIsWhole) {
  // A profile write replaces the file: a reader of the old file sees it
  // whole; the new one keeps the old one's permissions and attributes.
  ws.writeFile("c:\\sys.ini", "[boot]\r\nshell=Explorer.exe\r\n");
  const std::string ini = ws.hostPath("c:\\sys.ini");
  fs::permissions(ini, fs::perms(0640));
  ASSERT_EQ(setxattr(ini.c_str(), "user.DOSATTRIB", "0x4", 3, 0), 0);
  std::ifstream reader(ini, std::ios::binary);
  EXPECT_TRUE(p.WritePrivateProfileStringA("S", "X", std::string(5000, 'x'), "c:\\sys.ini"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}),
            "[boot]\r\nshell=Explorer.exe\r\n");
  EXPECT_EQ(fs::status(ini).permissions(), fs::perms(0640));
  EXPECT_EQ(p.getAttributes("c:\\sys.ini"), kAttrSystem);

  // A full disk half-way: the old files whole, nothing half-written left
  // under any name.
  ws.writeFile("c:\\clientzepo\\big.ini", std::string(3 * 1024 * 1024 + 17, 'x'));
  ws.writeFile("c:\\clientzepo\\old.txt", "old");
  const std::string before = ws.readFile("c:\\sys.ini");
  const std::ptrdiff_t count = entries("c:\\");
  {
    FileSizeLimit full(1024 * 1024);
    EXPECT_FALSE(p.WritePrivateProfileStringA("S", "X", std::string(2000000, 'y'), "c:\\sys.ini"));
    for (const char* to : {"c:\\clientzepo\\old.txt", "c:\\clientzepo\\fresh.txt"})
      EXPECT_EQ(errorOf([&] { p.copyFile("c:\\clientzepo\\big.ini", to); }), kErrDiskFull) << to;
  }
  EXPECT_EQ(ws.readFile("c:\\sys.ini"), before);
  EXPECT_EQ(ws.readFile("c:\\clientzepo\\old.txt"), "old");
  EXPECT_EQ(entries("c:\\"), count);
  EXPECT_EQ(entries("c:\\clientzepo"), 2);

  // A profile write that cannot be made returns false and changes nothing;
  // removing from a missing file makes none.
  ws.writeFile("c:\\ro.ini", "[S]\r\nK=1\r\n");
  fs::permissions(ws.hostPath("c:\\ro.ini"), fs::perms(0444));
  fs::create_directory(ws.hostPath("c:\\") + "/folder.ini");
  for (const char* path :
       {"q:\\a.ini", "c:\\no\\a.ini", "c:\\bad|name.ini", "c:\\folder.ini", "c:\\ro.ini"})
    EXPECT_FALSE(p.WritePrivateProfileStringA("S", "K", std::string("2"), path)) << path;
  EXPECT_EQ(ws.readFile("c:\\ro.ini"), "[S]\r\nK=1\r\n");
  EXPECT_TRUE(p.WritePrivateProfileStringA("S", "K", std::nullopt, "c:\\none.ini"));
  EXPECT_FALSE(ws.exists("c:\\none.ini"));

  // A UTF-8 file is read and written in UTF-8, not in the code page.
  ws.writeFile("c:\\u.ini", "\xEF\xBB\xBF[S]\r\nCity=citt\xC3\xA0\r\n");
  EXPECT_TRUE(p.WritePrivateProfileStringA("S", "Town", std::string("più"), "c:\\u.ini"));
  EXPECT_EQ(ws.readFile("c:\\u.ini"),
            "\xEF\xBB\xBF[S]\r\nCity=citt\xC3\xA0\r\nTown=pi\xC3\xB9\r\n");
  std::string buffer(255, ' ');
  EXPECT_EQ(p.GetPrivateProfileStringA("S", "City", "", buffer, 255, "c:\\u.ini"), 5u);
  EXPECT_EQ(buffer.substr(0, buffer.find('\0')), "città");
}

TEST_F(LinuxFiles, SystemErrorsMapToRuntimeErrors) {
  // A disk that is full. Lines are written in blocks: a short one fails
  // when the file is closed, a long run as soon as a block is full, and the
  // number is free again.
  fs::create_symlink("/dev/full", ws.dir() + "/drive_c/full.txt");
  p.openText(1, "c:\\full.txt", TextMode::kOutput);
  EXPECT_EQ(errorOf([&] { p.writeLine(1, "x"); }), 0);
  EXPECT_EQ(errorOf([&] { p.closeFile(1); }), kErrDiskFull);
  p.openText(1, "c:\\full.txt", TextMode::kOutput);
  EXPECT_EQ(errorOf([&] {
              for (int i = 0; i < 10000; ++i) p.writeLine(1, std::string(100, 'x'));
            }),
            kErrDiskFull);
  p.closeFile(1);
  // A file that even root may not change (immutable), where the file
  // system allows it.
  int fd = open(ws.hostPath("c:\\data\\b.txt").c_str(), O_RDONLY);
  int flags = 0;
  bool immutable = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                   (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
  if (immutable) {
    EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\data\\b.txt"); }), kErrPermissionDenied);
    EXPECT_EQ(errorOf([&] { p.openText(1, "c:\\data\\b.txt", TextMode::kOutput); }),
              kErrPermissionDenied);
    flags &= ~FS_IMMUTABLE_FL;
    ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  close(fd);
  if (!immutable) GTEST_SKIP() << "no immutable files here: permission denied not checked";
}

}  // namespace
}  // namespace zepo
