// What only the Linux workstation's files have (the rest is the platform
// contract): links, attributes changed behind the layer's back, names that
// no Windows path spells, full disks and immutable files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/errors.h"
#include "platform/linux_platform.h"
#include "platform/test_error_of.h"
#include "tests/file_size_limit.h"
#include "tests/test_workstation.h"

namespace fs = std::filesystem;

namespace zepo {
namespace {

std::vector<std::string> listAll(LinuxPlatform& p, const std::string& pattern, int attributes) {
  std::vector<std::string> names;
  for (std::string name = p.listFirst(pattern, attributes); !name.empty(); name = p.listNext()) {
    names.push_back(name);
  }
  return names;
}

using Names = std::vector<std::string>;

class Listing : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.writeFile("c:\\data\\b.txt", "x");
    ws.writeFile("c:\\data\\hidden.txt", "x");
    ws.setHidden("c:\\data\\hidden.txt", kAttrHidden);
    ws.platform().makeFolder("c:\\data\\Sub");
  }
  TestWorkstation ws;
};

TEST_F(Listing, LinksCountAsWhatTheyPointTo) {
  LinuxPlatform& p = ws.platform();
  const std::string data = ws.hostPath("c:\\data");
  fs::create_symlink("b.txt", data + "/LinkToFile");
  fs::create_directory_symlink("Sub", data + "/LinkToDir");
  fs::create_symlink("hidden.txt", data + "/LinkToHidden");
  fs::create_symlink("gone.txt", data + "/Dangling");
  ASSERT_EQ(mkfifo((data + "/Pipe").c_str(), 0644), 0);
  EXPECT_EQ(listAll(p, "c:\\data\\L*", 0), (Names{"LinkToFile"}));
  EXPECT_EQ(listAll(p, "c:\\data\\L*", kAttrDirectory), (Names{"LinkToDir", "LinkToFile"}));
  EXPECT_EQ(listAll(p, "c:\\data\\d*", kAttrDirectory), Names{});
  EXPECT_EQ(listAll(p, "c:\\data\\p*", kAttrDirectory), Names{});
  EXPECT_EQ(p.listFirst("c:\\data\\linktofile", 0), "LinkToFile");
  EXPECT_EQ(p.listFirst("c:\\data\\LinkToHidden", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\Dangling", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\Pipe", kAttrDirectory), "");
}

TEST_F(Listing, SeesAttributesChangedBehindItsBack) {
  LinuxPlatform& p = ws.platform();
  // Past the time in which a change could go unseen in the file's change
  // time, so that what the listing learns about the files may be kept.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "b.txt");
  EXPECT_EQ(p.listFirst("c:\\data\\hidden.txt", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "b.txt");
  ws.setHidden("c:\\data\\b.txt", 0x2);
  ws.setHidden("c:\\data\\hidden.txt", 0x0);
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\hidden.txt", 0), "hidden.txt");
  EXPECT_EQ(p.getAttributes("c:\\data\\b.txt"), kAttrHidden);
  // Removed by hand, as a file server may when the bits are all clear.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "");
  ASSERT_EQ(removexattr(ws.hostPath("c:\\data\\b.txt").c_str(), "user.DOSATTRIB"), 0);
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt", 0), "b.txt");
}

TEST_F(Listing, NamesThatNoWindowsPathSpellsAreNeverGiven) {
  LinuxPlatform& p = ws.platform();
  const std::string share = ws.hostPath("c:\\data\\sub");
  for (const char* name : {"report 10:30.txt", "a|b", "what?.txt", "x\\..\\..\\hosts", "trail.",
                           "\xff.txt", "\xcf\x80.txt", "città.txt"}) {
    std::ofstream(share + "/" + name) << "x";
  }
  fs::create_directory(share + "/dir:x");
  EXPECT_EQ(listAll(p, "c:\\data\\sub\\*.*", kAttrDirectory), Names{"città.txt"});
  EXPECT_EQ(listAll(p, "c:\\data\\sub\\what?.txt", 0), Names{});
  EXPECT_EQ(listAll(p, "c:\\data\\sub\\w*", 0), Names{});
}

TEST_F(Listing, AttributeValuesOfAnyLength) {
  // Newer file servers write the bits as text, a NUL and a binary record
  // of their own, so the value may be long.
  struct Case {
    std::string value;
    int bits;
  };
  const Case cases[] = {
      {"0x2", kAttrHidden},
      {std::string("0x2\0", 4) + std::string(59, '\x01'), kAttrHidden},  // 63 bytes
      {std::string("0x2\0", 4) + std::string(60, '\x01'), kAttrHidden},  // 64 bytes
      {std::string("0x6\0", 4) + std::string(400, '\xff'), kAttrHidden | kAttrSystem},
      {std::string("0x20\0", 5) + std::string(100, '\x02'), 0},  // archive only
  };
  LinuxPlatform& p = ws.platform();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value.size());
    const std::string host = ws.hostPath("c:\\data\\b.txt");
    ASSERT_EQ(setxattr(host.c_str(), "user.DOSATTRIB", c.value.data(), c.value.size(), 0), 0);
    EXPECT_EQ(p.getAttributes("c:\\data\\b.txt"), c.bits);
    EXPECT_EQ(listAll(p, "c:\\data\\b*", 0), c.bits ? Names{} : Names{"b.txt"});
    // A copy keeps the whole value.
    p.copyFile("c:\\data\\b.txt", "c:\\data\\Sub\\copy.txt");
    EXPECT_EQ(p.getAttributes("c:\\data\\Sub\\copy.txt"), c.bits);
    ASSERT_EQ(unlink(ws.hostPath("c:\\data\\Sub\\copy.txt").c_str()), 0);
  }
}

