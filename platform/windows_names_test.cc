#include "platform/windows_names.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace zepo {
namespace {

using Names = std::vector<const char*>;

TEST(WindowsNames, UpperCaseForbiddenAndSpellableNames) {
  // A name of ASCII letters alone, and one with others: no single upper-case
  // letter for ß, ÷ is no letter, a stray byte stays.
  EXPECT_EQ(upperName("zepo.ini"), "ZEPO.INI");
  EXPECT_EQ(upperName("città ÿ œ š ž ß÷ ąćł \xFFx"), "CITTÀ Ÿ Œ Š Ž ß÷ ĄĆŁ \xFFX");

  for (const char* bad : {"a<b", "a>b", "a:b", "a\"b", "a|b", "a\tb"})
    EXPECT_TRUE(hasForbiddenCharacter(bad, true)) << bad;
  EXPECT_TRUE(hasForbiddenCharacter("a?b", false));
  EXPECT_FALSE(hasForbiddenCharacter("*.?x", true));
  EXPECT_FALSE(hasForbiddenCharacter("Zepo NT.lnk", false));

  // Names that every later operation reaches: no stream or drive ':', no
  // wildcard, no separator, no control character, no trailing dot or
  // blank, UTF-8 whose every character is in the code page.
  for (const char* good : {"zepo.ini", "Città Ÿ.txt", "a b.c.d"})
    EXPECT_TRUE(isSpellableName(good));
  for (const char* bad : {"report 10:30.txt", "a|b", "what?.txt", "all*", "x\\..\\hosts",
                          "tab\there", "trail.", "trail ", "\xff\xfe.txt", "\xcf\x80.txt", ""})
    EXPECT_FALSE(isSpellableName(bad)) << bad;
}

TEST(WindowsNames, ProgramFolderFromItsModuleName) {
  const std::pair<const char*, const char*> cases[] = {
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
  for (const auto& [module, folder] : cases) EXPECT_EQ(moduleFolder(module), folder) << module;
}

// The platform contract lists by "*.*", "*.txt", "*." and "?" before a dot.
TEST(WindowsNames, WildcardsFollowWindows) {
  // A pattern, the names it matches, the names it does not.
  const std::tuple<const char*, Names, Names> cases[] = {
      {"*.ini", {"a.b.ini"}, {"zepo.ini.bak"}},
      {"hosts.*", {"HOSTS", "hosts.sam"}, {"hostsx"}},
      // '?' is one character, or none at the end or before a dot.
      {"file?.txt", {"file1.txt", "file.txt"}, {"file12.txt"}},
      {"a??", {"ab"}, {}},
      {"a?c", {}, {"ac"}},
      {"*àx*", {"CITTÀX.TXT"}, {}},
      {"winpcf.fon", {"WinPcf.FON"}, {"winpcf.fonx"}},
  };
  for (const auto& [pattern, matching, others] : cases) {
    for (const char* name : matching) EXPECT_TRUE(matchesPattern(pattern, name)) << pattern << name;
    for (const char* name : others) EXPECT_FALSE(matchesPattern(pattern, name)) << pattern << name;
  }
}

}  // namespace
}  // namespace zepo
