#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace zepo {
namespace {

TEST(CodePage, ConvertsWindows1252BothWays) {
  const std::pair<std::string, std::string> both[] = {
      {"perché à €", "perch\xE9 \xE0 \x80"},
      {"€", "\x80"},  // alone: a line whose only non-ASCII byte is the euro sign
      // The undefined bytes stand for the control character of their number.
      {"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
  };
  for (const auto& [utf8, bytes] : both) {
    EXPECT_EQ(toCodePage(utf8), bytes);
    EXPECT_EQ(fromCodePage(bytes), utf8);
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(toCodePage(fromCodePage(all)), all);
  // One '?' per character outside the code page, cut or overlong sequence.
  const std::pair<std::string, std::string> lossy[] = {
      {"a\u0100b", "a?b"}, {"\u4E2D\U0001F600", "??"}, {"\u0080", "?"},
      {"x\xC3", "x?"},     {"\xC0\xAF", "??"},
  };
  for (const auto& [utf8, bytes] : lossy) EXPECT_EQ(toCodePage(utf8), bytes);
}

TEST(CodePage, PlaceInBufferKeepsTheRestOfTheBuffer) {
  std::string buffer(10, ' ');
  EXPECT_EQ(placeInBuffer(buffer, 10, "abc"), 3u);
  EXPECT_EQ(buffer, std::string("abc\0      ", 10));
  // Counted in characters: "é" is one character of the buffer.
  buffer = "ééééé";
  EXPECT_EQ(placeInBuffer(buffer, 5, "à"), 1u);
  EXPECT_EQ(buffer, std::string("à\0ééé", 9));
  buffer.clear();  // a short buffer is grown to the size first
  placeInBuffer(buffer, 4, "ab");
  EXPECT_EQ(buffer, std::string("ab\0\0", 4));
}

}  // namespace
}  // namespace zepo
