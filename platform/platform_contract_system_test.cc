// What every Platform's Windows functions do, the same on each: profile
// strings, the registry, processes and the workstation's facts, run against
// the platform of the build on a scratch workstation with a drive T: (see
// platform_contract_test.cc).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "tests/reference_data.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

class PlatformContractSystem : public ::testing::Test {
 protected:
  PlatformContractSystem() { ws.addDrive('t'); }

  TestWorkstation ws;
  Platform& p = ws.platform();
};

TEST_F(PlatformContractSystem, ProfileStrings) {
  const std::string ini = "t:\\system.ini";
  ws.writeFile(ini, "; comment\r\n[boot]\r\nshell=explorer.exe\r\n\r\n[DBS_REG_32]\r\nX=old\r\n" +
                        std::string("Long=") + std::string(300, '\xE0') + "\r\n");
  EXPECT_TRUE(p.WritePrivateProfileStringA("dbs_reg_32", "x", std::string("c:\\città"), ini));
  // Characters, not UTF-8 bytes; the rest of the buffer stays as it was.
  std::string buffer(255, ' ');
  EXPECT_EQ(p.GetPrivateProfileStringA("DBS_REG_32", "X", "", buffer, 255, "T:\\SYSTEM.INI"), 8u);
  EXPECT_EQ(buffer.substr(0, 13), std::string("c:\\città\0   ", 13));
  EXPECT_NE(ws.readFile(ini).find("X=c:\\citt\xE0\r\n"), std::string::npos);  // in the code page
  // A value cut to the buffer.
  EXPECT_EQ(p.GetPrivateProfileStringA("DBS_REG_32", "Long", "", buffer, 255, ini), 254u);
  EXPECT_EQ(buffer.substr(0, 4), "àà");

  // No value removes the key; a missing key or file reads as the default,
  // without its trailing blanks, cut to the buffer; size 0 writes nothing.
  EXPECT_TRUE(p.WritePrivateProfileStringA("DBS_REG_32", "X", std::nullopt, ini));
  EXPECT_EQ(p.GetPrivateProfileStringA("DBS_REG_32", "X", "", buffer, 255, ini), 0u);
  buffer = std::string(10, '-');
  EXPECT_EQ(p.GetPrivateProfileStringA("DBS_REG_32", "X", "ab  ", buffer, 4, ini), 2u);
  EXPECT_EQ(p.GetPrivateProfileStringA("DBS_REG_32", "Long", "", buffer, 0, ini), 0u);
  EXPECT_EQ(buffer, std::string("ab\0-------", 10));
  for (const char* missing : {"t:\\missing.ini", "t:\\no\\such\\folder\\a.ini", "q:\\a.ini"}) {
    EXPECT_EQ(p.GetPrivateProfileStringA("HOST", "HostIP", "", buffer, 255, missing), 0u)
        << missing;
  }

  // A new file and section are made.
  EXPECT_TRUE(p.WritePrivateProfileStringA("Abal~Environ", "PROCESS", "12", "t:\\zepo.ini"));
  EXPECT_EQ(ws.readFile("t:\\zepo.ini"), "[Abal~Environ]\r\nPROCESS=12\r\n");
}

TEST_F(PlatformContractSystem, ProfileReadingAgreesWithTheReferenceQueries) {
  std::set<std::string> copied;
  for (const auto& query : referenceCases("ini-reading/expected.txt")) {
    const std::string& file = query.at(0);
    if (copied.insert(file).second)
      ws.writeFile("t:\\" + file, referenceFile("ini-reading/" + file));
    std::string buffer(255, ' ');
    std::uint32_t count =
        p.GetPrivateProfileStringA(query.at(1), query.at(2), "", buffer, 255, "t:\\" + file);
    SCOPED_TRACE(file + " [" + query.at(1) + "] " + query.at(2));
    EXPECT_EQ(std::to_string(count), query.at(3));
    EXPECT_EQ(buffer.substr(0, buffer.find('\0')), query.at(4));
  }
  EXPECT_EQ(copied.size(), 15u);  // every sample file is asked
}

