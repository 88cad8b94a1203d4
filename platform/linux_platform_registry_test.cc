#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/linux_platform.h"
#include "platform/registry_store.h"
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

TEST_F(LinuxRegistryTest, CreateOpenSetDeleteClose) {
  const std::string before = registryText();
  RegKey key = 7;
  EXPECT_EQ(p_.RegOpenKeyExA(kHkeyCurrentUser, "Software\\Zepo", kKeySetValue, key),
            kErrorFileNotFound);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(registryText(), before);  // opening creates nothing

  std::uint32_t disposition = 0;
  ASSERT_EQ(
      p_.RegCreateKeyExA(kHkeyCurrentUser, "Software\\Zepo", 0, kKeyQueryValue, key, disposition),
      kErrorSuccess);
  EXPECT_EQ(disposition, 1u);  // created
  // Opened only for reading: values cannot be changed through it.
  EXPECT_EQ(p_.RegSetValueExA(key, "v", kRegSz, std::string("x\0", 2), 2), kErrorAccessDenied);
  EXPECT_EQ(p_.RegDeleteValueA(key, "v"), kErrorAccessDenied);
  EXPECT_EQ(p_.RegCloseKey(key), kErrorSuccess);
  EXPECT_EQ(p_.RegCloseKey(key), kErrorInvalidHandle);

  ASSERT_EQ(
      p_.RegCreateKeyExA(kHkeyCurrentUser, "SOFTWARE\\zepo", 0, kKeySetValue, key, disposition),
      kErrorSuccess);
  EXPECT_EQ(disposition, 2u);  // opened existing
  // Data up to the first zero byte, and no further than the size given.
  EXPECT_EQ(p_.RegSetValueExA(key, "A", kRegSz, std::string("one\0two\0", 8), 8), kErrorSuccess);
  EXPECT_EQ(p_.RegSetValueExA(key, "B", kRegSz, std::string("abcdef\0", 7), 3), kErrorSuccess);
  EXPECT_EQ(p_.RegSetValueExA(key, "città", kRegSz, std::string("\xE8\0", 2), 2), kErrorSuccess);
  EXPECT_EQ(p_.RegSetValueExA(key, "N", 4 /* REG_DWORD */, std::string(4, '\0'), 4),
            87 /* ERROR_INVALID_PARAMETER */);
  EXPECT_EQ(p_.RegDeleteValueA(key, "missing"), kErrorFileNotFound);
  EXPECT_EQ(p_.RegDeleteValueA(key, "b"), kErrorSuccess);

  // An open key serves as the root of further keys.
  RegKey sub = 0;
  EXPECT_EQ(p_.RegCreateKeyExA(key, "Sub", 0, kKeySetValue, sub, disposition), kErrorSuccess);
  EXPECT_EQ(p_.RegCreateKeyExA(key, "\\Bad", 0, kKeySetValue, sub, disposition), 161);
  EXPECT_EQ(p_.RegCloseKey(key), kErrorSuccess);

  RegistryStore stored(registryFile());
  EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\Zepo", "a"), "one");
  EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\Zepo", "B"), std::nullopt);
  EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\Zepo", "citt\xE0"), "\xE8");
  EXPECT_EQ(stored.keyPath("HKEY_CURRENT_USER\\Software\\Zepo\\Sub"),
            "HKEY_CURRENT_USER\\Software\\Zepo\\Sub");
  EXPECT_EQ(stored.keyPath("HKEY_USERS\\Software"), std::nullopt);

  // A new platform on the same prefix finds it all.
  LinuxPlatform again(ws_.dir());
  EXPECT_EQ(again.RegOpenKeyExA(kHkeyCurrentUser, "software\\ZEPO\\sub", kKeySetValue, key),
            kErrorSuccess);
}

}  // namespace
}  // namespace zepo
