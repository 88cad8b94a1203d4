// The Windows platform under Wine, on a drive of its own made for each test:
// the same listing rules, error numbers and file behaviour as the Linux
// workstation gives, and the Windows functions called for real.
#include "platform/win32_platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/win32_test_support.h"
#include "tests/json_lines.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

using Names = std::vector<std::string>;

int errorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

Names listAll(Platform& p, const std::string& pattern, int attributes) {
  Names names;
  for (std::string name = p.listFirst(pattern, attributes); !name.empty(); name = p.listNext()) {
    names.push_back(name);
  }
  return names;
}

class Win32PlatformTest : public ::testing::Test {
 protected:
  Win32PlatformTest() { ws.addDrive('t', "PROVA"); }
  void makeReadOnly(const std::string& path) { ws.setHidden(path, kAttrReadOnly); }

  TestWorkstation ws;
  Platform& p = ws.platform();
};

TEST_F(Win32PlatformTest, ListingMasksHiddenEntriesAndSortsByUpperCase) {
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

  EXPECT_EQ(listAll(p, "t:\\data\\*.*", 0),
            (Names{"A.TXT", "a1", "b.txt", "noext", "ro.txt", "two.dots.ini", "Z", "_x"}));
  EXPECT_EQ(listAll(p, "T:\\DATA\\*", kAttrDirectory),
            (Names{"A.TXT", "a1", "b.txt", "noext", "ro.txt", "Sub", "two.dots.ini", "Z", "_x"}));
  EXPECT_EQ(listAll(p, "t:\\data\\*.txt", 0), (Names{"A.TXT", "b.txt", "ro.txt"}));
  EXPECT_EQ(listAll(p, "t:\\data\\*.", 0), (Names{"a1", "noext", "Z", "_x"}));
  EXPECT_EQ(listAll(p, "t:\\data\\?.*", 0), (Names{"A.TXT", "b.txt", "Z"}));
  EXPECT_EQ(listAll(p, "t:\\data\\nothing*", 0), Names{});
  EXPECT_EQ(listAll(p, "t:\\data\\", kAttrDirectory).size(), 9u);
  EXPECT_EQ(errorOf([&] { p.listFirst("t:\\*\\b.txt", 0); }), kErrBadFileNameOrNumber);

  // Next names, the end, then an invalid call.
  EXPECT_EQ(p.listFirst("t:\\data\\*.txt", 0), "A.TXT");
  EXPECT_EQ(p.listNext(), "b.txt");
  EXPECT_EQ(p.listNext(), "ro.txt");
  EXPECT_EQ(p.listNext(), "");
  EXPECT_EQ(errorOf([&] { p.listNext(); }), kErrBadCall);

  // A plain path gives the entry's own spelling.
  EXPECT_EQ(p.listFirst("t:\\DATA\\a.txt", 0), "A.TXT");
  EXPECT_EQ(p.listFirst("t:\\data\\sub", 0), "");
  EXPECT_EQ(p.listFirst("t:\\data\\sub", kAttrDirectory), "Sub");
  EXPECT_EQ(p.listFirst("t:\\data\\SYSTEM.SYS", 0), "");
  EXPECT_EQ(p.listFirst("t:\\data\\.dot", 0), "");

  // Unknown places answer empty.
  ws.addShare("SRV1", "zepo");
  EXPECT_EQ(p.listFirst("\\\\SRV2\\zepo\\zepoinst.ini", 0), "");
  EXPECT_EQ(p.listFirst("\\\\SRV1\\other\\*.*", 0), "");
  // Repeated separators after the root count as one.
  ws.writeFile("\\\\SRV1\\zepo\\top.ini", "x");
  EXPECT_EQ(listAll(p, "\\\\SRV1\\zepo\\\\*.*", 0), Names{"top.ini"});
  EXPECT_EQ(listAll(p, "t:\\data\\\\*.txt", 0), (Names{"A.TXT", "b.txt", "ro.txt"}));
  EXPECT_EQ(p.listFirst("q:\\zepo", kAttrDirectory), "");
  EXPECT_EQ(p.listFirst("t:\\nope\\*.*", 0), "");
  EXPECT_EQ(errorOf([&] { p.listFirst("t:\\data\\a|b*", 0); }), kErrBadFileNameOrNumber);

  EXPECT_EQ(p.getAttributes("t:\\data\\b.txt"), kAttrNormal);
  EXPECT_EQ(p.getAttributes("t:\\data\\RO.TXT"), kAttrReadOnly);
  EXPECT_EQ(p.getAttributes("t:\\data\\hidden.txt"), kAttrHidden);
  EXPECT_EQ(p.getAttributes("t:\\data\\system.sys"), kAttrSystem);
  EXPECT_EQ(p.getAttributes("t:\\data\\.dot"), kAttrHidden);
  EXPECT_EQ(p.getAttributes("t:\\data\\sub"), kAttrDirectory);
  EXPECT_EQ(p.getAttributes("t:\\data\\hiddendir"), kAttrDirectory | kAttrHidden | kAttrSystem);
  EXPECT_EQ(p.getAttributes("t:\\"), kAttrDirectory);
  EXPECT_EQ(errorOf([&] { p.getAttributes("t:\\data\\none"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.getAttributes("t:\\none\\none"); }), kErrPathNotFound);
}

TEST_F(Win32PlatformTest, FoldersCopiesDeletionsAndRenames) {
  p.makeFolder("t:\\Zepo");
  EXPECT_EQ(p.listFirst("T:\\ZEPO", kAttrDirectory), "Zepo");
  EXPECT_EQ(errorOf([&] { p.makeFolder("t:\\zepo"); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.makeFolder("t:\\a\\b"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.makeFolder("t:\\a?"); }), kErrBadFileNameOrNumber);

  ws.addShare("SRV1", "zepo");
  std::string big(300 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4099);
  ws.writeFile("\\\\SRV1\\zepo\\Zepo.INI", big);
  p.copyFile("\\\\srv1\\zepo\\zepo.ini", "t:\\zepo\\New.ini");
  EXPECT_EQ(ws.readFile("t:\\zepo\\New.ini"), big);
  ws.writeFile("t:\\zepo\\small.txt", "small");
  p.copyFile("t:\\zepo\\small.txt", "T:\\ZEPO\\NEW.INI");
  EXPECT_EQ(ws.readFile("t:\\zepo\\new.ini"), "small");
  EXPECT_EQ(p.listFirst("t:\\zepo\\*.ini", 0), "New.ini");
  EXPECT_EQ(errorOf([&] { p.copyFile("t:\\missing.txt", "t:\\x.txt"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.copyFile("t:\\nope\\a.txt", "t:\\x.txt"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.copyFile("t:\\zepo\\new.ini", "t:\\nope\\x.txt"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.copyFile("t:\\zepo\\new.ini", "t:\\zepo"); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.copyFile("t:\\zepo", "t:\\x.txt"); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.copyFile("t:\\zepo\\new.ini", "t:\\zepo\\NEW.ini"); }),
            kErrPermissionDenied);
  // A read-only, hidden or system destination is refused and stays as it
  // was, and so is opening it for output.
  for (const char* name : {"ro.txt", "hidden.txt", "system.txt"})
    ws.writeFile(std::string("t:\\zepo\\") + name, "mine");
  makeReadOnly("t:\\zepo\\ro.txt");
  ws.setHidden("t:\\zepo\\hidden.txt", kAttrHidden);
  ws.setHidden("t:\\zepo\\system.txt", kAttrSystem);
  for (const char* name : {"ro.txt", "hidden.txt", "system.txt"}) {
    const std::string path = std::string("t:\\zepo\\") + name;
    EXPECT_EQ(errorOf([&] { p.copyFile("t:\\zepo\\new.ini", path); }), kErrPathFileAccess) << name;
    EXPECT_EQ(errorOf([&] { p.openText(1, path, TextMode::kOutput); }), kErrPathFileAccess) << name;
    EXPECT_EQ(ws.readFile(path), "mine") << name;
  }
  makeReadOnly("t:\\zepo\\small.txt");
  p.copyFile("t:\\zepo\\small.txt", "t:\\copy.txt");
  EXPECT_EQ(p.getAttributes("t:\\copy.txt"), kAttrReadOnly);

  ws.writeFile("t:\\tmp\\TEST.TXT", "x");
  p.deleteFile("t:\\tmp\\test.txt");
  EXPECT_FALSE(ws.exists("t:\\tmp\\TEST.TXT"));
  EXPECT_EQ(errorOf([&] { p.deleteFile("t:\\tmp\\test.txt"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.deleteFile("t:\\nope\\test.txt"); }), kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.deleteFile("t:\\tmp"); }), kErrFileNotFound);
  ws.writeFile("t:\\tmp\\hidden.txt", "x");
  ws.setHidden("t:\\tmp\\hidden.txt", kAttrHidden);
  EXPECT_EQ(errorOf([&] { p.deleteFile("t:\\tmp\\hidden.txt"); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.deleteFile("t:\\copy.txt"); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.deleteFile("t:\\tmp\\*.txt"); }), kErrBadFileNameOrNumber);
  EXPECT_TRUE(ws.exists("t:\\copy.txt"));

  const std::string etc = "t:\\etc\\";
  ws.writeFile(etc + "hosts", "old");
  ws.writeFile(etc + "hosts.bak", "new");
  EXPECT_EQ(errorOf([&] { p.renameFile(etc + "hosts.bak", etc + "HOSTS"); }),
            kErrFileAlreadyExists);
  p.deleteFile(etc + "hosts");
  p.renameFile(etc + "HOSTS.BAK", etc + "hosts");
  EXPECT_EQ(ws.readFile(etc + "hosts"), "new");
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
  // A read-only file is renamed; only an existing destination stops it.
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

TEST_F(Win32PlatformTest, TextAndBinaryFiles) {
  ws.writeFile("t:\\out.txt", "old contents that go away");
  p.openText(2, "T:\\OUT.TXT", TextMode::kOutput);
  p.writeLine(2, "127.0.0.1\tSRV1");
  p.writeLine(2, "");
  p.writeLine(2, "città € \u0100");
  p.closeFile(2);
  EXPECT_EQ(ws.readFile("t:\\out.txt"), "127.0.0.1\tSRV1\r\n\r\ncitt\xE0 \x80 ?\r\n");

  ws.writeFile("t:\\in.txt", "dos\r\nunix\nmac\rcitt\xE0\r\n\r\nlast");
  p.openText(1, "t:\\in.txt", TextMode::kInput);
  Names lines;
  while (!p.endOfFile(1)) lines.push_back(p.readLine(1));
  EXPECT_EQ(lines, (Names{"dos", "unix", "mac", "città", "", "last"}));
  EXPECT_EQ(errorOf([&] { p.readLine(1); }), kErrInputPastEnd);
  // The same file may be read twice, but not written while it is open.
  EXPECT_EQ(errorOf([&] { p.openText(2, "t:\\IN.TXT", TextMode::kInput); }), 0);
  p.closeFile(2);
  EXPECT_EQ(errorOf([&] { p.openText(2, "t:\\IN.TXT", TextMode::kOutput); }), kErrFileAlreadyOpen);
  EXPECT_EQ(ws.readFile("t:\\in.txt").size(), 27u);  // not emptied by the refused open
  EXPECT_EQ(errorOf([&] { p.openText(1, "t:\\b.txt", TextMode::kOutput); }), kErrFileAlreadyOpen);
  EXPECT_EQ(errorOf([&] { p.writeLine(1, "x"); }), kErrBadFileMode);
  p.closeFile(1);
  p.closeFile(1);
  EXPECT_EQ(errorOf([&] { p.readLine(1); }), kErrBadFileNameOrNumber);
  EXPECT_EQ(errorOf([&] { p.openText(1, "t:\\missing.txt", TextMode::kInput); }), kErrFileNotFound);
  EXPECT_EQ(errorOf([&] { p.openText(1, "t:\\nope\\a.txt", TextMode::kOutput); }),
            kErrPathNotFound);
  EXPECT_EQ(errorOf([&] { p.openText(1, "t:\\", TextMode::kInput); }), kErrPathFileAccess);
  makeReadOnly("t:\\out.txt");
  EXPECT_EQ(errorOf([&] { p.openText(2, "t:\\out.txt", TextMode::kOutput); }), kErrPathFileAccess);

  ws.writeFile("t:\\zepo\\zepont~1.lnk", std::string("xC\0:C:\\", 7));
  p.openBinary(1, "t:\\zepo\\ZEPONT~1.LNK");
  ASSERT_EQ(p.fileLength(1), 7);
  std::string bytes;
  for (int i = 0; i < 7; ++i) bytes += static_cast<char>(p.readByte(1));
  EXPECT_EQ(bytes, std::string("xC\0:C:\\", 7));
  EXPECT_TRUE(p.endOfFile(1));
  EXPECT_EQ(p.readByte(1), 0);  // past the end
  p.closeFile(1);
  p.openBinary(1, "t:\\zepo\\zepont~1.lnk");
  for (char c : std::string("xD\0:D:\\", 7)) p.writeByte(1, static_cast<std::uint8_t>(c));
  p.closeFile(1);
  EXPECT_EQ(ws.readFile("t:\\zepo\\zepont~1.lnk"), std::string("xD\0:D:\\", 7));
  p.openBinary(1, "t:\\zepo\\new.bin");
  p.writeByte(1, 0x41);
  EXPECT_EQ(p.fileLength(1), 1);
  p.closeFile(1);
  makeReadOnly("t:\\zepo\\new.bin");
  p.openBinary(1, "t:\\zepo\\new.bin");
  EXPECT_EQ(p.readByte(1), 0x41);
  EXPECT_EQ(errorOf([&] { p.writeByte(1, 0x43); }), kErrPathFileAccess);
  EXPECT_EQ(errorOf([&] { p.openBinary(2, "t:\\zepo\\NEW.BIN"); }), kErrFileAlreadyOpen);
  p.closeFile(1);
  EXPECT_EQ(errorOf([&] { p.openBinary(1, "t:\\zepo"); }), kErrPathFileAccess);
}

TEST_F(Win32PlatformTest, ProfileStringsThroughWindows) {
  const std::string ini = "t:\\system.ini";
  ws.writeFile(ini, "; comment\r\n[boot]\r\nshell=explorer.exe\r\n\r\n[DBS_REG_32]\r\nX=old\r\n");
  EXPECT_TRUE(p.WritePrivateProfileStringA("dbs_reg_32", "x", std::string("c:\\città"), ini));
  std::string buffer(255, ' ');
  std::uint32_t n = p.GetPrivateProfileStringA("DBS_REG_32", "X", "", buffer, 255, ini);
  EXPECT_EQ(buffer.substr(0, buffer.find('\0')), "c:\\città");
  EXPECT_EQ(n, 8u);                                           // characters, not UTF-8 bytes
  EXPECT_EQ(buffer.substr(buffer.find('\0') + 1, 3), "   ");  // the rest stays as it was
  // Every other line stays; the value is stored in the code page. Wine
  // writes the file anew from what it read, without its blank lines.
  std::string expected =
      "; comment\r\n[boot]\r\nshell=explorer.exe\r\n\r\n[DBS_REG_32]\r\nX=c:\\citt\xE0\r\n";
  if (win32::wineUnixPath("C:\\")) expected.erase(expected.find("\r\n\r\n"), 2);
  EXPECT_EQ(ws.readFile(ini), expected);

  // No value removes the key; a missing key reads as the default, without
  // its trailing blanks, cut to the buffer.
  EXPECT_TRUE(p.WritePrivateProfileStringA("DBS_REG_32", "X", std::nullopt, ini));
  EXPECT_EQ(p.GetPrivateProfileStringA("DBS_REG_32", "X", "", buffer, 255, ini), 0u);
  EXPECT_EQ(p.GetPrivateProfileStringA("DBS_REG_32", "X", "abcdef  ", buffer, 4, ini), 3u);
  EXPECT_EQ(buffer.substr(0, 4), std::string("abc\0", 4));
  EXPECT_EQ(p.GetPrivateProfileStringA("HOST", "HostIP", "", buffer, 255, "t:\\missing.ini"), 0u);

  // A new file and section are made.
  EXPECT_TRUE(p.WritePrivateProfileStringA("Abal~Environ", "PROCESS", "12", "t:\\zepo.ini"));
  EXPECT_EQ(ws.readFile("t:\\zepo.ini"), "[Abal~Environ]\r\nPROCESS=12\r\n");
}

// Every name in a folder, hidden ones too.
Names everyName(const std::string& folder) {
  Names names;
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(find, &entry));
  ::FindClose(find);
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

TEST_F(Win32PlatformTest, ProfileReadingAgreesWithTheReferenceQueries) {
  // The reference data gives names and values as Windows-1252 bytes.
  const std::string dir = referenceDataDir() + "/ini-reading/";
  std::vector<JsonLine> queries = readJsonLines(dir + "expected.jsonl");
  ASSERT_GE(queries.size(), 30u);
  std::set<std::string> copied;
  for (const JsonLine& query : queries) {
    const std::string& file = query.values.at("file");
    const std::string& section = query.values.at("section");
    const std::string& key = query.values.at("key");
    if (copied.insert(file).second) p.copyFile(dir + file, "t:\\" + file);
    std::string buffer(255, ' ');
    std::uint32_t count = p.GetPrivateProfileStringA(fromCodePage(section), fromCodePage(key), "",
                                                     buffer, 255, "t:\\" + file);
    SCOPED_TRACE(file + " [" + section + "] " + key);
    const std::string value = toCodePage(buffer.substr(0, buffer.find('\0')));
    EXPECT_EQ(std::to_string(count), query.values.at("count"));
    EXPECT_EQ(value, query.values.at("value"));
  }
}

TEST_F(Win32PlatformTest, RegistryKeysAndValues) {
  const std::string sub =
      "software\\zepo test " + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  RegKey key = 0;
  std::uint32_t disposition = 0;
  ASSERT_EQ(p.RegCreateKeyExA(kHkeyCurrentUser, sub + "\\DBS_REG_32", 0, kKeyQueryValue, key,
                              disposition),
            kErrorSuccess);
  EXPECT_EQ(disposition, 1u);  // created
  EXPECT_EQ(p.RegCloseKey(key), kErrorSuccess);
  EXPECT_EQ(p.RegCloseKey(key), kErrorInvalidHandle);

  ASSERT_EQ(p.RegOpenKeyExA(kHkeyCurrentUser, sub + "\\dbs_reg_32", kKeySetValue, key),
            kErrorSuccess);
  EXPECT_EQ(p.RegSetValueExA(key, "X:\\", kRegSz, std::string("abc\0", 4), 4), kErrorSuccess);
  EXPECT_EQ(p.RegDeleteValueA(key, "x:\\"), kErrorSuccess);
  EXPECT_EQ(p.RegDeleteValueA(key, "x:\\"), kErrorFileNotFound);
  EXPECT_EQ(p.RegCloseKey(key), kErrorSuccess);

  EXPECT_EQ(p.RegOpenKeyExA(kHkeyCurrentUser, sub + "\\missing", kKeySetValue, key),
            kErrorFileNotFound);
  EXPECT_EQ(p.RegCreateKeyExA(kInvalidRootKey, "x", 0, kKeyQueryValue, key, disposition),
            kErrorInvalidHandle);
  EXPECT_EQ(p.RegCloseKey(kInvalidRootKey), kErrorInvalidHandle);

  ASSERT_EQ(p.RegCreateKeyExA(kHkeyCurrentUser, sub + "\\DBS_REG_32", 0, kKeyQueryValue, key,
                              disposition),
            kErrorSuccess);
  EXPECT_EQ(disposition, 2u);  // opened
  EXPECT_EQ(p.RegCloseKey(key), kErrorSuccess);
}

TEST_F(Win32PlatformTest, ProcessesWindowsFolderDrivesAndApplication) {
  // xcopy beside the test program, with a source that does not exist.
  ProcessInformation info;
  ASSERT_TRUE(p.CreateProcessA("xcopy t:\\nothing\\*.* t:\\dest\\*.* /s", true,
                               kNormalPriorityClass, StartupInfo{}, info));
  EXPECT_EQ(p.WaitForSingleObject(info.hProcess, kInfinite), kWaitObject0);
  std::int32_t code = -7;
  EXPECT_TRUE(p.GetExitCodeProcess(info.hProcess, code));
  EXPECT_EQ(code, 4);
  EXPECT_TRUE(p.CloseHandle(info.hThread));
  EXPECT_TRUE(p.CloseHandle(info.hProcess));
  EXPECT_FALSE(p.GetExitCodeProcess(0, code));
  EXPECT_EQ(code, 4);  // kept
  EXPECT_EQ(p.WaitForSingleObject(0, kInfinite), kWaitFailed);

  ProcessInformation none;
  EXPECT_FALSE(p.CreateProcessA("no-such-program-zepo.exe", true, kNormalPriorityClass,
                                StartupInfo{}, none));
  EXPECT_EQ(none.hProcess, 0u);

  std::string buffer(255, ' ');
  std::uint32_t length = p.GetWindowsDirectoryA(buffer, 255);
  ASSERT_GT(length, 2u);
  EXPECT_EQ(buffer[length], '\0');
  EXPECT_NE(buffer[length - 1], '\\');
  EXPECT_EQ(p.listFirst(buffer.substr(0, length) + "\\system.ini", 0).empty(), false);
  std::string tiny = "xx";
  EXPECT_GT(p.GetWindowsDirectoryA(tiny, 2), 2u);
  EXPECT_EQ(tiny, "xx");

  std::vector<DriveInfo> drives = p.drives();
  auto t = std::find_if(drives.begin(), drives.end(),
                        [](const DriveInfo& d) { return d.letter == 't'; });
  ASSERT_NE(t, drives.end());
  EXPECT_EQ(t->label, "PROVA");
  EXPECT_TRUE(
      std::is_sorted(drives.begin(), drives.end(),
                     [](const DriveInfo& a, const DriveInfo& b) { return a.letter < b.letter; }));
  EXPECT_EQ(p.osPlatform(), 2);
  EXPECT_GE(p.osVersion(), 5.0f);
  EXPECT_EQ(p.listFirst(p.appPath() + "\\zepo_tests.exe", 0), "zepo_tests.exe");
  EXPECT_EQ(p.appTitle(), "clientZEPO");
  EXPECT_EQ(p.appVersion().major, 3);
  EXPECT_EQ(p.AddFontResourceA("t:\\missing.fon"), 0);
}

}  // namespace
}  // namespace zepo
