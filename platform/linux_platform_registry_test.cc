// What only the Linux workstation's registry has (the rest is the platform
// contract): its file, shared by every installer on the prefix, kept when a
// write fails, and a hive that cannot be written or read.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/funzioni_registro.h"
#include "platform/linux_platform.h"
#include "platform/registry_store.h"
#include "platform/test_error_of.h"
#include "platform/workstation_platform.h"
#include "tests/file_size_limit.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

namespace fs = std::filesystem;
using Result = RegistryStore::Result;

class LinuxRegistryTest : public ::testing::Test {
 protected:
  std::string registryText() {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Sets the string value `name` of HKEY_CURRENT_USER\<key>, making the key.
  static bool setValue(Platform& p, const std::string& key, const std::string& name,
                       const std::string& data) {
    const std::string path = "HKEY_CURRENT_USER\\" + key;
    return CreaChiave(p, path) && ScriviChiaveStringa(p, path, name, data, "");
  }

  TestWorkstation ws_;
  LinuxPlatform& p_ = ws_.platform();
  const std::string file_ = ws_.dir() + "/registry.reg";
};

TEST_F(LinuxRegistryTest, AFullDiskChangesNothing) {
  // Each write replaces the whole file as a profile write does: when the
  // new file cannot be written (a full disk) nothing changes, in the file
  // or in the store, and nothing is left beside it.
  ASSERT_TRUE(setValue(p_, "Software\\Zepo", "v", std::string(100000, 'x')));
  const auto entries = [&] { return std::distance(fs::directory_iterator(ws_.dir()), {}); };
  const std::ptrdiff_t count = entries();
  RegistryStore store(file_);
  const std::string saved = registryText();
  {
    FileSizeLimit full(1000);
    EXPECT_EQ(store.setString("HKEY_CURRENT_USER\\Software\\Zepo", "v", std::string(5000, 'y')),
              Result::kNotSaved);
    EXPECT_EQ(store.createKey("HKEY_CURRENT_USER\\B"), Result::kNotSaved);
  }
  EXPECT_EQ(store.stringValue("HKEY_CURRENT_USER\\Software\\Zepo", "v"), std::string(100000, 'x'));
  EXPECT_EQ(store.keyPath("HKEY_CURRENT_USER\\B"), std::nullopt);
  EXPECT_EQ(registryText(), saved);
  EXPECT_EQ(entries(), count);
}

TEST_F(LinuxRegistryTest, InstallersOnOnePrefixKeepEachOthersKeys) {
  // Two processes at the same time: every value arrives.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  const std::string key = child == 0 ? "Software\\Child" : "Software\\Parent";
  bool written = true;
  {
    LinuxPlatform p(ws_.dir());
    for (int i = 0; i < 40; ++i) written &= setValue(p, key, std::to_string(i), "x");
  }
  if (child == 0) std::_Exit(written ? 0 : 1);
  EXPECT_TRUE(written);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  RegistryStore stored(file_);
  const std::string childKey = "HKEY_CURRENT_USER\\Software\\Child";
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(stored.stringValue(childKey, std::to_string(i)), "x");
    EXPECT_EQ(stored.stringValue("HKEY_CURRENT_USER\\Software\\Parent", std::to_string(i)), "x");
  }

  // A file made unreadable by a hand edit is not written over; the store
  // reads what it read last until the file reads again.
  const std::string good = registryText();
  std::ofstream(file_, std::ios::app) << "[HKEY_USERS\\half";
  EXPECT_EQ(stored.setString(childKey, "0", "lost"), Result::kNotSaved);
  EXPECT_EQ(registryText(), good + "[HKEY_USERS\\half");
  EXPECT_EQ(stored.stringValue(childKey, "0"), "x");
  std::ofstream(file_, std::ios::binary) << good;
  EXPECT_EQ(stored.setString(childKey, "0", "again"), Result::kDone);
}

TEST_F(LinuxRegistryTest, ARegistryThatCannotBeWrittenOrRead) {
  ASSERT_TRUE(setValue(p_, "Software\\Zepo", "v", "1"));
  // A read-only hive: what exists opens, every change is refused as a key
  // without the right to change it is, and the file stays as it is.
  fs::permissions(file_, fs::perms(0444));
  const std::string before = registryText();
  RegKey key = 0;
  std::uint32_t disposition = 0;
  EXPECT_EQ(
      p_.RegCreateKeyExA(kHkeyCurrentUser, "Software\\Zepo", 0, kKeySetValue, key, disposition),
      kErrorSuccess);
  EXPECT_EQ(p_.RegSetValueExA(key, "v", kRegSz, std::string("2\0", 2), 2), kErrorAccessDenied);
  EXPECT_EQ(p_.RegDeleteValueA(key, "v"), kErrorAccessDenied);
  EXPECT_EQ(p_.RegCloseKey(key), kErrorSuccess);
  EXPECT_FALSE(setValue(p_, "Software\\New", "v", "1"));
  EXPECT_EQ(registryText(), before);
  EXPECT_EQ(fs::status(file_).permissions(), fs::perms(0444));

  // A registry.reg that is no file is named at start; a program that never
  // uses the registry (xcopy) starts all the same, and its registry calls
  // fail as on a damaged hive.
  fs::remove(file_);
  fs::create_directory(file_);
  EXPECT_EQ(messageOf([&] { LinuxPlatform p(ws_.dir()); }),
            file_ + ": is a folder, not the registry file");
  setenv("ZEPO_PREFIX", ws_.dir().c_str(), 1);
  std::unique_ptr<Platform> xcopy = makeWorkstationPlatform();
  EXPECT_EQ(xcopy->RegOpenKeyExA(kHkeyCurrentUser, "Software", kKeyQueryValue, key),
            1009 /* ERROR_BADDB */);
}

}  // namespace
}  // namespace zepo
