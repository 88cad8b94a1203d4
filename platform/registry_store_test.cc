#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

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

  fs::path dir_;
  fs::path file_;
};

TEST_F(RegistryStoreTest, KeysMatchIgnoringCaseAndKeepTheirSpelling) {
  RegistryStore store(file_);
  EXPECT_FALSE(fs::exists(file_));  // nothing written before a change
  EXPECT_EQ(store.keyPath("hkey_users"), "HKEY_USERS");

  bool created = false;
  EXPECT_EQ(store.createKey("HKEY_CURRENT_USER\\Software\\Prologue Software", &created),
            Result::kDone);
  EXPECT_TRUE(created);
  // The parent made on the way is a key of its own.
  EXPECT_EQ(store.keyPath("hkey_current_user\\SOFTWARE"), "HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(store.createKey("hkey_current_user\\software\\PROLOGUE SOFTWARE\\Citt\xE0", &created),
            Result::kDone);
  EXPECT_TRUE(created);
  EXPECT_EQ(store.keyPath("HKEY_CURRENT_USER\\SOFTWARE\\prologue software\\CITT\xC0"),
            "HKEY_CURRENT_USER\\Software\\Prologue Software\\Citt\xE0");
  EXPECT_EQ(store.createKey("HKEY_CURRENT_USER\\SOFTWARE\\", &created), Result::kDone);
  EXPECT_FALSE(created);

  EXPECT_EQ(store.createKey("HKCU\\Software", &created), Result::kNotFound);
  EXPECT_EQ(store.keyPath("HKEY_LOCAL_MACHINE\\Software"), std::nullopt);
  EXPECT_EQ(store.keyPath("HKEY_USERS\\Software"), std::nullopt);  // roots are separate
}

TEST_F(RegistryStoreTest, StringValuesByNameIgnoringCase) {
  RegistryStore store(file_);
  const std::string key = "HKEY_USERS\\.DEFAULT\\Software";
  EXPECT_EQ(store.setString(key, "X:\\", "c:\\zepo"), Result::kNotFound);
  ASSERT_EQ(store.createKey(key), Result::kDone);

  EXPECT_EQ(store.setString(key, "X:\\", "c:\\zepo"), Result::kDone);
  EXPECT_EQ(store.setString(key, "x:\\", "d:\\zepo"), Result::kDone);
  EXPECT_EQ(store.stringValue("hkey_users\\.default\\SOFTWARE", "X:\\"), "d:\\zepo");
  EXPECT_NE(contents().find("\"X:\\\\\"=\"d:\\\\zepo\""), std::string::npos);  // first spelling

  EXPECT_EQ(store.setString(key, "", "default"), Result::kDone);
  EXPECT_EQ(store.stringValue(key, ""), "default");

  EXPECT_EQ(store.deleteValue(key, "X:\\"), Result::kDone);
  EXPECT_EQ(store.stringValue(key, "X:\\"), std::nullopt);
  EXPECT_EQ(store.deleteValue(key, "X:\\"), Result::kNotFound);
  EXPECT_EQ(store.deleteValue(key + "\\Missing", ""), Result::kNotFound);
}

TEST_F(RegistryStoreTest, SavesAReadableFileThatLoadsBack) {
  {
    RegistryStore store(file_);
    store.createKey("HKEY_USERS\\.DEFAULT\\A B");
    store.createKey("HKEY_USERS\\.default\\a\\Sub");
    store.createKey("HKEY_CURRENT_USER\\Software");
    store.setString("HKEY_USERS\\.DEFAULT\\a", "Quote\"Back\\", "say \"hi\" \\ c:\\\r\nnext");
    store.setString("HKEY_USERS\\.DEFAULT\\a", "", "d\xE8");
    store.setString("HKEY_CURRENT_USER", "OnRoot", "1");
  }
  EXPECT_EQ(contents(),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER]\r\n"
            "\"OnRoot\"=\"1\"\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n"
            "\r\n"
            "[HKEY_USERS\\.DEFAULT]\r\n"
            "\r\n"
            "[HKEY_USERS\\.DEFAULT\\a]\r\n"
            "@=\"d\xE8\"\r\n"
            "\"Quote\\\"Back\\\\\"=\"say \\\"hi\\\" \\\\ c:\\\\\\r\\nnext\"\r\n"
            "\r\n"
            "[HKEY_USERS\\.DEFAULT\\a\\Sub]\r\n"
            "\r\n"
            "[HKEY_USERS\\.DEFAULT\\A B]\r\n"
            "\r\n");

  RegistryStore loaded(file_);
  EXPECT_EQ(loaded.stringValue("HKEY_USERS\\.DEFAULT\\A", "quote\"back\\"),
            "say \"hi\" \\ c:\\\r\nnext");
  EXPECT_EQ(loaded.stringValue("HKEY_USERS\\.DEFAULT\\A", ""), "d\xE8");
  EXPECT_EQ(loaded.stringValue("HKEY_CURRENT_USER", "onroot"), "1");
  EXPECT_EQ(loaded.keyPath("HKEY_USERS\\.DEFAULT\\A\\SUB"), "HKEY_USERS\\.DEFAULT\\a\\Sub");
  EXPECT_EQ(loaded.keyPath("HKEY_USERS\\.default\\a b"), "HKEY_USERS\\.DEFAULT\\A B");
}

