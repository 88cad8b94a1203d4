#include "platform/funzioni_registro.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/forwarding_platform.h"
#include "platform/linux_platform.h"
#include "platform/registry_store.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

const std::string kCurrentUserKey =
    "hkey_current_user\\software\\prologue software\\configuration\\criteria\\DBS_REG_32";
const std::string kDefaultUserKey =
    "hkey_users\\.default\\software\\prologue software\\configuration\\criteria\\DBS_REG_32";

// Watches the registry calls on their way to the real platform.
class RegistryWatch : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;

  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) override {
    std::int32_t error =
        ForwardingPlatform::RegCreateKeyExA(root, subKey, options, access, result, disposition);
    calls.push_back("create " + std::to_string(root) + " " + subKey + " " +
                    std::to_string(options) + " " + std::to_string(access));
    if (error == kErrorSuccess) ++open;
    return error;
  }
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                             RegKey& result) override {
    std::int32_t error = ForwardingPlatform::RegOpenKeyExA(root, subKey, access, result);
    calls.push_back("open " + std::to_string(root) + " " + subKey + " " + std::to_string(access));
    if (error == kErrorSuccess) ++open;
    return error;
  }
  std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                              const std::string& data, std::uint32_t dataSize) override {
    calls.push_back("set " + valueName + " " + std::to_string(type) + " " +
                    std::to_string(dataSize));
    setData = data;
    return ForwardingPlatform::RegSetValueExA(key, valueName, type, data, dataSize);
  }
  std::int32_t RegDeleteValueA(RegKey key, const std::string& valueName) override {
    calls.push_back("delete " + valueName);
    return ForwardingPlatform::RegDeleteValueA(key, valueName);
  }
  std::int32_t RegCloseKey(RegKey key) override {
    std::int32_t error = ForwardingPlatform::RegCloseKey(key);
    calls.push_back("close");
    if (error == kErrorSuccess) --open;
    return error;
  }

  std::vector<std::string> calls;
  std::string setData;
  int open = 0;  // handles opened and not closed
};

class FunzioniRegistroTest : public ::testing::Test {
 protected:
  std::string registryFile() { return ws_.dir() + "/registry.reg"; }
  std::string registryText() {
    std::ifstream in(registryFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // What the prefix's registry file holds now.
  RegistryStore stored() { return RegistryStore(registryFile()); }

  TestWorkstation ws_;
  RegistryWatch watch_{ws_.platform()};
};

TEST_F(FunzioniRegistroTest, TrovaBaseSplitsRootAndSubKey) {
  std::string key = kCurrentUserKey;
  EXPECT_EQ(TrovaBase(watch_, key), kHkeyCurrentUser);
  EXPECT_EQ(key, "software\\prologue software\\configuration\\criteria\\DBS_REG_32");

  key = kDefaultUserKey;
  EXPECT_EQ(TrovaBase(watch_, key), kHkeyUsers);
  EXPECT_EQ(key, ".default\\software\\prologue software\\configuration\\criteria\\DBS_REG_32");

  key = "HKEY_LOCAL_MACHINE\\";
  EXPECT_EQ(TrovaBase(watch_, key), kHkeyLocalMachine);
  EXPECT_EQ(key, "");

  key = "Hkey_Dyn_Data\\x\\y";
  EXPECT_EQ(TrovaBase(watch_, key), kHkeyDynData);
  EXPECT_EQ(key, "x\\y");
  key = "hkey_classes_root\\x";
  EXPECT_EQ(TrovaBase(watch_, key), kHkeyClassesRoot);
  key = "HKEY_PERFORMANCE_DATA\\x";
  EXPECT_EQ(TrovaBase(watch_, key), kHkeyPerformanceData);
  key = "HKEY_CURRENT_CONFIG\\x";
  EXPECT_EQ(TrovaBase(watch_, key), kHkeyCurrentConfig);

  // Only the names in full; the root name is not trimmed either.
  for (std::string other : {"HKCU\\Software", " HKEY_USERS\\x", "HKEY_USERS \\x"}) {
    EXPECT_EQ(TrovaBase(watch_, other), kInvalidRootKey) << other;
  }
  EXPECT_TRUE(watch_.calls.empty());
}

TEST_F(FunzioniRegistroTest, WritesTheDatabaseClientValueUnderBothKeys) {
  for (const std::string& key : {kCurrentUserKey, kDefaultUserKey}) {
    EXPECT_TRUE(CreaChiave(watch_, key));
    EXPECT_TRUE(ScriviChiaveStringa(watch_, key, "X:\\", "abc", ""));
  }
  EXPECT_EQ(watch_.open, 0);
  EXPECT_EQ(watch_.calls[0],
            "create 2147483649 software\\prologue software\\configuration\\"
            "criteria\\DBS_REG_32 0 1");
  EXPECT_EQ(watch_.calls[1], "close");
  EXPECT_EQ(watch_.calls[2],
            "open 2147483649 software\\prologue software\\configuration\\"
            "criteria\\DBS_REG_32 2");
  EXPECT_EQ(watch_.calls[3], "set X:\\ 1 4");  // three characters and the zero byte
  EXPECT_EQ(watch_.setData, std::string("abc\0", 4));
  EXPECT_EQ(watch_.calls[4], "close");

  RegistryStore registry = stored();
  EXPECT_EQ(registry.stringValue(kCurrentUserKey, "x:\\"), "abc");
  EXPECT_EQ(registry.stringValue(kDefaultUserKey, "X:\\"), "abc");
  EXPECT_EQ(registry.keyPath("HKEY_USERS\\.DEFAULT\\Software\\Prologue Software"),
            "HKEY_USERS\\.default\\software\\prologue software");

  // Text goes to the registry as Windows-1252 bytes.
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "città", ""));
  EXPECT_EQ(watch_.setData, std::string("citt\xE0\0", 6));
  EXPECT_EQ(stored().stringValue(kCurrentUserKey, "X:\\"), "citt\xE0");

