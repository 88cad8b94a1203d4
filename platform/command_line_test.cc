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

TEST(SplitCommandLine, ProgramNameHasItsOwnRules) {
  // A quoted program name ends at the next quote, backslashes and all.
  EXPECT_EQ(splitCommandLine(R"("C:\Program Files\x\" a)"), (Args{R"(C:\Program Files\x\)", "a"}));
  // An unquoted one ends at the first blank; quotes in it are plain.
  EXPECT_EQ(splitCommandLine(R"(a"b c")"), (Args{R"(a"b)", "c"}));
  EXPECT_EQ(splitCommandLine("\"a b\"c d"), (Args{"a b", "c", "d"}));
  EXPECT_EQ(splitCommandLine("prog\targ"), (Args{"prog", "arg"}));
  // A leading blank leaves the program name empty.
  EXPECT_EQ(splitCommandLine(" prog a"), (Args{"", "prog", "a"}));
  EXPECT_EQ(splitCommandLine("prog"), (Args{"prog"}));
  EXPECT_EQ(splitCommandLine("prog   "), (Args{"prog"}));
  EXPECT_EQ(splitCommandLine(""), Args{});
}

TEST(SplitCommandLine, QuoteRunsAndBackslashes) {
  // Two quotes inside a quoted part: a literal quote, and the quoting ends.
  EXPECT_EQ(splitCommandLine(R"(p "a""b c")"), (Args{"p", R"(a"b)", "c"}));
  // Three quotes outside: a literal quote.
  EXPECT_EQ(splitCommandLine(R"(p """x y)"), (Args{"p", R"("x)", "y"}));
  EXPECT_EQ(splitCommandLine(R"(p "" "")"), (Args{"p", "", ""}));
  // Backslashes not before a quote stay as they are, even inside quotes.
  EXPECT_EQ(splitCommandLine(R"(p \\SRV\zepo\ "d:\x y\\")"),
            (Args{"p", R"(\\SRV\zepo\)", R"(d:\x y\)"}));
  EXPECT_EQ(splitCommandLine(R"(p a\\\\"b")"), (Args{"p", R"(a\\b)"}));
}

}  // namespace
}  // namespace zepo