TEST_F(RegistryStoreTest, ReadsAHandEditedFileAndKeepsOtherTypes) {
  writeFile(
      "REGEDIT4\n"
      "; made by hand\n"
      "[hkey_local_machine\\Software\\Deep\\Key]\n"
      "  \"Text\" = \"v\"  \n"
      "\"Count\"=dword:0000002a\n"
      "\"Blob\"=hex:01,02,\\\n"
      "  03\n"
      "\"Expand\"=hex(2):25,00\n");
  RegistryStore store(file_);
  EXPECT_EQ(store.stringValue("HKEY_LOCAL_MACHINE\\software\\deep\\key", "text"), "v");
  EXPECT_EQ(store.stringValue("HKEY_LOCAL_MACHINE\\software\\deep\\key", "Count"), std::nullopt);
  EXPECT_EQ(store.keyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\DEEP"),
            "HKEY_LOCAL_MACHINE\\Software\\Deep");

  ASSERT_EQ(store.setString("HKEY_LOCAL_MACHINE\\Software", "New", "n"), Result::kDone);
  EXPECT_EQ(contents(),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software]\r\n"
            "\"New\"=\"n\"\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Deep]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Deep\\Key]\r\n"
            "\"Blob\"=hex:01,02,03\r\n"
            "\"Count\"=dword:0000002a\r\n"
            "\"Expand\"=hex(2):25,00\r\n"
            "\"Text\"=\"v\"\r\n"
            "\r\n");

  writeFile("");
  RegistryStore empty(file_);
  EXPECT_EQ(empty.keyPath("HKEY_CURRENT_CONFIG"), "HKEY_CURRENT_CONFIG");
}

TEST_F(RegistryStoreTest, MalformedFileNamesFileAndLineAndStaysUntouched) {
  const std::pair<std::string, int> cases[] = {
      {"REGEDIT5\r\n", 1},
      {"REGEDIT4\r\n\r\n\"a\"=\"b\"\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\Software]\r\n", 2},
      {"REGEDIT4\r\n[HKEY_USERS\\x]\r\n\"a\"=\"b\\q\"\r\n", 3},
      {"REGEDIT4\r\n[HKEY_USERS\\x]\r\n\"a\"=\"open\r\n", 3},
      {"REGEDIT4\r\n[HKEY_USERS\\x]\r\n\r\n\"a\"=word\r\n", 4},
      {"REGEDIT4\r\n[HKEY_USERS\\x\r\n", 2},
      {"REGEDIT4\r\n[HKEY_USERS\\\\x]\r\n", 2},
      {"REGEDIT4\r\n[-HKEY_USERS\\x]\r\n", 2},
      {"REGEDIT4\r\n[HKEY_USERS\\x]\r\n\"a\"=-\r\n", 3},
      {"REGEDIT4\r\n[HKEY_USERS\\x]\r\nstray\r\n", 3},
  };
  for (const auto& [text, line] : cases) {
    writeFile(text);
    SCOPED_TRACE(text);
    try {
      RegistryStore store(file_);
      ADD_FAILURE() << "loaded";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(
          std::string(error.what()).rfind(file_.string() + ":" + std::to_string(line) + ": ", 0),
          0u)
          << error.what();
    }
    EXPECT_EQ(contents(), text);
  }
}

TEST_F(RegistryStoreTest, SavesByReplacingTheWholeFile) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows renames no file over one that a reader holds open; the store is the "
                  "Linux workstation's registry";
#endif
  RegistryStore store(file_);
  ASSERT_EQ(store.createKey("HKEY_CURRENT_USER\\A"), Result::kDone);
  const std::string before = contents();

  // A reader of the old file sees it whole: the new one is renamed over it.
  std::ifstream reader(file_, std::ios::binary);
  ASSERT_EQ(store.setString("HKEY_CURRENT_USER\\A", "v", std::string(100000, 'x')), Result::kDone);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()),
            before);
  EXPECT_FALSE(fs::exists(dir_ / "registry.reg.tmp"));

  // When the new file cannot be written nothing changes, in the file or in
  // the store.
  const std::string saved = contents();
  fs::create_directory(dir_ / "registry.reg.tmp");
  EXPECT_EQ(store.setString("HKEY_CURRENT_USER\\A", "v", "other"), Result::kNotSaved);
  EXPECT_EQ(store.createKey("HKEY_CURRENT_USER\\B"), Result::kNotSaved);
  EXPECT_EQ(store.deleteValue("HKEY_CURRENT_USER\\A", "v"), Result::kNotSaved);
  EXPECT_EQ(store.stringValue("HKEY_CURRENT_USER\\A", "v"), std::string(100000, 'x'));
  EXPECT_EQ(store.keyPath("HKEY_CURRENT_USER\\B"), std::nullopt);
  EXPECT_EQ(contents(), saved);
}

}  // namespace
}  // namespace zepo
