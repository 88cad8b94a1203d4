#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace zepo {
namespace {

// What GetPrivateProfileStringA gives with the default "" and a buffer of
// 255 characters.
std::string readAsWindows(const IniFile& ini, const std::string& section, const std::string& key) {
  return profileResult(ini.read(section, key), "", 255);
}

TEST(IniFileTest, ReadsByTheProfileRules) {
  const std::string bytes =
      "[Zeta] trailing junk\r\n"
      "[Open\r\n"
      "One=\"\r\n"
      "Odd='a\"\r\n"
      "Inside= \" x \" \r\n"
      "[CITT\xC0]\r\n"
      "Key=accented\r\n";
  IniFile ini(bytes);
  EXPECT_EQ(ini.read("zeta", "[open"), std::nullopt);  // a heading without ']' is a key
  EXPECT_EQ(readAsWindows(ini, "ZETA", "one"), "\"");  // a lone quote is no pair
  EXPECT_EQ(readAsWindows(ini, "Zeta", "Odd"), "'a\"");
  EXPECT_EQ(ini.read("Zeta", " Inside\t"), "\" x \"");  // quotes go with the buffer
  EXPECT_EQ(readAsWindows(ini, "Zeta", " Inside\t"), " x ");
  EXPECT_EQ(ini.read("citt\xE0", "KEY"), "accented");  // Windows-1252 letters fold too
  EXPECT_EQ(ini.read("Missing", "Key"), std::nullopt);
  EXPECT_FALSE(ini.isUnicode());

  // In a UTF-8 file the code page's letters fold as characters; the
  // byte-order mark is no part of the first line.
  IniFile utf8("\xEF\xBB\xBFk=top\n[Citt\xC3\xA0]\nKey=v\n");
  EXPECT_TRUE(utf8.isUnicode());
  EXPECT_EQ(utf8.read("", "K"), "top");
  EXPECT_EQ(utf8.read("CITT\xC3\x80", "key"), "v");
  EXPECT_EQ(utf8.read("CITT\xC3", "key"), std::nullopt);
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

TEST(IniFileTest, ResultIsCutAndDefaultLosesTrailingBlanks) {
  const std::string long300(300, 'x');
  EXPECT_EQ(profileResult(long300, "", 255), std::string(254, 'x'));
  EXPECT_EQ(profileResult(std::string("abc"), "", 3), "ab");
  EXPECT_EQ(profileResult(std::string("abc"), "", 1), "");
  EXPECT_EQ(profileResult(std::string("abc"), "", 0), "");
  EXPECT_EQ(profileResult(std::nullopt, "def  ", 255), "def");
  EXPECT_EQ(profileResult(std::nullopt, "def\t ", 255), "def\t");
  EXPECT_EQ(profileResult(std::string(""), "def", 255), "");  // "X=" is a value

  // A quoted value: the quotes go when the buffer holds it; when only the
  // closing quote is cut off, the last character inside goes in its place.
  EXPECT_EQ(profileResult(std::string("\"abc\""), "", 5), "abc");
  EXPECT_EQ(profileResult(std::string("\"abc\""), "", 4), "ab");
  EXPECT_EQ(profileResult(std::string("\"abc\""), "", 3), "ab");
  EXPECT_EQ(profileResult(std::string("''"), "", 255), "");
}

// A template with comments, blank lines, odd spacing and mixed line ends.
const std::string kTemplate =
    "; settings\r\n"
    "\r\n"
    "[HOST]\r\n"
    "  HostIP  =  10.0.0.1  \r\n"
    "Name=srv\n"
    "\r\n"
    "; next section\r\n"
    "[PATH]\r\n"
    "DefaultDrive = d:\r\n";

TEST(IniFileTest, ReplacingAKeyRewritesOnlyItsLine) {
  IniFile ini(kTemplate);
  EXPECT_TRUE(ini.write("host", "hostip", std::string("10.0.0.2")));
  EXPECT_EQ(ini.bytes(),
            "; settings\r\n"
            "\r\n"
            "[HOST]\r\n"
            "HostIP=10.0.0.2\r\n"
            "Name=srv\n"
            "\r\n"
            "; next section\r\n"
            "[PATH]\r\n"
            "DefaultDrive = d:\r\n");
  EXPECT_EQ(ini.read("HOST", "HostIP"), "10.0.0.2");

  // The same value again changes nothing, not even the spacing.
  IniFile same(kTemplate);
  EXPECT_FALSE(same.write("PATH", "DefaultDrive", std::string("  d:")));
  EXPECT_EQ(same.bytes(), kTemplate);
}

TEST(IniFileTest, AddsKeysAndSectionsWhereWindowsDoes) {
  IniFile ini(kTemplate);
  EXPECT_TRUE(ini.write(" HOST ", " NewKey ", std::string("  v 1 ")));
  EXPECT_TRUE(ini.write("New Sec", "K", std::string("\"q\"")));
  EXPECT_EQ(ini.bytes(),
            "; settings\r\n"
            "\r\n"
            "[HOST]\r\n"
            "  HostIP  =  10.0.0.1  \r\n"
            "Name=srv\n"
            "NewKey=v 1 \r\n"
            "\r\n"
            "; next section\r\n"
            "[PATH]\r\n"
            "DefaultDrive = d:\r\n"
            "[New Sec]\r\n"
            "K=\"q\"\r\n");
  EXPECT_EQ(readAsWindows(ini, "new sec", "k"), "q");

  // A section without keys gets the key right under its heading; a last
  // line without a line end gets one before anything follows it.
  IniFile empty("[A]\r\n\r\n[B]\r\nx=1");
  EXPECT_TRUE(empty.write("A", "k", std::string("v")));
  EXPECT_TRUE(empty.write("B", "y", std::string("2")));
  EXPECT_TRUE(empty.write("C", "z", std::string("3")));
  EXPECT_EQ(empty.bytes(), "[A]\r\nk=v\r\n\r\n[B]\r\nx=1\r\ny=2\r\n[C]\r\nz=3\r\n");

  IniFile noEnd("[A]");
  EXPECT_TRUE(noEnd.write("A", "k", std::string("v")));
  EXPECT_EQ(noEnd.bytes(), "[A]\r\nk=v\r\n");

  // A missing file is created with the section; the nameless part before
  // the first section takes keys at the top, after a byte-order mark.
  IniFile created("");
  EXPECT_TRUE(created.write("S", "k", std::string("v")));
  EXPECT_EQ(created.bytes(), "[S]\r\nk=v\r\n");
  IniFile bom("\xEF\xBB\xBF[S]\r\n");
  EXPECT_TRUE(bom.write("", "top", std::string("1")));
  EXPECT_EQ(bom.bytes(), "\xEF\xBB\xBFtop=1\r\n[S]\r\n");
}

TEST(IniFileTest, NullValueRemovesTheKeyAndKeepsTheRest) {
  IniFile ini(kTemplate);
  EXPECT_TRUE(ini.write("host", "HOSTIP", std::nullopt));
  EXPECT_EQ(ini.bytes(),
            "; settings\r\n"
            "\r\n"
            "[HOST]\r\n"
            "Name=srv\n"
            "\r\n"
            "; next section\r\n"
            "[PATH]\r\n"
            "DefaultDrive = d:\r\n");
  EXPECT_EQ(ini.read("HOST", "Name"), "srv");
  EXPECT_EQ(ini.read("HOST", "HostIP"), std::nullopt);

  // Nothing to remove: nothing changes.
  EXPECT_FALSE(ini.write("HOST", "HostIP", std::nullopt));
  EXPECT_FALSE(ini.write("NoSuch", "Name", std::nullopt));
  IniFile created("");
  EXPECT_FALSE(created.write("S", "k", std::nullopt));
  EXPECT_EQ(created.bytes(), "");

  // Every line of the key goes, so that it reads as missing afterwards; a
  // later section of the same name is never touched.
  IniFile dups("[D]\r\nKey=first\r\nKey=second\r\nOther=1\r\n[d]\r\nKey=third\r\n");
  EXPECT_TRUE(dups.write("D", "key", std::nullopt));
  EXPECT_EQ(dups.bytes(), "[D]\r\nOther=1\r\n[d]\r\nKey=third\r\n");
  EXPECT_EQ(dups.read("D", "Key"), std::nullopt);
}

TEST(IniFileTest, WritesGoToTheFirstSectionAndFirstKey) {
  IniFile dups("[D]\r\nKey=first\r\nKey=second\r\n[d]\r\nLater=x\r\n");
  EXPECT_TRUE(dups.write("d", "KEY", std::string("new")));
  EXPECT_TRUE(dups.write("d", "Later", std::string("y")));
  EXPECT_EQ(dups.bytes(), "[D]\r\nKey=new\r\nKey=second\r\nLater=y\r\n[d]\r\nLater=x\r\n");
  EXPECT_EQ(dups.read("D", "Later"), "y");

  // A key line without '=' takes the value.
  IniFile noEq("[O]\r\nNoEq\r\n");
  EXPECT_TRUE(noEq.write("O", "noeq", std::string("1")));
  EXPECT_EQ(noEq.bytes(), "[O]\r\nNoEq=1\r\n");
}

}  // namespace
}  // namespace zepo
