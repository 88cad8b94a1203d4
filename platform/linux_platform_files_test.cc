// Listing, file and folder operations and text and binary files of the
// Linux workstation, on real temporary prefixes; the tests run as root, so
// read-only must hold without the kernel's help.
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
#include "tests/file_size_limit.h"
#include "tests/test_workstation.h"

namespace fs = std::filesystem;

namespace zepo {
namespace {

int errorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

std::vector<std::string> listAll(LinuxPlatform& p, const std::string& pattern, int attributes) {
  std::vector<std::string> names;
  for (std::string name = p.listFirst(pattern, attributes); !name.empty(); name = p.listNext()) {
    names.push_back(name);
  }
  return names;
}

void makeReadOnly(TestWorkstation& ws, const std::string& path) {
  fs::permissions(ws.hostPath(path),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

using Names = std::vector<std::string>;

class Listing : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"b.txt", "A.TXT", "_x", "a1", "Z", "ro.txt", "hidden.txt",
                             "system.sys", ".dot", "noext", "two.dots.ini"}) {
      ws.writeFile(std::string("c:\\data\\") + name, "x");
    }
    ws.platform().makeFolder("c:\\data\\Sub");
    ws.platform().makeFolder("c:\\data\\HiddenDir");
    ws.setHidden("c:\\data\\hidden.txt", 0x2);
    ws.setHidden("c:\\data\\system.sys", 0x4);
    ws.setHidden("c:\\data\\HiddenDir", 0x6);
    makeReadOnly(ws, "c:\\data\\ro.txt");
  }
  TestWorkstation ws;
};

TEST_F(Listing, MasksHiddenEntriesAndOrder) {
  LinuxPlatform& p = ws.platform();
  // Ordinal order of the upper-case forms: '_' (0x5F) comes after 'Z'.
  EXPECT_EQ(listAll(p, "c:\\data\\*.*", 0),
            (Names{"A.TXT", "a1", "b.txt", "noext", "ro.txt", "two.dots.ini", "Z", "_x"}));
  EXPECT_EQ(listAll(p, "C:\\DATA\\*", kAttrDirectory),
            (Names{"A.TXT", "a1", "b.txt", "noext", "ro.txt", "Sub", "two.dots.ini", "Z", "_x"}));
  EXPECT_EQ(listAll(p, "c:\\data\\*.txt", 0), (Names{"A.TXT", "b.txt", "ro.txt"}));
  EXPECT_EQ(listAll(p, "c:\\data\\*.", 0), (Names{"a1", "noext", "Z", "_x"}));
  // '?' before a dot: one character or none, so "?.*" wants a short stem.
  EXPECT_EQ(listAll(p, "c:\\data\\?.*", 0), (Names{"A.TXT", "b.txt", "Z"}));
  EXPECT_EQ(listAll(p, "c:\\data\\??.*", 0), (Names{"A.TXT", "a1", "b.txt", "ro.txt", "Z", "_x"}));
  // A folder path that ends in a separator lists the folder.
  EXPECT_EQ(listAll(p, "c:\\data\\", kAttrDirectory).size(), 9u);
  EXPECT_EQ(listAll(p, "c:\\data\\nothing*", 0), Names{});
}

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

TEST_F(Listing, NextNamesThenEndThenInvalidCall) {
  LinuxPlatform& p = ws.platform();
  EXPECT_EQ(p.listFirst("c:\\data\\*.txt", 0), "A.TXT");
  EXPECT_EQ(p.listNext(), "b.txt");
  EXPECT_EQ(p.listNext(), "ro.txt");
  EXPECT_EQ(p.listNext(), "");
  EXPECT_EQ(errorOf([&] { p.listNext(); }), kErrBadCall);
  // A new listing starts afresh.
  EXPECT_EQ(p.listFirst("c:\\data\\b*", 0), "b.txt");
  EXPECT_EQ(p.listNext(), "");
}

