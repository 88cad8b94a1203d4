// The registry module on the real Windows registry (under Wine): the
// installer's two database-client keys, value deletion and failures, looked
// at afterwards with the registry functions themselves.
#include <gtest/gtest.h>

#include <string>

#include "platform/funzioni_registro.h"
#include "platform/win32_platform.h"
#include "platform/win32_test_support.h"

namespace zepo {
namespace {

const std::string kCurrentUserKey =
    "hkey_current_user\\software\\prologue software\\configuration\\criteria\\DBS_REG_32";
const std::string kDefaultUserKey =
    "hkey_users\\.default\\software\\prologue software\\configuration\\criteria\\DBS_REG_32";
const std::string kSubKey = "software\\prologue software\\configuration\\criteria\\DBS_REG_32";

class FunzioniRegistroWin32Test : public ::testing::Test {
 protected:
  FunzioniRegistroWin32Test() { clean(); }
  ~FunzioniRegistroWin32Test() override { clean(); }
  static void clean() {
    win32::removeRegistryTree(kHkeyCurrentUser, "software\\prologue software");
    win32::removeRegistryTree(kHkeyUsers, ".default\\software\\prologue software");
    win32::removeRegistryTree(kHkeyLocalMachine, "software\\zepo test");
  }

  Win32Platform platform;
};

TEST_F(FunzioniRegistroWin32Test, WritesTheDatabaseClientValueUnderBothKeys) {
  for (const std::string& key : {kCurrentUserKey, kDefaultUserKey}) {
    EXPECT_TRUE(CreaChiave(platform, key));
    EXPECT_TRUE(ScriviChiaveStringa(platform, key, "X:\\", "abc", ""));
  }
  EXPECT_EQ(win32::registryString(kHkeyCurrentUser, kSubKey, "x:\\"), "abc");
  EXPECT_EQ(win32::registryString(kHkeyUsers, ".DEFAULT\\" + kSubKey, "X:\\"), "abc");

  // Text goes to the registry as Windows-1252 bytes.
  EXPECT_TRUE(ScriviChiaveStringa(platform, kCurrentUserKey, "X:\\", "città", ""));
  EXPECT_EQ(win32::registryString(kHkeyCurrentUser, kSubKey, "X:\\"), "citt\xE0");
  // Creating a key that exists keeps it and its values.
  EXPECT_TRUE(CreaChiave(platform, kCurrentUserKey));
  EXPECT_EQ(win32::registryString(kHkeyCurrentUser, kSubKey, "X:\\"), "citt\xE0");
}

TEST_F(FunzioniRegistroWin32Test, ValueEqualToTheDeleteMarkDeletes) {
  ASSERT_TRUE(CreaChiave(platform, kCurrentUserKey));
  ASSERT_TRUE(ScriviChiaveStringa(platform, kCurrentUserKey, "X:\\", "v", ""));
  ASSERT_TRUE(ScriviChiaveStringa(platform, kCurrentUserKey, "Other", "o", ""));
  EXPECT_TRUE(ScriviChiaveStringa(platform, kCurrentUserKey, "X:\\", "", ""));
  EXPECT_EQ(win32::registryString(kHkeyCurrentUser, kSubKey, "X:\\"), std::nullopt);
  EXPECT_EQ(win32::registryString(kHkeyCurrentUser, kSubKey, "Other"), "o");
  // Nothing left to delete: false.
  EXPECT_FALSE(ScriviChiaveStringa(platform, kCurrentUserKey, "X:\\", "", ""));
  // The comparison is exact: "X" is no deletion mark for "x".
  EXPECT_TRUE(ScriviChiaveStringa(platform, kCurrentUserKey, "Other", "x", "X"));
  EXPECT_EQ(win32::registryString(kHkeyCurrentUser, kSubKey, "Other"), "x");
}

TEST_F(FunzioniRegistroWin32Test, NothingIsWrittenWithoutAnExistingKey) {
  EXPECT_FALSE(ScriviChiaveStringa(platform, kCurrentUserKey, "X:\\", "abc", ""));
  EXPECT_FALSE(win32::registryKeyExists(kHkeyCurrentUser, "software\\prologue software"));
  EXPECT_FALSE(CreaChiave(platform, "HKCU\\Software\\Prologue"));
  EXPECT_FALSE(ScriviChiaveStringa(platform, "HKCU\\Software\\Prologue", "X:\\", "abc", ""));
  RegKey key = 1;
  EXPECT_FALSE(ApriChiave(platform, "HKCU\\Software", key, kKeySetValue));
}

TEST_F(FunzioniRegistroWin32Test, OpenedKeyIsTheCallersToClose) {
  ASSERT_TRUE(CreaChiave(platform, "HKEY_LOCAL_MACHINE\\Software\\Zepo Test"));
  RegKey key = 0;
  ASSERT_TRUE(ApriChiave(platform, "hkey_local_machine\\SOFTWARE\\zepo test", key, kKeySetValue));
  EXPECT_EQ(platform.RegSetValueExA(key, "n", kRegSz, std::string("v\0", 2), 2), kErrorSuccess);
  EXPECT_TRUE(CancellaValore(platform, key, "N"));
  EXPECT_FALSE(CancellaValore(platform, key, "N"));
  EXPECT_TRUE(ChiudiChiave(platform, key));
  EXPECT_FALSE(ChiudiChiave(platform, key));
  EXPECT_FALSE(ChiudiChiave(platform, kInvalidRootKey));
  // A key opened for reading only takes no value.
  ASSERT_TRUE(ApriChiave(platform, "HKEY_LOCAL_MACHINE\\Software\\Zepo Test", key, kKeyQueryValue));
  EXPECT_EQ(platform.RegSetValueExA(key, "n", kRegSz, std::string("v\0", 2), 2),
            kErrorAccessDenied);
  EXPECT_TRUE(ChiudiChiave(platform, key));
  // The root itself opens with an empty sub key.
  ASSERT_TRUE(ApriChiave(platform, "HKEY_LOCAL_MACHINE\\", key, kKeyQueryValue));
  EXPECT_TRUE(ChiudiChiave(platform, key));
}

}  // namespace
}  // namespace zepo
