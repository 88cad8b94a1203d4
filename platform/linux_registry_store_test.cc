#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/registry_store.h"
#include "tests/file_size_limit.h"

namespace zepo {
namespace {

namespace fs = std::filesystem;
using Result = RegistryStore::Result;

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zepo-registry-" + std::to_string(std::random_device{}()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    file_ = dir_ / "registry.reg";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string contents() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void writeFile(const std::string& text) const { std::ofstream(file_, std::ios::binary) << text; }
  // What the folder holds besides the registry and its lock.
  int otherFiles() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      std::string name = entry.path().filename().string();
      count += name != "registry.reg" && name != "registry.reg.lock";
    }
    return count;
  }

  fs::path dir_;
  fs::path file_;
};

TEST_F(RegistryStoreTest, SavesByReplacingTheWholeFile) {
  RegistryStore store(file_);
  EXPECT_FALSE(fs::exists(file_));  // nothing written before a change
  ASSERT_EQ(store.createKey("HKEY_CURRENT_USER\\A"), Result::kDone);
  fs::permissions(file_, fs::perms(0640));
  const std::string before = contents();

  // A reader of the old file sees it whole: the new one is renamed over it,
  // with the old one's permissions.
  std::ifstream reader(file_, std::ios::binary);
  ASSERT_EQ(store.setString("HKEY_CURRENT_USER\\A", "v", std::string(100000, 'x')), Result::kDone);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()),
            before);
  EXPECT_EQ(fs::status(file_).permissions(), fs::perms(0640));
  EXPECT_EQ(otherFiles(), 0);

  // When the new file cannot be written (a full disk) nothing changes, in
  // the file or in the store, and nothing is left beside it.
  const std::string saved = contents();
  {
    FileSizeLimit full(1000);
    EXPECT_EQ(store.setString("HKEY_CURRENT_USER\\A", "v", std::string(5000, 'y')),
              Result::kNotSaved);
    EXPECT_EQ(store.createKey("HKEY_CURRENT_USER\\B"), Result::kNotSaved);
  }
  EXPECT_EQ(store.stringValue("HKEY_CURRENT_USER\\A", "v"), std::string(100000, 'x'));
  EXPECT_EQ(store.keyPath("HKEY_CURRENT_USER\\B"), std::nullopt);
  EXPECT_EQ(contents(), saved);
  EXPECT_EQ(otherFiles(), 0);
}

TEST_F(RegistryStoreTest, ChangesGoIntoWhatTheFileHoldsNow) {
  RegistryStore first(file_);
  RegistryStore second(file_);
  // Two stores on one file, changing it in turn: neither loses the other's
  // keys and values, and each reads what the other wrote.
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_EQ(first.createKey("HKEY_CURRENT_USER\\First\\" + n), Result::kDone);
    ASSERT_EQ(second.createKey("HKEY_CURRENT_USER\\Second\\" + n), Result::kDone);
    ASSERT_EQ(first.setString("HKEY_CURRENT_USER\\Second\\" + n, "by", "first"), Result::kDone);
    EXPECT_EQ(second.stringValue("HKEY_CURRENT_USER\\Second\\" + n, "by"), "first");
  }
  // A key added by hand meanwhile stays too.
  writeFile(contents() + "[HKEY_USERS\\ByHand]\r\n\"k\"=\"v\"\r\n");
  ASSERT_EQ(second.setString("HKEY_CURRENT_USER\\First\\0", "by", "second"), Result::kDone);
  RegistryStore fresh(file_);
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i);
    EXPECT_TRUE(fresh.keyPath("HKEY_CURRENT_USER\\First\\" + n)) << n;
    EXPECT_EQ(fresh.stringValue("HKEY_CURRENT_USER\\Second\\" + n, "by"), "first") << n;
  }
  EXPECT_EQ(fresh.stringValue("HKEY_USERS\\ByHand", "k"), "v");
  EXPECT_EQ(fresh.stringValue("HKEY_CURRENT_USER\\First\\0", "by"), "second");

  // A file made unreadable by a hand edit is not written over; the store
  // reads what it read last until the file reads again.
  EXPECT_EQ(first.stringValue("HKEY_USERS\\ByHand", "k"), "v");
  const std::string good = contents();
  writeFile(good + "[HKEY_USERS\\half");
  EXPECT_EQ(first.setString("HKEY_USERS\\ByHand", "k", "lost"), Result::kNotSaved);
  EXPECT_EQ(contents(), good + "[HKEY_USERS\\half");
  EXPECT_EQ(first.stringValue("HKEY_USERS\\ByHand", "k"), "v");
  writeFile(good);
  EXPECT_EQ(first.setString("HKEY_USERS\\ByHand", "k", "again"), Result::kDone);
}

}  // namespace
}  // namespace zepo