TEST_F(Listing, PlainPathsGiveTheEntrysOwnName) {
  LinuxPlatform& p = ws.platform();
  EXPECT_EQ(p.listFirst("c:\\DATA\\a.txt", 0), "A.TXT");
  EXPECT_EQ(p.listNext(), "");
  EXPECT_EQ(p.listFirst("c:\\data\\sub", 0), "");  // a folder needs attribute 16
  EXPECT_EQ(p.listFirst("c:\\data\\sub", kAttrDirectory), "Sub");
  EXPECT_EQ(p.listFirst("c:\\data\\hidden.txt", kAttrDirectory), "");
  EXPECT_EQ(p.listFirst("c:\\data\\SYSTEM.SYS", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\hiddendir", kAttrDirectory), "");
  EXPECT_EQ(p.listFirst("c:\\data\\.dot", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\ro.txt", 0), "ro.txt");
  EXPECT_EQ(p.listFirst("c:\\data\\missing.txt", 0), "");
}

TEST_F(Listing, UnknownPlacesAnswerEmptyButBadNamesRaise) {
  LinuxPlatform& p = ws.platform();
  ws.addShare("SRV1", "zepo");
  EXPECT_EQ(p.listFirst("\\\\SRV2\\zepo\\zepoinst.ini", 0), "");
  EXPECT_EQ(p.listFirst("\\\\SRV1\\other\\*.*", 0), "");
  EXPECT_EQ(p.listFirst("q:\\zepo", kAttrDirectory), "");
  EXPECT_EQ(p.listFirst("c:\\nope\\*.*", 0), "");
  EXPECT_EQ(p.listFirst("c:\\data\\b.txt\\*.*", 0), "");
  EXPECT_EQ(errorOf([&] { p.listNext(); }), kErrBadCall);
  EXPECT_EQ(errorOf([&] { p.listFirst("c:\\da|ta\\*.*", 0); }), kErrBadFileNameOrNumber);
  EXPECT_EQ(errorOf([&] { p.listFirst("c:\\*\\b.txt", 0); }), kErrBadFileNameOrNumber);
}

TEST_F(Listing, AttributesOfEntries) {
  LinuxPlatform& p = ws.platform();
  EXPECT_EQ(p.getAttributes("c:\\data\\b.txt"), kAttrNormal);
  EXPECT_EQ(p.getAttributes("c:\\data\\RO.TXT"), kAttrReadOnly);
  EXPECT_EQ(p.getAttributes("c:\\data\\hidden.txt"), kAttrHidden);
  EXPECT_EQ(p.getAttributes("c:\\data\\system.sys"), kAttrSystem);
  EXPECT_EQ(p.getAttributes("c:\\data\\.dot"), kAttrHidden);
  EXPECT_EQ(p.getAttributes("c:\\data\\sub"), kAttrDirectory);
  EXPECT_EQ(p.getAttributes("c:\\data\\hiddendir"), kAttrDirectory | kAttrHidden | kAttrSystem);
  EXPECT_EQ(p.getAttributes("c:\\"), kAttrDirectory);
  EXPECT_EQ(errorOf([&] { p.getAttributes("c:\\data\\none"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.getAttributes("c:\\none\\none"); }), kErrPathNotFound);
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

TEST(FileOperations, MakeFolder) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  p.makeFolder("c:\\Zepo");
  EXPECT_EQ(p.listFirst("C:\\ZEPO", kAttrDirectory), "Zepo");
  p.makeFolder("C:\\ZEPO\\prog\\");
  EXPECT_TRUE(fs::is_directory(ws.dir() + "/drive_c/Zepo/prog"));
  EXPECT_EQ(errorOf([&] { p.makeFolder("c:\\zepo"); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.makeFolder("c:\\windows\\system.ini"); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.makeFolder("c:\\a\\b"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.makeFolder("e:\\zepo"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.makeFolder("c:\\a?"); }), kErrBadFileNameOrNumber);
}

TEST(FileOperations, CopyFile) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  ws.addShare("SRV1", "zepo");
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4099);
  ws.writeFile("\\\\SRV1\\zepo\\Zepo.INI", big);
  p.copyFile("\\\\srv1\\zepo\\zepo.ini", "c:\\clientzepo\\New.ini");
  EXPECT_EQ(ws.readFile("c:\\clientZEPO\\New.ini"), big);
  EXPECT_EQ(p.listFirst("c:\\clientzepo\\*.ini", 0), "New.ini");
  // An existing destination is overwritten, whatever its spelling.
  ws.writeFile("c:\\clientzepo\\small.txt", "small");
  p.copyFile("c:\\clientzepo\\small.txt", "C:\\CLIENTZEPO\\NEW.INI");
  EXPECT_EQ(ws.readFile("c:\\clientzepo\\new.ini"), "small");
  EXPECT_EQ(p.listFirst("c:\\clientzepo\\*.ini", 0), "New.ini");

  EXPECT_EQ(errorOf([&] { p.copyFile("c:\\missing.txt", "c:\\x.txt"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.copyFile("c:\\nope\\a.txt", "c:\\x.txt"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.copyFile("c:\\clientzepo\\new.ini", "c:\\nope\\x.txt"); }),
            kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.copyFile("c:\\clientzepo\\new.ini", "c:\\windows"); }),
            kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.copyFile("c:\\windows", "c:\\x.txt"); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.copyFile("c:\\clientzepo\\new.ini", "c:\\clientzepo\\NEW.ini"); }),
            kErrPermissionDenied);
  EXPECT_EQ(ws.readFile("c:\\clientzepo\\new.ini"), "small");

  // A read-only, hidden or system destination is refused (read-only even
  // for root) and stays as it was, and so is opening it for output.
  for (const char* name : {"ro.txt", "hidden.txt", "system.txt"})
    ws.writeFile(std::string("c:\\clientzepo\\") + name, "mine");
  makeReadOnly(ws, "c:\\clientzepo\\ro.txt");
  ws.setHidden("c:\\clientzepo\\hidden.txt", kAttrHidden);
  ws.setHidden("c:\\clientzepo\\system.txt", kAttrSystem);
  for (const char* name : {"ro.txt", "hidden.txt", "system.txt"}) {
    const std::string path = std::string("c:\\clientzepo\\") + name;
    EXPECT_EQ(errorOf([&] { p.copyFile("c:\\clientzepo\\new.ini", path); }), kErrPathFileAccess)
        << name;
    EXPECT_EQ(errorOf([&] { p.openText(1, path, TextMode::kOutput); }), kErrPathFileAccess) << name;
    EXPECT_EQ(ws.readFile(path), "mine") << name;
  }
  // A copy keeps the source's read-only and hidden attributes, as Windows
  // copies them.
  makeReadOnly(ws, "c:\\clientzepo\\small.txt");
  ws.setHidden("c:\\clientzepo\\small.txt", 0x2);
  p.copyFile("c:\\clientzepo\\small.txt", "c:\\copy.txt");
  EXPECT_EQ(p.getAttributes("c:\\copy.txt"), kAttrReadOnly | kAttrHidden);

  // A copy that fails half-way (a full disk) leaves the old destination
  // whole, and no half-written new file, under any name.
  ws.writeFile("c:\\clientzepo\\old.txt", "old");
  {
    FileSizeLimit full(1024 * 1024);
    EXPECT_EQ(errorOf([&] { p.copyFile("\\\\srv1\\zepo\\zepo.ini", "c:\\clientzepo\\old.txt"); }),
              kErrDiskFull);
    EXPECT_EQ(errorOf([&] { p.copyFile("\\\\srv1\\zepo\\zepo.ini", "c:\\clientzepo\\fresh.txt"); }),
              kErrDiskFull);
  }
  EXPECT_EQ(ws.readFile("c:\\clientzepo\\old.txt"), "old");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(ws.hostPath("c:\\clientzepo"))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"New.ini", "hidden.txt", "old.txt", "ro.txt",
                                             "small.txt", "system.txt"}));
}

