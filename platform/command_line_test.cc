#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/json_lines.h"

namespace zepo {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, AgreesWithWindowsOnTheReferenceLines) {
  std::vector<JsonLine> lines = readJsonLines(referenceDataDir() + "/command-lines.jsonl");
  ASSERT_GE(lines.size(), 10u);
  for (const JsonLine& line : lines) {
    EXPECT_EQ(splitCommandLine(line.values.at("line")), line.lists.at("args"))
        << "line: " << line.values.at("line");
  }
}

TEST(SplitCommandLine, ProgramNameQuoteRunsAndBackslashes) {
  const std::pair<std::string, Args> cases[] = {
      // A quoted program name ends at the next quote, backslashes and all;
      // an unquoted one ends at the first blank, quotes in it plain.
      {R"("C:\Program Files\x\" a)", {R"(C:\Program Files\x\)", "a"}},
      {R"(a"b c")", {R"(a"b)", "c"}},
      {"\"a b\"c d", {"a b", "c", "d"}},
      {"prog\targ", {"prog", "arg"}},
      {" prog a", {"", "prog", "a"}},  // a leading blank: no program name
      {"prog   ", {"prog"}},
      {"", {}},
      // Two quotes inside a quoted part: a literal quote, and the quoting
      // ends; three outside: a literal quote.
      {R"(p "a""b c")", {"p", R"(a"b)", "c"}},
      {R"(p """x y)", {"p", R"("x)", "y"}},
      {R"(p "" "")", {"p", "", ""}},
      // Backslashes not before a quote stay, even inside quotes.
      {R"(p \\SRV\zepo\ "d:\x y\\")", {"p", R"(\\SRV\zepo\)", R"(d:\x y\)"}},
      {R"(p a\\\\"b")", {"p", R"(a\\b)"}},
  };
  for (const auto& [line, args] : cases) EXPECT_EQ(splitCommandLine(line), args) << line;
}

}  // namespace
}  // namespace zepo
