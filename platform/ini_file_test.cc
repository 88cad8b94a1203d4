#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace zepo {
namespace {

// The reading rules that the reference queries of the platform contract do
// not show.
TEST(IniFileTest, ReadsByTheProfileRules) {
  IniFile ini(
      "[Zeta] trailing junk\r\n[Open\r\nOne=\"\r\nInside= \" x \" \r\n[CITT\xC0]\r\nKey=a\r\n");
  EXPECT_EQ(ini.read("zeta", "[open"), std::nullopt);   // a heading without ']' is a key
  EXPECT_EQ(ini.read("Zeta", " Inside\t"), "\" x \"");  // quotes go with the buffer
  EXPECT_EQ(ini.read("citt\xE0", "KEY"), "a");          // Windows-1252 letters fold too
  EXPECT_FALSE(ini.isUnicode());

  // In a UTF-8 file the code page's letters fold as characters; the
  // byte-order mark is no part of the first line.
  IniFile utf8("\xEF\xBB\xBFk=top\n[Citt\xC3\xA0]\nKey=v\n");
  EXPECT_TRUE(utf8.isUnicode());
  EXPECT_EQ(utf8.read("", "K"), "top");
  EXPECT_EQ(utf8.read("CITT\xC3\x80", "key"), "v");
  EXPECT_EQ(utf8.read("CITT\xC3", "key"), std::nullopt);

  // The value found (none: no key), the default, the buffer's size, what
  // the buffer receives.
  const std::tuple<std::optional<std::string>, const char*, std::uint32_t, const char*> cases[] = {
      {"abc", "", 1, ""},
      {"abc", "", 0, ""},
      {std::nullopt, "def\t ", 255, "def\t"},  // only blanks go
      {"", "def", 255, ""},                    // "X=" is a value
      {"''", "", 255, ""},
  };
  for (const auto& [value, fallback, size, result] : cases)
    EXPECT_EQ(profileResult(value, fallback, size), result) << value.value_or("-") << size;
}

TEST(IniFileTest, Utf16FilesAreWrittenBackUnitForUnit) {
  // A character beyond 16 bits (two units) and a unit without its pair
  // come back as they were.
  const std::string before(
      "\xFF\xFE[\0S\0]\0\r\0\n\0"
      "k\0=\0\x3D\xD8\x00\xDE\x00\xD8\r\0\n\0",
      26);
  IniFile ini(before);
  EXPECT_TRUE(ini.isUnicode());
  EXPECT_EQ(ini.read("s", "K"), "\xF0\x9F\x98\x80\xED\xA0\x80");
  EXPECT_EQ(ini.bytes(), before);
  EXPECT_TRUE(ini.write("S", "n", std::string("1")));
  EXPECT_EQ(ini.bytes(), before + std::string("n\0=\0"
                                              "1\0\r\0\n\0",
                                              10));
}

// A template with comments, blank lines, odd spacing and mixed line ends.
const std::string kTemplate =
    "; settings\r\n\r\n[HOST]\r\n  HostIP  =  10.0.0.1  \r\nName=srv\n\r\n"
    "; next section\r\n[PATH]\r\nDefaultDrive = d:\r\n";

TEST(IniFileTest, WritesChangeOnlyWhatTheyMustWhereWindowsDoes) {
  // The file, the section, key and value written, the file after (empty:
  // nothing changes).
  using Case =
      std::tuple<std::string, const char*, const char*, std::optional<std::string>, std::string>;
  const std::string head = "; settings\r\n\r\n[HOST]\r\n";
  const std::string tail = "\r\n; next section\r\n[PATH]\r\nDefaultDrive = d:\r\n";
  const Case cases[] = {
      // Replacing a key rewrites only its line; the same value changes nothing.
      {kTemplate, "host", "hostip", "10.0.0.2", head + "HostIP=10.0.0.2\r\nName=srv\n" + tail},
      {kTemplate, "PATH", "DefaultDrive", "  d:", ""},
      // A new key goes after the section's last key, a new section at the end.
      {kTemplate, " HOST ", " NewKey ", "  v 1 ",
       head + "  HostIP  =  10.0.0.1  \r\nName=srv\nNewKey=v 1 \r\n" + tail},
      {kTemplate, "New Sec", "K", "\"q\"", kTemplate + "[New Sec]\r\nK=\"q\"\r\n"},
      // No value removes the key, every line of it, in the first section only.
      {kTemplate, "host", "HOSTIP", std::nullopt, head + "Name=srv\n" + tail},
      {kTemplate, "NoSuch", "Name", std::nullopt, ""},
      {"", "S", "k", std::nullopt, ""},
      {"[D]\r\nKey=first\r\nKey=second\r\nOther=1\r\n[d]\r\nKey=third\r\n", "D", "key",
       std::nullopt, "[D]\r\nOther=1\r\n[d]\r\nKey=third\r\n"},
      // Writes go to the first section and the first key.
      {"[D]\r\nKey=first\r\nKey=second\r\n[d]\r\n", "d", "KEY", "new",
       "[D]\r\nKey=new\r\nKey=second\r\n[d]\r\n"},
      {"[D]\r\n[d]\r\nLater=x\r\n", "d", "Later", "y", "[D]\r\nLater=y\r\n[d]\r\nLater=x\r\n"},
      {"[O]\r\nNoEq\r\n", "O", "noeq", "1", "[O]\r\nNoEq=1\r\n"},  // a key without '='
      // A section without keys gets the key under its heading, not after
      // the blank line; a last line without a line end gets one first.
      {"[A]\r\n\r\n[B]\r\nx=1", "A", "k", "v", "[A]\r\nk=v\r\n\r\n[B]\r\nx=1"},
      {"[A]\r\n\r\n[B]\r\nx=1", "B", "y", "2", "[A]\r\n\r\n[B]\r\nx=1\r\ny=2\r\n"},
      {"[B]\r\nx=1", "C", "z", "3", "[B]\r\nx=1\r\n[C]\r\nz=3\r\n"},
      {"[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
      {"", "S", "k", "v", "[S]\r\nk=v\r\n"},
      // The nameless part before the first section: after a byte-order mark.
      {"\xEF\xBB\xBF[S]\r\n", "", "top", "1", "\xEF\xBB\xBFtop=1\r\n[S]\r\n"},
  };
  for (const auto& [before, section, key, value, after] : cases) {
    IniFile ini(before);
    EXPECT_EQ(ini.write(section, key, value), !after.empty()) << before << key;
    EXPECT_EQ(ini.bytes(), after.empty() ? before : after) << before << key;
    if (!value) {
      EXPECT_EQ(ini.read(section, key), std::nullopt) << before;  // every line of it
    }
  }
}

}  // namespace
}  // namespace zepo