TEST(FileOperations, DeleteFile) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  ws.writeFile("c:\\tmp\\TEST.TXT", "x");
  p.deleteFile("c:\\tmp\\test.txt");
  EXPECT_FALSE(ws.exists("c:\\tmp\\TEST.TXT"));
  EXPECT_EQ(p.listFirst("c:\\tmp\\test.txt", 0), "");
  EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\tmp\\test.txt"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\nope\\test.txt"); }), kErrPathNotFound);
  // The runtime's delete finds files only, and no hidden or system ones.
  EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\tmp"); }), kErrFileNotFound);
  ws.writeFile("c:\\tmp\\hidden.txt", "x");
  ws.setHidden("c:\\tmp\\hidden.txt", 0x2);
  EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\tmp\\hidden.txt"); }), kErrFileNotFound);
  ws.writeFile("c:\\tmp\\ro.txt", "x");
  makeReadOnly(ws, "c:\\tmp\\ro.txt");
  EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\tmp\\ro.txt"); }), kErrPathFileAccess);
  EXPECT_TRUE(ws.exists("c:\\tmp\\ro.txt"));
  EXPECT_EQ(errorOf([&] { p.deleteFile("c:\\tmp\\*.txt"); }), kErrBadFileNameOrNumber);
}

TEST(FileOperations, RenameFile) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  std::string etc = "c:\\windows\\system32\\drivers\\etc\\";
  ws.writeFile(etc + "hosts.bak", "new");
  EXPECT_EQ(errorOf([&] { p.renameFile(etc + "hosts.bak", etc + "HOSTS"); }),
            kErrFileAlreadyExists);
  p.deleteFile(etc + "hosts");
  p.renameFile(etc + "HOSTS.BAK", etc + "hosts");
  EXPECT_EQ(ws.readFile(etc + "hosts"), "new");
  EXPECT_EQ(p.listFirst(etc + "hosts*", 0), "hosts");
  EXPECT_EQ(p.listNext(), "hosts.sam");
  EXPECT_EQ(p.listNext(), "");
  // Other spellings of the same file are no clash.
  p.renameFile(etc + "hosts", "c:/windows/system32/drivers/./etc/hosts");
  p.renameFile(etc + "hosts", "c:\\windows\\system32\\..\\system32\\drivers\\etc\\.\\hosts");
  p.renameFile(etc + "hosts", etc + "HOSTS. ");
  EXPECT_EQ(p.listFirst(etc + "hosts", 0), "HOSTS");
  // Into another folder.
  p.renameFile(etc + "hosts", "c:\\moved.txt");
  EXPECT_EQ(ws.readFile("c:\\MOVED.TXT"), "new");

  EXPECT_EQ(errorOf([&] { p.renameFile(etc + "hosts", etc + "x"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.renameFile("c:\\moved.txt", "c:\\nope\\x"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.renameFile("c:\\moved.txt", "c:\\x|y"); }), kErrBadFileNameOrNumber);
  // A read-only file is renamed, and keeps its attribute; only an existing
  // destination stops it.
  makeReadOnly(ws, "c:\\moved.txt");
  EXPECT_EQ(errorOf([&] { p.renameFile("c:\\moved.txt", "c:\\windows\\system.ini"); }),
            kErrFileAlreadyExists);
  p.renameFile("c:\\moved.txt", "c:\\other.txt");
  EXPECT_EQ(p.getAttributes("c:\\other.txt"), kAttrReadOnly);
  EXPECT_EQ(ws.readFile("c:\\other.txt"), "new");
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

TEST(TextFiles, WritesCodePageLinesEndingInCrLf) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  ws.writeFile("c:\\out.txt", "old contents that go away");
  p.openText(2, "C:\\OUT.TXT", TextMode::kOutput);
  p.writeLine(2, "127.0.0.1\tSRV1");
  p.writeLine(2, "");
  p.writeLine(2, "città € \u0100");
  p.closeFile(2);
  EXPECT_EQ(ws.readFile("c:\\out.txt"), "127.0.0.1\tSRV1\r\n\r\ncitt\xE0 \x80 ?\r\n");
  // A new file keeps the spelling it was opened with.
  p.openText(1, "c:\\windows\\Hosts.Bak", TextMode::kOutput);
  p.closeFile(1);
  EXPECT_EQ(p.listFirst("c:\\windows\\hosts.bak", 0), "Hosts.Bak");
}

TEST(TextFiles, ReadsEveryKindOfLineEnd) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  ws.writeFile("c:\\in.txt", "dos\r\nunix\nmac\rcitt\xE0\r\n\r\nlast");
  p.openText(1, "c:\\in.txt", TextMode::kInput);
  std::vector<std::string> lines;
  while (!p.endOfFile(1)) lines.push_back(p.readLine(1));
  EXPECT_EQ(lines, (Names{"dos", "unix", "mac", "città", "", "last"}));
  EXPECT_EQ(errorOf([&] { p.readLine(1); }), kErrInputPastEnd);
  p.closeFile(1);

  ws.writeFile("c:\\ends.txt", "one\r\n");
  p.openText(1, "c:\\ends.txt", TextMode::kInput);
  EXPECT_EQ(p.readLine(1), "one");
  EXPECT_TRUE(p.endOfFile(1));
  p.closeFile(1);

  ws.writeFile("c:\\empty.txt", "");
  p.openText(1, "c:\\empty.txt", TextMode::kInput);
  EXPECT_TRUE(p.endOfFile(1));
  EXPECT_EQ(errorOf([&] { p.readLine(1); }), kErrInputPastEnd);
  p.closeFile(1);
}

