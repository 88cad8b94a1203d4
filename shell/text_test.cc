#include "shell/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/errors.h"

namespace zepo {
namespace {

TEST(NumericValueTest, ReadsTheLeadingNumberAsTheRuntimeDoes) {
  struct Case {
    std::string text;
    std::optional<double> value;  // nullopt: the runtime's overflow
  };
  const Case cases[] = {
      {"12", 12},
      {" 3 ", 3},
      {"x", 0},
      {"", 0},
      {"1 2", 12},  // blanks anywhere are ignored
      {"\t4\n5x9", 45},
      {"2.5.1", 2.5},
      {"-3", -3},
      {"- .5", -0.5},
      {"3a", 3},
      {"1.005", 1.005},
      // The largest whole numbers that a Double holds, a fraction too small
      // for one, and numbers beyond it.
      {"1" + std::string(308, '0'), 1e308},
      {"0." + std::string(400, '0') + "1", 0},
      {std::string(309, '9'), std::nullopt},
      {"-1" + std::string(400, '0') + ".5", std::nullopt},
  };
  for (const Case& c : cases) {
    try {
      EXPECT_EQ(numericValue(c.text), c.value) << c.text.size() << " characters";
    } catch (const RuntimeError& error) {
      EXPECT_FALSE(c.value) << c.text;
      EXPECT_EQ(runtimeErrorPrompt(error), "Errore di run-time '6':\r\n\r\nOverflow");
    }
  }
}

TEST(NumberTextTest, PrintsADoubleAsTheRuntimeDoes) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {30, "30"},
      {-21, "-21"},
      {35.5, "35.5"},
      {0.5, "0.5"},
      {-0.0, "0"},
      {1.005 * 10, "10.05"},  // 10.049999999999999 rounded to 15 digits
      {1.005 * 10 + 9, "19.05"},
      {0.1 + 0.2, "0.3"},
      {-2.0 / 3, "-0.666666666666667"},
      {999999999999999, "999999999999999"},
      {999999999999999.9, "1E+15"},  // rounded first, then the form chosen
      {1e15, "1E+15"},
      {123456789012345678.0, "1.23456789012346E+17"},
      {-1.5e300, "-1.5E+300"},
      {0.0001, "0.0001"},
      {0.00001, "1E-05"},
      {0.000123456, "0.000123456"},
      {0.0000123456, "1.23456E-05"},
  };
  for (const Case& c : cases) EXPECT_EQ(numberText(c.value), c.text) << c.text;
}

}  // namespace
}  // namespace zepo