TEST(FileOperations, ACopyThatFailsHalfWayLeavesTheOldFileWhole) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  ws.writeFile("c:\\clientzepo\\big.ini", std::string(3 * 1024 * 1024 + 17, 'x'));
  ws.writeFile("c:\\clientzepo\\old.txt", "old");
  // A full disk: neither the old destination nor a new file is touched,
  // and no half-written file is left under any name.
  {
    FileSizeLimit full(1024 * 1024);
    EXPECT_EQ(errorOf([&] { p.copyFile("c:\\clientzepo\\big.ini", "c:\\clientzepo\\old.txt"); }),
              kErrDiskFull);
    EXPECT_EQ(errorOf([&] { p.copyFile("c:\\clientzepo\\big.ini", "c:\\clientzepo\\fresh.txt"); }),
              kErrDiskFull);
  }
  EXPECT_EQ(ws.readFile("c:\\clientzepo\\old.txt"), "old");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(ws.hostPath("c:\\clientzepo"))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"big.ini", "old.txt"}));
}

TEST(FileOperations, SystemErrorsMapToRuntimeErrors) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  // A disk that is full.
  fs::create_symlink("/dev/full", ws.dir() + "/drive_c/full.txt");
  // Lines are written in blocks: a short one fails when the file is closed,
  // a long run as soon as a block is full, and the number is free again.
  p.openText(1, "c:\\full.txt", TextMode::kOutput);
  EXPECT_EQ(errorOf([&] { p.writeLine(1, "x"); }), 0);
  EXPECT_EQ(errorOf([&] { p.closeFile(1); }), kErrDiskFull);
  p.openText(1, "c:\\full.txt", TextMode::kOutput);
  EXPECT_EQ(errorOf([&] {
              for (int i = 0; i < 10000; ++i) p.writeLine(1, std::string(100, 'x'));
            }),
            kErrDiskFull);
  p.closeFile(1);
  ws.writeFile("c:\\data.bin", std::string(100000, 'x'));
  EXPECT_EQ(errorOf([&] { p.copyFile("c:\\data.bin", "c:\\full.txt"); }), kErrDiskFull);
  // A file that even root may not change (immutable), where the file
  // system allows it.
  ws.writeFile("c:\\locked.txt", "x");
  int fd = open(ws.hostPath("c:\\locked.txt").c_str(), O_RDONLY);
  int flags = 0;
  bool immutable = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                   (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
  if (immutable) {
    EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\locked.txt"); }), kErrPermissionDenied);
    EXPECT_EQ(errorOf([&] { p.openText(1, "c:\\locked.txt", TextMode::kOutput); }),
              kErrPermissionDenied);
    flags &= ~FS_IMMUTABLE_FL;
    ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  close(fd);
  if (!immutable) GTEST_SKIP() << "no immutable files here: permission denied not checked";
}

}  // namespace
}  // namespace zepo
