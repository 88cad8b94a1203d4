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
// A key of the installer's own tree, which the test workstation clears.
const std::string kOwnKey = "HKEY_CURRENT_USER\\Software\\Prologue Software\\Zepo";

class FunzioniRegistroTest : public ::testing::Test {
 protected:
  // Every key handed out was closed.
  void expectAllClosed() {
    int closed = 0;
    for (const std::string& call : watch_.calls("RegCloseKey"))
      closed += call.starts_with("RegCloseKey(#");
    EXPECT_EQ(closed, watch_.handedOut());
  }

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
  expectAllClosed();
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "x:\\"), "abc");
  EXPECT_EQ(ws_.registryString(kDefaultUserKey, "X:\\"), "abc");

  // Text goes to the registry as Windows-1252 bytes.
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "città", ""));
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "X:\\"), "citt\xE0");
  // Creating a key that exists keeps it and its values.
  EXPECT_TRUE(CreaChiave(watch_, kCurrentUserKey));
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "X:\\"), "citt\xE0");
}

TEST_F(FunzioniRegistroTest, DeletesOnTheMarkAndNeedsAnExistingKey) {
  // A missing key is not created by the write, nor is an unknown root name.
  EXPECT_FALSE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "abc", ""));
  EXPECT_FALSE(ws_.registryKeyExists("HKEY_CURRENT_USER\\software\\prologue software"));
  EXPECT_FALSE(CreaChiave(watch_, "HKCU\\Software\\Prologue"));
  EXPECT_TRUE(watch_.calls("RegSetValueExA").empty());

  ASSERT_TRUE(CreaChiave(watch_, kCurrentUserKey));
  ASSERT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "v", ""));
  ASSERT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "Other", "o", ""));
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "", ""));
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "X:\\"), std::nullopt);
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "Other"), "o");
  // Nothing left to delete: false, and the key is still closed.
  EXPECT_FALSE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "", ""));
  expectAllClosed();
  // The comparison is exact: "X" is no deletion mark for "x".
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "Other", "x", "X"));
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "Other"), "x");
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "Other", "X", "X"));
  EXPECT_EQ(ws_.registryString(kCurrentUserKey, "Other"), std::nullopt);
}

TEST_F(FunzioniRegistroTest, OpenedKeyIsTheCallersToClose) {
  ASSERT_TRUE(CreaChiave(watch_, kOwnKey));
  RegKey key = 0;
  ASSERT_TRUE(ApriChiave(watch_, "hkey_current_user\\SOFTWARE\\prologue software\\zepo", key,
                         kKeySetValue));
  EXPECT_EQ(watch_.RegSetValueExA(key, "n", kRegSz, std::string("v\0", 2), 2), kErrorSuccess);
  EXPECT_TRUE(CancellaValore(watch_, key, "N"));
  EXPECT_FALSE(CancellaValore(watch_, key, "N"));
  EXPECT_EQ(watch_.calls("RegCloseKey").size(), 1u);  // only the creation's
  EXPECT_TRUE(ChiudiChiave(watch_, key));
  EXPECT_FALSE(ChiudiChiave(watch_, key));
  EXPECT_FALSE(ApriChiave(watch_, "HKCU\\Software", key, kKeySetValue));
}

}  // namespace
}  // namespace zepo