TEST(TextFiles, FileNumbersAndModes) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  ws.writeFile("c:\\a.txt", "a\r\n");
  EXPECT_EQ(errorOf([&] { p.openText(1, "c:\\missing.txt", TextMode::kInput); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.openText(1, "c:\\nope\\a.txt", TextMode::kOutput); }),
            kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.openText(1, "c:\\windows", TextMode::kInput); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.openText(1, "c:\\a.txt", TextMode::kInput); }), 0);
  EXPECT_EQ(errorOf([&] { p.openText(1, "c:\\b.txt", TextMode::kOutput); }), kErrFileAlreadyOpen);
  EXPECT_EQ(errorOf([&] { p.writeLine(1, "x"); }), kErrBadFileMode);
  EXPECT_EQ(errorOf([&] { p.readByte(1); }), kErrBadFileMode);
  // The same file may be read twice, but not written while it is open.
  EXPECT_EQ(errorOf([&] { p.openText(2, "c:\\A.TXT", TextMode::kInput); }), 0);
  p.closeFile(2);
  EXPECT_EQ(errorOf([&] { p.openText(2, "c:\\A.TXT", TextMode::kOutput); }), kErrFileAlreadyOpen);
  p.closeFile(1);
  p.closeFile(1);  // not open: nothing happens
  EXPECT_EQ(errorOf([&] { p.readLine(1); }), kErrBadFileNameOrNumber);
  EXPECT_EQ(errorOf([&] { p.writeLine(2, "x"); }), kErrBadFileNameOrNumber);

  p.openText(2, "c:\\b.txt", TextMode::kOutput);
  EXPECT_EQ(errorOf([&] { p.readLine(2); }), kErrBadFileMode);
  p.closeFile(2);
  makeReadOnly(ws, "c:\\b.txt");
  EXPECT_EQ(errorOf([&] { p.openText(2, "c:\\b.txt", TextMode::kOutput); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.openText(2, "c:\\b.txt", TextMode::kInput); }), 0);
  p.closeFile(2);
  ws.setHidden("c:\\a.txt", 0x2);
  EXPECT_EQ(errorOf([&] { p.openText(2, "c:\\a.txt", TextMode::kOutput); }), kErrPathFileAccess);
}

