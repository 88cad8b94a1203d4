#include "platform/windows_names.h"

#include <gtest/gtest.h>

namespace zepo {
namespace {

TEST(WindowsNames, UpperCaseForbiddenAndSpellableNames) {
  // No single upper-case letter for ß, ÷ is no letter, a stray byte stays.
  const std::pair<const char*, const char*> upper[] = {{"zepo.ini", "ZEPO.INI"},
                                                       {"città ÿ œ š ž", "CITTÀ Ÿ Œ Š Ž"},
                                                       {"ß÷", "ß÷"},
                                                       {"ąćł", "ĄĆŁ"},
                                                       {"\xFFx", "\xFFX"}};
  for (const auto& [name, expected] : upper) EXPECT_EQ(upperName(name), expected);

  for (const char* bad : {"a<b", "a>b", "a:b", "a\"b", "a|b", "a\tb"}) {
    EXPECT_TRUE(hasForbiddenCharacter(bad, true)) << bad;
  }
  EXPECT_TRUE(hasForbiddenCharacter("a?b", false));
  EXPECT_FALSE(hasForbiddenCharacter("*.?x", true));
  EXPECT_FALSE(hasForbiddenCharacter("Zepo NT.lnk", false));

  // Names that every later operation reaches: no stream or drive ':', no
  // wildcard, no separator, no control character, no trailing dot or
  // blank, UTF-8 whose every character is in the code page.
  for (const char* good : {"zepo.ini", "Città Ÿ.txt", "a b.c.d"}) {
    EXPECT_TRUE(isSpellableName(good)) << good;
  }
  for (const char* bad : {"report 10:30.txt", "a|b", "what?.txt", "all*", "x\\..\\hosts",
                          "tab\there", "trail.", "trail ", "\xff\xfe.txt", "\xcf\x80.txt", ""}) {
    EXPECT_FALSE(isSpellableName(bad)) << bad;
  }
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

// The platform contract lists by "*.*", "*.txt", "*." and "?" before a dot.
TEST(WindowsNames, WildcardsFollowWindows) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.ini", "zepo.ini.bak", false},
      {"*.ini", "a.b.ini", true},
      {"hosts.*", "HOSTS", true},
      {"hosts.*", "hosts.sam", true},
      {"hosts.*", "hostsx", false},
      // '?' is one character, or none at the end or before a dot.
      {"file?.txt", "file1.txt", true},
      {"file?.txt", "file.txt", true},
      {"file?.txt", "file12.txt", false},
      {"a??", "ab", true},
      {"a?c", "ac", false},
      {"*àx*", "CITTÀX.TXT", true},
      {"winpcf.fon", "WinPcf.FON", true},
      {"winpcf.fon", "winpcf.fonx", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(matchesPattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

}  // namespace
}  // namespace zepo
