#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/test_error_of.h"

namespace zepo {
namespace {

using Change = RegistryTree::Change;

TEST(RegistryTreeTest, TextReadsBack) {
  RegistryTree tree;
  for (const char* root : {"HKEY_USERS", "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
                           "HKEY_CURRENT_CONFIG", "HKEY_CLASSES_ROOT"})
    tree.createKey(std::string(root) + "\\K");
  tree.createKey("HKEY_USERS\\.DEFAULT\\A B");
  // Names match ignoring case, Windows-1252 letters too, and keep their
  // first spelling.
  tree.createKey("HKEY_USERS\\.default\\a\\Citt\xE0");
  tree.setString("HKEY_USERS\\.DEFAULT\\a", "Quote\"Back\\", "old");
  tree.setString("hkey_users\\.DEFAULT\\A", "QUOTE\"back\\", "say \"hi\" \\ c:\\\r\nnext");
  tree.setString("HKEY_USERS\\.DEFAULT\\a", "", "d\xE8");
  tree.setString("HKEY_CURRENT_USER", "OnRoot", "1");
  const std::string text = tree.text();
  // The roots in the order of the system's own export; .DEFAULT, made only
  // on the way to the keys below it, has no block.
  EXPECT_EQ(text,
            "REGEDIT4\r\n\r\n"
            "[HKEY_CLASSES_ROOT\\K]\r\n\r\n"
            "[HKEY_CURRENT_CONFIG\\K]\r\n\r\n"
            "[HKEY_CURRENT_USER]\r\n\"OnRoot\"=\"1\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\K]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\K]\r\n\r\n"
            "[HKEY_USERS\\.DEFAULT\\a]\r\n"
            "@=\"d\xE8\"\r\n"
            "\"Quote\\\"Back\\\\\"=\"say \\\"hi\\\" \\\\ c:\\\\\\r\\nnext\"\r\n\r\n"
            "[HKEY_USERS\\.DEFAULT\\a\\Citt\xE0]\r\n\r\n"
            "[HKEY_USERS\\.DEFAULT\\A B]\r\n\r\n"
            "[HKEY_USERS\\K]\r\n\r\n");

  RegistryTree loaded = RegistryTree::parse(text, "registry.reg");
  EXPECT_EQ(loaded.text(), text);
  EXPECT_EQ(loaded.stringValue("HKEY_USERS\\.DEFAULT\\A", "quote\"back\\"),
            "say \"hi\" \\ c:\\\r\nnext");
  EXPECT_EQ(loaded.keyPath("HKEY_USERS\\.default\\a\\citt\xC0"),
            "HKEY_USERS\\.DEFAULT\\a\\Citt\xE0");
}

TEST(RegistryTreeTest, ReadsAHandEditedFileAndKeepsOtherTypes) {
  RegistryTree tree = RegistryTree::parse(
      "REGEDIT4\n"
      "; made by hand\n"
      "[hkey_local_machine\\Software\\Deep\\Key]\n"
      "  \"Text\" = \"v\"  \n"
      "\"Count\"=dword:0000002a\n"
      "\"Blob\"=hex:01,02,\\\n"
      "  03\n"
      "\"Expand\"=hex(2):25,00\n"
      "[HKEY_USERS\\Empty]\n",
      "registry.reg");
  EXPECT_EQ(tree.stringValue("HKEY_LOCAL_MACHINE\\software\\deep\\key", "text"), "v");
  EXPECT_EQ(tree.stringValue("HKEY_LOCAL_MACHINE\\software\\deep\\key", "Count"), std::nullopt);

  // A key that gets a value gets a block, and keeps it without values; an
  // empty key that the file gave a block keeps it.
  ASSERT_EQ(tree.setString("HKEY_LOCAL_MACHINE\\Software", "New", "n"), Change::kMade);
  ASSERT_EQ(tree.setString("HKEY_LOCAL_MACHINE\\Software\\Deep", "Gone", "g"), Change::kMade);
  ASSERT_EQ(tree.deleteValue("HKEY_LOCAL_MACHINE\\Software\\Deep", "gone"), Change::kMade);
  EXPECT_EQ(tree.text(),
            "REGEDIT4\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software]\r\n\"New\"=\"n\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Deep]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Deep\\Key]\r\n"
            "\"Blob\"=hex:01,02,03\r\n"
            "\"Count\"=dword:0000002a\r\n"
            "\"Expand\"=hex(2):25,00\r\n"
            "\"Text\"=\"v\"\r\n\r\n"
            "[HKEY_USERS\\Empty]\r\n\r\n");

  // Ten thousand levels are read and written in one block, not a block
  // with the path of every key above it.
  std::string path = "HKEY_CURRENT_USER";
  for (int i = 0; i < 10000; ++i) path += "\\k" + std::to_string(i);
  const std::string deep = "REGEDIT4\r\n\r\n[" + path + "]\r\n\"v\"=\"1\"\r\n\r\n";
  RegistryTree deepTree = RegistryTree::parse(deep, "registry.reg");
  EXPECT_EQ(deepTree.stringValue(path, "V"), "1");
  ASSERT_EQ(deepTree.setString(path, "v", "2"), Change::kMade);
  EXPECT_EQ(deepTree.text().size(), deep.size());
  RegistryTree made;
  ASSERT_EQ(made.createKey(path), Change::kMade);
  EXPECT_EQ(made.text(), "REGEDIT4\r\n\r\n[" + path + "]\r\n\r\n");
}

TEST(RegistryTreeTest, MalformedTextNamesFileAndLine) {
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
    const std::string message = messageOf([&] { RegistryTree::parse(text, "/p/registry.reg"); });
    EXPECT_TRUE(message.starts_with("/p/registry.reg:" + std::to_string(line) + ": "))
        << text << " -> " << message;
  }
}

}  // namespace
}  // namespace zepo