  // Creating a key that exists keeps it and its values.
  EXPECT_TRUE(CreaChiave(watch_, kCurrentUserKey));
  EXPECT_EQ(stored().stringValue(kCurrentUserKey, "X:\\"), "citt\xE0");
}

TEST_F(FunzioniRegistroTest, ValueEqualToTheDeleteMarkDeletes) {
  ASSERT_TRUE(CreaChiave(watch_, kCurrentUserKey));
  ASSERT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "v", ""));
  ASSERT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "Other", "o", ""));

  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "", ""));
  EXPECT_EQ(stored().stringValue(kCurrentUserKey, "X:\\"), std::nullopt);
  EXPECT_EQ(stored().stringValue(kCurrentUserKey, "Other"), "o");

  // Nothing left to delete: false, and the key is still closed.
  watch_.calls.clear();
  EXPECT_FALSE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "", ""));
  EXPECT_EQ(watch_.calls.back(), "close");
  EXPECT_EQ(watch_.open, 0);

  // The comparison is exact: "X" is no deletion mark for "x".
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "Other", "x", "X"));
  EXPECT_EQ(stored().stringValue(kCurrentUserKey, "Other"), "x");
  EXPECT_TRUE(ScriviChiaveStringa(watch_, kCurrentUserKey, "Other", "X", "X"));
  EXPECT_EQ(stored().stringValue(kCurrentUserKey, "Other"), std::nullopt);
}

TEST_F(FunzioniRegistroTest, NothingIsWrittenWithoutAnExistingKey) {
  const std::string before = registryText();

  // A missing key is not created by the write.
  EXPECT_FALSE(ScriviChiaveStringa(watch_, kCurrentUserKey, "X:\\", "abc", ""));
  EXPECT_EQ(stored().keyPath(kCurrentUserKey), std::nullopt);
  EXPECT_EQ(stored().keyPath("HKEY_CURRENT_USER\\software"), std::nullopt);

  // An unknown root name makes every call fail.
  EXPECT_FALSE(CreaChiave(watch_, "HKCU\\Software\\Prologue"));
  EXPECT_FALSE(ScriviChiaveStringa(watch_, "HKCU\\Software\\Prologue", "X:\\", "abc", ""));
  RegKey key = 1;
  EXPECT_FALSE(ApriChiave(watch_, "HKCU\\Software", key, kKeySetValue));
  EXPECT_EQ(registryText(), before);
  EXPECT_EQ(watch_.open, 0);
  for (const std::string& call : watch_.calls) EXPECT_EQ(call.find("set"), std::string::npos);
}

TEST_F(FunzioniRegistroTest, OpenedKeyIsTheCallersToClose) {
  ASSERT_TRUE(CreaChiave(watch_, "HKEY_LOCAL_MACHINE\\Software\\Zepo"));
  RegKey key = 0;
  ASSERT_TRUE(ApriChiave(watch_, "hkey_local_machine\\SOFTWARE\\zepo", key, kKeySetValue));
  EXPECT_EQ(watch_.open, 1);
  EXPECT_EQ(watch_.RegSetValueExA(key, "n", kRegSz, std::string("v\0", 2), 2), kErrorSuccess);
  EXPECT_TRUE(CancellaValore(watch_, key, "N"));
  EXPECT_FALSE(CancellaValore(watch_, key, "N"));
  EXPECT_TRUE(ChiudiChiave(watch_, key));
  EXPECT_FALSE(ChiudiChiave(watch_, key));
  EXPECT_FALSE(ChiudiChiave(watch_, kInvalidRootKey));
  EXPECT_EQ(watch_.open, 0);

  // The root itself opens with an empty sub key.
  ASSERT_TRUE(ApriChiave(watch_, "HKEY_LOCAL_MACHINE\\", key, kKeyQueryValue));
  EXPECT_TRUE(ChiudiChiave(watch_, key));
}

}  // namespace
}  // namespace zepo
