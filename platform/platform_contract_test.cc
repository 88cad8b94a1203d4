// What every Platform does, the same on each: the listing, files and
// folders, text and binary files (the Windows functions are in
// platform_contract_system_test.cc), run against the platform of the build
// on a scratch workstation (a prefix on Linux, the system under Wine with
// drives of its own on Windows). What only one platform has is tested
// beside it (linux_platform_*_test.cc, win32_platform_test.cc).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/test_error_of.h"
#include "tests/test_workstation.h"

#ifndef _WIN32
#include <filesystem>
#endif

namespace zepo {
namespace {

using Names = std::vector<std::string>;

Names listAll(Platform& p, const std::string& pattern, int attributes) {
  Names names;
  for (std::string name = p.listFirst(pattern, attributes); !name.empty(); name = p.listNext()) {
    names.push_back(name);
  }
  return names;
}

class PlatformContract : public ::testing::Test {
 protected:
  PlatformContract() { ws.addDrive('t'); }

  // Read-only is Windows' attribute, and the owner's missing write
  // permission on Linux (which holds for root too).
  void makeReadOnly(const std::string& path) {
#ifdef _WIN32
    ws.setHidden(path, kAttrReadOnly);
#else
    namespace fs = std::filesystem;
    fs::permissions(ws.hostPath(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
#endif
  }

  TestWorkstation ws;
  Platform& p = ws.platform();
};

TEST_F(PlatformContract, ListingMasksHiddenEntriesAndSortsByUpperCase) {
  for (const char* name : {"b.txt", "A.TXT", "_x", "a1", "Z", "ro.txt", "hidden.txt", "system.sys",
                           ".dot", "noext", "two.dots.ini"}) {
    ws.writeFile(std::string("t:\\data\\") + name, "x");
  }
  p.makeFolder("t:\\data\\Sub");
  p.makeFolder("t:\\data\\HiddenDir");
  ws.setHidden("t:\\data\\hidden.txt", kAttrHidden);
  ws.setHidden("t:\\data\\system.sys", kAttrSystem);
  ws.setHidden("t:\\data\\HiddenDir", kAttrHidden | kAttrSystem);
  makeReadOnly("t:\\data\\ro.txt");
  ws.addShare("SRV1", "zepo");
  ws.writeFile("\\\\SRV1\\zepo\\top.ini", "x");

  const Names files{"A.TXT", "a1", "b.txt", "noext", "ro.txt", "two.dots.ini", "Z", "_x"};
  const Names all{"A.TXT", "a1", "b.txt", "noext", "ro.txt", "Sub", "two.dots.ini", "Z", "_x"};
  struct Case {
    const char* path;
    int attributes;
    Names names;
  };
  const Case cases[] = {
      // Ordinal order of the upper-case forms: '_' (0x5F) comes after 'Z'.
      {"t:\\data\\*.*", 0, files},
      {"T:\\DATA\\*", kAttrDirectory, all},
      {"t:\\data\\", kAttrDirectory, all},  // a folder path lists the folder
      {"t:\\data\\*.txt", 0, {"A.TXT", "b.txt", "ro.txt"}},
      {"t:\\data\\*.", 0, {"a1", "noext", "Z", "_x"}},
      // '?' before a dot: one character or none, so "?.*" wants a short stem.
      {"t:\\data\\?.*", 0, {"A.TXT", "b.txt", "Z"}},
      {"t:\\data\\??.*", 0, {"A.TXT", "a1", "b.txt", "ro.txt", "Z", "_x"}},
      {"t:\\data\\nothing*", 0, {}},
      // A plain path gives the entry's own spelling, if the listing shows it.
      {"t:\\DATA\\a.txt", 0, {"A.TXT"}},
      {"t:\\data\\ro.txt", 0, {"ro.txt"}},
      {"t:\\data\\sub", 0, {}},
      {"t:\\data\\sub", kAttrDirectory, {"Sub"}},
      {"t:\\data\\hidden.txt", kAttrDirectory, {}},
      {"t:\\data\\SYSTEM.SYS", 0, {}},
      {"t:\\data\\hiddendir", kAttrDirectory, {}},
      {"t:\\data\\.dot", 0, {}},
      {"t:\\data\\missing.txt", 0, {}},
      // Unknown places answer empty.
      {"\\\\SRV2\\zepo\\zepoinst.ini", 0, {}},
      {"\\\\SRV1\\other\\*.*", 0, {}},
      {"q:\\zepo", kAttrDirectory, {}},
      {"t:\\nope\\*.*", 0, {}},
      {"t:\\data\\b.txt\\*.*", 0, {}},
      // Repeated separators after the root count as one.
      {"\\\\SRV1\\zepo\\\\*.*", 0, {"top.ini"}},
      {"t:\\data\\\\*.txt", 0, {"A.TXT", "b.txt", "ro.txt"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(listAll(p, c.path, c.attributes), c.names) << c.path << " " << c.attributes;
  }
  for (const char* bad : {"t:\\*\\b.txt", "t:\\data\\a|b*", "t:\\da|ta\\*.*"}) {
    EXPECT_EQ(errorOf([&] { p.listFirst(bad, 0); }), kErrBadFileNameOrNumber) << bad;
  }

  // Next names, the end, then an invalid call; a new listing starts afresh.
  EXPECT_EQ(p.listFirst("t:\\data\\*.txt", 0), "A.TXT");
  EXPECT_EQ(p.listNext(), "b.txt");
  EXPECT_EQ(p.listNext(), "ro.txt");
  EXPECT_EQ(p.listNext(), "");
  EXPECT_EQ(errorOf([&] { p.listNext(); }), kErrBadCall);
  EXPECT_EQ(p.listFirst("t:\\data\\b*", 0), "b.txt");
  EXPECT_EQ(p.listNext(), "");

  const std::pair<const char*, int> attributes[] = {
      {"t:\\data\\b.txt", kAttrNormal},
      {"t:\\data\\RO.TXT", kAttrReadOnly},
      {"t:\\data\\hidden.txt", kAttrHidden},
      {"t:\\data\\system.sys", kAttrSystem},
      {"t:\\data\\.dot", kAttrHidden},
      {"t:\\data\\sub", kAttrDirectory},
      {"t:\\data\\hiddendir", kAttrDirectory | kAttrHidden | kAttrSystem},
      {"t:\\", kAttrDirectory},
      {"t:\\data\\none", -kErrFileNotFound},
      {"t:\\none\\none", -kErrPathNotFound},
  };
  for (const auto& [path, expected] : attributes) {
    int got = 0;
    int error = errorOf([&] { got = p.getAttributes(path); });
    EXPECT_EQ(error ? -error : got, expected) << path;
  }
}

TEST_F(PlatformContract, FoldersCopiesDeletionsAndRenames) {
  p.makeFolder("t:\\Zepo");
  EXPECT_EQ(p.listFirst("T:\\ZEPO", kAttrDirectory), "Zepo");
  p.makeFolder("T:\\ZEPO\\prog\\");
  EXPECT_EQ(p.getAttributes("t:\\zepo\\prog"), kAttrDirectory);

  ws.addShare("SRV1", "zepo");
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4099);
  ws.writeFile("\\\\SRV1\\zepo\\Zepo.INI", big);
  p.copyFile("\\\\srv1\\zepo\\zepo.ini", "t:\\zepo\\New.ini");
  EXPECT_EQ(ws.readFile("t:\\zepo\\New.ini"), big);
  // An existing destination is overwritten, whatever its spelling.
  ws.writeFile("t:\\zepo\\small.txt", "small");
  p.copyFile("t:\\zepo\\small.txt", "T:\\ZEPO\\NEW.INI");
  EXPECT_EQ(ws.readFile("t:\\zepo\\new.ini"), "small");
  EXPECT_EQ(p.listFirst("t:\\zepo\\*.ini", 0), "New.ini");

  ws.writeFile("t:\\tmp\\TEST.TXT", "x");
  ws.writeFile("t:\\tmp\\hidden.txt", "x");
  ws.setHidden("t:\\tmp\\hidden.txt", kAttrHidden);
  ws.writeFile("t:\\tmp\\ro.txt", "x");
  makeReadOnly("t:\\tmp\\ro.txt");
  p.deleteFile("t:\\tmp\\test.txt");
  EXPECT_FALSE(ws.exists("t:\\tmp\\TEST.TXT"));

  const std::pair<std::function<void()>, int> failures[] = {
      {[&] { p.makeFolder("t:\\zepo"); }, kErrPathFileAccess},
      {[&] { p.makeFolder("t:\\zepo\\new.ini"); }, kErrPathFileAccess},
      {[&] { p.makeFolder("t:\\a\\b"); }, kErrPathNotFound},
      {[&] { p.makeFolder("q:\\zepo"); }, kErrPathNotFound},
      {[&] { p.makeFolder("t:\\a?"); }, kErrBadFileNameOrNumber},
      {[&] { p.copyFile("t:\\missing.txt", "t:\\x.txt"); }, kErrFileNotFound},
      {[&] { p.copyFile("t:\\nope\\a.txt", "t:\\x.txt"); }, kErrPathNotFound},
      {[&] { p.copyFile("t:\\zepo\\new.ini", "t:\\nope\\x.txt"); }, kErrPathNotFound},
      {[&] { p.copyFile("t:\\zepo\\new.ini", "t:\\zepo"); }, kErrPathFileAccess},
      {[&] { p.copyFile("t:\\zepo", "t:\\x.txt"); }, kErrPathFileAccess},
      // Copying a file onto itself is a sharing violation.
      {[&] { p.copyFile("t:\\zepo\\new.ini", "t:\\zepo\\NEW.ini"); }, kErrPermissionDenied},
      {[&] { p.deleteFile("t:\\tmp\\test.txt"); }, kErrFileNotFound},
      {[&] { p.deleteFile("t:\\nope\\test.txt"); }, kErrPathNotFound},
      // The runtime's delete finds files only, and no hidden or system ones.
      {[&] { p.deleteFile("t:\\tmp"); }, kErrFileNotFound},
      {[&] { p.deleteFile("t:\\tmp\\hidden.txt"); }, kErrFileNotFound},
      {[&] { p.deleteFile("t:\\tmp\\ro.txt"); }, kErrPathFileAccess},
      {[&] { p.deleteFile("t:\\tmp\\*.txt"); }, kErrBadFileNameOrNumber},
  };
  int row = 0;
  for (const auto& [operation, error] : failures) EXPECT_EQ(errorOf(operation), error) << row++;
  EXPECT_EQ(ws.readFile("t:\\zepo\\new.ini"), "small");
  EXPECT_TRUE(ws.exists("t:\\tmp\\ro.txt"));

  // A read-only, hidden or system destination is refused and stays as it
  // was, and so is opening it for output.
  const std::pair<const char*, int> protectedFiles[] = {
      {"ro.txt", kAttrReadOnly}, {"hidden.txt", kAttrHidden}, {"system.txt", kAttrSystem}};
  for (const auto& [name, bits] : protectedFiles) {
    const std::string path = std::string("t:\\zepo\\") + name;
    ws.writeFile(path, "mine");
    if (bits == kAttrReadOnly) {
      makeReadOnly(path);
    } else {
      ws.setHidden(path, bits);
    }
    EXPECT_EQ(errorOf([&] { p.copyFile("t:\\zepo\\new.ini", path); }), kErrPathFileAccess) << name;
    EXPECT_EQ(errorOf([&] { p.openText(1, path, TextMode::kOutput); }), kErrPathFileAccess) << name;
    EXPECT_EQ(ws.readFile(path), "mine") << name;
  }
  // A copy keeps the source's read-only and hidden attributes, as Windows
  // copies them.
  makeReadOnly("t:\\zepo\\small.txt");
  ws.setHidden("t:\\zepo\\small.txt", kAttrHidden);
  p.copyFile("t:\\zepo\\small.txt", "t:\\copy.txt");
  EXPECT_EQ(p.getAttributes("t:\\copy.txt"), kAttrReadOnly | kAttrHidden);

  const std::string etc = "t:\\etc\\";
  ws.writeFile(etc + "hosts", "old");
  ws.writeFile(etc + "hosts.bak", "new");
  ws.writeFile(etc + "hosts.sam", "sample");
  EXPECT_EQ(errorOf([&] { p.renameFile(etc + "hosts.bak", etc + "HOSTS"); }),
            kErrFileAlreadyExists);
  p.deleteFile(etc + "hosts");
  p.renameFile(etc + "HOSTS.BAK", etc + "hosts");
  EXPECT_EQ(ws.readFile(etc + "hosts"), "new");
  EXPECT_EQ(listAll(p, etc + "hosts*", 0), (Names{"hosts", "hosts.sam"}));
  // Other spellings of the same file are no clash.
  p.renameFile(etc + "hosts", "t:/etc/./hosts");
  p.renameFile(etc + "hosts", "t:\\etc\\..\\etc\\.\\hosts");
  p.renameFile(etc + "hosts", etc + "HOSTS. ");  // a new spelling of the same name
  EXPECT_EQ(p.listFirst(etc + "hosts", 0), "HOSTS");
  p.renameFile(etc + "hosts", "t:\\moved.txt");
  EXPECT_EQ(ws.readFile("t:\\MOVED.TXT"), "new");
  EXPECT_EQ(errorOf([&] { p.renameFile(etc + "hosts", etc + "x"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.renameFile("t:\\moved.txt", "t:\\nope\\x"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.renameFile("t:\\moved.txt", "t:\\x|y"); }), kErrBadFileNameOrNumber);
  // A read-only file is renamed, and keeps its attribute; only an existing
  // destination stops it.
  makeReadOnly("t:\\moved.txt");
  EXPECT_EQ(errorOf([&] { p.renameFile("t:\\moved.txt", "t:\\copy.txt"); }), kErrFileAlreadyExists);
  p.renameFile("t:\\moved.txt", "t:\\other.txt");
  EXPECT_EQ(p.getAttributes("t:\\other.txt"), kAttrReadOnly);
  // To another drive, as a copy and a deletion.
  ws.writeFile("t:\\far.txt", "far");
  ws.addDrive('u');
  p.renameFile("t:\\far.txt", "u:\\far.txt");
  EXPECT_EQ(ws.readFile("u:\\far.txt"), "far");
  EXPECT_FALSE(ws.exists("t:\\far.txt"));
}

TEST_F(PlatformContract, TextFiles) {
  ws.writeFile("t:\\out.txt", "old contents that go away");
  p.openText(2, "T:\\OUT.TXT", TextMode::kOutput);
  p.writeLine(2, "127.0.0.1\tSRV1");
  p.writeLine(2, "");
  p.writeLine(2, "città € \u0100");
  p.closeFile(2);
  EXPECT_EQ(ws.readFile("t:\\out.txt"), "127.0.0.1\tSRV1\r\n\r\ncitt\xE0 \x80 ?\r\n");
  // A new file keeps the spelling it was opened with.
  p.openText(1, "t:\\Hosts.Bak", TextMode::kOutput);
  p.closeFile(1);
  EXPECT_EQ(p.listFirst("t:\\hosts.bak", 0), "Hosts.Bak");

  // Every line end, a last line without one, and nothing at all.
  const std::pair<std::string, Names> reads[] = {
      {"dos\r\nunix\nmac\rcitt\xE0\r\n\r\nlast", {"dos", "unix", "mac", "città", "", "last"}},
      {"one\r\n", {"one"}},
      {"", {}},
  };
  for (const auto& [bytes, expected] : reads) {
    ws.writeFile("t:\\in.txt", bytes);
    p.openText(1, "t:\\in.txt", TextMode::kInput);
    Names lines;
    while (!p.endOfFile(1)) lines.push_back(p.readLine(1));
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(errorOf([&] { p.readLine(1); }), kErrInputPastEnd);
    p.closeFile(1);
  }

  // File numbers and modes.
  ws.writeFile("t:\\a.txt", "a\r\n");
  p.openText(1, "t:\\a.txt", TextMode::kInput);
  const std::pair<std::function<void()>, int> cases[] = {
      {[&] { p.openText(3, "t:\\missing.txt", TextMode::kInput); }, kErrFileNotFound},
      {[&] { p.openText(3, "t:\\nope\\a.txt", TextMode::kOutput); }, kErrPathNotFound},
      {[&] { p.openText(3, "t:\\", TextMode::kInput); }, kErrPathFileAccess},
      {[&] { p.openText(0, "t:\\c.txt", TextMode::kOutput); }, kErrBadFileNameOrNumber},
      {[&] { p.openText(512, "t:\\c.txt", TextMode::kOutput); }, kErrBadFileNameOrNumber},
      {[&] { p.openText(1, "t:\\b.txt", TextMode::kOutput); }, kErrFileAlreadyOpen},
      {[&] { p.writeLine(1, "x"); }, kErrBadFileMode},
      {[&] { p.readByte(1); }, kErrBadFileMode},
      {[&] { p.readLine(4); }, kErrBadFileNameOrNumber},
      {[&] { p.writeLine(4, "x"); }, kErrBadFileNameOrNumber},
      // The same file may be read twice, but not written while it is open.
      {[&] { p.openText(2, "t:\\A.TXT", TextMode::kOutput); }, kErrFileAlreadyOpen},
      {[&] {
         p.openText(2, "t:\\A.TXT", TextMode::kInput);
         p.closeFile(2);
       },
       0},
  };
  int row = 0;
  for (const auto& [operation, error] : cases) EXPECT_EQ(errorOf(operation), error) << row++;
  EXPECT_EQ(ws.readFile("t:\\a.txt"), "a\r\n");  // not emptied by the refused open
  p.closeFile(1);
  p.closeFile(1);  // not open: nothing happens

  p.openText(2, "t:\\b.txt", TextMode::kOutput);
  EXPECT_EQ(errorOf([&] { p.readLine(2); }), kErrBadFileMode);
  EXPECT_EQ(errorOf([&] { p.endOfFile(2); }), kErrBadFileMode);
  p.closeFile(2);
  makeReadOnly("t:\\b.txt");
  EXPECT_EQ(errorOf([&] { p.openText(2, "t:\\b.txt", TextMode::kOutput); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.openText(2, "t:\\b.txt", TextMode::kInput); }), 0);
  p.closeFile(2);
}

TEST_F(PlatformContract, BinaryFiles) {
  ws.writeFile("t:\\zepo\\zepont~1.lnk", std::string("xC\0:C:\\", 7));
  p.openBinary(1, "t:\\zepo\\ZEPONT~1.LNK");
  ASSERT_EQ(p.fileLength(1), 7);
  std::string bytes;
  for (int i = 0; i < 7; ++i) bytes += static_cast<char>(p.readByte(1));
  EXPECT_EQ(bytes, std::string("xC\0:C:\\", 7));
  EXPECT_TRUE(p.endOfFile(1));
  EXPECT_EQ(p.readByte(1), 0);  // past the end
  p.closeFile(1);
  // Writing from the start changes the bytes in place.
  p.openBinary(1, "t:\\zepo\\zepont~1.lnk");
  for (char c : std::string("xD\0:D:\\", 7)) p.writeByte(1, static_cast<std::uint8_t>(c));
  EXPECT_EQ(p.fileLength(1), 7);
  p.closeFile(1);
  EXPECT_EQ(ws.readFile("t:\\zepo\\zepont~1.lnk"), std::string("xD\0:D:\\", 7));

  // A missing file is made; a read-only one is read but not written.
  p.openBinary(1, "t:\\zepo\\new.bin");
  EXPECT_EQ(p.fileLength(1), 0);
  EXPECT_TRUE(p.endOfFile(1));
  p.writeByte(1, 0x41);
  p.writeByte(1, 0x42);
  EXPECT_EQ(p.fileLength(1), 2);
  EXPECT_EQ(errorOf([&] { p.writeLine(1, "x"); }), kErrBadFileMode);
  EXPECT_EQ(errorOf([&] { p.readLine(1); }), kErrBadFileMode);
  p.closeFile(1);
  EXPECT_EQ(ws.readFile("t:\\zepo\\new.bin"), "AB");
  makeReadOnly("t:\\zepo\\new.bin");
  p.openBinary(1, "t:\\zepo\\new.bin");
  EXPECT_EQ(p.readByte(1), 0x41);
  EXPECT_EQ(errorOf([&] { p.writeByte(1, 0x43); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.openBinary(1, "t:\\zepo\\new.bin"); }), kErrFileAlreadyOpen);
  EXPECT_EQ(errorOf([&] { p.openBinary(2, "t:\\zepo\\NEW.BIN"); }), kErrFileAlreadyOpen);
  EXPECT_EQ(errorOf([&] { p.openText(2, "t:\\zepo\\NEW.BIN", TextMode::kInput); }),
            kErrFileAlreadyOpen);
  p.closeFile(1);
  EXPECT_EQ(ws.readFile("t:\\zepo\\new.bin"), "AB");
  EXPECT_EQ(errorOf([&] { p.openBinary(1, "t:\\zepo"); }), kErrPathFileAccess);
}

}  // namespace
}  // namespace zepo
