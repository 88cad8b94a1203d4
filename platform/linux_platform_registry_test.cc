#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/linux_platform.h"
#include "platform/registry_store.h"
#include "platform/workstation_platform.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

class LinuxRegistryTest : public ::testing::Test {
 protected:
  std::string registryFile() { return ws_.dir() + "/registry.reg"; }
  std::string registryText() {
    std::ifstream in(registryFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  TestWorkstation ws_;
  LinuxPlatform& p_ = ws_.platform();
};

TEST_F(LinuxRegistryTest, BadHandlesAreRejected) {
  RegKey key = 7;
  std::uint32_t disposition = 0;
  for (RegKey bad : {kInvalidRootKey, kHkeyDynData, kHkeyPerformanceData, RegKey{0x1234}}) {
    EXPECT_EQ(p_.RegCreateKeyExA(bad, "Software", 0, kKeyQueryValue, key, disposition),
              kErrorInvalidHandle);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(p_.RegOpenKeyExA(bad, "Software", kKeySetValue, key), kErrorInvalidHandle);
    EXPECT_EQ(p_.RegSetValueExA(bad, "v", kRegSz, std::string("x\0", 2), 2), kErrorInvalidHandle);
    EXPECT_EQ(p_.RegDeleteValueA(bad, "v"), kErrorInvalidHandle);
    EXPECT_EQ(p_.RegCloseKey(bad), kErrorInvalidHandle);
  }
  EXPECT_EQ(p_.RegCloseKey(kHkeyCurrentUser), kErrorSuccess);  // predefined: allowed
}

TEST_F(LinuxRegistryTest, TheFileKeepsKeysForTheNextPlatform) {
  const std::string before = registryText();
  RegKey key = 7;
  EXPECT_EQ(p_.RegOpenKeyExA(kHkeyCurrentUser, "Software\\Zepo", kKeySetValue, key),
            kErrorFileNotFound);
  EXPECT_EQ(registryText(), before);  // opening writes nothing
  std::uint32_t disposition = 0;
  ASSERT_EQ(
      p_.RegCreateKeyExA(kHkeyCurrentUser, "SOFTWARE\\zepo", 0, kKeySetValue, key, disposition),
      kErrorSuccess);
  // Only the strings that the installer writes are kept.
  EXPECT_EQ(p_.RegSetValueExA(key, "N", 4 /* REG_DWORD */, std::string(4, '\0'), 4),
            87 /* ERROR_INVALID_PARAMETER */);
  RegKey sub = 0;
  EXPECT_EQ(p_.RegCreateKeyExA(key, "Sub", 0, kKeySetValue, sub, disposition), kErrorSuccess);
  EXPECT_EQ(p_.RegCreateKeyExA(key, "\\Bad", 0, kKeySetValue, sub, disposition), 161);
  EXPECT_EQ(p_.RegCloseKey(key), kErrorSuccess);
  EXPECT_EQ(RegistryStore(registryFile()).keyPath("HKEY_USERS\\Software"), std::nullopt);

  // A new platform on the same prefix finds it all.
  LinuxPlatform again(ws_.dir());
  EXPECT_EQ(again.RegOpenKeyExA(kHkeyCurrentUser, "software\\ZEPO\\sub", kKeySetValue, key),
            kErrorSuccess);
}

// Sets the string value `name` of HKEY_CURRENT_USER\<key>, making the key.
std::int32_t setValue(Platform& p, const std::string& key, const std::string& name,
                      const std::string& data) {
  RegKey handle = 0;
  std::uint32_t disposition = 0;
  std::int32_t error =
      p.RegCreateKeyExA(kHkeyCurrentUser, key, 0, kKeySetValue, handle, disposition);
  if (error != kErrorSuccess) return error;
  error = p.RegSetValueExA(handle, name, kRegSz, data + '\0',
                           static_cast<std::uint32_t>(data.size() + 1));
  p.RegCloseKey(handle);
  return error;
}

TEST_F(LinuxRegistryTest, TwoInstallersOnOnePrefixKeepEachOthersKeys) {
  LinuxPlatform other(ws_.dir());
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_EQ(setValue(p_, "Software\\A" + n, "v", "a"), kErrorSuccess);
    ASSERT_EQ(setValue(other, "Software\\B" + n, "v", "b"), kErrorSuccess);
    // Each sees what the other wrote.
    RegKey key = 0;
    EXPECT_EQ(other.RegOpenKeyExA(kHkeyCurrentUser, "software\\a" + n, kKeyQueryValue, key),
              kErrorSuccess);
    other.RegCloseKey(key);
  }

  // At the same time, in two processes: every value arrives.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  const bool inChild = child == 0;
  {
    LinuxPlatform p(ws_.dir());
    for (int i = 0; i < 40; ++i) {
      if (setValue(p, inChild ? "Software\\Child" : "Software\\Parent", std::to_string(i), "x") !=
              kErrorSuccess &&
          inChild) {
        std::_Exit(1);
      }
    }
  }
  if (inChild) std::_Exit(0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  RegistryStore stored(registryFile());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\A" + std::to_string(i), "v"), "a");
    EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\B" + std::to_string(i), "v"), "b");
  }
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\Child", std::to_string(i)), "x");
    EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\Parent", std::to_string(i)), "x");
  }
}

TEST_F(LinuxRegistryTest, ARegistryThatCannotBeWrittenOrRead) {
  ASSERT_EQ(setValue(p_, "Software\\Zepo", "v", "1"), kErrorSuccess);
  // A read-only hive: what exists opens, every change is refused as a key
  // without the right to change it is, and the file stays as it is.
  std::filesystem::permissions(registryFile(), std::filesystem::perms(0444));
  const std::string before = registryText();
  RegKey key = 0;
  std::uint32_t disposition = 0;
  EXPECT_EQ(
      p_.RegCreateKeyExA(kHkeyCurrentUser, "Software\\Zepo", 0, kKeySetValue, key, disposition),
      kErrorSuccess);
  EXPECT_EQ(p_.RegSetValueExA(key, "v", kRegSz, std::string("2\0", 2), 2), kErrorAccessDenied);
  EXPECT_EQ(p_.RegDeleteValueA(key, "v"), kErrorAccessDenied);
  EXPECT_EQ(p_.RegCloseKey(key), kErrorSuccess);
  EXPECT_EQ(setValue(p_, "Software\\New", "v", "1"), kErrorAccessDenied);
  EXPECT_EQ(registryText(), before);
  EXPECT_EQ(std::filesystem::status(registryFile()).permissions(), std::filesystem::perms(0444));

  // A registry.reg that is no file is named at start; a program that never
  // uses the registry (xcopy) starts all the same, and its registry calls
  // fail as on a damaged hive.
  std::filesystem::remove(registryFile());
  std::filesystem::create_directory(registryFile());
  try {
    LinuxPlatform p(ws_.dir());
    ADD_FAILURE() << "started";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), registryFile() + ": is a folder, not the registry file");
  }
  setenv("ZEPO_PREFIX", ws_.dir().c_str(), 1);
  std::unique_ptr<Platform> xcopy = makeWorkstationPlatform();
  EXPECT_EQ(xcopy->RegOpenKeyExA(kHkeyCurrentUser, "Software", kKeyQueryValue, key),
            1009 /* ERROR_BADDB */);
}

}  // namespace
}  // namespace zepo