TEST(BinaryFiles, ReadAndWriteBytesInPlace) {
  TestWorkstation ws;
  LinuxPlatform& p = ws.platform();
  ws.writeFile("c:\\zepo\\zepont~1.lnk", std::string("xC\0:C:\\", 7));
  p.openBinary(1, "c:\\zepo\\ZEPONT~1.LNK");
  ASSERT_EQ(p.fileLength(1), 7);
  std::string bytes;
  for (int i = 0; i < 7; ++i) bytes += static_cast<char>(p.readByte(1));
  EXPECT_EQ(bytes, std::string("xC\0:C:\\", 7));
  EXPECT_TRUE(p.endOfFile(1));
  p.closeFile(1);
  // Writing from the start changes the bytes in place.
  p.openBinary(1, "c:\\zepo\\zepont~1.lnk");
  for (char c : std::string("xD\0:D:\\", 7)) p.writeByte(1, static_cast<std::uint8_t>(c));
  EXPECT_EQ(p.fileLength(1), 7);
  p.closeFile(1);
  EXPECT_EQ(ws.readFile("c:\\zepo\\zepont~1.lnk"), std::string("xD\0:D:\\", 7));

  // A missing file is made; a read-only one is read but not written.
  p.openBinary(1, "c:\\zepo\\new.bin");
  EXPECT_EQ(p.fileLength(1), 0);
  p.writeByte(1, 0x41);
  p.writeByte(1, 0x42);
  EXPECT_EQ(p.fileLength(1), 2);
  EXPECT_EQ(errorOf([&] { p.writeLine(1, "x"); }), kErrBadFileMode);
  p.closeFile(1);
  EXPECT_EQ(ws.readFile("c:\\zepo\\new.bin"), "AB");
  makeReadOnly(ws, "c:\\zepo\\new.bin");
  p.openBinary(1, "c:\\zepo\\new.bin");
  EXPECT_EQ(p.readByte(1), 0x41);
  EXPECT_EQ(errorOf([&] { p.writeByte(1, 0x43); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.openBinary(1, "c:\\zepo\\new.bin"); }), kErrFileAlreadyOpen);
  p.closeFile(1);
  EXPECT_EQ(errorOf([&] { p.openBinary(1, "c:\\zepo"); }), kErrPathFileAccess);
}

}  // namespace
}  // namespace zepo
