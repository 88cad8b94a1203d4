#include "shell/text.h"

#include <gtest/gtest.h>

namespace zepo {
namespace {

TEST(NumericValueTest, ReadsTheLeadingNumberAsTheRuntimeDoes) {
  EXPECT_EQ(numericValue("12"), 12);
  EXPECT_EQ(numericValue(" 3 "), 3);
  EXPECT_EQ(numericValue("x"), 0);
  EXPECT_EQ(numericValue(""), 0);
  EXPECT_EQ(numericValue("1 2"), 12);  // blanks anywhere are ignored
  EXPECT_EQ(numericValue("\t4\n5x9"), 45);
  EXPECT_EQ(numericValue("2.5.1"), 2.5);
  EXPECT_EQ(numericValue("-3"), -3);
  EXPECT_EQ(numericValue("3a"), 3);
}

TEST(NumberTextTest, GivesTheShortestDecimalText) {
  EXPECT_EQ(numberText(129), "129");
  EXPECT_EQ(numberText(-21), "-21");
  EXPECT_EQ(numberText(35.5), "35.5");
}

TEST(TextTest, CutsAndUpperCasesByCharacter) {
  EXPECT_EQ(leftChars("città!", 5), "città");
  EXPECT_EQ(leftChars("ab", 5), "ab");
  EXPECT_EQ(upperCase("c:\\zepo\\più"), "C:\\ZEPO\\PIÙ");
}

}  // namespace
}  // namespace zepo
