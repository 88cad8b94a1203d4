#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace zepo {
namespace {

TEST(CodePage, ConvertsWindows1252BothWays) {
  EXPECT_EQ(toCodePage("perché à €"), "perch\xE9 \xE0 \x80");
  EXPECT_EQ(fromCodePage("perch\xE9 \xE0 \x80"), "perché à €");
  // Every byte gives one character and comes back as the same byte.
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(toCodePage(fromCodePage(all)), all);
  // The undefined bytes stand for the control character of their number.
  EXPECT_EQ(fromCodePage("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(toCodePage("a\u0100b"), "a?b");         // Ā
  EXPECT_EQ(toCodePage("\u4E2D\U0001F600"), "??");  // one '?' per character
  EXPECT_EQ(toCodePage("\u0080"), "?");             // U+0080 is not the euro sign
  EXPECT_EQ(toCodePage("x\xC3"), "x?");             // cut UTF-8 sequence
  EXPECT_EQ(toCodePage("\xC0\xAF"), "??");          // overlong form
}

TEST(CodePage, PlaceInBufferKeepsTheRestOfTheBuffer) {
  std::string buffer(10, ' ');
  EXPECT_EQ(placeInBuffer(buffer, 10, "abc"), 3u);
  EXPECT_EQ(buffer, std::string("abc\0      ", 10));
  // Counted in characters: "é" is one character of the buffer.
  buffer = "ééééé";
  EXPECT_EQ(placeInBuffer(buffer, 5, "à"), 1u);
  EXPECT_EQ(buffer, std::string("à\0ééé", 9));
  // A short buffer is grown to the size first.
  buffer.clear();
  placeInBuffer(buffer, 4, "ab");
  EXPECT_EQ(buffer, std::string("ab\0\0", 4));
}

}  // namespace
}  // namespace zepo
