#include "platform/windows_names.h"

#include <gtest/gtest.h>

namespace zepo {
namespace {

TEST(WindowsNames, UpperCaseFoldsAccentedLetters) {
  EXPECT_EQ(upperName("zepo.ini"), "ZEPO.INI");
  EXPECT_EQ(upperName("città ÿ œ š ž"), "CITTÀ Ÿ Œ Š Ž");
  EXPECT_EQ(upperName("ß÷"), "ß÷");  // no single upper-case letter, and no letter
  EXPECT_EQ(upperName("ąćł"), "ĄĆŁ");
  EXPECT_EQ(upperName("\xFFx"), "\xFFX");  // a stray byte stays
}

TEST(WindowsNames, ForbiddenCharacters) {
  for (const char* bad : {"a<b", "a>b", "a:b", "a\"b", "a|b", "a\tb"}) {
    EXPECT_TRUE(hasForbiddenCharacter(bad, true)) << bad;
  }
  EXPECT_TRUE(hasForbiddenCharacter("a*b", false));
  EXPECT_TRUE(hasForbiddenCharacter("a?b", false));
  EXPECT_FALSE(hasForbiddenCharacter("*.?x", true));
  EXPECT_FALSE(hasForbiddenCharacter("Zepo NT.lnk", false));
}

TEST(WindowsNames, SpellableNamesAreThoseEveryLaterOperationReaches) {
  struct Case {
    const char* name;
    bool spellable;
    const char* why;
  };
  const Case cases[] = {
      {"zepo.ini", true, "plain"},
      {"Città Ÿ.txt", true, "every character in the code page"},
      {"a b.c.d", true, "blanks and dots inside"},
      {"report 10:30.txt", false, "':' names a stream or a drive"},
      {"a|b", false, "forbidden character"},
      {"what?.txt", false, "a wildcard would be read as a pattern"},
      {"all*", false, "a wildcard would be read as a pattern"},
      {"x\\..\\..\\WINDOWS\\hosts", false, "a separator climbs out of the folder"},
      {"tab\there", false, "control character"},
      {"trail.", false, "a path drops the trailing dot"},
      {"trail ", false, "a path drops the trailing blank"},
      {"\xff\xfe.txt", false, "not UTF-8"},
      {"\xcf\x80.txt", false, "pi: no byte of the code page, written as '?'"},
      {"", false, "no name"},
  };
  for (const Case& c : cases) EXPECT_EQ(isSpellableName(c.name), c.spellable) << c.why;
}

TEST(WindowsNames, ProgramFolderFromItsModuleName) {
  struct Case {
    const char* module;
    const char* folder;
  };
  const Case cases[] = {
      {"C:\\Programmi\\clientZEPO\\clientzepo.exe", "C:\\Programmi\\clientZEPO"},
      {"\\\\SRV\\zepo\\clientzepo.exe", "\\\\SRV\\zepo"},
      {"\\\\?\\UNC\\SRV\\zepo\\inst\\clientzepo.exe", "\\\\SRV\\zepo\\inst"},
      {"\\\\?\\d:\\zepo\\clientzepo.exe", "d:\\zepo"},
      // Wine gives a program started from a share this name.
      {"UNC\\SRV\\zepo\\clientzepo.exe", "\\\\SRV\\zepo"},
      {"unc\\SRV\\zepo\\clientzepo.exe", "\\\\SRV\\zepo"},
      // A folder whose name only begins like the long-path spelling stays.
      {"d:\\UNC\\clientzepo.exe", "d:\\UNC"},
  };
  for (const Case& c : cases) EXPECT_EQ(moduleFolder(c.module), c.folder) << c.module;
}

TEST(WindowsNames, WildcardsFollowWindows) {
  // "*.*" and "*" match every name, with or without a dot.
  for (const char* name : {"hosts", "zepo.ini", "a.b.c", ".x", "x."}) {
    EXPECT_TRUE(matchesPattern("*.*", name)) << name;
    EXPECT_TRUE(matchesPattern("*", name)) << name;
  }
  EXPECT_TRUE(matchesPattern("*.ini", "ZEPO.INI"));
  EXPECT_FALSE(matchesPattern("*.ini", "zepo.ini.bak"));
  EXPECT_TRUE(matchesPattern("*.ini", "a.b.ini"));
  EXPECT_TRUE(matchesPattern("hosts.*", "HOSTS"));
  EXPECT_TRUE(matchesPattern("hosts.*", "hosts.sam"));
  EXPECT_FALSE(matchesPattern("hosts.*", "hostsx"));
  // "*." keeps the names without an extension.
  EXPECT_TRUE(matchesPattern("*.", "hosts"));
  EXPECT_FALSE(matchesPattern("*.", "hosts.sam"));
  // '?' is one character, or none at the end or before a dot.
  EXPECT_TRUE(matchesPattern("file?.txt", "file1.txt"));
  EXPECT_TRUE(matchesPattern("file?.txt", "file.txt"));
  EXPECT_FALSE(matchesPattern("file?.txt", "file12.txt"));
  EXPECT_TRUE(matchesPattern("a??", "ab"));
  EXPECT_FALSE(matchesPattern("a?c", "ac"));
  EXPECT_TRUE(matchesPattern("*àx*", "CITTÀX.TXT"));
  EXPECT_TRUE(matchesPattern("winpcf.fon", "WinPcf.FON"));
  EXPECT_FALSE(matchesPattern("winpcf.fon", "winpcf.fonx"));
}

}  // namespace
}  // namespace zepo
