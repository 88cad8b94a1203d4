#include "platform/funzioni_registro.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/fault_platform.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

using namespace std::string_literals;

const std::string kSubKey = "software\\prologue software\\configuration\\criteria\\DBS_REG_32";
const std::string kCurrentUserKey = "hkey_current_user\\" + kSubKey;
const std::string kDefaultUserKey = "hkey_users\\.default\\" + kSubKey;

class FunzioniRegistroTest : public ::testing::Test {
 protected:
  TestWorkstation ws_;
  FaultPlatform watch_{ws_.platform()};
};

TEST_F(FunzioniRegistroTest, TrovaBaseSplitsRootAndSubKey) {
  // A key's path, its root, the path below the root.
  const std::tuple<std::string, RegKey, std::string> cases[] = {
      {kCurrentUserKey, kHkeyCurrentUser, kSubKey},
      {kDefaultUserKey, kHkeyUsers, ".default\\" + kSubKey},
      {"HKEY_LOCAL_MACHINE\\", kHkeyLocalMachine, ""},
      {"Hkey_Dyn_Data\\x\\y", kHkeyDynData, "x\\y"},
      // Only the names in full; the root name is not trimmed either.
      {"HKCU\\Software", kInvalidRootKey, ""},
      {" HKEY_USERS\\x", kInvalidRootKey, ""},
      {"HKEY_USERS \\x", kInvalidRootKey, ""},
  };
  for (const auto& [path, root, subKey] : cases) {
    std::string key = path;
    EXPECT_EQ(TrovaBase(watch_, key), root) << path;
    if (root != kInvalidRootKey) {
      EXPECT_EQ(key, subKey);
    }
  }
  EXPECT_TRUE(watch_.log.empty());
}

TEST_F(FunzioniRegistroTest, WritesTheDatabaseClientValueUnderBothKeys) {
  // A missing key is not made by the write.
  EXPECT_FALSE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "abc", ""));
  EXPECT_FALSE(ws_.registryKeyExists("HKEY_CURRENT_USER\\software\\prologue software"));
  watch_.log.clear();
  for (const std::string& key : {kCurrentUserKey, kDefaultUserKey}) {
    EXPECT_TRUE(CreaChiave(watch_, key));
    EXPECT_TRUE(ScriviChiaveStringa(watch_, key, "X:\\", "abc", ""));
  }
  const std::vector<std::string> firstKey(watch_.log.begin(), watch_.log.begin() + 5);
  EXPECT_EQ(firstKey, (std::vector<std::string>{
                          "RegCreateKeyExA(2147483649, " + kSubKey + ", 0, 1)",
                          "RegCloseKey(#1)",
                          "RegOpenKeyExA(2147483649, " + kSubKey + ", 2)",
                          // Three characters and the zero byte.
                          "RegSetValueExA(#2, X:\\, 1, abc\0, 4)"s,
                          "RegCloseKey(#2)",
                      }));
  int closed = 0;  // every key handed out was closed
  for (const std::string& call : watch_.calls("RegCloseKey"))
    closed += call.starts_with("RegCloseKey(#");
  EXPECT_EQ(closed, watch_.handedOut());
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "x:\\"), "abc");
  EXPECT_EQ(ws_.registryString(kDefaultUserKey, "X:\\"), "abc");

  // Text goes to the registry as Windows-1252 bytes.
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "città", ""));
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "X:\\"), "citt\xE0");
  // Creating a key that exists keeps it and its values.
  EXPECT_TRUE(CreaChiave(watch_, kCurrentUserKey));
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "X:\\"), "citt\xE0");
}

}  // namespace
}  // namespace zepo
