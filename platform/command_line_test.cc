#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/reference_data.h"

namespace zepo {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, AgreesWithWindowsOnTheReferenceLines) {
  for (const Args& line : referenceCases("command-lines.txt")) {
    EXPECT_EQ(splitCommandLine(line[0]), Args(line.begin() + 1, line.end())) << line[0];
  }
}

TEST(SplitCommandLine, ProgramNameQuoteRunsAndBackslashes) {
  const std::pair<std::string, Args> cases[] = {
      // A quoted program name ends at the next quote, backslashes and all;
      // an unquoted one ends at the first blank, quotes in it plain.
      {R"("C:\Program Files\x\" a)", {R"(C:\Program Files\x\)", "a"}},
      {R"(a"b c")", {R"(a"b)", "c"}},
      {"\"a b\"c d", {"a b", "c", "d"}},
      {" prog a", {"", "prog", "a"}},  // a leading blank: no program name
      {"", {}},
      // Two quotes inside a quoted part: a literal quote, and the quoting
      // ends; three outside: a literal quote.
      {R"(p "a""b c")", {"p", R"(a"b)", "c"}},
      {R"(p """x y)", {"p", R"("x)", "y"}},
      // Backslashes not before a quote stay, even inside quotes.
      {R"(p \\SRV\zepo\ "d:\x y\\")", {"p", R"(\\SRV\zepo\)", R"(d:\x y\)"}},
  };
  for (const auto& [line, args] : cases) EXPECT_EQ(splitCommandLine(line), args) << line;
}

}  // namespace
}  // namespace zepo