TEST_F(PlatformContractSystem, RegistryKeysAndValues) {
  // Below the installer's own key, which every test workstation starts
  // without.
  const std::string sub = "Software\\Prologue Software\\Zepo";
  const std::string full = "HKEY_CURRENT_USER\\" + sub;
  RegKey key = 7;
  std::uint32_t disposition = 0;
  EXPECT_EQ(p.RegOpenKeyExA(kHkeyCurrentUser, sub, kKeySetValue, key), kErrorFileNotFound);
  EXPECT_EQ(key, 0u);
  EXPECT_FALSE(ws.registryKeyExists(full));  // opening creates nothing
  for (RegKey bad : {kInvalidRootKey, RegKey{0x1234}}) {
    EXPECT_EQ(p.RegCreateKeyExA(bad, "Software", 0, kKeyQueryValue, key, disposition),
              kErrorInvalidHandle);
    EXPECT_EQ(p.RegOpenKeyExA(bad, "Software", kKeySetValue, key), kErrorInvalidHandle);
    EXPECT_EQ(p.RegSetValueExA(bad, "v", kRegSz, std::string("x\0", 2), 2), kErrorInvalidHandle);
    EXPECT_EQ(p.RegDeleteValueA(bad, "v"), kErrorInvalidHandle);
    EXPECT_EQ(p.RegCloseKey(bad), kErrorInvalidHandle);
  }

  ASSERT_EQ(p.RegCreateKeyExA(kHkeyCurrentUser, sub, 0, kKeyQueryValue, key, disposition),
            kErrorSuccess);
  EXPECT_EQ(disposition, 1u);  // created
  // Opened only for reading: values cannot be changed through it.
  EXPECT_EQ(p.RegSetValueExA(key, "v", kRegSz, std::string("x\0", 2), 2), kErrorAccessDenied);
  EXPECT_EQ(p.RegCloseKey(key), kErrorSuccess);
  EXPECT_EQ(p.RegCloseKey(key), kErrorInvalidHandle);

  ASSERT_EQ(p.RegCreateKeyExA(kHkeyCurrentUser, "SOFTWARE\\prologue software\\zepo", 0,
                              kKeySetValue, key, disposition),
            kErrorSuccess);
  EXPECT_EQ(disposition, 2u);  // opened
  // Data up to the first zero byte, and no further than the size given.
  EXPECT_EQ(p.RegSetValueExA(key, "A", kRegSz, std::string("one\0two\0", 8), 8), kErrorSuccess);
  EXPECT_EQ(p.RegSetValueExA(key, "B", kRegSz, std::string("abcdef\0", 7), 3), kErrorSuccess);
  EXPECT_EQ(p.RegSetValueExA(key, "città", kRegSz, std::string("\xE8\0", 2), 2), kErrorSuccess);
  EXPECT_EQ(ws.registryString(full, "b"), "abc");
  EXPECT_EQ(p.RegDeleteValueA(key, "missing"), kErrorFileNotFound);
  EXPECT_EQ(p.RegDeleteValueA(key, "b"), kErrorSuccess);
  EXPECT_EQ(p.RegDeleteValueA(key, "b"), kErrorFileNotFound);
  // An open key serves as the root of further keys.
  RegKey sub2 = 0;
  EXPECT_EQ(p.RegCreateKeyExA(key, "Sub", 0, kKeySetValue, sub2, disposition), kErrorSuccess);
  EXPECT_EQ(p.RegCloseKey(sub2), kErrorSuccess);
  EXPECT_EQ(p.RegCloseKey(key), kErrorSuccess);

  EXPECT_EQ(ws.registryString(full, "a"), "one");
  EXPECT_EQ(ws.registryString(full, "B"), std::nullopt);
  EXPECT_EQ(ws.registryString(full, "citt\xE0"), "\xE8");
  EXPECT_TRUE(ws.registryKeyExists(full + "\\sub"));
}

TEST_F(PlatformContractSystem, ProcessesAndTheWorkstationsFacts) {
  // xcopy beside the test program, as beside the installer, with a source
  // that does not exist.
  ProcessInformation info;
  ASSERT_TRUE(p.CreateProcessA("xcopy t:\\nothing\\*.* t:\\dest\\*.* /s", true,
                               kNormalPriorityClass, StartupInfo{}, info));
  EXPECT_EQ(p.WaitForSingleObject(info.hProcess, kInfinite), kWaitObject0);
  std::int32_t code = -7;
  EXPECT_TRUE(p.GetExitCodeProcess(info.hProcess, code));
  EXPECT_EQ(code, 4);
  EXPECT_TRUE(p.CloseHandle(info.hThread));
  EXPECT_TRUE(p.CloseHandle(info.hProcess));
  // Closed handles and the zero handle of a program that did not start
  // are unknown handles.
  for (ProcessHandle unknown : {info.hProcess, ProcessHandle{0}}) {
    EXPECT_FALSE(p.GetExitCodeProcess(unknown, code));
    EXPECT_EQ(code, 4);  // kept
    EXPECT_EQ(p.WaitForSingleObject(unknown, kInfinite), kWaitFailed);
    EXPECT_FALSE(p.CloseHandle(unknown));
  }
  for (const char* line : {"no-such-program-zepo.exe", ""}) {
    ProcessInformation none{7, 8, 9, 10};
    EXPECT_FALSE(p.CreateProcessA(line, true, kNormalPriorityClass, StartupInfo{}, none)) << line;
    EXPECT_EQ(none.hProcess + none.hThread + none.dwProcessId + none.dwThreadId, 0u) << line;
  }

  // The Windows folder, without a closing backslash; a buffer without room
  // for the closing zero stays as it was.
  std::string buffer(255, ' ');
  std::uint32_t length = p.GetWindowsDirectoryA(buffer, 255);
  ASSERT_GT(length, 2u);
  EXPECT_EQ(buffer[length], '\0');
  EXPECT_NE(buffer[length - 1], '\\');
  EXPECT_FALSE(p.listFirst(buffer.substr(0, length) + "\\system.ini", 0).empty());
  std::string exact(length, 'x');
  EXPECT_EQ(p.GetWindowsDirectoryA(exact, length), length + 1);
  EXPECT_EQ(exact, std::string(length, 'x'));

  std::string letters;
  for (const DriveInfo& drive : p.drives()) letters += drive.letter;
  EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end())) << letters;
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 't'), 1) << letters;
  EXPECT_EQ(p.osPlatform(), 2);
  EXPECT_GE(p.osVersion(), 5.0f);
  EXPECT_EQ(p.appTitle(), "clientZEPO");
  EXPECT_EQ(p.appVersion().major, kProgramVersion.major);
  EXPECT_EQ(p.AddFontResourceA("t:\\missing.fon"), 0);
}

}  // namespace
}  // namespace zepo
